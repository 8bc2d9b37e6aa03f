#include "game/PuzzleSolver.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace
{

// 2^18 entries of 32 bytes: 8 MB, plenty for the shipped puzzles.
constexpr size_t TableBits = 18;
constexpr size_t TableSize = size_t{1} << TableBits;
// How often the clock is read, in positions expanded.
constexpr uint64_t ClockInterval = 16;

int64_t NowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Plays a swap into next, with the rounds of clearing it started. False when
// the swap is refused or changes nothing, and, when lastMove is set, when it
// cannot clear anything. Most swaps exchange two blocks and make no set; those
// leave the field at rest and need no settling, which keeps the search fast.
bool Advance(const PuzzleField& field, const Swap& swap, bool lastMove, PuzzleField& next, int& rounds)
{
    const uint8_t a = field.At(swap.column, swap.row);
    const uint8_t b = field.At(swap.SecondColumn(), swap.SecondRow());
    rounds = 0;
    if (a == b)
        return false; // two empties are refused; two equal blocks change nothing
    next = field;
    if (a != EmptyCode && b != EmptyCode)
    {
        next.Set(swap.column, swap.row, b);
        next.Set(swap.SecondColumn(), swap.SecondRow(), a);
        if (!next.InSet(swap.column, swap.row) && !next.InSet(swap.SecondColumn(), swap.SecondRow()))
            return !lastMove;
        rounds = next.Settle();
        return true;
    }
    if (!next.Play(swap, &rounds) || next == field)
        return false;
    return !lastMove || rounds > 0;
}

} // namespace

PuzzleSolver::PuzzleSolver() = default;

PuzzleSolver::Key PuzzleSolver::KeyOf(const PuzzleField& field)
{
    Key key;
    const FieldCodes& codes = field.Codes();
    for (size_t i = 0; i < codes.size(); ++i)
        key.word[i / 21] |= static_cast<uint64_t>(codes[i] & 7u) << (3 * (i % 21));
    return key;
}

namespace
{

size_t Slot(const uint64_t (&word)[3])
{
    const uint64_t h =
        word[0] * 0x9E3779B97F4A7C15ull ^ word[1] * 0xC2B2AE3D27D4EB4Full ^ word[2] * 0x165667B19E3779F9ull;
    return static_cast<size_t>((h ^ (h >> 29)) & (TableSize - 1));
}

} // namespace

bool PuzzleSolver::KnownToFail(const Key& key, int movesLeft) const
{
    const Entry& entry = table[Slot(key.word)];
    return entry.search == search && entry.failedWithin >= movesLeft && entry.key == key;
}

void PuzzleSolver::RecordFailure(const Key& key, int movesLeft)
{
    Entry& entry = table[Slot(key.word)];
    if (entry.search == search && entry.key == key && entry.failedWithin >= movesLeft)
        return;
    entry.key = key;
    entry.search = search;
    entry.failedWithin = static_cast<int8_t>(std::min(movesLeft, 127));
}

bool PuzzleSolver::IsHopeless(const PuzzleField& field)
{
    const int wilds = field.Count(WildCode);
    int blocks = wilds;
    for (uint8_t colour = 0; colour < ColourCount; ++colour)
    {
        const int n = field.Count(colour);
        blocks += n;
        if (wilds == 0 && (n == 1 || n == 2))
            return true;
    }
    return wilds > 0 && blocks < 3;
}

void PuzzleSolver::Start(const PuzzleField& start, int maxMoves)
{
    ++search;
    if (table.size() != TableSize || search == 0)
    {
        table.assign(TableSize, Entry{});
        search = 1;
    }
    root = start;
    root.Settle();
    maxDepth = std::min(maxMoves, 127);
    depth = 1;
    path.clear();
    visited = 0;
    outOfTime = false;
    deadline = 0;
    if (root.IsEmpty())
        status = Status::Solved;
    else if (maxDepth < 1)
        status = Status::NoSolution;
    else
        status = Status::Running;
}

void PuzzleSolver::Cancel()
{
    status = Status::Idle;
    path.clear();
}

