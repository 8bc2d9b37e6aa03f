// The puzzle choice: layout, set and page arrows at their ends, labels and
// solved marks, sets that vanish or shrink between visits, broken levels.
#include <filesystem>
#include <tuple>

#include "data/ProfileStore.h"
#include "engine/KeyCode.h"
#include "game/PlayScreen.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/LevelEditorScreen.h"
#include "screens/MenuFixture.h"
#include "screens/PuzzleLevelSelectScreen.h"

namespace
{

std::string Level(int moves)
{
    return "<qvl moves=\"" + std::to_string(moves) + "\"><block x=\"0\" y=\"9\" color=\"2\"/></qvl>";
}

class PuzzleLevelSelectScreenTest : public MenuFixture
{
  protected:
    void SetUp() override
    {
        MenuFixture::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
    }
    PuzzleLevelSelectScreen& Select() { return PuzzleLevelSelectScreen::Get(); }
    void Enter() { Go(Select()); }
    void Key(int key) { ScreenManager::Get().OnKeyDown(key, false); }
    // "Level n/m Moves" of each shown preview.
    std::vector<std::string> Shown()
    {
        std::vector<std::string> shown;
        for (int k = 0; k < PuzzleLevelSelectScreen::PreviewCount; ++k)
            if (!Select().Preview(k).IsHidden())
                shown.push_back(Select().LevelLabel(k).GetText() + "/" + Select().MovesLabel(k).GetText());
        return shown;
    }
    // The level warnings shown since the last call (the test data has no pictures).
    std::vector<std::string> Warnings()
    {
        std::vector<std::string> texts; // the first line is the warning; the lines after it name the file
        for (const auto& message : Platform().Messages())
            if (message.text.find("Puzzle Level") != std::string::npos)
                texts.push_back(message.text.substr(0, message.text.find('\n')));
        Platform().ClearMessages();
        return texts;
    }
};

} // namespace

TEST_F(PuzzleLevelSelectScreenTest, SetAndPageArrowsAtTheirEnds)
{
    WriteFile("Data/Levels/01 Two/001.qvl", Level(1));
    WriteFile("Data/Levels/01 Two/002.qvl", Level(0));
    WriteFile("Data/Levels/01 Two/readme.txt", "not a puzzle");
    std::filesystem::create_directories(PathOf("Data/Levels/02 Empty"));
    WriteFile("Data/Levels/03 One/007.qvl", Level(2));
    WriteFile("Data/Levels/42/001.qvl", Level(12));
    Enter();
    const std::vector<std::string> two = {"Level 1/1 Move", "Level 2/0 Moves"};
    // The key pressed (none at first), then the set's name and the previews shown.
    const std::tuple<int, const char*, std::vector<std::string>> steps[] = {
        {0, "Two", two},
        {KeyCode::Down, "Two", two},
        {KeyCode::Up, "Two", {"Level 2/0 Moves"}},
        {KeyCode::Up, "Two", {"Level 2/0 Moves"}},
        {KeyCode::Left, "", {"Level 1/12 Moves"}}, // the last set; no letter in its name
        {KeyCode::Left, "One", {"Level 7/2 Moves"}},
        {KeyCode::Left, "Empty", {}},
        {KeyCode::Up, "Empty", {}},
        {KeyCode::Down, "Empty", {}},
        {KeyCode::Right, "One", {"Level 7/2 Moves"}},
        {KeyCode::Right, "", {"Level 1/12 Moves"}},
        {KeyCode::Right, "Two", two},
    };
    for (const auto& [key, setName, shown] : steps)
    {
        if (key)
            Key(key);
        EXPECT_EQ(std::make_pair(Select().SetName().GetText(), Shown()), std::make_pair(std::string(setName), shown))
            << setName << " after key " << key;
    }
    EXPECT_TRUE(Warnings().empty());
    ScreenManager::Get().OnPadButton(PadButton::Y); // as the key e
    RunFrames(1);
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &LevelEditorScreen::Get());
}

