// The shipped puzzle collection: every level passes the checker (at rest, no
// ready-made set, every colour clearable, move count at par, or par + 1 in the
// first few), and the checker's shortest solution, played in the real play
// screen through the simulator, leaves the board the checker predicts after
// every move and solves the puzzle with its last move.
#include "LevelCheck.h"
#include "game/PuzzleField.h"

#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// The first puzzles of the first set may give one move more than par.
constexpr int EasyStartPuzzles = 3;
constexpr int SearchDepth = 8;

struct ShippedLevel
{
    std::string set;
    std::string file;
    fs::path path;
    MoveAllowance allowance = MoveAllowance::ParOnly;
};

std::vector<fs::path> Sorted(const fs::path& folder)
{
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<ShippedLevel> ShippedLevels()
{
    std::vector<ShippedLevel> levels;
    const fs::path root = SourcePath("assets/levels");
    bool firstSet = true;
    for (const fs::path& set : Sorted(root))
    {
        int number = 0;
        for (const fs::path& file : Sorted(set))
        {
            ++number;
            ShippedLevel level{set.filename().string(), file.filename().string(), file};
            if (firstSet && number <= EasyStartPuzzles)
                level.allowance = MoveAllowance::ParOrOneMore;
            levels.push_back(level);
        }
        firstSet = false;
    }
    return levels;
}

// The checker's report of a level, searched once for all the tests here.
const LevelReport& ReportOf(const ShippedLevel& level)
{
    static std::map<std::string, LevelReport> reports;
    const std::string key = level.path.string();
    auto found = reports.find(key);
    if (found == reports.end())
        found = reports.emplace(key, CheckLevel(ReadText(level.path.string()), level.allowance, SearchDepth)).first;
    return found->second;
}

// The value of "name=" in a simulator state line.
std::string Field(const std::string& line, const std::string& name)
{
    const std::string key = " " + name + "=";
    const size_t at = line.find(key);
    if (at == std::string::npos)
        return "";
    const size_t start = at + key.size();
    return line.substr(start, line.find(' ', start) - start);
}

std::string Digits(const PuzzleField& field)
{
    std::string text;
    for (uint8_t code : field.Codes())
        text += static_cast<char>('0' + code);
    return text;
}

// Key presses that bring the mover from where it is to the swap's cells, as
// the play screen moves it: Tab flips (a horizontal mover in column 5 steps
// left, a vertical one in row 9 steps up), the arrows move one cell.
void MoverKeys(const Swap& swap, int& column, int& row, bool& vertical, std::ostream& script)
{
    if (vertical != swap.vertical)
    {
        script << "key tab\n";
        vertical = swap.vertical;
        if (!vertical && column == FieldColumns - 1)
            --column;
        if (vertical && row == FieldRows - 1)
            --row;
    }
    for (; column < swap.column; ++column)
        script << "key right\n";
    for (; column > swap.column; --column)
        script << "key left\n";
    for (; row < swap.row; ++row)
        script << "key down\n";
    for (; row > swap.row; --row)
        script << "key up\n";
}

TEST(ShippedPuzzles, CollectionLayout)
{
    // At least five sets and a hundred puzzles, each set named with a space
    // (the play screen shows the part after it), files numbered without
    // gaps, nothing else inside.
    const std::vector<fs::path> sets = Sorted(SourcePath("assets/levels"));
    ASSERT_GE(sets.size(), 5u);
    EXPECT_GE(ShippedLevels().size(), 100u);
    for (const fs::path& set : sets)
    {
        SCOPED_TRACE(set.string());
        ASSERT_TRUE(fs::is_directory(set));
        EXPECT_NE(set.filename().string().find(' '), std::string::npos);
        const std::vector<fs::path> files = Sorted(set);
        ASSERT_FALSE(files.empty());
        for (size_t i = 0; i < files.size(); ++i)
        {
            char expected[32];
            std::snprintf(expected, sizeof expected, "%03zu.qvl", i + 1);
            EXPECT_EQ(files[i].filename().string(), expected);
        }
    }
}

TEST(ShippedPuzzles, EveryLevelPassesTheChecker)
{
    std::map<std::string, int> lowestPar;
    std::map<std::string, int> highestPar;
    for (const ShippedLevel& level : ShippedLevels())
    {
        SCOPED_TRACE(level.path.string());
        const LevelReport& report = ReportOf(level);
        for (const std::string& error : report.errors)
            ADD_FAILURE() << error;
        ASSERT_TRUE(report.par.has_value());
        EXPECT_LE(*report.par, report.moves);
        lowestPar.try_emplace(level.set, *report.par);
        lowestPar[level.set] = std::min(lowestPar[level.set], *report.par);
        highestPar[level.set] = std::max(highestPar[level.set], *report.par);
    }
    // Difficulty rises from set to set.
    std::string previous;
    for (const auto& [set, low] : lowestPar)
    {
        if (!previous.empty())
        {
            EXPECT_GE(low, lowestPar[previous]) << set;
            EXPECT_GT(highestPar[set], highestPar[previous]) << set;
        }
        previous = set;
    }

    // The command-line checker agrees: the whole folder is clean.
    std::string output;
    const std::string tool = std::string(QUORVO_TOOLS_DIR) + "/puzzle-check";
    EXPECT_EQ(RunCommand("'" + tool + "' '" + SourcePath("assets/levels") + "' 2>&1", output), 0) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), static_cast<long>(ShippedLevels().size())) << output;
}

