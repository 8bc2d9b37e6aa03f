#pragma once

#include <cstdint>

// Codes of the cells of the playing field. The numbers are stored in puzzle
// level files, so they never change.
enum class BlockType : int32_t
{
    Red = 0,
    Orange = 1,
    Blue = 2,
    Purple = 3,
    Green = 4,
    NoPicture = 5, // accepted where a code is stored; no block picture belongs to it
    Empty = 6,     // no block in the cell
    Wild = 7,      // counts as every colour
};

// Number of real block colours (Red .. Green); tables indexed by colour have this size.
constexpr int BlockColourCount = 5;

// True for the codes 0..4, the only ones that may index a per-colour table.
constexpr bool IsBlockColour(BlockType type)
{
    return static_cast<int32_t>(type) >= 0 && static_cast<int32_t>(type) < BlockColourCount;
}
