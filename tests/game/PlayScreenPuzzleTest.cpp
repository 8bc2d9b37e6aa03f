// Puzzle Challenge on the play screen beyond the simulator scripts: what is
// recorded, levels that fail to load and the next puzzle's undo.
#include "PlayScreenTestFixture.h"

#include "data/ProfileStore.h"
#include "engine/KeyCode.h"
#include "fixtures/TestPaths.h"
#include "screens/MainMenuScreen.h"

namespace
{

constexpr const char* FirstLevel = "Data/Levels/01 Set/001.qvl";
constexpr const char* SecondLevel = "Data/Levels/01 Set/002.qvl";

class PlayScreenPuzzleTest : public PlayScreenFixture
{
  protected:
    void SetUp() override
    {
        PlayScreenFixture::SetUp();
        Open();
        // Reds at columns 0, 1 and 3 of the bottom row: one swap clears them.
        WriteFile(FirstLevel, LevelXml(1, {{0, 9, 0}, {1, 9, 0}, {3, 9, 0}}));
        WriteFile(SecondLevel, LevelXml(2, {{0, 9, 1}, {1, 9, 2}, {2, 9, 1}}));
        ProfileStore::Get().SetProfileName(0, "Cy");
        ProfileStore::Get().SetCurrentProfile(0);
    }
    void StartPuzzle(const std::string& path, uint64_t ms)
    {
        Play().SetGameType(GameType::PuzzleChallenge);
        ASSERT_TRUE(Play().LoadPuzzle(path));
        Start(GameType::PuzzleChallenge, Difficulty::Easy, ms);
    }
    void Swap(int column, int row)
    {
        Play().Rules().PlaceMover(column, row);
        Key(' ');
    }
};

} // namespace

TEST_F(PlayScreenPuzzleTest, SolvedIsRecordedAndUndoOnTheNextPuzzleTakesBackOneMove)
{
    WriteFile("Data/Levels/01 Set/003.qvl", LevelXml(1, {{0, 9, 0}}));
    StartPuzzle(FirstLevel, 1000);
    EXPECT_TRUE(Play().FirstButton().IsHidden()); // no move to take back yet
    Swap(2, 9);
    Frames(1016, 2000);
    ASSERT_TRUE(Play().IsSolved());
    EXPECT_EQ(std::make_tuple(ProfileStore::Get().IsPuzzleCompleted("01 Set/001.qvl"),
                              Play().SuccessPicture().IsHidden(), Play().Mover().IsHidden(),
                              Play().FirstButton().IsHidden()),
              std::make_tuple(true, false, true, false));
    Key('n'); // Next Puzzle
    Frame(2016);
    ASSERT_EQ(Play().PuzzlePath(), SecondLevel);
    Swap(0, 9);
    Frames(2032, 2400);
    Swap(1, 9);
    Frames(2416, 2800);
    Key('u'); // the same button now takes back the last move only
    EXPECT_EQ(std::make_tuple(Play().PuzzlePath(), Play().Rules().MovesLeft(), Row(9)),
              std::make_tuple(SecondLevel, 1, "211666"));

    // A level outside the sets is played but records nothing.
    WriteFile("x.qvl", LevelXml(1, {{0, 9, 0}, {1, 9, 0}, {3, 9, 0}}));
    ProfileStore::Get().SetProfileName(1, "Di");
    ProfileStore::Get().SetCurrentProfile(1);
    StartPuzzle("x.qvl", 3000);
    Swap(2, 9);
    Frames(3016, 4000);
    ASSERT_TRUE(Play().IsSolved());
    EXPECT_TRUE(ProfileStore::Get().GetProfile(1)->completedPuzzles.empty());
}

TEST_F(PlayScreenPuzzleTest, ALevelThatFailsToLoadIsNeitherStartedNorSolved)
{
    WriteFile("Data/Levels/01 Set/004.qvl", "<qvl moves=\"3\"><block x=\"0\" y=\"9\"");
    StartPuzzle(FirstLevel, 1000);
    EXPECT_FALSE(Play().LoadPuzzle("Data/Levels/01 Set/004.qvl") ||
                 Play().LoadPuzzle("Data/Levels/01 Set/missing.qvl"));
    EXPECT_EQ(std::make_tuple(Play().PuzzlePath(), Play().Rules().MovesLeft(), Row(9)),
              std::make_tuple(FirstLevel, 1, "006066"));

    // A screen entered with nothing ever loaded is an empty board, not a win.
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    Frame(1500);
    PlayScreen::Destroy();
    Start(GameType::PuzzleChallenge, Difficulty::Easy, 2000);
    Frames(2016, 2500);
    EXPECT_FALSE(Play().IsSolved());

    // The last puzzle of the last set offers no next puzzle.
    WriteFile("Data/Levels/~~ Last/001.qvl", LevelXml(2, {{0, 9, 1}}));
    StartPuzzle("Data/Levels/~~ Last/001.qvl", 3000);
    ClearBoard();
    Frames(3016, 3100);
    EXPECT_EQ(std::make_tuple(Play().IsSolved(), Play().NextPuzzle(), Play().FirstButton().IsHidden()),
              std::make_tuple(true, "", true));
}
