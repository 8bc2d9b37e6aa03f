#include <algorithm>
#include <string>
#include <tuple>

#include "app/Application.h"
#include "app/Shutdown.h"
#include "data/GameOptions.h"
#include "engine/KeyCode.h"
#include "engine/RecordingScreen.h"
#include "engine/ScreenManager.h"
#include "engine/VirtualKey.h"
#include "fixtures/HeadlessApp.h"
#include "screens/MainMenuScreen.h"

namespace
{

using Button = PlatformEvent::Button;

std::string OptionsText(int w, int h, bool fullscreen)
{
    return "<opts>\n\t<display width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" fullscreen=\"" +
           (fullscreen ? "1" : "0") + "\"/>\n\t<sounds volume=\"1.00\"/>\n\t<music volume=\"1.00\"/>\n</opts>\n";
}

class ApplicationTest : public HeadlessApp
{
  protected:
    bool HasMessage(const std::string& text)
    {
        const auto& messages = Platform().Messages();
        return std::any_of(messages.begin(), messages.end(), [&text](const auto& m) { return m.text == text; });
    }
    CallLog log; // what the test's screens were asked to do
};

// --- a whole run ---

// The window's title and size, its first picture and the options saved at
// the end are checked in a real window by the window checks.
TEST_F(ApplicationTest, ARunHandlesEveryMessageAndGivesTheWindowItsIcon)
{
    WriteFile("Data/GameOpts.opt", OptionsText(800, 600, false));
    Platform().PushMouseMove(400, 300);
    Platform().PushKey(VirtualKey::Space);
    Platform().PushButton(Button::Left, true, 5, 5);
    Platform().PushButton(Button::Left, false, 5, 5);
    Platform().PushKey(VirtualKey::F1 + 3, true); // Alt+F4 is a key like any other
    Platform().PushClose();

    EXPECT_EQ(App().Run(), 0);
    EXPECT_EQ(std::make_tuple(Platform().WindowsOpened(), Platform().PendingEvents()), std::make_tuple(1, 0u));
    EXPECT_FALSE(HasMessage("Unable to set requested display mode.  Falling back to default..."));
    // Opaque blocks on a transparent ground.
    const HeadlessPlatform::Frame& icon = Platform().Icon();
    ASSERT_EQ(std::make_tuple(icon.width, icon.height), std::make_tuple(32, 32));
    EXPECT_EQ(std::make_tuple(icon.At(0, 0) >> 24, icon.At(8, 8) >> 24, icon.At(24, 24) >> 24),
              std::make_tuple(0u, 255u, 255u));
    // Whatever screen was last shown cleared its dirty tiles to its own background.
    ASSERT_FALSE(Platform().Frames().empty());
    EXPECT_EQ(Platform().Frames().back().At(0, 0), App().BackgroundColour());
}

TEST_F(ApplicationTest, DestroyingTheScreensLeavesTheManagerHoldingNoneOfThem)
{
    ASSERT_TRUE(OpenWindow(800, 600));
    ScreenManager& screens = ScreenManager::Get();
    screens.SetScreen(&MainMenuScreen::Get(), true);
    screens.Update();
    ASSERT_FALSE(screens.Controls().empty());

    // Forgotten without a call, so a later switch touches none of the freed
    // objects (the screen manager's own Clear case).
    DestroyGameObjects();
    EXPECT_TRUE(screens.GetScreen() == nullptr && screens.Controls().empty());
}

TEST_F(ApplicationTest, SizeTheDisplayDoesNotOfferFallsBackTo640x480FullScreen)
{
    WriteFile("Data/GameOpts.opt", OptionsText(1000, 700, false));
    Platform().PushClose();
    EXPECT_EQ(App().Run(), 0);
    // The first message is the fallback; the empty test folder's missing
    // pictures and sounds may add warnings after it.
    ASSERT_GE(Platform().Messages().size(), 1u);
    EXPECT_EQ(Platform().Messages()[0].text, "Unable to set requested display mode.  Falling back to default...");
    ASSERT_FALSE(Platform().Frames().empty());
    EXPECT_EQ(Platform().Frames()[0].width, 640);
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), OptionsText(640, 480, true));
}

TEST_F(ApplicationTest, NoDisplayEndsTheRunWithoutSaving)
{
    Platform().SetRefuseWindow(true);
    EXPECT_EQ(App().Run(), -1);
    EXPECT_TRUE(HasMessage("Unable to create game window.") && HasMessage("Unable to open display device."));
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), "");
}

// --- the loop (the clock across the 32-bit wrap: the marathon_clock_wrap script) ---

