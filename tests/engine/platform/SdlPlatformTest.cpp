#include <cstdlib>
#include <string>
#include <utility>

#include <SDL.h>
#include <gtest/gtest.h>

#include "engine/KeyMap.h"
#include "engine/VirtualKey.h"
#include "engine/platform/SdlPlatform.h"

namespace
{

// Every key of a US keyboard that gives a character: scancode, character
// without Shift, character with Shift.
struct UsKey
{
    int scancode;
    char plain;
    char shifted;
};

const UsKey UsKeys[] = {
    {SDL_SCANCODE_GRAVE, '`', '~'},      {SDL_SCANCODE_1, '1', '!'},           {SDL_SCANCODE_2, '2', '@'},
    {SDL_SCANCODE_3, '3', '#'},          {SDL_SCANCODE_4, '4', '$'},           {SDL_SCANCODE_5, '5', '%'},
    {SDL_SCANCODE_6, '6', '^'},          {SDL_SCANCODE_7, '7', '&'},           {SDL_SCANCODE_8, '8', '*'},
    {SDL_SCANCODE_9, '9', '('},          {SDL_SCANCODE_0, '0', ')'},           {SDL_SCANCODE_MINUS, '-', '_'},
    {SDL_SCANCODE_EQUALS, '=', '+'},     {SDL_SCANCODE_LEFTBRACKET, '[', '{'}, {SDL_SCANCODE_RIGHTBRACKET, ']', '}'},
    {SDL_SCANCODE_BACKSLASH, '\\', '|'}, {SDL_SCANCODE_SEMICOLON, ';', ':'},   {SDL_SCANCODE_COMMA, ',', '<'},
    {SDL_SCANCODE_PERIOD, '.', '>'},     {SDL_SCANCODE_SLASH, '/', '?'},       {SDL_SCANCODE_SPACE, ' ', ' '},
};

TEST(SdlPlatformTest, ScancodesOfAUsKeyboardGiveTheirCharacters)
{
    for (const UsKey& key : UsKeys)
    {
        const int vk = ScancodeToVirtualKey(key.scancode);
        EXPECT_EQ(std::make_pair(MapKey(vk, false), MapKey(vk, true)), std::make_pair(+key.plain, +key.shifted))
            << SDL_GetScancodeName(static_cast<SDL_Scancode>(key.scancode));
    }
    for (int i = 0; i < 26; ++i)
    {
        const int vk = ScancodeToVirtualKey(SDL_SCANCODE_A + i);
        EXPECT_EQ(std::make_pair(MapKey(vk, false), MapKey(vk, true)), std::make_pair('a' + i, 'a' + i));
    }
}

TEST(SdlPlatformTest, EditingKeysKeypadAndModifiers)
{
    const std::pair<SDL_Scancode, int> editing[] = {
        {SDL_SCANCODE_ESCAPE, 2},         {SDL_SCANCODE_UP, 128},     {SDL_SCANCODE_LEFT, 129},
        {SDL_SCANCODE_RIGHT, 130},        {SDL_SCANCODE_DOWN, 131},   {SDL_SCANCODE_BACKSPACE, 132},
        {SDL_SCANCODE_DELETE, 133},       {SDL_SCANCODE_RETURN, 134}, {SDL_SCANCODE_TAB, 135},
        {SDL_SCANCODE_APOSTROPHE, 1},     {SDL_SCANCODE_KP_0, 1},     {SDL_SCANCODE_KP_7, 1},
        {SDL_SCANCODE_KP_PERIOD, 1},      {SDL_SCANCODE_F1, 1},       {SDL_SCANCODE_F12, 1},
        {SDL_SCANCODE_NONUSBACKSLASH, 1}, {SDL_SCANCODE_CAPSLOCK, 1}, // no character: "other"
    };
    for (const auto& [scancode, code] : editing)
        EXPECT_EQ(
            std::make_pair(MapKey(ScancodeToVirtualKey(scancode), false), MapKey(ScancodeToVirtualKey(scancode), true)),
            std::make_pair(code, code))
            << scancode;
    // Modifiers and numbers no key has give "other" too.
    for (int vk : {0x10, 0x11, 0x12, 0, -1, 256, 1000})
        EXPECT_EQ(MapKey(vk, true), 1) << vk;
    const std::pair<SDL_Scancode, int> named[] = {
        {SDL_SCANCODE_LSHIFT, VirtualKey::Shift},     {SDL_SCANCODE_RSHIFT, VirtualKey::Shift},
        {SDL_SCANCODE_LALT, VirtualKey::Menu},        {SDL_SCANCODE_RALT, VirtualKey::Menu},
        {SDL_SCANCODE_KP_3, VirtualKey::Numpad0 + 3}, {SDL_SCANCODE_F5, VirtualKey::F1 + 4}};
    for (const auto& [scancode, vk] : named)
        EXPECT_EQ(ScancodeToVirtualKey(scancode), vk) << scancode;
}

// The rest drives the SDL backend itself on SDL's display-less driver.
class SdlWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const char* driver = std::getenv("SDL_VIDEODRIVER");
        if (!driver || std::string(driver) != "dummy")
            GTEST_SKIP() << "needs SDL_VIDEODRIVER=dummy";
    }

    static void PushSdl(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }
};

