#include "game/PuzzleField.h"

#include <algorithm>

Swap SwapAt(int index)
{
    Swap swap;
    if (index < 50)
    {
        swap.row = index / 5;
        swap.column = index % 5;
        swap.vertical = false;
    }
    else
    {
        index -= 50;
        swap.row = index / 6;
        swap.column = index % 6;
        swap.vertical = true;
    }
    return swap;
}

std::string DescribeSwap(const Swap& swap)
{
    return "(" + std::to_string(swap.column) + "," + std::to_string(swap.row) + ")-(" +
           std::to_string(swap.SecondColumn()) + "," + std::to_string(swap.SecondRow()) + ")";
}

bool PuzzleField::IsEmpty() const
{
    for (uint8_t code : cells)
    {
        if (code != EmptyCode)
            return false;
    }
    return true;
}

bool PuzzleField::IsAtRest() const
{
    for (int row = 0; row + 1 < FieldRows; ++row)
    {
        for (int column = 0; column < FieldColumns; ++column)
        {
            if (At(column, row) != EmptyCode && At(column, row + 1) == EmptyCode)
                return false;
        }
    }
    return true;
}

int PuzzleField::Count(uint8_t code) const
{
    int n = 0;
    for (uint8_t c : cells)
        n += c == code ? 1 : 0;
    return n;
}

bool PuzzleField::ApplyGravity()
{
    // A column above a gap moves down as a whole and keeps its order, so the
    // resting state is the column's blocks packed to the bottom.
    bool moved = false;
    for (int column = 0; column < FieldColumns; ++column)
    {
        int target = FieldRows - 1;
        for (int row = FieldRows - 1; row >= 0; --row)
        {
            const uint8_t code = At(column, row);
            if (code == EmptyCode)
                continue;
            if (row != target)
            {
                Set(column, target, code);
                Set(column, row, EmptyCode);
                moved = true;
            }
            --target;
        }
    }
    return moved;
}

namespace
{

// The colour a run of three cells forms a set of: -1 when none, ColourCount
// when all three are Wild (a set of every colour).
int TripleColour(uint8_t a, uint8_t b, uint8_t c)
{
    int colour = ColourCount;
    for (uint8_t code : {a, b, c})
    {
        if (code == WildCode)
            continue;
        if (!IsColour(code) || (colour != ColourCount && colour != code))
            return -1;
        colour = code;
    }
    return colour;
}

} // namespace

// A run of three or more is the union of the triples it holds, and a run with
// a Wild has a triple with that Wild, so walking the triples marks the same
// cells as walking whole runs, at a fraction of the cost (the solver calls
// this for every position it tries).
int PuzzleField::FindSets(std::array<bool, FieldCells>& marked) const
{
    marked.fill(false);
    bool wholeColour[ColourCount + 1] = {};
    bool any = false;
    const auto mark = [&](int i0, int i1, int i2)
    {
        const uint8_t a = cells[static_cast<size_t>(i0)];
        const uint8_t b = cells[static_cast<size_t>(i1)];
        const uint8_t c = cells[static_cast<size_t>(i2)];
        if (a == EmptyCode || b == EmptyCode || c == EmptyCode)
            return;
        const int colour = TripleColour(a, b, c);
        if (colour < 0)
            return;
        marked[static_cast<size_t>(i0)] = marked[static_cast<size_t>(i1)] = marked[static_cast<size_t>(i2)] = true;
        any = true;
        if (a == WildCode || b == WildCode || c == WildCode)
            wholeColour[colour] = true;
    };
    for (int row = 0; row < FieldRows; ++row)
    {
        for (int column = 0; column + 2 < FieldColumns; ++column)
        {
            const int i = row * FieldColumns + column;
            mark(i, i + 1, i + 2);
        }
    }
    for (int row = 0; row + 2 < FieldRows; ++row)
    {
        for (int column = 0; column < FieldColumns; ++column)
        {
            const int i = row * FieldColumns + column;
            mark(i, i + FieldColumns, i + 2 * FieldColumns);
        }
    }
    if (!any)
        return 0;
    // Three Wilds make a set of every colour at once.
    if (wholeColour[ColourCount])
        std::fill(wholeColour, wholeColour + ColourCount, true);
    // A Wild's set clears every resting block of its colour; Wilds themselves
    // leave only as part of a set.
    int count = 0;
    for (int i = 0; i < FieldCells; ++i)
    {
        const uint8_t code = cells[static_cast<size_t>(i)];
        if (IsColour(code) && wholeColour[code])
            marked[static_cast<size_t>(i)] = true;
        count += marked[static_cast<size_t>(i)] ? 1 : 0;
    }
    return count;
}

bool PuzzleField::InSet(int column, int row) const
{
    for (int first = -2; first <= 0; ++first)
    {
        const int c = column + first;
        if (c >= 0 && c + 2 < FieldColumns && At(c, row) != EmptyCode && At(c + 1, row) != EmptyCode &&
            At(c + 2, row) != EmptyCode && TripleColour(At(c, row), At(c + 1, row), At(c + 2, row)) >= 0)
            return true;
        const int r = row + first;
        if (r >= 0 && r + 2 < FieldRows && At(column, r) != EmptyCode && At(column, r + 1) != EmptyCode &&
            At(column, r + 2) != EmptyCode && TripleColour(At(column, r), At(column, r + 1), At(column, r + 2)) >= 0)
            return true;
    }
    return false;
}

int PuzzleField::Settle()
{
    int rounds = 0;
    std::array<bool, FieldCells> marked{};
    ApplyGravity();
    while (FindSets(marked) > 0)
    {
        ++rounds;
        for (int i = 0; i < FieldCells; ++i)
        {
            if (marked[static_cast<size_t>(i)])
                cells[static_cast<size_t>(i)] = EmptyCode;
        }
        ApplyGravity();
    }
    return rounds;
}

bool PuzzleField::Play(const Swap& swap, int* rounds)
{
    const uint8_t a = At(swap.column, swap.row);
    const uint8_t b = At(swap.SecondColumn(), swap.SecondRow());
    if (a == EmptyCode && b == EmptyCode)
        return false;
    Set(swap.column, swap.row, b);
    Set(swap.SecondColumn(), swap.SecondRow(), a);
    const int n = Settle();
    if (rounds)
        *rounds = n;
    return true;
}
