#include "screens/OptionsScreen.h"
#include "data/GameOptions.h"
#include "engine/KeyCode.h"
#include "screens/MenuFixture.h"

namespace
{

class OptionsScreenTest : public MenuFixture
{
  protected:
    OptionsScreen& Options() { return OptionsScreen::Get(); }
    void Enter(int w = 640, int h = 480)
    {
        ASSERT_TRUE(OpenWindow(w, h));
        GameOptions::Get().fullscreen = false;
        GameOptions::Get().effectsVolume = 0.5f;
        GameOptions::Get().musicVolume = 0.75f;
        Go(Options());
    }
    void Keys(const char* keys)
    {
        for (; *keys != '\0'; ++keys)
        {
            ScreenManager::Get().OnKeyDown(*keys == '\x1b' ? KeyCode::Escape : *keys, false);
            RunFrames(1);
        }
    }
    // Runs a frame after the clock moved on by whole milliseconds.
    void After(uint64_t ms)
    {
        Platform().AdvanceTicks(ms);
        RunFrames(1, 0);
    }
    static std::string OptionsText(int w, int h, const char* sound, const char* music)
    {
        return "<opts>\n\t<display width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
               "\" fullscreen=\"0\"/>\n\t<sounds volume=\"" + sound + "\"/>\n\t<music volume=\"" + music +
               "\"/>\n</opts>\n";
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
    EXPECT_EQ(App().Width(), 800);
    EXPECT_EQ(Options().KeepDialog().CountdownLine().GetText(), "Reverting in 34 Seconds...");
    Keys("dfsm"); // the settings keys do nothing under the dialog; 80 ms gone
    After(34790);
    EXPECT_TRUE(Options().IsKeepDialogOpen());
    EXPECT_EQ(Options().KeepDialog().CountdownLine().GetText(), "Reverting in 0 Seconds...");
    After(40);
    EXPECT_FALSE(Options().IsKeepDialogOpen());
    EXPECT_EQ(App().Width(), 640);
    EXPECT_EQ(Options().SelectedIndex(), 2); // the refused size stays on offer
    EXPECT_FALSE(Options().ApplyButton().IsHidden());
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), "");
    Keys("ay");
    RunFrames(1);
    EXPECT_TRUE(Options().ApplyButton().IsHidden());
    EXPECT_EQ(Options().ReturnButton().GetY(), 497); // laid out again at 800 x 600
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
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &Options());
    Keys("ry"); // Yes drops the changes
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &MainMenuScreen::Get());
    EXPECT_FLOAT_EQ(sound.GetEffectsVolume(), 0.5f);
    EXPECT_FLOAT_EQ(sound.GetMusicVolume(), 0.75f);
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), "");

    // Volumes alone are applied without a question, and saved.
    Go(Options());
    Keys("ma");
    EXPECT_FALSE(ScreenManager::Get().IsModal());
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), OptionsText(640, 480, "0.50", "0.80"));
    Keys("r");
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &MainMenuScreen::Get());
}

TEST_F(OptionsScreenTest, EscapeUnderADialogAnswersItCarefullyThenLeaves)
{
    Enter();
    Keys("fa\x1b"); // full screen applied, then Escape during the countdown
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &MainMenuScreen::Get());
    EXPECT_FALSE(ScreenManager::Get().IsModal());
    EXPECT_FALSE(App().IsFullscreen());
    EXPECT_FALSE(Platform().IsFullscreen());

    Go(Options());
    Keys("m");
    ScreenManager::Get().OnKeyDown('r', false);
    Keys("\x1b");
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &MainMenuScreen::Get());
    EXPECT_FLOAT_EQ(SoundManager::Get().GetMusicVolume(), 0.75f);
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), "");
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
    EXPECT_FALSE(Options().IsReady());
    EXPECT_EQ(Platform().Messages().back().text,
              "Warning: Unable to locate current display mode in display mode list.");
    EXPECT_TRUE(ScreenManager::Get().Controls().empty());
    Keys("sdfma\x1b");
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &MainMenuScreen::Get());
}

TEST_F(OptionsScreenTest, LayoutAt640x480)
{
    Enter();
    EXPECT_EQ(Options().LeftArrow().GetX(), 640 - 539 - 64);
    EXPECT_EQ(Options().RightArrow().GetX(), 539);
    const Slider& sound = Options().SoundSlider();
    EXPECT_EQ(std::make_pair(sound.GetX(), sound.GetWidth()), std::make_pair(335, 256));
    EXPECT_LT(sound.GetShuttleY(), sound.GetY()); // the shuttle stands out of the track
}

} // namespace
