// The hint key in Puzzle Challenge: on a shipped puzzle it puts the mover on
// the solver's first swap and blinks it without spending a move; on a dead
// position the mascot says so; paused or under the dialog nothing happens.
#include "PlayScreenTestFixture.h"

#include "fixtures/TestPaths.h"

namespace
{

constexpr const char* Shipped = "Data/Levels/02 Advanced/005.qvl";
constexpr const char* Dead = "Data/Levels/01 Set/001.qvl";

class PlayScreenHintTest : public PlayScreenFixture
{
  protected:
    void SetUp() override
    {
        PlayScreenFixture::SetUp();
        Open();
        WriteLevel(Shipped, ReadText(SourcePath("assets/levels/02 Advanced/005.qvl")));
        // Two Reds can never clear, however the Greens go.
        WriteLevel(Dead, LevelXml(3, {{0, 9, 0}, {1, 9, 4}, {2, 9, 0}, {3, 9, 4}, {4, 9, 4}}));
    }
    void StartPuzzle(const std::string& path, uint64_t ms = 1000)
    {
        Play().SetGameType(GameType::PuzzleChallenge);
        ASSERT_TRUE(Play().LoadPuzzle(path));
        Start(GameType::PuzzleChallenge, Difficulty::Easy, ms);
        Frames(ms + 16, ms + 100);
    }
    void ExpectMoverAt(int column, int row, bool vertical)
    {
        int c = -1, r = -1;
        Play().Rules().MoverCell(c, r);
        EXPECT_EQ(c, column);
        EXPECT_EQ(r, row);
        EXPECT_EQ(Play().Mover().GetOrientation(), vertical ? BlockMover::Vertical : BlockMover::Horizontal);
    }
};

TEST_F(PlayScreenHintTest, HintMovesTheMoverOntoTheFirstSwapAndBlinksItForASecond)
{
    StartPuzzle(Shipped);
    const int moves = Play().Rules().MovesLeft();
    PuzzleSolver solver;
    const PuzzleSolver::Result expected = solver.Solve(PuzzleHint::FieldOf(Play().GetBoard()), moves);
    ASSERT_TRUE(expected.solved);
    Key('h');
    Frame(1116);
    const Swap& first = expected.moves.front();
    ExpectMoverAt(first.column, first.row, first.vertical);
    EXPECT_EQ(Play().Rules().MovesLeft(), moves);
    bool hiddenOnce = false;
    for (uint64_t ms = 1132; ms < 2100; ms += 16)
    {
        Frame(ms);
        hiddenOnce = hiddenOnce || Play().Mover().IsHidden();
    }
    EXPECT_TRUE(hiddenOnce);
    Frame(2200);
    EXPECT_FALSE(Play().IsMoverBlinking());
    EXPECT_FALSE(Play().Mover().IsHidden());
}

TEST_F(PlayScreenHintTest, DeadPositionGetsTheMascotsWordAndPauseOrDialogGetNothing)
{
    StartPuzzle(Dead);
    Key('h');
    Frame(1116);
    EXPECT_EQ(Play().BubbleText(), "No way out! Try Undo.");
    EXPECT_EQ(Play().Rules().MovesLeft(), 3);

    StartPuzzle(Shipped, 3000);
    Play().TogglePause();
    Key('h');
    Play().TogglePause();
    Play().OpenDialog(EndGameConfirmDialog::Purpose::Menu);
    Key('h');
    Play().DismissDialog();
    Frames(3116, 3300);
    EXPECT_FALSE(Play().Hint().IsPending());
    EXPECT_FALSE(Play().IsMoverBlinking());
    ExpectMoverAt(0, 0, false);
}

} // namespace
