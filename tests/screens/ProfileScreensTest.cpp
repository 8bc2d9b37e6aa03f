// The way from the main menu into a game: the profile slots and their delete
// mode, the name entry, and the game type and difficulty choices.
#include <sstream>
#include <tuple>

#include "data/ProfileStore.h"
#include "engine/KeyCode.h"
#include "game/PlayScreen.h"
#include "screens/GameLevelSelectScreen.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/MenuFixture.h"
#include "screens/NewProfileEntryScreen.h"
#include "screens/ProfileSelectScreen.h"

namespace
{

class ProfileScreensTest : public MenuFixture
{
  protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        for (const char* red : {"Data/Graphics/RedMenuButton.swf", "Data/Graphics/RedMenuButtonMouseOver.swf",
                                "Data/Graphics/RedMenuButtonMouseDown.swf"})
            files.add(red, SolidTestMovie({200, 40, 40, 255}, 10));
        std::istringstream pictures(
            "Background MarqueeBackground MarqueeForeground ReturnMain ReturnProfile Ok Profile/New Profile/One "
            "Profile/Two Profile/Three Profile/Four Profile/DeleteProfile NewProfileEntry/CreateProfile "
            "NewProfileEntry/ReturnProfiles NewProfileEntry/Cursor GameTypeSelect/HowToPlay GameTypeSelect/Marathon "
            "GameTypeSelect/PuzzleChallenge GameTypeSelect/TimeAttack GameLevelSelect/Easy GameLevelSelect/Medium "
            "GameLevelSelect/Hard PuzzleLevelSelect/ReturnGame");
        for (std::string picture; pictures >> picture;)
            files.add("Data/Graphics/" + picture + ".swf", SolidTestMovie({90, 90, 90, 255}, 5));
        ASSERT_TRUE(OpenWindow(640, 480));
    }

    void Keys(const std::string& keys, bool alt = false)
    {
        for (char key : keys)
            ScreenManager::Get().OnKeyDown(static_cast<unsigned char>(key), alt);
        RunFrames(1);
    }
    void Key(int key) { Keys(std::string(1, static_cast<char>(key))); }
    void Click(Control& control)
    {
        const int x = control.GetX() + control.GetWidth() / 2, y = control.GetY() + control.GetHeight() / 2;
        ScreenManager::Get().OnMouseMove(x, y);
        ScreenManager::Get().OnLeftButtonDown(x, y);
        ScreenManager::Get().OnLeftButtonUp(x, y);
        RunFrames(1);
    }
    void Name(int slot, const std::string& name) { ProfileStore::Get().SetProfileName(slot, name); }
    // Types into a fresh name entry; the number of refusals heard.
    int Type(const std::string& keys)
    {
        Go(NewProfileEntryScreen::Get());
        int refusals = 0;
        for (char key : keys)
        {
            SoundManager::Get().StopAll();
            const int code = static_cast<unsigned char>(key);
            Key(code == '\b' ? KeyCode::Backspace : code);
            refusals += BusyVoices();
        }
        return refusals;
    }
    NewProfileEntryScreen& Entry() { return NewProfileEntryScreen::Get(); }
    ProfileSelectScreen& Profiles() { return ProfileSelectScreen::Get(); }
};

