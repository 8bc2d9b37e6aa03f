#pragma once

#include "game/Board.h"
#include "game/PuzzleSolver.h"

// The Puzzle Challenge hint: asked for with a key, it searches the board at
// rest for a shortest way to clear it within the moves left, a slice of the
// search per frame so no frame waits long, and reports the first swap of
// that way or that there is none. A hint costs no move.
//
//   state      entered by                       left by
//   idle       construction, Cancel, an answer  Request
//   wanted     Request                          the board at rest: searching
//   searching  the board at rest                an answer; a changed board: wanted
class PuzzleHint
{
  public:
    // Search time per frame (seconds), well inside the 200 ms a frame may take.
    static constexpr double SliceSeconds = 0.1;

    enum class Outcome
    {
        None,     // nothing to show this frame
        Swap,     // FirstSwap is the move to make
        NoWayOut, // the board cannot be cleared within the moves left
    };

    void Request() { wanted = true; }
    void Cancel();
    [[nodiscard]] bool IsPending() const { return wanted; }

    // One frame of the play screen's update; atRest when nothing swaps, falls
    // or clears. The search starts from the board as it is and starts again
    // when the board or the moves left change before it answers.
    Outcome Update(const Board& board, int movesLeft, bool atRest, double sliceSeconds = SliceSeconds);
    [[nodiscard]] const Swap& FirstSwap() const { return first; }
    [[nodiscard]] const PuzzleSolver& Solver() const { return solver; }

    static PuzzleField FieldOf(const Board& board);

  private:
    PuzzleSolver solver;
    bool wanted = false;
    bool searching = false;
    PuzzleField searched; // the board the running search started from
    int searchedMoves = 0;
    Swap first;
};
