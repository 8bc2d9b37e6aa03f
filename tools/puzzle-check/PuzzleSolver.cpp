#include "PuzzleSolver.h"

size_t PuzzleSolver::FieldHash::operator()(const FieldCodes& codes) const
{
    uint64_t h = 1469598103934665603ull;
    for (uint8_t c : codes)
    {
        h ^= c;
        h *= 1099511628211ull;
    }
    return static_cast<size_t>(h);
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

PuzzleSolver::Result PuzzleSolver::Solve(const PuzzleField& start, int maxMoves)
{
    Result result;
    failedWithin.clear();
    visited = 0;
    PuzzleField field = start;
    field.Settle();
    if (field.IsEmpty())
    {
        result.solved = true;
        result.fieldsVisited = 1;
        return result;
    }
    std::vector<Swap> path;
    for (int depth = 1; depth <= maxMoves && !result.solved; ++depth)
    {
        path.clear();
        result.solved = Search(field, depth, path);
    }
    if (result.solved)
        result.moves = path;
    result.fieldsVisited = visited;
    return result;
}

bool PuzzleSolver::Search(const PuzzleField& field, int movesLeft, std::vector<Swap>& path)
{
    ++visited;
    if (IsHopeless(field))
        return false;
    const auto known = failedWithin.find(field.Codes());
    if (known != failedWithin.end() && known->second >= movesLeft)
        return false;

    for (int i = 0; i < SwapCount; ++i)
    {
        const Swap swap = SwapAt(i);
        if (field.At(swap.column, swap.row) == field.At(swap.SecondColumn(), swap.SecondRow()))
            continue; // two empties are refused; two equal blocks change nothing
        PuzzleField next = field;
        if (!next.Play(swap) || next == field)
            continue;
        path.push_back(swap);
        if (next.IsEmpty())
            return true;
        if (movesLeft > 1 && Search(next, movesLeft - 1, path))
            return true;
        path.pop_back();
    }
    failedWithin[field.Codes()] = movesLeft;
    return false;
}
