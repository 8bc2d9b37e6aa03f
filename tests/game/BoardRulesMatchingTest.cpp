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
    // The bottom `rows` rows, 'x' where a block clears.
    [[nodiscard]] std::vector<std::string> ClearingRows(size_t rows) const
    {
        std::vector<std::string> out;
        for (int r = Board::Rows - static_cast<int>(rows); r < Board::Rows; ++r)
        {
            out.emplace_back(Board::Columns, '.');
            for (int c = 0; c < Board::Columns; ++c)
                out.back()[static_cast<size_t>(c)] = Clearing(c, r) ? 'x' : '.';
        }
        return out;
    }
};

struct SetCase
{
    const char* name;
    std::vector<std::string> layout;
    int multiplier, points;
    std::vector<std::string> clearing;
};

TEST_F(MatchingTest, SetsClearTheirRunsAndAWildClearsEveryColourItCompletes)
{
    const SetCase cases[] = {
        // Red-Red-Wild (3) and Wild-Blue-Blue-Blue (4) share the Wild; both colours
        // clear wherever they rest, the loose Blue on top does not.
        {"wild joins two runs",
         {".....B", "R.....", "O.G.R.", "RRWBBB"},
         3,
         175,
         {"......", "x.....", "....x.", "xxxxxx"}},
        {"wild beside another set", {"G.....", "WRGGGO"}, 1, 75, {"......", "..xxx."}},
        {"five in a row is one set", {"RRRRRO"}, 3, 125, {"xxxxx."}},
        {"the L counts its corner twice", {"B.....", "B.....", "BBBO.."}, 2, 150, {"x.....", "x.....", "xxx..."}},
        {"codes without a colour break runs", {"RR5RRR"}, 1, 75, {"...xxx"}},
    };
    for (const SetCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        scoring->ResetChain();
        Layout(test.layout);
        ASSERT_TRUE(rules->FindSets());
        EXPECT_EQ(
            std::make_tuple(scoring->ChainMultiplier(), scoring->ChainPoints(), ClearingRows(test.clearing.size())),
            std::make_tuple(test.multiplier, test.points, test.clearing));
        for (int i = 0; i < Board::CellCount; ++i)
            EXPECT_FALSE(board->CellAtIndex(i).IsMarked());
    }
    // Only a set that lifts the multiplier above 1 shows it, along its run:
    // over the Blue run of the first case, along the column of the L.
    ASSERT_EQ(host.multipliers.size(), 3u);
    const SetArea& row = host.multipliers[0].area;
    const SetArea& column = host.multipliers[2].area;
    EXPECT_EQ(std::make_tuple(host.multipliers[0].value, row.isRow, row.x, row.y, row.width),
              std::make_tuple(3, true, 25 + 2 * 40, 64 + 9 * 40, 4 * 40));
    EXPECT_EQ(std::make_tuple(column.isRow, column.x, column.y, column.height),
              std::make_tuple(false, 25, 64 + 7 * 40, 3 * 40));

    // Damaged codes index nothing.
    Layout({"RR5RRR"});
    for (const auto& [c, code] : {std::pair{0, 42}, {1, -1}, {2, static_cast<int>(BlockType::Wild)}})
        board->Cell(c, 8).SetType(static_cast<BlockType>(code));
    ASSERT_TRUE(rules->FindSets());
    EXPECT_EQ(ClearingRows(2), (std::vector<std::string>{"......", "...xxx"}));
}

TEST_F(MatchingTest, OnlySettledBlocksMakeSetsAndNothingIsFoundWhileABlockFallsOrASwapIsPending)
{
    Layout({"..R...", "..O...", "RR....", "OOGB.."});
    board->Cell(2, 8).SetFalling(true); // resting on a falling block breaks the run
    EXPECT_FALSE(rules->FindSets());
    board->Cell(2, 8).SetFalling(false);
    board->Cell(2, 8).SetType(BlockType::Empty); // so does resting on an empty cell
    EXPECT_FALSE(rules->FindSets());
    Layout({"RRR..."});
    board->Cell(1, 9).SetClearing(true); // a clearing block is not settled either
    EXPECT_FALSE(rules->FindSets());
    EXPECT_EQ(scoring->ChainPoints(), 0);

    Layout({".....P", "......", "......", "GGGBOR"});
    RulesStepResult r = Step(0.011);
    EXPECT_TRUE(r.falling && !r.setsFound);
    int steps = 0;
    while (!r.setsFound && steps++ < 50)
        r = Step(0.011);
    EXPECT_EQ(std::make_pair(At(5, 8), Clearing(0, 9)), std::make_pair(BlockType::Purple, true));

    host.kind = RulesKind::Marathon;
    Layout({"R.....", "O.....", "R.....", "O.....", "R.....", "O.....", "R.....", "O.....", "R.....", "BBBPGP"});
    rules->PlaceMover(4, 9);
    ASSERT_TRUE(rules->TrySwap());
    EXPECT_FALSE(rules->FindSets()); // nothing at all, not even the column warning
    EXPECT_FALSE(Clearing(0, 9) || board->Cell(0, 0).IsWarning() || !host.messages.empty());
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
    // The Red on top clears, so the column holds no set; the row set's Wild
    // clears every Red that rests, restarting its half second.
    board->Cell(0, 8).SetClearing(true);
    App().time = 300.4;
    ASSERT_TRUE(rules->FindSets());
    EXPECT_DOUBLE_EQ(board->Cell(0, 8).ClearStart(), 300.4);
    EXPECT_EQ(scoring->ChainPoints(), 75 + 75); // the restarted block adds nothing
}

// How long cleared blocks stay, and a board cleared by its last set, are
// played by simulator scripts (marathon_score, puzzle_solve).
TEST_F(MatchingTest, TheMatchSoundPlaysAtMostOncePerSecond)
{
    const std::pair<const char*, double> sets[] = {
        {"OOO...", 50.0}, {"GGG...", 50.9}, {"PPP...", 51.51}, {"BBB...", 51.52}};
    for (const auto& [row, time] : sets)
    {
        if (time > 51.515)
            rules->Reset(); // a new game resets the timer
        Layout({row});
        App().time = time;
        ASSERT_TRUE(rules->FindSets());
    }
    EXPECT_EQ(host.CountSound(MatchSound), 3);
}

} // namespace
