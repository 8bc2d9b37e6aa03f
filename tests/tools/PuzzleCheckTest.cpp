// The puzzle checker's settle rules on the cases where they are easiest to get
// wrong (Wild sets, whole-colour clears, swaps with empty cells, cascades),
// its solver's shortest solutions, and the faults it reports in a level.
#include "LevelCheck.h"
#include "game/PuzzleField.h"
#include "game/PuzzleSolver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// A field from rows of text (the last row given is row 9): '.' empty,
// R O B P G the colours, W Wild, '5' the code without a picture.
PuzzleField FieldOf(const std::vector<std::string>& rows)
{
    PuzzleField field;
    const int top = FieldRows - static_cast<int>(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
    {
        for (int c = 0; c < FieldColumns; ++c)
        {
            const std::string letters = "ROBPG5.W";
            const size_t code = letters.find(rows[r][static_cast<size_t>(c)]);
            field.Set(c, top + static_cast<int>(r), static_cast<uint8_t>(code));
        }
    }
    return field;
}

Swap Horizontal(int column, int row)
{
    return Swap{column, row, false};
}
Swap Vertical(int column, int row)
{
    return Swap{column, row, true};
}

TEST(PuzzleCheckRules, WildSharedByTwoSetsClearsBothColoursEverywhere)
{
    // Red, Red, Wild, Blue, Blue, Blue: two sets share the Wild, so every
    // resting Red and Blue goes, even those far from the sets; the lone
    // Wild and the Green stay.
    PuzzleField field = FieldOf({"R.....", "B....W", "G....G", "RRWBBB"});
    std::array<bool, FieldCells> marked{};
    EXPECT_EQ(field.FindSets(marked), 8);
    EXPECT_EQ(field.Settle(), 1);
    EXPECT_EQ(field, FieldOf({".....W", "G....G"}));
}

TEST(PuzzleCheckRules, WildOutsideTheSetClearsNoWholeColour)
{
    // Wild, Red, Green, Green, Green: one set of Greens; the Red keeps the
    // Wild out of it, so no whole-colour clear: the Green resting above the
    // set drops into its place instead of clearing.
    PuzzleField field = FieldOf({"....G.", "WRGGGR", "OOBBRR"});
    EXPECT_EQ(field.Settle(), 1);
    EXPECT_EQ(field, FieldOf({"WR..GR", "OOBBRR"}));
}

TEST(PuzzleCheckRules, ThreeWildsInARowClearEveryColour)
{
    PuzzleField field = FieldOf({"R....B", "OP..GB", "WWWRGO"});
    field.Settle();
    EXPECT_TRUE(field.IsEmpty());
}

TEST(PuzzleCheckRules, WildLeavesOnlyAsPartOfASet)
{
    // The Reds clear by a column set that holds the Wild; the other Wild,
    // resting elsewhere, is not a colour and stays.
    PuzzleField field = FieldOf({"R.....", "R.....", "W....W"});
    EXPECT_EQ(field.Settle(), 1);
    EXPECT_EQ(field, FieldOf({".....W"}));
}

TEST(PuzzleCheckRules, SwapsWithEmptyCells)
{
    PuzzleField field = FieldOf({"B.....", "R.....", "G.OO.."});
    // Two empty cells: refused, nothing changes.
    const PuzzleField before = field;
    EXPECT_FALSE(field.Play(Horizontal(3, 7)));
    EXPECT_EQ(field, before);

    // The Green moves into the empty cell beside it; the Red and Blue that
    // stood on it drop one row, and no set forms.
    int rounds = -1;
    EXPECT_TRUE(field.Play(Horizontal(0, 9), &rounds));
    EXPECT_EQ(rounds, 0);
    EXPECT_EQ(field, FieldOf({"B.....", "RGOO.."}));

    // An Orange moved up into the empty cell above it falls straight back:
    // the move is allowed (and costs a move in the game) but changes nothing.
    const PuzzleField settled = field;
    EXPECT_TRUE(field.Play(Vertical(2, 8)));
    EXPECT_EQ(field, settled);
}

TEST(PuzzleCheckSolver, FindsTheShortestSolution)
{
    // One swap clears the row; the solver must not report more.
    PuzzleSolver solver;
    PuzzleSolver::Result one = solver.Solve(FieldOf({"BBRBRR"}), 4);
    ASSERT_TRUE(one.solved);
    ASSERT_EQ(one.moves.size(), 1u);
    EXPECT_EQ(one.moves[0].column, 2);
    EXPECT_EQ(one.moves[0].row, 9);
    EXPECT_FALSE(one.moves[0].vertical);

    // Two separate columns each need their own swap.
    const PuzzleField two = FieldOf({"B....G", "B....G", "O....R", "BOORRG"});
    PuzzleSolver::Result result = solver.Solve(two, 4);
    ASSERT_TRUE(result.solved);
    ASSERT_EQ(result.moves.size(), 2u);
    PuzzleField replay = two;
    for (const Swap& swap : result.moves)
        ASSERT_TRUE(replay.Play(swap));
    EXPECT_TRUE(replay.IsEmpty());
    EXPECT_FALSE(solver.Solve(two, 1).solved);
}

TEST(PuzzleCheckSolver, GivesUpOnHopelessFields)
{
    EXPECT_TRUE(PuzzleSolver::IsHopeless(FieldOf({"RRBBB."})));
    EXPECT_FALSE(PuzzleSolver::IsHopeless(FieldOf({"RRBBBW"})));
    EXPECT_TRUE(PuzzleSolver::IsHopeless(FieldOf({"....WW"})));
    PuzzleSolver solver;
    EXPECT_FALSE(solver.Solve(FieldOf({"RRBGBB"}), 3).solved);
}

std::string Level(int moves, const std::vector<std::string>& blockLines)
{
    std::string text = "<qvl moves=\"" + std::to_string(moves) + "\">\n";
    for (const std::string& line : blockLines)
        text += "   " + line + "\n";
    return text + "</qvl>\n";
}

bool HasError(const LevelReport& report, const std::string& part)
{
    for (const std::string& error : report.errors)
    {
        if (error.find(part) != std::string::npos)
            return true;
    }
    return false;
}

const std::vector<std::string> RowPuzzle = {R"(<block x="0" y="9" color="2"/>)", R"(<block x="1" y="9" color="2"/>)",
                                            R"(<block x="2" y="9" color="0"/>)", R"(<block x="3" y="9" color="2"/>)",
                                            R"(<block x="4" y="9" color="0"/>)", R"(<block x="5" y="9" color="0"/>)"};

TEST(PuzzleCheckLint, ACleanLevelAndItsMoveAllowance)
{
    const LevelReport exact = CheckLevel(Level(1, RowPuzzle), MoveAllowance::ParOnly, 6);
    EXPECT_TRUE(exact.errors.empty()) << exact.errors.front();
    ASSERT_TRUE(exact.par.has_value());
    EXPECT_EQ(*exact.par, 1);
    ASSERT_EQ(exact.solution.size(), 1u);

    EXPECT_TRUE(CheckLevel(Level(2, RowPuzzle), MoveAllowance::ParOrOneMore, 6).errors.empty());
    EXPECT_TRUE(HasError(CheckLevel(Level(2, RowPuzzle), MoveAllowance::ParOnly, 6), "par is 1"));
    EXPECT_TRUE(HasError(CheckLevel(Level(3, RowPuzzle), MoveAllowance::ParOrOneMore, 6), "par is 1"));
}

TEST(PuzzleCheckLint, LayoutFaults)
{
    // A Red over the empty cell (0,9) floats.
    EXPECT_TRUE(HasError(CheckLevel(Level(1, {R"(<block x="0" y="8" color="0"/>)", R"(<block x="1" y="9" color="0"/>)",
                                              R"(<block x="2" y="9" color="0"/>)"}),
                                    MoveAllowance::ParOnly, 4),
                         "not at rest"));
    // Three Blues (one a Wild) already in a row.
    const LevelReport ready =
        CheckLevel(Level(1, {R"(<block x="0" y="9" color="2"/>)", R"(<block x="1" y="9" color="7"/>)",
                             R"(<block x="2" y="9" color="2"/>)"}),
                   MoveAllowance::ParOnly, 4);
    EXPECT_TRUE(HasError(ready, "ready-made"));
    // Two Greens and no Wild can never leave.
    const LevelReport stuck =
        CheckLevel(Level(1, {R"(<block x="0" y="9" color="4"/>)", R"(<block x="2" y="9" color="4"/>)"}),
                   MoveAllowance::ParOnly, 4);
    EXPECT_TRUE(HasError(stuck, "can never clear"));
    EXPECT_TRUE(HasError(stuck, "no solution"));
    EXPECT_FALSE(stuck.par.has_value());
}

TEST(PuzzleCheckLint, FileFaults)
{
    // Code 5 has no picture; 6 is Empty and never written; cells outside the
    // field, a cell given twice, block lines out of row-major order and CR LF
    // line ends are all things the level writer never produces.
    EXPECT_TRUE(HasError(CheckLevel(Level(1, {R"(<block x="0" y="9" color="5"/>)"}), MoveAllowance::ParOnly, 2),
                         "bad colour code 5"));
    EXPECT_TRUE(HasError(CheckLevel(Level(1, {R"(<block x="0" y="9" color="6"/>)"}), MoveAllowance::ParOnly, 2),
                         "bad colour code 6"));
    EXPECT_TRUE(HasError(CheckLevel(Level(1, {R"(<block x="6" y="9" color="0"/>)"}), MoveAllowance::ParOnly, 2),
                         "outside the field"));
    std::vector<std::string> twice = RowPuzzle;
    twice.push_back(R"(<block x="5" y="9" color="0"/>)");
    EXPECT_TRUE(HasError(CheckLevel(Level(1, twice), MoveAllowance::ParOnly, 2), "cell given twice"));
    std::vector<std::string> swapped = RowPuzzle;
    std::swap(swapped[0], swapped[1]);
    EXPECT_TRUE(HasError(CheckLevel(Level(1, swapped), MoveAllowance::ParOnly, 2), "writer's form"));
    std::string crlf = Level(1, RowPuzzle);
    for (size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
        crlf.insert(at, "\r");
    const LevelReport windows = CheckLevel(crlf, MoveAllowance::ParOnly, 2);
    EXPECT_TRUE(HasError(windows, "writer's form"));
    EXPECT_EQ(windows.par, 1); // still read: the game accepts either line end
    EXPECT_TRUE(HasError(CheckLevel("<qvl>\n</qvl>\n", MoveAllowance::ParOnly, 2), "no move count"));
    EXPECT_TRUE(HasError(CheckLevel(Level(0, RowPuzzle), MoveAllowance::ParOnly, 2), "outside 1..99"));
}

} // namespace