TEST_F(ProfileScreensTest, NameEntryAcceptsPrintableCharactersUpToTwelveThatFit)
{
    // Keys typed, the name they leave, the refusals heard.
    const std::tuple<std::string, std::string, int> cases[] = {
        {"a^b~c!1 z", "abc!1 z", 0},
        {"\x01\x02", "", 0}, // Escape leaves the screen and adds nothing
        {"\bab\b\b\b", "", 2},
        {"abcdefghijklmn", "abcdefghijkl", 2},
        {std::string("x") + static_cast<char>(KeyCode::Tab) + static_cast<char>(200), "x", 0},
    };
    for (const auto& [keys, name, refused] : cases)
    {
        const int refusals = Type(keys);
        EXPECT_EQ(std::make_pair(refusals, Entry().Name()), std::make_pair(refused, name)) << keys;
    }
    EXPECT_EQ(Current(), &Entry());
    Type("\x02");
    EXPECT_EQ(Current(), &Profiles());

    // Wide letters stop before the name is wider than 0.9 W; an empty name
    // puts the cursor at the centre.
    if (hasFont)
    {
        EXPECT_GT(Type("WWWWWWWWWWWW"), 0);
        const TextLabel& label = Entry().NameLabel();
        EXPECT_EQ(std::make_tuple(Entry().Name().size() < 12, label.GetWidth() <= 576, Entry().Cursor().GetX()),
                  std::make_tuple(true, true, label.GetX() + label.GetWidth()));
        Type("m\b");
        EXPECT_EQ(Entry().Cursor().GetX() + Entry().Cursor().GetWidth() / 2, 320);
    }
}

TEST_F(ProfileScreensTest, CreatingAProfileTrimsAndRefusesEmptyAndTakenNames)
{
    Name(0, "Bob");
    // The name typed and the first line of its refusal, or null.
    const std::pair<std::string, const char*> cases[] = {
        {"   ", "Profile name must contain"},
        {"bob", nullptr}, // another letter case is another name
        {" bob ", "A profile with this name"},
        {"  joe ", nullptr},
    };
    for (const auto& [typed, message] : cases)
    {
        Type(typed);
        Entry().SetSlot(ProfileStore::Get().GetProfileName(1).empty() ? 1 : 2);
        Keys("c", true);
        if (message)
        {
            EXPECT_EQ(std::make_pair(ScreenManager::Get().IsModal(), Entry().Message().FirstLine().GetText()),
                      std::make_pair(true, std::string(message)))
                << typed;
            Keys("o"); // Ok
            EXPECT_FALSE(ScreenManager::Get().IsModal());
        }
        else
            EXPECT_EQ(Current(), &GameTypeSelectScreen::Get()) << typed;
    }
    EXPECT_EQ(ReadFile("Data/Profiles.pro"), "<profiles>\n\t<profile name=\"Bob\" index=\"0\">\n\t</profile>\n"
                                             "\t<profile name=\"bob\" index=\"1\">\n\t</profile>\n"
                                             "\t<profile name=\"joe\" index=\"2\">\n\t</profile>\n</profiles>\n");
    EXPECT_EQ(ProfileStore::Get().GetCurrentProfile(), 2);
}

TEST_F(ProfileScreensTest, DeleteModeAsksBeforeDeletingAndEndsOnTheNextRelease)
{
    Name(0, "ann");
    Name(1, "ben");
    ProfileStore::Get().SetCurrentProfile(1);
    Go(Profiles());
    Keys("d");
    ASSERT_TRUE(Profiles().InDeleteMode());
    // The release that clicks a named slot still finds delete mode on.
    Click(Profiles().SlotButton(1));
    EXPECT_EQ(std::make_tuple(ScreenManager::Get().IsModal(), Profiles().Dialog().Line().GetText(),
                              Profiles().InDeleteMode()),
              std::make_tuple(true, "Delete profile ben?", false));
    Keys(std::string(1, KeyCode::Escape)); // = No
    EXPECT_EQ(std::make_pair(ScreenManager::Get().IsModal(), Current()),
              (std::make_pair<bool, Screen*>(false, &Profiles())));

    Keys("d");
    Click(Profiles().SlotButton(1));
    Keys("y");
    RunFrames(1);
    EXPECT_EQ(ReadFile("Data/Profiles.pro"), "<profiles>\n\t<profile name=\"ann\" index=\"0\">\n\t</profile>\n"
                                             "</profiles>\n");
    EXPECT_EQ(std::make_pair(ProfileStore::Get().GetCurrentProfile(), Profiles().InDeleteMode()),
              std::make_pair(-1, false));

    // A release anywhere ends delete mode, one update later; Escape too.
    Keys("d");
    ScreenManager::Get().OnLeftButtonUp(5, 5);
    const bool stillOn = Profiles().InDeleteMode();
    RunFrames(1);
    EXPECT_EQ(std::make_pair(stillOn, Profiles().InDeleteMode()), std::make_pair(true, false));
    Keys("d");
    Keys(std::string(1, KeyCode::Escape));
    EXPECT_EQ(std::make_pair(Profiles().InDeleteMode(), Current()),
              (std::make_pair<bool, Screen*>(false, &Profiles())));

    // With every slot free there is nothing to delete.
    Keys("d1y");
    EXPECT_TRUE(Profiles().DeleteButton().IsHidden());
    Keys(std::string(1, KeyCode::Escape));
    EXPECT_EQ(Current(), &MainMenuScreen::Get());
}

