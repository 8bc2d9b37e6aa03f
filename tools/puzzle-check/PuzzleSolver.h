#pragma once

#include "PuzzleField.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

// Finds a shortest sequence of swaps that empties the field, each swap
// followed by the settling it starts (the game lets the player swap during a
// cascade too, which can only help, so a solution found here always works).
// Iterative deepening over the 104 swaps, with a table of fields already shown
// to need more moves than were left.
class PuzzleSolver
{
  public:
    struct Result
    {
        bool solved = false;
        std::vector<Swap> moves; // a shortest solution when solved
        uint64_t fieldsVisited = 0;
    };

    // Searches up to maxMoves swaps deep.
    Result Solve(const PuzzleField& start, int maxMoves);

    // True when some colour can never leave the field: one or two blocks of it
    // and no Wild to complete a set (a Wild leaves only in a set of three).
    static bool IsHopeless(const PuzzleField& field);

  private:
    struct FieldHash
    {
        size_t operator()(const FieldCodes& codes) const;
    };

    bool Search(const PuzzleField& field, int movesLeft, std::vector<Swap>& path);

    // Fields known to be unsolvable in the stored number of moves (or fewer).
    std::unordered_map<FieldCodes, int, FieldHash> failedWithin;
    uint64_t visited = 0;
};
