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
    ASSERT_TRUE(music != nullptr && music->HasData());
    EXPECT_EQ(std::make_pair(music->IsPlaying(), BusyVoices()), std::make_pair(true, 1));
    const int channel = music->Channel();

    Blank elsewhere;
    ScreenManager::Get().SetScreen(&elsewhere, true);
    RunFrames(5);
    EXPECT_TRUE(music->IsPlaying()); // plays on under the other menus
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    RunFrames(5);
    EXPECT_EQ(std::make_tuple(Menu().Music(), music->Channel(), BusyVoices()), std::make_tuple(music, channel, 1));

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
        Press(KeyCode::Escape);
    EXPECT_EQ(std::make_pair(ScreenManager::Get().IsModal(), ScreenManager::Get().ModalControls().size()),
              (std::make_pair<bool, size_t>(true, 6)));

    // Menu hotkeys are not heard while the dialog is open.
    ScreenManager::Get().OnKeyDown('p', false);
    ScreenManager::Get().OnKeyDown('n', false);
    EXPECT_EQ(std::make_tuple(ScreenManager::Get().IsModal(), App().IsQuitRequested(), Current()),
              std::make_tuple(false, false, static_cast<Screen*>(&MainMenuScreen::Get())));

    // Exit Game's hotkey opens the same dialog (the window check answers it with Yes).
    ScreenManager::Get().OnKeyDown('e', false);
    EXPECT_TRUE(ScreenManager::Get().IsModal());
}

TEST_F(MainMenuScreenTest, ButtonsFollowTheDisplaySize)
{
    EnterMenu(1024, 768);
    const Button& play = Menu().PlayGameButton();
    EXPECT_EQ(std::make_tuple(play.GetX(), play.GetWidth(), play.GetHeight(), Menu().Logo().GetWidth()),
              std::make_tuple(512 - 579 / 2, 579, 70, 832));
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
    const auto focus = [&] { return std::make_pair(screens.Focus(), Menu().PlayGameButton().GetState()); };
    pad(PadButton::DPadDown);
    EXPECT_EQ(focus(), std::make_pair<Control*>(&Menu().PlayGameButton(), +Button::MouseOver));
    pad(PadButton::DPadDown);
    EXPECT_EQ(focus(), std::make_pair<Control*>(&Menu().HighScoresButton(), +Button::Normal));
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
    ASSERT_TRUE(screens.IsModal() && screens.Focus() == nullptr);
    pad(PadButton::DPadRight);
    pad(PadButton::DPadRight);
    EXPECT_EQ(screens.Focus(), &Menu().ExitDialog().NoButton());
    pad(PadButton::A);
    EXPECT_EQ(std::make_tuple(screens.IsModal(), App().IsQuitRequested(), screens.Focus()),
              std::make_tuple(false, false, static_cast<Control*>(&Menu().ExitGameButton())));
    // Enter presses the focus: Exit Game opens the dialog again.
    Platform().PushKey(VirtualKey::Return);
    RunFrames(1);
    EXPECT_TRUE(screens.IsModal());
}

} // namespace
