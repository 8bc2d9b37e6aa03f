#include "app/Application.h"
#include "engine/ScreenManager.h"
#include "engine/VirtualKey.h"
#include "fixtures/HeadlessApp.h"
#include "screens/StartScreen.h"

namespace {

using Button = PlatformEvent::Button;

class StartScreenTest : public HeadlessApp {
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(800, 600));
        ScreenManager::Get().SetScreen(&StartScreen::Get(), true);
    }
};

// Driven through the main loop: hover, click and hot key, frame by frame.
TEST_F(StartScreenTest, SquaresFollowTheMouseAndChangeColourWhenClicked)
{
    // At 800 x 600 the squares are 120 wide, 40 apart, the first at (100, 240).
    Platform().PushMouseMove(160, 300);
    Platform().PushButton(Button::Left, true, 160, 300);
    Platform().PushButton(Button::Left, false, 160, 300);
    Platform().PushKey('2');
    Platform().PushKey(VirtualKey::Escape);
    EXPECT_EQ(RunFrames(20), 5);  // Escape asks the loop to end
    EXPECT_TRUE(App().IsQuitRequested());

    const std::vector<HeadlessPlatform::Frame>& shown = Platform().Frames();
    ASSERT_EQ(shown.size(), 4u);
    // Frame 1: the whole screen. Frame 2: the hover refresh after the
    // switch lights the square under the mouse. Frame 3: the click. Frame 4: key 2.
    EXPECT_EQ(shown[0].At(0, 0), 0x9955AAu);
    EXPECT_EQ(shown[0].At(799, 599), 0x9955AAu);
    EXPECT_EQ(shown[0].At(160, 300), 0xFFE03030u);
    EXPECT_EQ(shown[0].At(99, 300), 0x9955AAu);
    EXPECT_EQ(shown[0].At(100, 240), 0xFFE03030u);
    EXPECT_EQ(shown[0].At(320, 300), 0xFFF09020u);
    EXPECT_EQ(shown[1].At(160, 300), 0xFFEF9797u);
    EXPECT_EQ(shown[2].At(160, 300), 0xFFF7C78Fu);  // the next colour, lit
    EXPECT_EQ(StartScreen::Get().ColourIndex(0), 1);
    EXPECT_EQ(shown[3].At(320, 300), 0xFF3060E0u);
    EXPECT_EQ(StartScreen::Get().ColourIndex(1), 2);
}

TEST_F(StartScreenTest, PressAndReleaseMustBothBeOnTheSquare)
{
    Platform().PushButton(Button::Left, true, 160, 300);
    Platform().PushButton(Button::Left, false, 700, 20);  // released elsewhere
    Platform().PushButton(Button::Left, true, 5, 5);
    Platform().PushButton(Button::Left, false, 160, 300);  // pressed elsewhere
    Platform().PushKey('1', true);                          // Alt+1 is not the hot key
    RunFrames(6);
    EXPECT_EQ(StartScreen::Get().ColourIndex(0), 0);
    EXPECT_EQ(ScreenManager::Get().GetCapture(), nullptr);
}

TEST_F(StartScreenTest, ScreenBuildsAgainAtAnotherSize)
{
    RunFrames(2);
    ASSERT_TRUE(App().SetDisplayMode(320, 240, false));
    ScreenManager::Get().SetScreen(&StartScreen::Get(), true);
    Platform().ClearFrames();
    RunFrames(1);
    ASSERT_EQ(Platform().Frames().size(), 1u);
    // 48-pixel squares, 16 apart, the first at (40, 96).
    EXPECT_EQ(Platform().Frames()[0].At(40, 96), 0xFFE03030u);
    EXPECT_EQ(Platform().Frames()[0].At(39, 96), 0x9955AAu);
    EXPECT_EQ(Platform().Frames()[0].At(87, 143), 0xFFE03030u);
    EXPECT_EQ(Platform().Frames()[0].At(88, 143), 0x9955AAu);
    EXPECT_EQ(Platform().Frames()[0].At(87, 144), 0x9955AAu);
}

} // namespace
