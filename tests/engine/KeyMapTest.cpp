#include <map>

#include <gtest/gtest.h>

#include "engine/KeyCode.h"
#include "engine/KeyMap.h"

namespace {

// The translation table as the keyboard's documentation gives it:
// virtual key -> (code without Shift, code with Shift).
const std::map<int, std::pair<int, int>>& Table()
{
    static const std::map<int, std::pair<int, int>> table = [] {
        std::map<int, std::pair<int, int>> t = {
            {0x1B, {2, 2}},     {0x20, {32, 32}},   {0x26, {128, 128}}, {0x25, {129, 129}}, {0x27, {130, 130}},
            {0x28, {131, 131}}, {0x08, {132, 132}}, {0x2E, {133, 133}}, {0x0D, {134, 134}}, {0x09, {135, 135}},
            {186, {';', ':'}},  {187, {'=', '+'}},  {188, {',', '<'}},  {189, {'-', '_'}},  {190, {'.', '>'}},
            {191, {'/', '?'}},  {192, {'`', '~'}},  {219, {'[', '{'}},  {220, {'\\', '|'}}, {221, {']', '}'}},
        };
        const char shiftedDigits[] = ")!@#$%^&*(";
        for (int d = 0; d < 10; ++d)
            t['0' + d] = {'0' + d, shiftedDigits[d]};
        for (int c = 'A'; c <= 'Z'; ++c)
            t[c] = {c - 'A' + 'a', c - 'A' + 'a'};
        return t;
    }();
    return table;
}

TEST(KeyMapTest, EveryVirtualKeyTranslatesAsTheTableSays)
{
    for (int vk = 0; vk < 256; ++vk) {
        const auto found = Table().find(vk);
        const int plain = found == Table().end() ? KeyCode::Other : found->second.first;
        const int shifted = found == Table().end() ? KeyCode::Other : found->second.second;
        EXPECT_EQ(MapKey(vk, false), plain) << "virtual key " << vk;
        EXPECT_EQ(MapKey(vk, true), shifted) << "virtual key " << vk << " with Shift";
    }
}

TEST(KeyMapTest, KeysWithoutACharacterGiveOther)
{
    // The quote key, the keypad, function keys, modifiers and out-of-range numbers.
    for (int vk : {222, 0x60, 0x69, 0x6A, 0x6F, 0x70, 0x7B, 0x10, 0x11, 0x12, 0x14, 0, -1, 256, 1000})
        EXPECT_EQ(MapKey(vk, false), KeyCode::Other) << vk;
    // No upper-case letter code exists.
    for (int c = 'A'; c <= 'Z'; ++c)
        EXPECT_NE(MapKey(c, true), c);
}

} // namespace
