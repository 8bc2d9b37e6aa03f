#include <gtest/gtest.h>

#include "game/RulesFixture.h"

namespace
{

const char* const MatchSound = "Data/Sounds/TigerStab";

class MatchingTest : public RulesFixture
{
  protected:
    void SetUp() override
    {
        RulesFixture::SetUp();
        host.kind = RulesKind::TimeAttack; // no column warnings in the way
    }

    [[nodiscard]] bool Clearing(int c, int r) const { return board->Cell(c, r).IsClearing(); }
};

TEST_F(MatchingTest, WildJoinsTheRunOfEveryColourItCompletes)
{
    Layout({".....B", // not settled: rests on an empty cell
            "R.....", //
            "O.G.R.", //
            "RRWBBB"});
    ASSERT_TRUE(rules->FindSets());
    // Red-Red-Wild (3) and Wild-Blue-Blue-Blue (4) share the Wild.
    EXPECT_EQ(scoring->ChainMultiplier(), 3);
    EXPECT_EQ(scoring->ChainPoints(), 175);
    for (int c = 0; c < Board::Columns; ++c)
        EXPECT_TRUE(Clearing(c, 9)) << c;
    // Both colours clear everywhere they rest; other colours and loose blocks stay.
    EXPECT_TRUE(Clearing(0, 7));
    EXPECT_TRUE(Clearing(4, 8));
    EXPECT_FALSE(Clearing(5, 6));
    EXPECT_FALSE(Clearing(0, 8));
    EXPECT_FALSE(Clearing(2, 8));
    for (int i = 0; i < Board::CellCount; ++i)
        EXPECT_FALSE(board->CellAtIndex(i).IsMarked());
    // Only the second set lifts the multiplier above 1: one text, over the Blue run.
    ASSERT_EQ(host.multipliers.size(), 1u);
    EXPECT_EQ(host.multipliers[0].value, 3);
    EXPECT_TRUE(host.multipliers[0].area.isRow);
    EXPECT_EQ(host.multipliers[0].area.x, 25 + 2 * 40);
    EXPECT_EQ(host.multipliers[0].area.y, 64 + 9 * 40);
    EXPECT_EQ(host.multipliers[0].area.width, 4 * 40);
    EXPECT_EQ(host.CountSound(MatchSound), 1);
}

TEST_F(MatchingTest, AWildBesideAnotherSetAddsNoWholeColourClear)
{
    Layout({"G.....", "WRGGGO"});
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(scoring->ChainMultiplier(), 1);
    EXPECT_EQ(scoring->ChainPoints(), 75);
    EXPECT_FALSE(Clearing(0, 8)); // the other Green stays
    EXPECT_FALSE(Clearing(0, 9));
    EXPECT_FALSE(Clearing(1, 9));
    EXPECT_TRUE(Clearing(2, 9) && Clearing(3, 9) && Clearing(4, 9));
    EXPECT_TRUE(host.multipliers.empty());
}

TEST_F(MatchingTest, FiveInARowIsOneSetAndTheLCountsItsCornerTwice)
{
    Layout({"RRRRRO"});
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(scoring->ChainMultiplier(), 3);
    EXPECT_EQ(scoring->ChainPoints(), 125);
    EXPECT_FALSE(Clearing(5, 9));
    scoring->ResetChain();
    host.multipliers.clear();

    Layout({"B.....", "B.....", "BBBO.."});
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(scoring->ChainMultiplier(), 2);
    EXPECT_EQ(scoring->ChainPoints(), 150);
    // The column set is found second and places its text along the column.
    ASSERT_EQ(host.multipliers.size(), 1u);
    EXPECT_FALSE(host.multipliers[0].area.isRow);
    EXPECT_EQ(host.multipliers[0].area.x, 25);
    EXPECT_EQ(host.multipliers[0].area.y, 64 + 7 * 40);
    EXPECT_EQ(host.multipliers[0].area.height, 3 * 40);
}

TEST_F(MatchingTest, OnlySettledBlocksMakeSets)
{
    // A block resting on a falling block breaks the run.
    Layout({"..R...", "..O...", "RR....", "OOGB.."});
    board->Cell(2, 8).SetFalling(true);
    EXPECT_FALSE(rules->FindSets());
    // Resting on an empty cell breaks it too.
    board->Cell(2, 8).SetFalling(false);
    board->Cell(2, 8).SetType(BlockType::Empty);
    EXPECT_FALSE(rules->FindSets());
    // A clearing block is not settled either.
    Layout({"RRR..."});
    board->Cell(1, 9).SetClearing(true);
    EXPECT_FALSE(rules->FindSets());
    EXPECT_EQ(scoring->ChainPoints(), 0);
}

TEST_F(MatchingTest, NothingIsFoundWhileSomethingFallsOrASwapIsPending)
{
    // Three Greens in a row while a block elsewhere still falls.
    Layout({".....P", "......", "......", "GGGBOR"});
    RulesStepResult r = Step(0.011);
    EXPECT_TRUE(r.falling);
    EXPECT_FALSE(r.setsFound);
    EXPECT_FALSE(Clearing(0, 9));
    int steps = 0;
    while (!r.setsFound && steps++ < 50)
        r = Step(0.011);
    EXPECT_TRUE(r.setsFound);
    EXPECT_EQ(At(5, 8), BlockType::Purple);
    EXPECT_TRUE(Clearing(0, 9));

    // While a swap is pending FindSets does nothing at all.
    host.kind = RulesKind::Marathon;
    Layout({"R.....", "O.....", "R.....", "O.....", "R.....", "O.....", "R.....", "O.....", "R.....", "BBBPGP"});
    rules->PlaceMover(4, 9);
    ASSERT_TRUE(rules->TrySwap());
    EXPECT_FALSE(rules->FindSets());
    EXPECT_FALSE(Clearing(0, 9));
    EXPECT_FALSE(board->Cell(0, 0).IsWarning());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(MatchingTest, WholeColourClearRestartsABlockAlreadyClearing)
{
    Layout({"B.....", "RRWOPG"});
    App().time = 200.0;
    board->Cell(0, 8).SetClearing(true); // rests on a block, already clearing
    App().time = 200.4;
    ASSERT_TRUE(rules->FindSets());
    EXPECT_DOUBLE_EQ(board->Cell(0, 8).ClearStart(), 200.0); // Blue is not in the set
    Layout({"R.....", "RRWOPG"});
    App().time = 300.0;
    // The Red on top is not settled (it clears), so the column holds no set;
    // the row set's Wild then clears every Red that rests, restarting its half second.
    board->Cell(0, 8).SetClearing(true);
    App().time = 300.4;
    ASSERT_TRUE(rules->FindSets());
    EXPECT_DOUBLE_EQ(board->Cell(0, 8).ClearStart(), 300.4);
    EXPECT_EQ(scoring->ChainPoints(), 75 + 75); // the restarted block adds nothing
}

TEST_F(MatchingTest, ClearedBlocksVanishAfterHalfASecondAndTheLastOneEmptiesTheBoard)
{
    Layout({"OOO..."});
    App().time = 50.0;
    RulesStepResult r = rules->RulesStep();
    EXPECT_TRUE(r.setsFound);
    EXPECT_TRUE(r.clearing);
    EXPECT_FALSE(r.allEmpty);
    App().time = 50.49;
    r = rules->RulesStep();
    EXPECT_TRUE(r.clearing);
    EXPECT_EQ(At(0, 9), BlockType::Orange);
    App().time = 50.51;
    r = rules->RulesStep();
    EXPECT_TRUE(r.clearing); // still counted in the step that ends it
    EXPECT_TRUE(r.allEmpty); // decided after the whole pass
    EXPECT_EQ(Row(9), "......");
    EXPECT_FALSE(board->Cell(0, 9).IsClearing());
    r = rules->RulesStep();
    EXPECT_FALSE(r.clearing);
    EXPECT_TRUE(r.allEmpty);
}

TEST_F(MatchingTest, TheMatchSoundPlaysAtMostOncePerSecond)
{
    Layout({"GGG..."});
    App().time = 10.0;
    ASSERT_TRUE(rules->FindSets());
    Layout({"PPP..."});
    App().time = 10.9;
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(host.CountSound(MatchSound), 1);
    Layout({"OOO..."});
    App().time = 11.01;
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(host.CountSound(MatchSound), 2);
    // A new game resets the timer.
    rules->Reset();
    Layout({"BBB..."});
    App().time = 11.02;
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(host.CountSound(MatchSound), 3);
}

TEST_F(MatchingTest, MarathonWarnsOncePerColumnAndStopsWhenTheTopEmpties)
{
    host.kind = RulesKind::Marathon;
    Layout({"R.....", "O.....", "R.....", "O.....", "R.....", "O.....", "R.....", "O.....", "R.....", "O....."});
    EXPECT_FALSE(rules->FindSets());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Uh oh!");
    for (int r = 0; r < Board::Rows; ++r)
        EXPECT_TRUE(board->Cell(0, r).IsWarning());
    EXPECT_FALSE(board->Cell(1, 9).IsWarning());
    EXPECT_FALSE(rules->FindSets());
    EXPECT_EQ(host.messages.size(), 1u); // once only

    board->Cell(0, 0).SetType(BlockType::Empty);
    rules->FindSets();
    for (int r = 0; r < Board::Rows; ++r)
        EXPECT_FALSE(board->Cell(0, r).IsWarning());

    // The other game types and the tutorial never warn.
    for (RulesKind kind : {RulesKind::TimeAttack, RulesKind::PuzzleChallenge, RulesKind::Neutral})
    {
        host.kind = kind;
        board->Cell(0, 0).SetType(BlockType::Green);
        rules->FindSets();
        EXPECT_FALSE(board->Cell(0, 0).IsWarning());
    }
    EXPECT_EQ(host.messages.size(), 1u);
}

} // namespace

namespace
{

TEST_F(MatchingTest, CodesWithoutAColourBreakRunsAndIndexNothing)
{
    Layout({"RR5RRR"});
    board->Cell(0, 8).SetType(static_cast<BlockType>(42)); // damaged data
    board->Cell(1, 8).SetType(static_cast<BlockType>(-1));
    board->Cell(2, 8).SetType(BlockType::Wild);
    ASSERT_TRUE(rules->FindSets());
    EXPECT_FALSE(Clearing(0, 9));
    EXPECT_FALSE(Clearing(1, 9));
    EXPECT_FALSE(Clearing(2, 9));
    EXPECT_TRUE(Clearing(3, 9) && Clearing(4, 9) && Clearing(5, 9));
    EXPECT_FALSE(Clearing(0, 8));
    EXPECT_FALSE(Clearing(1, 8));
    EXPECT_EQ(scoring->ChainPoints(), 75);
}

// Times are doubles: after weeks of uptime (and across the 2^32 ms point)
// a hundredth of a second still counts, so falls and clears keep working.
TEST_F(MatchingTest, FallsAndClearsKeepTheirTimingOnALongRunningClock)
{
    for (double start : {4294967.296 - 5.0, 40.0 * 24 * 3600})
    {
        SCOPED_TRACE(start);
        App().time = start;
        Layout({"G.....", "......", "RRROBP"});
        rules->Reset();
        RulesStepResult r = rules->RulesStep();
        EXPECT_TRUE(r.falling);
        App().time = start + 0.004;
        rules->RulesStep();
        EXPECT_EQ(At(0, 7), BlockType::Green); // not yet a whole cell
        EXPECT_GT(board->Cell(0, 7).GetY(), 64 + 7 * 40);
        App().time = start + 0.0105;
        rules->RulesStep();
        EXPECT_EQ(At(0, 8), BlockType::Green);
        Settle(0.011);
        EXPECT_EQ(Row(9), "G..OBP");
    }
}

} // namespace