// A screen that asks for a switch on every key.
struct SwitchingScreen : RecordingScreen
{
    using RecordingScreen::RecordingScreen;
    void OnKey(int key, bool alt) override
    {
        RecordingScreen::OnKey(key, alt);
        ScreenManager::Get().SetScreen(next, true);
    }
    double NextTimedChange(double now) const override { return quiet ? 1e9 : now; }
    Screen* next = nullptr;
    bool quiet = false;
};

TEST_F(ApplicationTest, PendingMessagesAreHandledInOrderAndASwitchComesBeforeTheNext)
{
    ASSERT_TRUE(OpenWindow());
    SwitchingScreen first("A", log);
    RecordingScreen second("B", log);
    first.next = &second;
    ScreenManager::Get().SetScreen(&first, true);
    ASSERT_TRUE(App().RunFrame());
    log.clear();
    for (int i = 1; i <= 3; ++i)
        Platform().PushMouseMove(i, i); // a burst counts as its last move
    Platform().PushKey('K');
    Platform().PushButton(Button::Left, true, 5, 5);
    Platform().PushButton(Button::Left, false, 5, 5);
    Platform().PushClose();

    EXPECT_EQ(RunFrames(1), 1);
    EXPECT_EQ(log, (CallLog{"A:OnMouseMove(3,3)", "A:OnKey(107)", "A:OnExit", "B:OnEnter"}));
    EXPECT_EQ(RunFrames(1), 1);
    EXPECT_EQ(std::vector<std::string>(log.begin() + 4, log.begin() + 6),
              (CallLog{"B:OnLeftButtonDown(5,5)", "B:OnLeftButtonUp(5,5)"}));
    EXPECT_TRUE(App().IsQuitRequested() && !App().RunFrame());
}

TEST_F(ApplicationTest, QuietScreenSleepsUntilTheNextMessageAndBusyOneDoesNot)
{
    ASSERT_TRUE(OpenWindow());
    SwitchingScreen screen("A", log);
    ScreenManager::Get().SetScreen(&screen, true);
    RunFrames(5); // past the frames a switch counts
    const int waits = Platform().WaitCount();
    RunFrames(1);
    EXPECT_EQ(Platform().WaitCount(), waits); // every frame wanted: no sleep
    screen.quiet = true;
    RunFrames(1);
    EXPECT_EQ(std::make_tuple(Platform().WaitCount(), Platform().LastWaitMs()), std::make_tuple(waits + 1, 250));
    Platform().PushMouseMove(1, 1);
    RunFrames(1);
    EXPECT_EQ(Platform().WaitCount(), waits + 1); // a message waiting: straight on
    Platform().AdvanceTicks(250);                 // the clock is read afresh while the frame's time stays
    EXPECT_DOUBLE_EQ(App().GetTime() - App().Time(), 0.25);
}

// --- keys through the window procedure ---

TEST_F(ApplicationTest, KeyMessagesTrackShiftAndAlt)
{
    ASSERT_TRUE(OpenWindow());
    RecordingScreen screen("S", log);
    ScreenManager::Get().SetScreen(&screen, true);
    ScreenManager::Get().Update();
    log.clear();

    auto press = [&](PlatformEvent::Type type, std::initializer_list<int> keys)
    {
        for (int key : keys)
            App().HandleEvent({type, key});
    };
    using Type = PlatformEvent::Type;
    // Shift is delivered as "other", then held; Alt (Menu) itself, then held.
    press(Type::KeyDown, {'A', VirtualKey::Shift, 'A', '2', VirtualKey::Oem1});
    press(Type::KeyUp, {VirtualKey::Shift});
    press(Type::KeyDown, {'2', VirtualKey::Menu, 'X'});
    press(Type::KeyUp, {VirtualKey::Menu});
    press(Type::SysKeyDown, {'X'});
    press(Type::KeyUp, {'X'}); // other releases are ignored
    EXPECT_EQ(log, (CallLog{"S:OnKey(97)", "S:OnKey(1)", "S:OnKey(97)", "S:OnKey(64)", "S:OnKey(58)", "S:OnKey(50)",
                            "S:OnKey(1,alt)", "S:OnKey(120,alt)", "S:OnKey(120,alt)"}));

    // Alt+Enter toggles full screen and delivers nothing.
    log.clear();
    press(Type::SysKeyDown, {VirtualKey::Return});
    EXPECT_EQ(std::make_tuple(log.empty(), App().IsFullscreen(), Platform().IsFullscreen()),
              std::make_tuple(true, true, true));
    press(Type::SysKeyDown, {VirtualKey::Return});
    EXPECT_FALSE(App().IsFullscreen());
}

// --- window and display modes ---

