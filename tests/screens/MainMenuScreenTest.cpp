#include <tuple>

#include "engine/KeyCode.h"
#include "engine/PadButton.h"
#include "engine/VirtualKey.h"
#include "media/Sound.h"
#include "screens/MenuFixture.h"

namespace
{

class MainMenuScreenTest : public MenuFixture
{
  protected:
    void EnterMenu(int w = 640, int h = 480)
    {
        ASSERT_TRUE(OpenWindow(w, h));
        Go(MainMenuScreen::Get());
    }
    MainMenuScreen& Menu() { return MainMenuScreen::Get(); }
};

TEST_F(MainMenuScreenTest, MusicStartsOnTheThirdFrameAndIsNotRestartedOnReturn)
{
    EnterMenu(); // frame 0 after the switch
    EXPECT_EQ(Menu().Music(), nullptr);
    RunFrames(1); // frame 1
    EXPECT_EQ(Menu().Music(), nullptr);
    RunFrames(1); // frame 2
    Sound* music = Menu().Music();
    ASSERT_NE(music, nullptr);
    ASSERT_TRUE(music->HasData());
    EXPECT_TRUE(music->IsPlaying());
    const int channel = music->Channel();
    EXPECT_EQ(BusyVoices(), 1);

    Blank elsewhere;
    ScreenManager::Get().SetScreen(&elsewhere, true);
    RunFrames(5);
    EXPECT_TRUE(music->IsPlaying()); // plays on under the other menus
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    RunFrames(5);
    EXPECT_EQ(Menu().Music(), music);
    EXPECT_EQ(music->Channel(), channel);
    EXPECT_EQ(BusyVoices(), 1);

    // Stopped by someone else, it starts again on the next visit.
    music->Stop();
    ScreenManager::Get().SetScreen(&elsewhere, true);
    RunFrames(2);
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    RunFrames(4);
    EXPECT_TRUE(music->IsPlaying());
}

TEST_F(MainMenuScreenTest, EscapeOpensOneExitDialogHoweverOftenItIsPressed)
{
    EnterMenu();
    for (int i = 0; i < 3; ++i)
    {
        ScreenManager::Get().OnKeyDown(KeyCode::Escape, false);
        RunFrames(1);
    }
    EXPECT_TRUE(ScreenManager::Get().IsModal());
    EXPECT_EQ(ScreenManager::Get().ModalControls().size(), 6u);

    // Menu hotkeys are not heard while the dialog is open.
    ScreenManager::Get().OnKeyDown('p', false);
    ScreenManager::Get().OnKeyDown('n', false);
    EXPECT_FALSE(ScreenManager::Get().IsModal());
    EXPECT_FALSE(App().IsQuitRequested());
    EXPECT_EQ(Current(), &MainMenuScreen::Get());

    // Exit Game's hotkey opens the same dialog (the window check answers it with Yes).
    ScreenManager::Get().OnKeyDown('e', false);
    EXPECT_TRUE(ScreenManager::Get().IsModal());
}

TEST_F(MainMenuScreenTest, ButtonsFollowTheDisplaySize)
{
    EnterMenu(1024, 768);
    const Button& play = Menu().PlayGameButton();
    EXPECT_EQ(std::make_tuple(play.GetX(), play.GetWidth(), play.GetHeight()), std::make_tuple(512 - 579 / 2, 579, 70));
    EXPECT_EQ(Menu().Logo().GetWidth(), 832);
}

TEST_F(MainMenuScreenTest, PadAndTabMoveAVisibleFocusOverTheMenuAndItsDialog)
{
    EnterMenu();
    using Type = PlatformEvent::Type;
    const auto pad = [&](PadButton button)
    {
        Platform().PushPad(Type::PadButtonDown, 7, static_cast<int>(button));
        Platform().PushPad(Type::PadButtonUp, 7, static_cast<int>(button));
        RunFrames(3); // one message a frame
    };
    ScreenManager& screens = ScreenManager::Get();
    Platform().PushPad(Type::PadAdded, 7);
    pad(PadButton::DPadDown);
    EXPECT_EQ(screens.Focus(), &Menu().PlayGameButton());
    EXPECT_EQ(Menu().PlayGameButton().GetState(), Button::MouseOver);
    pad(PadButton::DPadDown);
    EXPECT_EQ(screens.Focus(), &Menu().HighScoresButton());
    EXPECT_EQ(Menu().PlayGameButton().GetState(), Button::Normal);
    pad(PadButton::DPadUp);
    pad(PadButton::DPadUp); // wraps round to the bottom
    EXPECT_EQ(screens.Focus(), &Menu().ExitGameButton());
    Platform().PushKey(VirtualKey::Tab);
    RunFrames(1);
    EXPECT_EQ(screens.Focus(), &Menu().PlayGameButton());
    Platform().PushKey(VirtualKey::Shift);
    Platform().PushKey(VirtualKey::Tab);
    Platform().PushKeyUp(VirtualKey::Shift);
    RunFrames(3);
    EXPECT_EQ(screens.Focus(), &Menu().ExitGameButton());

    // B is Escape: the exit dialog opens with a focus of its own; A on No
    // closes it and the menu has its focus back.
    pad(PadButton::B);
    ASSERT_TRUE(screens.IsModal());
    EXPECT_EQ(screens.Focus(), nullptr);
    pad(PadButton::DPadRight);
    pad(PadButton::DPadRight);
    EXPECT_EQ(screens.Focus(), &Menu().ExitDialog().NoButton());
    pad(PadButton::A);
    EXPECT_FALSE(screens.IsModal());
    EXPECT_FALSE(App().IsQuitRequested());
    EXPECT_EQ(screens.Focus(), &Menu().ExitGameButton());
    // Enter presses the focus: Exit Game opens the dialog again.
    Platform().PushKey(VirtualKey::Return);
    RunFrames(1);
    EXPECT_TRUE(screens.IsModal());
}

} // namespace
