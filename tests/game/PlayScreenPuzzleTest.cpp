// Puzzle Challenge on the play screen: solving on the last move, failing a
// second after the board rests, undo and un-fail, levels that fail to load or
// give no moves, input under the dialog, and the level editor's try-out.
#include "PlayScreenTestFixture.h"

#include <algorithm>

#include "data/ProfileStore.h"
#include "engine/KeyCode.h"
#include "screens/MainMenuScreen.h"

namespace
{

constexpr const char* FirstLevel = "Data/Levels/01 Set/001.qvl";
constexpr const char* SecondLevel = "Data/Levels/01 Set/002.qvl";

std::string Level(int moves, const std::vector<std::array<int, 3>>& blocks)
{
    std::string text = "<qvl moves=\"" + std::to_string(moves) + "\">\n";
    for (const auto& b : blocks)
        text += "<block x=\"" + std::to_string(b[0]) + "\" y=\"" + std::to_string(b[1]) + "\" color=\"" +
                std::to_string(b[2]) + "\"/>\n";
    return text + "</qvl>\n";
}

class PlayScreenPuzzleTest : public PlayScreenFixture
{
  protected:
    void SetUp() override
    {
        PlayScreenFixture::SetUp();
        Open();
        // Reds at columns 0, 1 and 3 of the bottom row: one swap clears them.
        WriteLevel(FirstLevel, Level(1, {{0, 9, 0}, {1, 9, 0}, {3, 9, 0}}));
        WriteLevel(SecondLevel, Level(2, {{0, 9, 1}, {1, 9, 2}, {2, 9, 1}}));
    }
    void StartPuzzle(const std::string& path, uint64_t ms)
    {
        Play().SetGameType(GameType::PuzzleChallenge);
        ASSERT_TRUE(Play().LoadPuzzle(path));
        Start(GameType::PuzzleChallenge, Difficulty::Easy, ms);
    }
    void MoveMoverTo(int column, int row) { Play().Rules().PlaceMover(column, row); }
    [[nodiscard]] bool AtRest()
    {
        for (int i = 0; i < Board::CellCount; ++i)
        {
            const Block& block = Play().GetBoard().CellAtIndex(i);
            if (block.IsFalling() || (block.IsClearing() && !block.IsEmpty()))
                return false;
        }
        return !Play().Rules().IsSwapPending();
    }
};

} // namespace

TEST_F(PlayScreenPuzzleTest, ClearedWithTheLastMoveIsSolvedRecordedAndOffersTheNextPuzzle)
{
    ProfileStore::Get().SetProfileName(1, "Cy");
    ProfileStore::Get().SetCurrentProfile(1);
    StartPuzzle(FirstLevel, 1000);
    EXPECT_EQ(Play().HudLine(0).GetText(), "Puzzles:  Set");
    EXPECT_EQ(Play().HudLine(1).GetText(), "Level 1");
    EXPECT_EQ(Play().HudLine(2).GetText(), "Moves Left: 1");
    EXPECT_TRUE(Play().FirstButton().IsHidden());
    const auto& controls = ScreenManager::Get().Controls();
    EXPECT_EQ(std::find(controls.begin(), controls.end(), &Play().QueueBar()), controls.end());

    MoveMoverTo(2, 9);
    Key(' ');
    EXPECT_EQ(Play().Rules().MovesLeft(), 0);
    Frames(1016, 2000);
    EXPECT_TRUE(Play().IsSolved());
    EXPECT_FALSE(Play().IsFailed());
    EXPECT_TRUE(Play().IsOver());
    EXPECT_EQ(Play().BubbleText(), "Rawk!");
    EXPECT_FALSE(Play().SuccessPicture().IsHidden());
    EXPECT_TRUE(Play().Mover().IsHidden());
    EXPECT_TRUE(ProfileStore::Get().IsPuzzleCompleted("01 Set/001.qvl"));
    EXPECT_EQ(Play().NextPuzzle(), SecondLevel);
    EXPECT_FALSE(Play().FirstButton().IsHidden());

    // Next Puzzle (hotkey n) loads and starts the following level.
    Key('n');
    Frame(2016);
    EXPECT_EQ(Play().PuzzlePath(), SecondLevel);
    EXPECT_FALSE(Play().IsOver());
    EXPECT_EQ(Play().Rules().MovesLeft(), 2);
    EXPECT_EQ(Play().HudLine(1).GetText(), "Level 2");
    EXPECT_FALSE(Play().Mover().IsHidden());
}