bool PuzzleSolver::OutOfTime()
{
    if (!outOfTime && deadline != 0 && visited % ClockInterval == 0 && NowNanoseconds() >= deadline)
        outOfTime = true;
    return outOfTime;
}

PuzzleSolver::Status PuzzleSolver::Step(double seconds)
{
    if (status != Status::Running)
        return status;
    const double limit = std::max(seconds, 0.0) * 1e9;
    deadline = limit >= static_cast<double>(std::numeric_limits<int64_t>::max() / 2)
                   ? 0
                   : NowNanoseconds() + std::max<int64_t>(1, static_cast<int64_t>(limit));
    outOfTime = false;
    // A depth cut short by the clock is searched again from the root on the
    // next slice; the failures already recorded make that quick.
    while (depth <= maxDepth)
    {
        path.clear();
        if (Search(root, depth))
        {
            status = Status::Solved;
            return status;
        }
        if (outOfTime)
            return status;
        ++depth;
    }
    path.clear();
    status = Status::NoSolution;
    return status;
}

PuzzleSolver::Result PuzzleSolver::Solve(const PuzzleField& start, int maxMoves)
{
    Start(start, maxMoves);
    (void)Step(std::numeric_limits<double>::infinity());
    Result result;
    result.solved = status == Status::Solved;
    result.moves = path;
    result.fieldsVisited = std::max<uint64_t>(visited, 1);
    return result;
}

bool PuzzleSolver::Search(const PuzzleField& field, int movesLeft)
{
    ++visited;
    if (OutOfTime() || IsHopeless(field))
        return false;
    const Key key = KeyOf(field);
    if (KnownToFail(key, movesLeft))
        return false;

    for (int i = 0; i < SwapCount; ++i)
    {
        const Swap swap = SwapAt(i);
        PuzzleField next;
        int rounds = 0;
        if (!Advance(field, swap, movesLeft == 1, next, rounds))
            continue;
        path.push_back(swap);
        if (next.IsEmpty())
            return true;
        if (movesLeft > 1 && Search(next, movesLeft - 1))
            return true;
        path.pop_back();
        if (outOfTime)
            return false;
    }
    RecordFailure(key, movesLeft);
    return false;
}

PuzzleSolver::Measures PuzzleSolver::Measure(const PuzzleField& start, int maxMoves)
{
    Measures measures;
    measures.wilds = start.Count(WildCode);
    const Result result = Solve(start, maxMoves);
    measures.searched = result.fieldsVisited;
    if (!result.solved || result.moves.empty())
        return measures;
    measures.par = static_cast<int>(result.moves.size());
    const Count count = CountSolutions(root, measures.par);
    measures.solutions = count.solutions;
    measures.cascades = count.cascades;
    return measures;
}

// Every sequence of exactly movesLeft swaps that clears the field (none
// clears it sooner, as movesLeft is par), with the fewest cascading moves
// among them. Subtrees without a solution are remembered as failures.
PuzzleSolver::Count PuzzleSolver::CountSolutions(const PuzzleField& field, int movesLeft)
{
    Count total;
    total.cascades = std::numeric_limits<int>::max();
    for (int i = 0; i < SwapCount; ++i)
    {
        const Swap swap = SwapAt(i);
        PuzzleField next;
        int rounds = 0;
        if (!Advance(field, swap, movesLeft == 1, next, rounds))
            continue;
        const int cascade = rounds >= 2 ? 1 : 0;
        if (next.IsEmpty())
        {
            if (movesLeft == 1)
            {
                ++total.solutions;
                total.cascades = std::min(total.cascades, cascade);
            }
            continue;
        }
        if (movesLeft == 1 || IsHopeless(next))
            continue;
        const Key key = KeyOf(next);
        if (KnownToFail(key, movesLeft - 1))
            continue;
        const Count below = CountSolutions(next, movesLeft - 1);
        if (below.solutions == 0)
        {
            RecordFailure(key, movesLeft - 1);
            continue;
        }
        total.solutions += below.solutions;
        total.cascades = std::min(total.cascades, below.cascades + cascade);
    }
    if (total.solutions == 0)
        total.cascades = 0;
    return total;
}