TEST_F(ApplicationTest, AvailableSizesAreListedModesOrSizesThatFitTheDesktop)
{
    Platform().SetDisplayModes({{1152, 864}, {1024, 768}, {1600, 1200}, {1024, 768}});
    Platform().SetUsableDesktopSize({1024, 740});
    ASSERT_TRUE(OpenWindow(800, 600));
    std::vector<DisplaySize> modes;
    EXPECT_EQ(App().GetAvailableModes(modes), 6);
    EXPECT_EQ(modes,
              (std::vector<DisplaySize>{{320, 240}, {640, 480}, {800, 600}, {1024, 768}, {1152, 864}, {1600, 1200}}));
    EXPECT_FALSE(App().IsModeAvailable(1280, 960)); // neither listed nor fitting
    EXPECT_FALSE(App().IsModeAvailable(1000, 700)); // fits, but the game does not offer it
}

TEST_F(ApplicationTest, SetDisplayModeRefusesSizesNotAvailable)
{
    Platform().SetDisplayModes({});
    Platform().SetUsableDesktopSize({1024, 768});
    ASSERT_TRUE(OpenWindow(640, 480));
    App().Render();
    EXPECT_TRUE(!App().SetDisplayMode(1280, 960, false) && HasMessage("Unable to set requested display mode."));
    EXPECT_EQ(std::make_tuple(App().Width(), App().IsDirty(0, 0, 640, 480)), std::make_tuple(640, false));

    EXPECT_TRUE(App().SetDisplayMode(1024, 768, true));
    EXPECT_EQ(
        std::make_tuple(App().Width(), App().TileColumns(), App().IsDirty(1000, 700, 1, 1), Platform().IsFullscreen()),
        std::make_tuple(1024, 7, true, true));

    const int opened = Platform().WindowsOpened();
    App().Render();
    EXPECT_TRUE(App().SetFullscreen(true)); // unchanged: the display is not touched
    EXPECT_EQ(std::make_tuple(App().IsDirty(0, 0, 1024, 768), Platform().WindowsOpened()),
              std::make_tuple(false, opened));
}

TEST_F(ApplicationTest, RefusedFullScreenLeavesAWindow)
{
    Platform().SetRefuseFullscreen(true);
    ASSERT_TRUE(OpenWindow(640, 480, true));
    EXPECT_TRUE(HasMessage("Unable to switch to fullscreen mode.") && !App().IsFullscreen());
    EXPECT_TRUE(App().SetFullscreen(true) && !App().IsFullscreen());
}

TEST_F(ApplicationTest, FocusLossInFullScreenMinimisesAndReturnRestores)
{
    ASSERT_TRUE(OpenWindow(640, 480, true));
    App().HandleEvent({PlatformEvent::Type::Deactivate});
    EXPECT_EQ(std::make_tuple(App().IsActive(), Platform().IsMinimised()), std::make_tuple(false, true));
    App().Render();
    App().HandleEvent({PlatformEvent::Type::Activate});
    EXPECT_EQ(std::make_tuple(App().IsActive(), Platform().IsMinimised(), App().IsDirty(0, 0, 640, 480)),
              std::make_tuple(true, false, true));

    // When the display cannot be taken back the game ends.
    App().HandleEvent({PlatformEvent::Type::Deactivate});
    Platform().SetRefuseFullscreen(true);
    App().HandleEvent({PlatformEvent::Type::Activate});
    EXPECT_TRUE(HasMessage("Unable to switch back to fullscreen mode.") && !App().RunFrame());
}

TEST_F(ApplicationTest, WindowOfAnotherSizeIsRestoredWhileActiveAndMessagesAreCaptioned)
{
    App().ShowMessage("before");
    ASSERT_TRUE(OpenWindow(800, 600));
    App().ShowMessage("after");
    ASSERT_EQ(Platform().Messages().size(), 2u);
    EXPECT_EQ(std::make_tuple(Platform().Messages()[0].caption, Platform().Messages()[1].caption),
              std::make_tuple("", "Quorvo"));
    App().Render();
    Platform().SetClientSize({700, 500});
    ASSERT_TRUE(App().RunFrame());
    EXPECT_EQ(Platform().ClientSize(), (DisplaySize{800, 600}));
    ASSERT_FALSE(Platform().Frames().empty());
    EXPECT_EQ(Platform().Frames().back().width, 800);

    // Not while another application is in front.
    App().HandleEvent({PlatformEvent::Type::Deactivate});
    Platform().SetClientSize({700, 500});
    ASSERT_TRUE(App().RunFrame());
    EXPECT_EQ(Platform().ClientSize(), (DisplaySize{700, 500}));
}

} // namespace
