// The hint key in Puzzle Challenge: on a shipped puzzle it puts the mover on
// the solver's first swap and blinks it without spending a move. (The dead
// position and the hint while paused are played by a simulator script.)
#include "PlayScreenTestFixture.h"

#include "fixtures/TestPaths.h"

namespace
{

class PlayScreenHintTest : public PlayScreenFixture
{
  protected:
    void StartPuzzle(const std::string& text, uint64_t ms)
    {
        WriteFile("Data/Levels/01 Set/001.qvl", text);
        Play().SetGameType(GameType::PuzzleChallenge);
        ASSERT_TRUE(Play().LoadPuzzle("Data/Levels/01 Set/001.qvl"));
        Start(GameType::PuzzleChallenge, Difficulty::Easy, ms);
        Frames(ms + 16, ms + 100);
    }
    [[nodiscard]] std::string MoverAt()
    {
        int c = -1, r = -1;
        Play().Rules().MoverCell(c, r);
        return std::to_string(c) + "," + std::to_string(r) + "," + std::to_string(Play().Mover().GetOrientation());
    }
};

TEST_F(PlayScreenHintTest, HintShowsTheFirstSwapWithoutSpendingAMove)
{
    Open();
    StartPuzzle(ReadText(SourcePath("assets/levels/03 Expert/010.qvl")), 1000);
    const int moves = Play().Rules().MovesLeft();
    const PuzzleSolver::Result expected = PuzzleSolver().Solve(PuzzleHint::FieldOf(Play().GetBoard()), moves);
    ASSERT_TRUE(expected.solved);
    Key('h');
    Frame(1116);
    const Swap& first = expected.moves.front();
    EXPECT_EQ(MoverAt(), std::to_string(first.column) + "," + std::to_string(first.row) + "," +
                             std::to_string(first.vertical ? BlockMover::Vertical : BlockMover::Horizontal));
    EXPECT_EQ(Play().Rules().MovesLeft(), moves);
    bool hiddenOnce = false;
    for (uint64_t ms = 1132; ms < 2100; ms += 16)
    {
        Frame(ms);
        hiddenOnce = hiddenOnce || Play().Mover().IsHidden();
    }
    EXPECT_TRUE(hiddenOnce);
    Frame(2200);
    EXPECT_FALSE(Play().IsMoverBlinking() || Play().Mover().IsHidden());
}

} // namespace