TEST_F(PlayScreenPuzzleTest, FailsOneSecondAfterTheLastMovesCascadeComesToRest)
{
    // Red, Red, Blue, Red with an orange on the blue: the last move clears
    // three reds, the orange falls, and the board rests without a set.
    WriteLevel("Data/Levels/01 Set/003.qvl", Level(1, {{0, 9, 0}, {1, 9, 0}, {2, 9, 2}, {3, 9, 0}, {2, 8, 1}}));
    StartPuzzle("Data/Levels/01 Set/003.qvl", 1000);
    MoveMoverTo(2, 9);
    Key(' ');
    // The last frame after which a block is still on its way down.
    uint64_t lastFall = 0;
    uint64_t failedAt = 0;
    for (uint64_t ms = 1016; ms < 4000 && !failedAt; ms += 8)
    {
        Frame(ms);
        if (!AtRest())
            lastFall = ms;
        if (Play().IsFailed())
            failedAt = ms;
    }
    // The swap (0.2 s), the clear (0.5 s) and the orange's fall come first.
    EXPECT_GT(lastFall, 1700u);
    EXPECT_EQ(Row(9), "661266");
    // The block lands on the next update, and the update after it finds the
    // board at rest: the failure follows a second after that.
    EXPECT_GE(failedAt, lastFall + 16 + 1000);
    EXPECT_LE(failedAt, lastFall + 16 + 1016);
    EXPECT_EQ(Play().BubbleText(), "Aww!");
    EXPECT_FALSE(Play().FailedPicture().IsHidden());
    EXPECT_FALSE(Play().FirstButton().IsHidden());
    EXPECT_TRUE(Play().IsOver());
}

TEST_F(PlayScreenPuzzleTest, UndoUnfailsAndAPendingFailureWaitsItsFullSecondAgain)
{
    StartPuzzle(SecondLevel, 1000); // two moves, no set possible
    MoveMoverTo(0, 9);
    Key(' ');
    Frames(1016, 1300);
    EXPECT_FALSE(Play().FirstButton().IsHidden()); // a move to take back
    Key(' ');
    Frames(1316, 1600); // out of moves and at rest: the failure is pending
    ASSERT_TRUE(Play().IsFailPending());
    Key('u'); // inside the grace second
    EXPECT_FALSE(Play().IsFailPending());
    EXPECT_EQ(Play().Rules().MovesLeft(), 1);
    Key(' ');
    Frames(1616, 2700); // the old pending time would have failed by now
    EXPECT_FALSE(Play().IsFailed());
    Frames(2704, 3000);
    ASSERT_TRUE(Play().IsFailed());

    Key('u');
    EXPECT_FALSE(Play().IsFailed());
    EXPECT_FALSE(Play().IsOver());
    EXPECT_TRUE(Play().FailedPicture().IsHidden());
    EXPECT_FALSE(Play().Mover().IsHidden());
    EXPECT_EQ(Play().Rules().MovesLeft(), 1);
    Key('u');
    EXPECT_EQ(Play().Rules().MovesLeft(), 2);
    EXPECT_EQ(Row(9), "121666");
    EXPECT_TRUE(Play().FirstButton().IsHidden()); // nothing left to take back
    Frames(3016, 6000);
    EXPECT_FALSE(Play().IsOver());
}

TEST_F(PlayScreenPuzzleTest, ALevelThatFailsToLoadIsNeitherStartedNorSolved)
{
    WriteLevel("Data/Levels/01 Set/004.qvl", "<qvl moves=\"3\"><block x=\"0\" y=\"9\"");
    StartPuzzle(FirstLevel, 1000);
    EXPECT_FALSE(Play().LoadPuzzle("Data/Levels/01 Set/004.qvl"));
    EXPECT_FALSE(Play().LoadPuzzle("Data/Levels/01 Set/missing.qvl"));
    EXPECT_EQ(Play().PuzzlePath(), FirstLevel);
    EXPECT_EQ(Play().Rules().MovesLeft(), 1);
    EXPECT_EQ(Row(9), "006066");

    // A screen entered with nothing ever loaded is an empty board, not a win.
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    Frame(1500);
    PlayScreen::Destroy();
    Start(GameType::PuzzleChallenge, Difficulty::Easy, 2000);
    Frames(2016, 2500);
    EXPECT_FALSE(Play().IsSolved());

    // The last puzzle of the last set offers no next puzzle.
    // (A set named to list after every shipped one.)
    WriteLevel("Data/Levels/~~ Last/001.qvl", Level(2, {{0, 9, 1}}));
    ASSERT_TRUE(Play().LoadPuzzle("Data/Levels/~~ Last/001.qvl"));
    Start(GameType::PuzzleChallenge, Difficulty::Easy, 3000);
    ClearBoard();
    Frames(3016, 3100);
    EXPECT_TRUE(Play().IsSolved());
    EXPECT_EQ(Play().NextPuzzle(), "");
    EXPECT_TRUE(Play().FirstButton().IsHidden());
}