// The collection climbs: in each set par never falls and, at equal par, the
// positions searched per solution never fall; no puzzle is another's mirror image.
TEST(ShippedPuzzles, GradedInOrderWithoutMirrorTwins)
{
    std::map<std::string, std::pair<int, double>> lastGrade;
    std::map<std::string, std::string> seen;
    for (const ShippedLevel& level : ShippedLevels())
    {
        SCOPED_TRACE(level.path.string());
        const PuzzleSolver::Measures& m = ReportOf(level).measures;
        const std::pair<int, double> grade{m.par, m.Effort()};
        EXPECT_LE(lastGrade.count(level.set) > 0 ? lastGrade[level.set] : grade, grade);
        lastGrade[level.set] = grade;

        const std::string cells = Digits(ParseLevelText(ReadText(level.path.string())).field);
        std::string mirrored;
        for (int row = 0; row < FieldRows; ++row) // each row reversed, in place
            mirrored.append(cells.rbegin() + (FieldRows - 1 - row) * FieldColumns,
                            cells.rbegin() + (FieldRows - row) * FieldColumns);
        const auto [twin, fresh] = seen.emplace(std::min(cells, mirrored), level.path.string());
        EXPECT_TRUE(fresh) << "the same as " << twin->second;
    }
}

// Plays each level's shortest solution in the real play screen, one swap at a
// time, letting the board come to rest after each, and compares the board
// with the checker's prediction.
TEST(ShippedPuzzles, SolutionsSolveThePuzzleInTheGame)
{
    const fs::path simulator = fs::path(QUORVO_TOOLS_DIR) / "quorvo-sim";
    ASSERT_TRUE(fs::exists(simulator));
    // The simulator reads resources from its working folder before the game
    // archive, so it plays the level sources of this tree.
    const fs::path work = fs::temp_directory_path() / ("quorvo-puzzles-" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work / "Data");
    fs::copy(SourcePath("assets/levels"), work / "Data/Levels", fs::copy_options::recursive);

    for (const ShippedLevel& level : ShippedLevels())
    {
        SCOPED_TRACE(level.path.string());
        const std::string text = ReadText(level.path.string());
        const LevelReport& report = ReportOf(level);
        ASSERT_TRUE(report.par.has_value());
        PuzzleField field = ParseLevelText(text).field;

        std::ostringstream script;
        script << "mode puzzle\nlevel Data/Levels/" << level.set << "/" << level.file << "\nstart 1000\ndump\n";
        int column = 0, row = 0;
        bool vertical = false;
        int64_t tick = 1000;
        std::vector<std::string> expectedBoards;
        for (const Swap& swap : report.solution)
        {
            MoverKeys(swap, column, row, vertical, script);
            script << "dump\nkey space\n";
            int rounds = 0;
            ASSERT_TRUE(field.Play(swap, &rounds));
            expectedBoards.push_back(Digits(field));
            // The swap takes 0.2 s; each clearing round 0.5 s and the falls
            // after it a frame per cell.
            const int64_t settle = 400 + rounds * 800 + 300;
            script << "frames " << tick + 16 << " " << tick + settle << " 16\ndump\n";
            tick += settle + 16;
        }

        std::ofstream(work / "script.txt", std::ios::binary) << script.str();
        std::string output;
        const int status =
            RunCommand("cd '" + work.string() + "' && '" + simulator.string() + "' < script.txt 2>&1", output);
        ASSERT_EQ(status, 0) << output;
        std::vector<std::string> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        const size_t moves = report.solution.size();
        ASSERT_EQ(lines.size(), 1 + 2 * moves) << output;

        EXPECT_EQ(Field(lines[0], "moves"), std::to_string(report.moves));
        EXPECT_EQ(Field(lines[0], "board"), Digits(ParseLevelText(text).field));
        for (size_t i = 0; i < moves; ++i)
        {
            const Swap& swap = report.solution[i];
            const std::string& before = lines[1 + 2 * i];
            const std::string& after = lines[2 + 2 * i];
            SCOPED_TRACE("move " + std::to_string(i + 1) + " " + DescribeSwap(swap));
            EXPECT_EQ(Field(before, "mover"),
                      std::to_string(swap.column) + "," + std::to_string(swap.row) + "," + (swap.vertical ? "1" : "0"));
            EXPECT_EQ(Field(after, "board"), expectedBoards[i]);
            EXPECT_EQ(Field(after, "falling"), std::string(FieldCells, '0'));
            EXPECT_EQ(Field(after, "clearing"), std::string(FieldCells, '0'));
            EXPECT_EQ(Field(after, "moves"), std::to_string(report.moves - static_cast<int>(i) - 1));
            const bool last = i + 1 == moves;
            EXPECT_EQ(Field(after, "solved"), last ? "1" : "0");
            EXPECT_EQ(Field(after, "failed"), "0");
        }
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
}

} // namespace
