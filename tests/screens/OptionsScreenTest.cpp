#include "screens/OptionsScreen.h"
#include "data/GameOptions.h"
#include "engine/KeyCode.h"
#include "screens/MenuFixture.h"

#include <tuple>

namespace
{

class OptionsScreenTest : public MenuFixture
{
  protected:
    OptionsScreen& Options() { return OptionsScreen::Get(); }
    void Enter(int w = 640, int h = 480)
    {
        ASSERT_TRUE(OpenWindow(w, h));
        GameOptions& options = GameOptions::Get();
        options.fullscreen = false;
        options.effectsVolume = 0.5f;
        options.musicVolume = 0.75f;
        Go(Options());
    }
    void Keys(const char* keys)
    {
        for (; *keys != '\0'; ++keys)
            Press(*keys == '\x1b' ? KeyCode::Escape : *keys);
    }
    // Runs a frame after the clock moved on by whole milliseconds.
    void After(uint64_t ms)
    {
        Platform().AdvanceTicks(ms);
        RunFrames(1, 0);
    }
};

// The window check follows the same change in a real window (kept on Yes,
// undone by the countdown, the options file); here the countdown's text and
// exact end, and the screen around the dialog.
TEST_F(OptionsScreenTest, DisplayChangeIsRevertedAfter35SecondsAndKeptOnYes)
{
    Enter();
    EXPECT_TRUE(Options().ApplyButton().IsHidden());
    Keys("da"); // 800 x 600, Apply
    EXPECT_EQ(std::make_pair(App().Width(), Options().KeepDialog().CountdownLine().GetText()),
              std::make_pair(800, std::string("Reverting in 34 Seconds...")));
    Keys("dfsm"); // the settings keys do nothing under the dialog; 80 ms gone
    After(34790);
    EXPECT_TRUE(Options().IsKeepDialogOpen() &&
                Options().KeepDialog().CountdownLine().GetText() == "Reverting in 0 Seconds...");
    After(40); // the refused size stays on offer
    EXPECT_EQ(std::make_tuple(Options().IsKeepDialogOpen(), App().Width(), Options().SelectedIndex(),
                              Options().ApplyButton().IsHidden(), ReadFile("Data/GameOpts.opt")),
              std::make_tuple(false, 640, 2, false, ""));
    Keys("ay");
    RunFrames(1); // laid out again at 800 x 600
    EXPECT_EQ(std::make_pair(Options().ApplyButton().IsHidden(), Options().ReturnButton().GetY()),
              std::make_pair(true, 497));
}

TEST_F(OptionsScreenTest, VolumesAreLiveAndLeavingAsksBeforeDroppingThem)
{
    Enter();
    SoundManager& sound = SoundManager::Get();
    Options().SoundSlider().SetValue(0.95f, false);
    Keys("s");
    EXPECT_FLOAT_EQ(sound.GetEffectsVolume(), 1.0f);
    Keys("sm");
    EXPECT_EQ(sound.GetEffectsVolume(), 0.0f);
    EXPECT_FLOAT_EQ(sound.GetMusicVolume(), 0.8f);
    Options().MusicSlider().SetValue(0.753f, false); // within the tolerance
    RunFrames(1);
    EXPECT_FALSE(Options().ApplyButton().IsHidden());

    Keys("rn"); // Return asks; No stays
    EXPECT_EQ(Current(), &Options());
    Keys("ry"); // Yes drops the changes
    EXPECT_EQ(
        std::make_tuple(Current(), sound.GetEffectsVolume(), sound.GetMusicVolume(), ReadFile("Data/GameOpts.opt")),
        std::make_tuple(static_cast<Screen*>(&MainMenuScreen::Get()), 0.5f, 0.75f, ""));

    // Volumes alone are applied without a question, and saved.
    Go(Options());
    ScreenManager& screens = ScreenManager::Get();
    // The d-pad goes down to the music slider, then it and the arrows step it.
    for (int i = 0; i < 8 && screens.Focus() != &Options().MusicSlider(); ++i)
        screens.OnPadButton(PadButton::DPadDown);
    screens.OnPadButton(PadButton::DPadRight);
    screens.OnKeyDown(KeyCode::Right, false);
    EXPECT_FLOAT_EQ(sound.GetMusicVolume(), 0.85f);
    screens.OnKeyDown(KeyCode::Left, false);
    RunFrames(1);
    Keys("a");
    EXPECT_EQ(std::make_pair(ScreenManager::Get().IsModal(), ReadFile("Data/GameOpts.opt")),
              std::make_pair(false, std::string("<opts>\n\t<display width=\"640\" height=\"480\" fullscreen=\"0\"/>\n"
                                                "\t<sounds volume=\"0.50\"/>\n\t<music volume=\"0.80\"/>\n</opts>\n")));
    Keys("r");
    EXPECT_EQ(Current(), &MainMenuScreen::Get());
}

TEST_F(OptionsScreenTest, EscapeUnderADialogAnswersItCarefullyThenLeaves)
{
    Enter();
    Keys("fa\x1b"); // full screen applied, then Escape during the countdown
    EXPECT_EQ(
        std::make_tuple(Current(), ScreenManager::Get().IsModal(), App().IsFullscreen(), Platform().IsFullscreen()),
        std::make_tuple(static_cast<Screen*>(&MainMenuScreen::Get()), false, false, false));

    Go(Options());
    Keys("m");
    ScreenManager::Get().OnKeyDown('r', false);
    Keys("\x1b");
    EXPECT_EQ(std::make_tuple(Current(), SoundManager::Get().GetMusicVolume(), ReadFile("Data/GameOpts.opt")),
              std::make_tuple(static_cast<Screen*>(&MainMenuScreen::Get()), 0.75f, ""));
}

TEST_F(OptionsScreenTest, WithoutTheCurrentSizeInTheListOnlyEscapeWorks)
{
    Enter();
    // The display stops offering 640 x 480 while the window keeps it.
    Platform().SetDisplayModes({});
    Platform().SetUsableDesktopSize({320, 240});
    EXPECT_FALSE(App().Open(false, nullptr, 640, 480));
    Go(MainMenuScreen::Get());
    Go(Options());
    EXPECT_EQ(std::make_tuple(Options().IsReady(), ScreenManager::Get().Controls().empty(),
                              Platform().Messages().back().text),
              std::make_tuple(false, true, "Warning: Unable to locate current display mode in display mode list."));
    Keys("sdfma\x1b");
    EXPECT_EQ(Current(), &MainMenuScreen::Get());
}

TEST_F(OptionsScreenTest, LayoutAt640x480)
{
    Enter();
    const Slider& sound = Options().SoundSlider();
    EXPECT_EQ(std::make_tuple(Options().LeftArrow().GetX(), Options().RightArrow().GetX(), sound.GetX(),
                              sound.GetWidth(), sound.GetShuttleY() < sound.GetY()),
              std::make_tuple(640 - 539 - 64, 539, 335, 256, true)); // the shuttle stands out of the track
}

} // namespace
