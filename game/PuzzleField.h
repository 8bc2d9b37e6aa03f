#pragma once

#include <array>
#include <cstdint>
#include <string>

// The 6 x 10 playing field of a puzzle as the checker sees it: one code per
// cell in row-major order (cell (x, y) is element y * 6 + x, row 0 at the top),
// with the codes of the level files: 0..4 the colours, 6 Empty, 7 Wild.
constexpr int FieldColumns = 6;
constexpr int FieldRows = 10;
constexpr int FieldCells = FieldColumns * FieldRows;
constexpr int ColourCount = 5;
constexpr uint8_t EmptyCode = 6;
constexpr uint8_t WildCode = 7;

using FieldCodes = std::array<uint8_t, FieldCells>;

// One swap of two neighbouring cells: the first cell (column, row) and
// whether the second lies to its right (horizontal) or below it.
struct Swap
{
    int column = 0;
    int row = 0;
    bool vertical = false;

    int SecondColumn() const { return vertical ? column : column + 1; }
    int SecondRow() const { return vertical ? row + 1 : row; }
};

// The 104 swaps the mover can make: 50 horizontal (first cell columns 0..4),
// then 54 vertical (rows 0..8), each in row-major order of the first cell.
constexpr int SwapCount = 104;
Swap SwapAt(int index);

// "(2,9)-(3,9)".
std::string DescribeSwap(const Swap& swap);

inline bool IsColour(uint8_t code)
{
    return code < ColourCount;
}

class PuzzleField
{
  public:
    PuzzleField() { cells.fill(EmptyCode); }
    explicit PuzzleField(const FieldCodes& codes) : cells(codes) {}

    uint8_t At(int column, int row) const { return cells[static_cast<size_t>(row * FieldColumns + column)]; }
    void Set(int column, int row, uint8_t code) { cells[static_cast<size_t>(row * FieldColumns + column)] = code; }
    const FieldCodes& Codes() const { return cells; }

    bool IsEmpty() const;
    // Every block is in row 9 or on another block.
    bool IsAtRest() const;
    int Count(uint8_t code) const;

    // Lets every block over an empty cell drop until it rests; true when any moved.
    bool ApplyGravity();
    // Marks, as the game does on a field at rest, every block of a set of three
    // or more in a row or column (a Wild counts as each colour whose run it
    // completes) and, for each colour with a set that holds a Wild, every block
    // of that colour. Returns how many cells were marked.
    int FindSets(std::array<bool, FieldCells>& marked) const;
    // True when the block in this cell belongs to a set of three or more in
    // its row or column (a quick test for the cells a swap changed).
    bool InSet(int column, int row) const;
    // Clears the sets and lets the blocks fall, round after round, until no set
    // is left. Returns the number of clearing rounds (0: nothing cleared).
    int Settle();
    // The player's swap followed by the settling it starts. False (field
    // unchanged) when both cells are empty, as the game refuses that swap.
    bool Play(const Swap& swap, int* rounds = nullptr);

    bool operator==(const PuzzleField& other) const { return cells == other.cells; }

  private:
    FieldCodes cells;
};
