#pragma once

#include <vector>

#include "game/Board.h"
#include "game/BoardRulesHost.h"

class BlockMover;
class Scoring;

// A pending swap of two neighbouring cells, animated for SwapSeconds.
struct SwapState
{
    bool swapping = false;
    double swapStart = 0.0; // seconds
    int aColumn = -1;
    int aRow = -1;
    int bColumn = -1;
    int bRow = -1;
};

// What one RulesStep saw, for the scoring and the game-type checks.
struct RulesStepResult
{
    bool falling = false;   // a block fell or started to fall
    bool clearing = false;  // a block was clearing
    bool setsFound = false; // FindSets recorded at least one set
    bool allEmpty = false;  // every cell Empty after the clearing pass
};

// The rules that act on a board frame by frame: the mover, swaps, gravity,
// matching, clearing, and undo. They drive the board, the mover and the
// scoring the owning screen holds, and reach the rest of the screen through
// BoardRulesHost.
//
//   block state   set by                   ends
//   swapping      StartSwap                FinishSwap after SwapSeconds
//   falling       ApplyGravity             FallSeconds later, code moves down
//   marked        FindSets                 the same FindSets (becomes clearing)
//   clearing      FindSets                 ClearSeconds later, block Empty
class BoardRules
{
  public:
    static constexpr double SwapSeconds = 0.2;
    static constexpr double FallSeconds = 0.01;
    static constexpr double ClearSeconds = 0.5;
    static constexpr double MatchSoundSeconds = 1.0;

    BoardRules(Board& board, BlockMover& mover, Scoring& scoring, BoardRulesHost& host);

    // A new game: no swap pending, match sound ready, undo history empty.
    void Reset();

    // --- the mover ---
    // Puts the mover on a cell (its first cell), sized two cells by two.
    void PlaceMover(int column, int row);
    void MoverCell(int& column, int& row) const;
    void MoveMoverUp();
    void MoveMoverDown();
    void MoveMoverLeft();
    void MoveMoverRight();
    void FlipMover();
    // Remembers the pointer and, inside the well, snaps the mover to it.
    void FollowPointer(int px, int py);
    [[nodiscard]] int PointerX() const { return pointerX; }
    [[nodiscard]] int PointerY() const { return pointerY; }

    // --- moves ---
    // Swaps the two cells under the mover; false (with the refusal sound)
    // when the swap is not allowed or did not start.
    bool TrySwap();
    // Starts the animated swap of two cells; false when nothing started.
    bool StartSwap(int c1, int r1, int c2, int r2);
    void FinishSwap();
    void StepSwap();
    [[nodiscard]] bool IsSwapPending() const { return swap.swapping; }
    [[nodiscard]] const SwapState& Swap() const { return swap; }

    // --- the per-frame step ---
    bool ApplyGravity();
    bool FindSets();
    // Ends finished clears and puts pictures home; clearing reports whether
    // any block clears, the result whether all 60 cells are Empty.
    bool ClearingPass(bool& anyClearing);
    RulesStepResult RulesStep();

    // A cell's block can join a set: at rest, on the floor or on a resting block.
    [[nodiscard]] bool IsSettled(int column, int row) const;

    // --- Puzzle Challenge ---
    // Sets moves left and the total; empties the undo history.
    void SetMoves(int total);
    [[nodiscard]] int MovesLeft() const { return movesLeft; }
    [[nodiscard]] int MovesTotal() const { return movesTotal; }
    // Takes back the last swap; false when there is nothing to take back.
    bool Undo();
    [[nodiscard]] size_t UndoDepth() const { return undoStack.size(); }
    void ClearUndo() { undoStack.clear(); }

  private:
    [[nodiscard]] RulesKind Kind() const { return host.GetRulesKind(); }
    [[nodiscard]] bool IsSwapCell(int column, int row) const;
    // One run of a row or column walk ended: records it as a set when long enough.
    void EndRun(bool alongRow, int line, int end, int colour, int& length, bool& hasWild,
                bool (&colourFlags)[BlockColourCount], bool& found);
    void RecordSet(bool alongRow, int line, int first, int length);
    void ApplyColumnWarnings();

    Board& board;
    BlockMover& mover;
    Scoring& scoring;
    BoardRulesHost& host;
    SwapState swap;
    std::vector<Board::Codes> undoStack;
    int movesLeft = 0;
    int movesTotal = 0;
    double lastMatchSound = 0.0; // seconds
    bool matchSoundPlayed = false;
    int pointerX = -1; // last pointer position given to FollowPointer
    int pointerY = -1;
};
