// puzzle-check: checks puzzle level files as a shipped collection.
//
//   puzzle-check [--max-moves N] [--easy-start N] LEVELS_FOLDER | FILE.qvl ...
//
// For a folder of sets (one directory per set, files 001.qvl, 002.qvl, ...)
// every set is checked in name order; the first N puzzles of the first set
// (--easy-start, 3 by default) may allow one move more than par. Prints one
// line per level with par, its move count and a shortest solution, then its
// faults; exits with 1 when any level has a fault. Each line also gives the
// grading measures: the number of shortest solutions, the positions searched
// to prove par, the Wild blocks and the fewest cascading moves a shortest
// solution needs.
#include "LevelCheck.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace
{

bool ReadFile(const fs::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

bool ParseCount(const char* text, int& value)
{
    const char* end = text + std::char_traits<char>::length(text);
    const auto [stop, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && stop == end && value >= 0;
}

// Prints the report of one level; true when it has no fault.
bool Report(const std::string& name, const std::string& text, MoveAllowance allowance, int maxMoves)
{
    const LevelReport report = CheckLevel(text, allowance, maxMoves);
    std::cout << name << ": par " << (report.par ? std::to_string(*report.par) : std::string("-")) << ", moves "
              << report.moves;
    if (report.par)
    {
        const PuzzleSolver::Measures& m = report.measures;
        std::cout << ", solutions " << m.solutions << ", searched " << m.searched << ", wilds " << m.wilds
                  << ", cascades " << m.cascades;
    }
    std::cout << ", solution";
    for (const Swap& swap : report.solution)
        std::cout << " " << DescribeSwap(swap);
    std::cout << "\n";
    for (const std::string& error : report.errors)
        std::cout << "  error: " << error << "\n";
    return report.errors.empty();
}

bool CheckFile(const fs::path& path, const std::string& name, MoveAllowance allowance, int maxMoves)
{
    std::string text;
    if (!ReadFile(path, text))
    {
        std::cout << name << ": cannot be read\n  error: unreadable file\n";
        return false;
    }
    return Report(name, text, allowance, maxMoves);
}

std::vector<fs::path> SortedEntries(const fs::path& folder)
{
    std::vector<fs::path> entries;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

bool CheckCollection(const fs::path& root, int easyStart, int maxMoves)
{
    bool clean = true;
    bool firstSet = true;
    int sets = 0;
    for (const fs::path& set : SortedEntries(root))
    {
        if (!fs::is_directory(set))
            continue;
        ++sets;
        const std::string setName = set.filename().string();
        if (setName.find(' ') == std::string::npos)
        {
            std::cout << setName << ":\n  error: a set name needs a space (the play screen shows the part after it)\n";
            clean = false;
        }
        int number = 0;
        for (const fs::path& file : SortedEntries(set))
        {
            ++number;
            char expected[16];
            std::snprintf(expected, sizeof expected, "%03d.qvl", number);
            const std::string name = setName + "/" + file.filename().string();
            if (file.filename().string() != expected)
            {
                // Every entry of a set folder is taken as a puzzle, and a gap ends the set.
                std::cout << name << ":\n  error: expected " << expected << " here\n";
                clean = false;
                continue;
            }
            const MoveAllowance allowance =
                firstSet && number <= easyStart ? MoveAllowance::ParOrOneMore : MoveAllowance::ParOnly;
            clean = CheckFile(file, name, allowance, maxMoves) && clean;
        }
        if (number == 0)
        {
            std::cout << setName << ":\n  error: an empty set\n";
            clean = false;
        }
        firstSet = false;
    }
    if (sets == 0)
    {
        std::cout << root.string() << ":\n  error: no puzzle sets\n";
        clean = false;
    }
    return clean;
}

} // namespace

int main(int argc, char** argv)
{
    int maxMoves = 8;
    int easyStart = 3;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if ((arg == "--max-moves" || arg == "--easy-start") && i + 1 < argc)
        {
            int& target = arg == "--max-moves" ? maxMoves : easyStart;
            if (!ParseCount(argv[++i], target))
            {
                std::cerr << "puzzle-check: " << arg << " needs a count\n";
                return 2;
            }
            continue;
        }
        if (arg.rfind("--", 0) == 0)
        {
            std::cerr << "usage: puzzle-check [--max-moves N] [--easy-start N] LEVELS_FOLDER | FILE.qvl ...\n";
            return 2;
        }
        inputs.push_back(arg);
    }
    if (inputs.empty())
    {
        std::cerr << "usage: puzzle-check [--max-moves N] [--easy-start N] LEVELS_FOLDER | FILE.qvl ...\n";
        return 2;
    }
    bool clean = true;
    for (const std::string& input : inputs)
    {
        if (fs::is_directory(input))
            clean = CheckCollection(input, easyStart, maxMoves) && clean;
        else
            clean = CheckFile(input, input, MoveAllowance::ParOrOneMore, maxMoves) && clean;
    }
    return clean ? 0 : 1;
}