TEST_F(PuzzleLevelSelectScreenTest, NoSetsAndSetsOrFilesThatWentAwayBetweenVisits)
{
    Enter();
    EXPECT_EQ(Select().SetName().GetText(), "****");
    for (int key : {KeyCode::Left, KeyCode::Right, KeyCode::Up, KeyCode::Down, int('1')})
        Key(key);
    EXPECT_TRUE(Shown().empty() && !ScreenManager::Get().IsSwitchPending());
    Key('r');
    RunFrames(1);
    EXPECT_EQ(Current(), &GameTypeSelectScreen::Get());

    for (int i = 1; i <= 5; ++i)
        WriteFile("Data/Levels/1 Set/00" + std::to_string(i) + ".qvl", Level(i));
    WriteFile("Data/Levels/2 Set/001.qvl", Level(9));
    Enter();
    Key(KeyCode::Left);
    std::filesystem::remove_all(PathOf("Data/Levels/2 Set"));
    Enter();
    EXPECT_EQ(Select().CurrentSet(), 0);
    for (int i = 0; i < 6; ++i)
        Key(KeyCode::Up);
    Enter(); // the page is kept between visits...
    EXPECT_EQ(Shown(), std::vector<std::string>{"Level 5/5 Moves"});
    for (int i = 3; i <= 5; ++i)
        std::filesystem::remove(PathOf("Data/Levels/1 Set/00" + std::to_string(i) + ".qvl"));
    Enter(); // ...and moved back to the last file left
    EXPECT_EQ(Shown(), std::vector<std::string>{"Level 2/2 Moves"});
}

TEST_F(PuzzleLevelSelectScreenTest, SolvedMarkFollowsTheCurrentProfileAndItsPuzzle)
{
    WriteFile("Data/Levels/01 Set/001.qvl", Level(1));
    WriteFile("Data/Levels/01 Set/002.qvl", Level(1));
    ProfileStore& profiles = ProfileStore::Get();
    profiles.SetProfileName(0, "Ann");
    profiles.SetProfileName(2, "Bo");
    profiles.SetCurrentProfile(0);
    profiles.MarkPuzzleCompleted("Data/Levels/01 Set/002.qvl");
    for (const auto& [profile, marked] : {std::pair{0, true}, {2, false}, {-1, false}, {0, true}})
    {
        profiles.SetCurrentProfile(profile);
        Enter();
        EXPECT_EQ(std::make_pair(Select().CompletedMark(0).IsHidden(), !Select().CompletedMark(1).IsHidden()),
                  std::make_pair(true, marked))
            << profile;
    }
    Key(KeyCode::Up);
    EXPECT_EQ(std::make_pair(Select().CompletedMark(0).IsHidden(), Select().CompletedMark(1).IsHidden()),
              std::make_pair(false, true));
}

TEST_F(PuzzleLevelSelectScreenTest, BrokenLevelsWarnOnceAVisitAndNeverStart)
{
    WriteFile("Data/Levels/01 Set/001.qvl", "<qvl");
    WriteFile("Data/Levels/01 Set/002.qvl", "<level moves=\"3\"/>");
    WriteFile("Data/Levels/01 Set/003.qvl", "<qvl><block x=\"0\" y=\"9\" color=\"1\"/></qvl>");
    WriteFile("Data/Levels/01 Set/004.qvl", Level(4));
    Enter();
    EXPECT_EQ(Warnings(), (std::vector<std::string>{
                              "Warning: Unable to load Puzzle Level.", "Warning: Malformed Puzzle Level File (#1).",
                              "Warning: Malformed Puzzle Level File (#3 -- Unable to locate Moves count)."}));
    for (int key : {KeyCode::Up, KeyCode::Down, KeyCode::Up, int('1'), int('2')})
        Key(key);
    EXPECT_TRUE(Warnings().empty() && !ScreenManager::Get().IsSwitchPending());
    Enter(); // a new visit warns again about what it shows
    EXPECT_EQ(Warnings().size(), 2u);

    Key('3');
    EXPECT_EQ(std::make_pair(PlayScreen::Get().GetGameType(), PlayScreen::Get().PuzzlePath()),
              std::make_pair(GameType::PuzzleChallenge, std::string("Data/Levels/01 Set/004.qvl")));
    RunFrames(1);
    EXPECT_EQ(Current(), &PlayScreen::Get());
}
