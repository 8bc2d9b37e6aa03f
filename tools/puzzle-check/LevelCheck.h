#pragma once

#include "game/PuzzleField.h"
#include "game/PuzzleSolver.h"

#include <optional>
#include <string>
#include <vector>

// A level file as the checker reads it: the move count and the block entries
// in file order, plus the faults found while reading.
struct LevelFile
{
    int moves = 0;
    PuzzleField field;
    std::vector<std::string> errors;
};

// Reads the text of a level file. Entries outside the field, with another
// code than 0..4 or 7, repeated cells, a missing or bad move count and any
// text the level writer would not have written are reported as errors; the
// entries that can be used are still placed.
LevelFile ParseLevelText(const std::string& text);

// The exact text the game's level writer produces for a field and move count.
std::string LevelText(const PuzzleField& field, int moves);

// How a level's move count may relate to its shortest solution.
enum class MoveAllowance
{
    ParOnly,      // moves must equal par
    ParOrOneMore, // an easy start: par or par + 1
};

struct LevelReport
{
    int moves = 0;
    std::optional<int> par;     // unset when no solution was found
    std::vector<Swap> solution; // a shortest one
    PuzzleSolver::Measures measures;
    std::vector<std::string> errors;
};

// Everything the checker says about one level: its faults as a shipped puzzle
// (not at rest, a ready-made set, a colour that can never clear, bad codes or
// text, a move count off par) and a shortest solution, searched up to
// maxMoves deep.
LevelReport CheckLevel(const std::string& text, MoveAllowance allowance, int maxMoves);
