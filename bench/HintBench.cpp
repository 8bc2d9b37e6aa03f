// Hint benchmark: how long the Puzzle Challenge hint takes on every shipped
// puzzle, searched in the slices the play screen gives it, from the starting
// board (a shortest solution within the moves) and after one wasted move (a
// position that usually needs every depth searched). Prints each puzzle and
// the minimum, median and maximum per set. Run with the levels folder as the
// argument (default: the source tree's assets/levels).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LevelCheck.h"
#include "game/PuzzleHint.h"
#include "game/PuzzleSolver.h"

namespace fs = std::filesystem;

namespace
{

struct Timing
{
    double wallMs = 0.0;
    double cpuMs = 0.0;
    int slices = 0;
    double longestSliceMs = 0.0;
};

// Runs the hint's search to its end the way the play screen does, a slice per frame.
Timing TimeHint(PuzzleSolver& solver, const PuzzleField& field, int moves)
{
    Timing timing;
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    solver.Start(field, moves);
    while (true)
    {
        const auto sliceStart = std::chrono::steady_clock::now();
        const PuzzleSolver::Status status = solver.Step(PuzzleHint::SliceSeconds);
        const double slice =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - sliceStart).count();
        timing.longestSliceMs = std::max(timing.longestSliceMs, slice);
        ++timing.slices;
        if (status != PuzzleSolver::Status::Running)
            break;
    }
    timing.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    timing.cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return timing;
}

std::vector<fs::path> Sorted(const fs::path& folder)
{
    std::vector<fs::path> entries;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

void PrintSpread(const char* what, std::vector<double> values)
{
    if (values.empty())
        return;
    std::sort(values.begin(), values.end());
    std::printf("  %-22s min %8.2f  median %8.2f  max %8.2f ms\n", what, values.front(), values[values.size() / 2],
                values.back());
}

} // namespace

int main(int argc, char** argv)
{
    const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(QUORVO_SOURCE_DIR) / "assets/levels";
    PuzzleSolver solver;
    std::vector<double> allStart;
    double longestSlice = 0.0;
    std::printf("hint search, slices of %.0f ms (wall ms, cpu ms, slices)\n", PuzzleHint::SliceSeconds * 1000.0);
    for (const fs::path& set : Sorted(root))
    {
        if (!fs::is_directory(set))
            continue;
        std::vector<double> startWall, startCpu, wastedWall;
        std::printf("%s\n", set.filename().string().c_str());
        for (const fs::path& file : Sorted(set))
        {
            std::ifstream in(file, std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            const LevelFile level = ParseLevelText(text.str());
            const Timing fresh = TimeHint(solver, level.field, level.moves);
            const bool solved = solver.GetStatus() == PuzzleSolver::Status::Solved;
            // One wasted move: the first swap that changes the field without clearing it.
            Timing wasted;
            for (int i = 0; i < SwapCount; ++i)
            {
                PuzzleField next = level.field;
                int rounds = 0;
                if (next.Play(SwapAt(i), &rounds) && rounds == 0 && !(next == level.field))
                {
                    wasted = TimeHint(solver, next, level.moves - 1);
                    break;
                }
            }
            std::printf("  %s  start %7.2f %7.2f %2d%s   wasted move %8.2f %8.2f %3d\n",
                        file.filename().string().c_str(), fresh.wallMs, fresh.cpuMs, fresh.slices,
                        solved ? "" : " (no solution!)", wasted.wallMs, wasted.cpuMs, wasted.slices);
            startWall.push_back(fresh.wallMs);
            startCpu.push_back(fresh.cpuMs);
            wastedWall.push_back(wasted.wallMs);
            allStart.push_back(fresh.wallMs);
            longestSlice = std::max({longestSlice, fresh.longestSliceMs, wasted.longestSliceMs});
        }
        PrintSpread("start (wall)", startWall);
        PrintSpread("start (cpu)", startCpu);
        PrintSpread("after a wasted move", wastedWall);
    }
    PrintSpread("all puzzles, start", allStart);
    std::printf("longest single slice: %.2f ms\n", longestSlice);
    return 0;
}
