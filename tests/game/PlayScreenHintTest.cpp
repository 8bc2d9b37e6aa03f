// The hint key in Puzzle Challenge: on a shipped puzzle it puts the mover on
// the solver's first swap and blinks it without spending a move; on a dead
// position the mascot says so; paused or under the dialog nothing happens.
#include "PlayScreenTestFixture.h"

#include "fixtures/TestPaths.h"

namespace
{

class PlayScreenHintTest : public PlayScreenFixture
{
  protected:
    void StartPuzzle(const std::string& text, uint64_t ms)
    {
        WriteLevel("Data/Levels/01 Set/001.qvl", text);
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

TEST_F(PlayScreenHintTest, HintShowsTheFirstSwapOrThatThereIsNoneAndNothingWhilePausedOrUnderTheDialog)
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
    for (uint64_t ms = 1132; ms < 2100; ms += 16, Frame(ms))
        hiddenOnce = hiddenOnce || Play().Mover().IsHidden();
    EXPECT_TRUE(hiddenOnce);
    Frame(2200);
    EXPECT_FALSE(Play().IsMoverBlinking() || Play().Mover().IsHidden());

    // Two Reds can never clear, however the Greens go.
    StartPuzzle(LevelXml(3, {{0, 9, 0}, {1, 9, 4}, {2, 9, 0}, {3, 9, 4}, {4, 9, 4}}), 3000);
    Key('h');
    Frame(3116);
    EXPECT_EQ(Play().BubbleText(), "No way out! Try Undo.");
    EXPECT_EQ(Play().Rules().MovesLeft(), 3);

    StartPuzzle(ReadText(SourcePath("assets/levels/03 Expert/010.qvl")), 5000);
    Play().TogglePause();
    Key('h');
    Play().TogglePause();
    Play().OpenDialog(EndGameConfirmDialog::Purpose::Menu);
    Key('h');
    Play().DismissDialog();
    Frames(5116, 5300);
    EXPECT_FALSE(Play().Hint().IsPending() || Play().IsMoverBlinking());
    EXPECT_EQ(MoverAt(), "0,0,0");
}

} // namespace
