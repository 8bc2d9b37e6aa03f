// The puzzle checker's settle rules on the cases where they are easiest to get
// wrong (Wild sets, whole-colour clears, swaps with empty cells, cascades),
// its solver's shortest solutions, and the faults it reports in a level.
#include "LevelCheck.h"
#include "game/PuzzleField.h"
#include "game/PuzzleSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace
{

// A field from rows of text (the last row given is row 9): '.' empty,
// R O B P G the colours, W Wild, '5' the code without a picture.
PuzzleField FieldOf(const std::vector<std::string>& rows)
{
    PuzzleField field;
    const int top = FieldRows - static_cast<int>(rows.size());
    const std::string letters = "ROBPG5.W";
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < FieldColumns; ++c)
            field.Set(c, top + static_cast<int>(r),
                      static_cast<uint8_t>(letters.find(rows[r][static_cast<size_t>(c)])));
    return field;
}

TEST(PuzzleCheckRules, SetsWildsAndWholeColourClears)
{
    const struct
    {
        const char* name;
        std::vector<std::string> before;
        int rounds;
        std::vector<std::string> after;
    } cases[] = {
        // Two sets share the Wild, so every resting Red and Blue goes, even
        // those far from the sets; the lone Wild and the Greens stay.
        {"a Wild shared by two sets", {"R.....", "B....W", "G....G", "RRWBBB"}, 1, {".....W", "G....G"}},
        // The Red keeps the Wild out of the Greens' set, so no whole-colour
        // clear: the Green above the set drops into its place.
        {"a Wild outside the set", {"....G.", "WRGGGR", "OOBBRR"}, 1, {"WR..GR", "OOBBRR"}},
        {"three Wilds in a row clear every colour", {"R....B", "OP..GB", "WWWRGO"}, 1, {}},
        // The other Wild, resting elsewhere, is not a colour and stays.
        {"a Wild leaves only as part of a set", {"R.....", "R.....", "W....W"}, 1, {".....W"}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        PuzzleField field = FieldOf(c.before);
        EXPECT_EQ(field.Settle(), c.rounds);
        EXPECT_EQ(field, FieldOf(c.after));
    }
    std::array<bool, FieldCells> marked{};
    EXPECT_EQ(FieldOf({"R.....", "B....W", "G....G", "RRWBBB"}).FindSets(marked), 8);

    // No colour left to clear a Red or a Green with.
    EXPECT_EQ(std::make_tuple(PuzzleSolver::IsHopeless(FieldOf({"RRBBB."})),
                              PuzzleSolver::IsHopeless(FieldOf({"RRBBBW"})),
                              PuzzleSolver::IsHopeless(FieldOf({"....WW"}))),
              std::make_tuple(true, false, true));
}

TEST(PuzzleCheckRules, SwapsWithEmptyCells)
{
    const auto horizontal = [](int column, int row) { return Swap{column, row, false}; };
    PuzzleField field = FieldOf({"B.....", "R.....", "G.OO.."});
    // Two empty cells: refused, nothing changes.
    const PuzzleField before = field;
    EXPECT_FALSE(field.Play(horizontal(3, 7)));
    EXPECT_EQ(field, before);

    // The Green moves into the empty cell beside it; the Red and Blue that
    // stood on it drop one row, and no set forms.
    int rounds = -1;
    EXPECT_TRUE(field.Play(horizontal(0, 9), &rounds));
    EXPECT_EQ(rounds, 0);
    EXPECT_EQ(field, FieldOf({"B.....", "RGOO.."}));

    // An Orange moved up into the empty cell above it falls straight back:
    // the move is allowed (and costs a move in the game) but changes nothing.
    const PuzzleField settled = field;
    EXPECT_TRUE(field.Play(Swap{2, 8, true})); // vertical
    EXPECT_EQ(field, settled);
}

// The solver's shortest solutions and refusals are checked against the
// game's own rules on random boards (PuzzleSolverRulesTest).

std::string Level(int moves, const std::vector<std::string>& blockLines)
{
    std::string text = "<qvl moves=\"" + std::to_string(moves) + "\">\n";
    for (const std::string& line : blockLines)
        text += "   " + line + "\n";
    return text + "</qvl>\n";
}

bool HasError(const LevelReport& report, const std::string& part)
{
    return std::any_of(report.errors.begin(), report.errors.end(),
                       [&part](const std::string& error) { return error.find(part) != std::string::npos; });
}

// One block line as the level writer puts it.
std::string Block(int x, int y, int colour)
{
    return "<block x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" color=\"" + std::to_string(colour) +
           "\"/>";
}

const std::vector<std::string> RowPuzzle = {Block(0, 9, 2), Block(1, 9, 2), Block(2, 9, 0),
                                            Block(3, 9, 2), Block(4, 9, 0), Block(5, 9, 0)};

TEST(PuzzleCheckLint, ACleanLevelAndItsMoveAllowance)
{
    const LevelReport exact = CheckLevel(Level(1, RowPuzzle), MoveAllowance::ParOnly, 6);
    EXPECT_TRUE(exact.errors.empty()) << exact.errors.front();
    EXPECT_EQ(std::make_tuple(exact.par, exact.solution.size()), std::make_tuple(std::optional<int>(1), 1u));

    EXPECT_TRUE(CheckLevel(Level(2, RowPuzzle), MoveAllowance::ParOrOneMore, 6).errors.empty());
    EXPECT_TRUE(HasError(CheckLevel(Level(2, RowPuzzle), MoveAllowance::ParOnly, 6), "par is 1"));
    EXPECT_TRUE(HasError(CheckLevel(Level(3, RowPuzzle), MoveAllowance::ParOrOneMore, 6), "par is 1"));
}

TEST(PuzzleCheckLint, LayoutAndFileFaults)
{
    // Code 5 has no picture; 6 is Empty and never written; cells outside the
    // field, a cell given twice, block lines out of row-major order and CR LF
    // line ends are all things the level writer never produces.
    std::vector<std::string> twice = RowPuzzle;
    twice.push_back(Block(5, 9, 0));
    std::vector<std::string> swapped = RowPuzzle;
    std::swap(swapped[0], swapped[1]);
    std::string crlf = Level(1, RowPuzzle);
    for (size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
        crlf.insert(at, "\r");
    const std::string stuck = Level(1, {Block(0, 9, 4), Block(2, 9, 4)});
    const std::pair<std::string, const char*> faults[] = {
        // A Red over the empty cell (0,9) floats.
        {Level(1, {Block(0, 8, 0), Block(1, 9, 0), Block(2, 9, 0)}), "not at rest"},
        // Three Blues (one a Wild) already in a row.
        {Level(1, {Block(0, 9, 2), Block(1, 9, 7), Block(2, 9, 2)}), "ready-made"},
        // Two Greens and no Wild can never leave.
        {stuck, "can never clear"},
        {stuck, "no solution"},
        {Level(1, {Block(0, 9, 5)}), "bad colour code 5"},
        {Level(1, {Block(0, 9, 6)}), "bad colour code 6"},
        {Level(1, {Block(6, 9, 0)}), "outside the field"},
        {Level(1, twice), "cell given twice"},
        {Level(1, swapped), "writer's form"},
        {crlf, "writer's form"},
        {"<qvl>\n</qvl>\n", "no move count"},
        {Level(0, RowPuzzle), "outside 1..99"},
    };
    for (const auto& [text, fault] : faults)
        EXPECT_TRUE(HasError(CheckLevel(text, MoveAllowance::ParOnly, 4), fault)) << fault;
    EXPECT_FALSE(CheckLevel(stuck, MoveAllowance::ParOnly, 4).par.has_value());
    EXPECT_EQ(CheckLevel(crlf, MoveAllowance::ParOnly, 4).par, 1); // still read: the game accepts either line end
}

} // namespace