TEST_F(PlayScreenPuzzleTest, MoveCountsBelowOneAllowNoMoveAndFail)
{
    WriteLevel("Data/Levels/01 Set/005.qvl", Level(-3, {{0, 9, 0}, {1, 9, 1}}));
    WriteLevel("Data/Levels/01 Set/006.qvl", "<qvl moves=\"x\"><block x=\"0\" y=\"9\" color=\"0\"/></qvl>");
    StartPuzzle("Data/Levels/01 Set/005.qvl", 1000);
    MoveMoverTo(0, 9);
    Key(' ');
    EXPECT_FALSE(Play().Rules().IsSwapPending());
    EXPECT_EQ(Play().Rules().UndoDepth(), 0u);
    Frames(1016, 2100);
    EXPECT_TRUE(Play().IsFailed());
    EXPECT_EQ(Row(9), "016666");

    // A count that is no number starts from 0, never from the last puzzle's.
    StartPuzzle("Data/Levels/01 Set/006.qvl", 3000);
    EXPECT_EQ(Play().Rules().MovesLeft(), 0);
    EXPECT_EQ(Play().HudLine(2).GetText(), "Moves Left: 0");
    Frames(3016, 4100);
    EXPECT_TRUE(Play().IsFailed());
}

TEST_F(PlayScreenPuzzleTest, GameInputUnderTheDialogChangesNothing)
{
    StartPuzzle(SecondLevel, 1000);
    MoveMoverTo(0, 9);
    Key(KeyCode::Escape);
    ASSERT_TRUE(ScreenManager::Get().IsModal());
    const std::string before = Row(9);
    for (int i = 0; i < 3; ++i)
        Key(' ');
    Key(KeyCode::Tab);
    Key(KeyCode::Left);
    Key(KeyCode::Escape); // a second Escape neither reopens nor changes purpose
    // A click on the panel where it lies over the well.
    const BoardGeometry& g = Play().GetBoard().Geometry();
    ScreenManager::Get().OnMouseMove(g.CellX(1) + 5, g.CellY(3) + 5);
    ScreenManager::Get().OnLeftButtonDown(g.CellX(1) + 5, g.CellY(3) + 5);
    ScreenManager::Get().OnLeftButtonUp(g.CellX(1) + 5, g.CellY(3) + 5);
    ScreenManager::Get().OnRightButtonDown(g.CellX(1) + 5, g.CellY(3) + 5);
    Frames(1016, 1400);
    Key('n');
    EXPECT_FALSE(ScreenManager::Get().IsModal());
    Frames(1416, 1600);
    EXPECT_EQ(Row(9), before);
    EXPECT_EQ(Play().Rules().MovesLeft(), 2);
    EXPECT_EQ(Play().Rules().UndoDepth(), 0u);
    int column = -1;
    int row = -1;
    Play().Rules().MoverCell(column, row);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(row, 9);
    EXPECT_EQ(Play().Mover().GetOrientation(), BlockMover::Horizontal);
}

TEST_F(PlayScreenPuzzleTest, SolvingALevelOutsideTheSetsRecordsNothing)
{
    ProfileStore::Get().SetProfileName(0, "Di");
    ProfileStore::Get().SetCurrentProfile(0);
    WriteFile("x.qvl", Level(1, {{0, 9, 0}, {1, 9, 0}, {3, 9, 0}}));
    StartPuzzle("x.qvl", 1000);
    EXPECT_EQ(Play().HudLine(0).GetText(), "Puzzles:"); // no set in the path
    MoveMoverTo(2, 9);
    Key(' ');
    Frames(1016, 2000);
    ASSERT_TRUE(Play().IsSolved());
    EXPECT_TRUE(ProfileStore::Get().GetProfile(0)->completedPuzzles.empty());
}

TEST_F(PlayScreenPuzzleTest, EditorTryOutRestartsFromTheEditorsLayoutAndGoesBackWithoutADialog)
{
    Board::Codes codes{};
    codes.fill(BlockType::Empty);
    codes[54] = BlockType::Red;
    codes[55] = BlockType::Blue;
    codes[56] = BlockType::Red;
    codes[57] = BlockType::Blue;
    Play().StartPuzzleFromEditor(codes, 5);
    Frame(1000);
    ASSERT_EQ(ScreenManager::Get().GetScreen(), &Play());
    EXPECT_TRUE(Play().IsFromEditor());
    EXPECT_EQ(Row(9), "020266");
    MoveMoverTo(0, 9);
    Key(' ');
    Frames(1016, 1300);
    Key(' ');
    Frames(1316, 1600);
    EXPECT_EQ(Play().Rules().MovesLeft(), 3);

    Key('r'); // Restart asks first
    Key('y');
    Frame(1616);
    EXPECT_EQ(Row(9), "020266");
    EXPECT_EQ(Play().Rules().MovesLeft(), 5);
    EXPECT_EQ(Play().Rules().UndoDepth(), 0u);
    EXPECT_TRUE(Play().IsFromEditor());

    Key('g'); // back to the editor at once, without the dialog
    EXPECT_FALSE(ScreenManager::Get().IsModal());
    EXPECT_FALSE(Play().IsFromEditor());
    Frame(1632);
    EXPECT_NE(ScreenManager::Get().GetScreen(), &Play());

    // A puzzle from the sets afterwards is no try-out: Game Menu asks first.
    StartPuzzle(FirstLevel, 2000);
    Key('g');
    EXPECT_EQ(Play().Dialog().GetPurpose(), EndGameConfirmDialog::Purpose::Menu);
}