TEST_F(ProfileScreensTest, MarqueeMovesByWholePixelsAndReentersFromTheRight)
{
    Go(GameTypeSelectScreen::Get());
    Marquee& marquee = GameTypeSelectScreen::Get().Banner();
    TextLabel& text = marquee.Label(0);
    EXPECT_EQ(text.GetX(), 640);
    // 640 / 15 px per second: 10 ms frames gather time until a pixel is due.
    RunFrames(2, 10);
    const int start = text.GetX();
    RunFrames(3, 10);
    const int afterPixel = text.GetX();
    RunFrames(1, 1000); // 1.02 s gathered
    EXPECT_EQ(std::make_pair(afterPixel, text.GetX()), std::make_pair(start - 1, start - 1 - 43));

    // The text under the mouse enters from the right edge; the default hides.
    Button& marathon = GameTypeSelectScreen::Get().ChoiceButton(GameTypeSelectScreen::Marathon);
    ScreenManager::Get().OnMouseMove(marathon.GetX() + marathon.GetWidth() / 2, marathon.GetY() + 20);
    RunFrames(1, 100);
    EXPECT_EQ(std::make_pair(text.IsHidden(), marquee.Label(2).GetX()), std::make_pair(true, 640 - 4));
    // Once off the left edge a text starts again at the right.
    RunFrames(1, static_cast<uint64_t>(15000.0 * (636 + marquee.Label(2).GetWidth()) / 640) + 20);
    EXPECT_EQ(marquee.Label(2).GetX(), 640);
}

TEST_F(ProfileScreensTest, GameTypeAndDifficultyLeadIntoAGameUnderAProfile)
{
    // Type key, difficulty key, the game and level they start, the hard level's description.
    const std::tuple<char, char, GameType, int, const char*> cases[] = {
        {'m', 'h', GameType::Marathon, Difficulty::Hard, "Hard mode! Start playing on level 6."},
        {'t', 'm', GameType::TimeAttack, Difficulty::Medium,
         "Hard mode! You will have 1 minute and 30 seconds to score as many points as you can!"},
    };
    Name(0, "ann");
    ProfileStore::Get().SetCurrentProfile(0);
    for (const auto& [type, level, expectedType, difficulty, hardText] : cases)
    {
        Go(GameTypeSelectScreen::Get());
        Keys(std::string(1, type));
        ASSERT_EQ(Current(), &GameLevelSelectScreen::Get());
        EXPECT_EQ(GameLevelSelectScreen::Get().Banner().Label(3).GetText(), hardText);
        ScreenManager::Get().OnKeyDown(level, false);
        EXPECT_EQ(std::make_tuple(ScreenManager::Get().IsSwitchPending(), PlayScreen::Get().GetGameType(),
                                  PlayScreen::Get().difficulty),
                  std::make_tuple(true, expectedType, difficulty));
    }
    // Return goes one step back, Escape to the profiles; no game without a profile.
    Go(GameLevelSelectScreen::Get());
    Keys("r");
    EXPECT_EQ(Current(), &GameTypeSelectScreen::Get());
    Keys(std::string(1, KeyCode::Escape));
    EXPECT_EQ(Current(), &Profiles());
    ProfileStore::Get().SetCurrentProfile(-1);
    Go(GameLevelSelectScreen::Get());
    Keys("e");
    EXPECT_EQ(Current(), &Profiles());
}

} // namespace
