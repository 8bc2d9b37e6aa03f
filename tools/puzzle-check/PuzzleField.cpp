#include "PuzzleField.h"

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

int PuzzleField::FindSets(std::array<bool, FieldCells>& marked) const
{
    marked.fill(false);
    bool wholeColour[ColourCount] = {};
    for (int pass = 0; pass < 2; ++pass)
    {
        const bool alongRow = pass == 0;
        const int lines = alongRow ? FieldRows : FieldColumns;
        const int span = alongRow ? FieldColumns : FieldRows;
        for (int line = 0; line < lines; ++line)
        {
            for (int colour = 0; colour < ColourCount; ++colour)
            {
                int length = 0;
                bool hasWild = false;
                // The run is walked one step past the end so the last run ends too.
                for (int i = 0; i <= span; ++i)
                {
                    uint8_t code = EmptyCode;
                    if (i < span)
                        code = alongRow ? At(i, line) : At(line, i);
                    if (i < span && (code == colour || code == WildCode))
                    {
                        ++length;
                        hasWild = hasWild || code == WildCode;
                        continue;
                    }
                    if (length >= 3)
                    {
                        if (hasWild)
                            wholeColour[colour] = true;
                        for (int k = i - length; k < i; ++k)
                        {
                            const int index = alongRow ? line * FieldColumns + k : k * FieldColumns + line;
                            marked[static_cast<size_t>(index)] = true;
                        }
                    }
                    length = 0;
                    hasWild = false;
                }
            }
        }
    }
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
