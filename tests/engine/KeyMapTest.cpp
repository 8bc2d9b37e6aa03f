#include <gtest/gtest.h>

#include "engine/KeyCode.h"
#include "engine/KeyMap.h"

namespace
{

// The characters of every key are checked through the platform's scancodes;
// here the keys and numbers that have none.
TEST(KeyMapTest, KeysWithoutACharacterGiveOther)
{
    // The quote key, the keypad, function keys, modifiers and out-of-range numbers.
    for (int vk : {222, 0x60, 0x69, 0x6A, 0x6F, 0x70, 0x7B, 0x10, 0x11, 0x12, 0x14, 0, -1, 256, 1000})
    {
        EXPECT_EQ(MapKey(vk, false), KeyCode::Other) << vk;
        EXPECT_EQ(MapKey(vk, true), KeyCode::Other) << vk;
    }
    for (int c = 'A'; c <= 'Z'; ++c) // no upper-case letter code exists
        EXPECT_EQ(MapKey(c, true), c - 'A' + 'a');
}

} // namespace