// Keys with Alt, closing and clicks inside the window are followed by the
// window checks on a real display; here what they cannot reach.
TEST_F(SdlWindowTest, PeekingLeavesAnEventInPlaceAndPositionsOutsideTheWindowPassThrough)
{
    SdlPlatform platform;
    ASSERT_TRUE(platform.OpenWindow("Quorvo", 640, 480, false));
    EXPECT_EQ(platform.ClientSize(), (DisplaySize{640, 480}));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 100;
    motion.motion.y = -7;
    PushSdl(motion);
    PlatformEvent event;
    ASSERT_TRUE(platform.PeekEvent(event));
    ASSERT_TRUE(platform.PeekEvent(event));
    ASSERT_TRUE(platform.TakeEvent(event));
    EXPECT_EQ(event.type, PlatformEvent::Type::MouseMove);
    EXPECT_EQ(std::make_pair(event.x, event.y), std::make_pair(100, -7));
    platform.ShowMessageBox("Quorvo", "shown on stderr only, never blocks");
    platform.CloseWindow();
    EXPECT_FALSE(platform.IsWindowOpen());
}

TEST_F(SdlWindowTest, FullScreenScalesThePictureAndMapsTheMouseBack)
{
    SdlPlatform platform;
    ASSERT_TRUE(platform.OpenWindow("Quorvo", 320, 240, false));
    if (!platform.SetWindowMode(320, 240, true))
        GTEST_SKIP() << "no full screen on this driver";
    EXPECT_EQ(platform.ClientSize(), (DisplaySize{320, 240})); // the back buffer's size, not the display's
    // Left half black, right half white: scaled smoothly, grey between.
    std::vector<uint32_t> pixels(320 * 240, 0u);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = i % 320 < 160 ? 0u : 0xFFFFFFu;
    platform.Present(pixels.data(), 320, 240, {{0, 0, 320, 240}});

    // The platform's one window, whatever number SDL gave it.
    SDL_Window* window = nullptr;
    for (Uint32 id = 1; id < 1000 && !window; ++id)
        window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    const int w = surface ? surface->w : 0, h = surface ? surface->h : 0;
    if (w == 320 && h == 240)
        GTEST_SKIP() << "the driver kept the window at the picture's size";
    const auto* row = static_cast<const uint32_t*>(surface->pixels) + static_cast<size_t>(h / 2) * surface->pitch / 4;
    int greys = 0;
    for (int x = 0; x < w; ++x)
        greys += (row[x] & 0xFF) > 0x10 && (row[x] & 0xFF) < 0xF0;
    EXPECT_GE(greys, 1); // linear filtering, not the nearest pixel
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = w / 2;
    motion.motion.y = h / 2;
    PushSdl(motion);
    PlatformEvent event;
    while (platform.TakeEvent(event) && event.type != PlatformEvent::Type::MouseMove)
    {
    }
    EXPECT_EQ(event.type, PlatformEvent::Type::MouseMove);
    EXPECT_NEAR(event.x, 160, 1);
    EXPECT_NEAR(event.y, 120, 1);
}

} // namespace
