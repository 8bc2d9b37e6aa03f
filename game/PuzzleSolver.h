#pragma once

#include "game/PuzzleField.h"

#include <cstdint>
#include <vector>

// Finds a shortest sequence of swaps that empties a puzzle field, each swap
// followed by the settling it starts (the game lets the player swap during a
// cascade too, which can only help, so a solution found here always works).
// Iterative deepening over the 104 swaps, with a table of fields already shown
// to need more moves than were left.
//
// The search runs in slices under a time budget, so the play screen's hint and
// the level editor can spread a long search over frames:
//
//   state      entered by                    left by
//   Idle       construction, Cancel          Start
//   Running    Start                         Step finishing the search
//   Solved     a solution found (or empty)   Start, Cancel
//   NoSolution every depth up to the limit   Start, Cancel
class PuzzleSolver
{
  public:
    enum class Status
    {
        Idle,
        Running,
        Solved,
        NoSolution,
    };

    struct Result
    {
        bool solved = false;
        std::vector<Swap> moves; // a shortest solution when solved
        uint64_t fieldsVisited = 0;
    };

    // What a puzzle asks of the player, for grading a collection.
    struct Measures
    {
        int par = 0;            // fewest moves that clear the field
        uint64_t solutions = 0; // distinct swap sequences of par moves that clear it
        uint64_t searched = 0;  // positions the solver expanded to prove par
        int wilds = 0;          // Wild blocks on the field
        int cascades = 0;       // fewest moves with a cascade (two clearing rounds or more) any shortest solution has

        // Positions searched per solution: how hard a shortest way is to
        // find. Puzzles are graded by par, then by this.
        [[nodiscard]] double Effort() const
        {
            return solutions > 0 ? static_cast<double>(searched) / static_cast<double>(solutions) : 0.0;
        }
    };

    PuzzleSolver();

    // Starts a search of at most maxMoves swaps from a field; the field is
    // settled first, as the game would have it at rest.
    void Start(const PuzzleField& start, int maxMoves);
    // Searches for about the given time (seconds) and reports where it stands.
    Status Step(double seconds);
    void Cancel();
    [[nodiscard]] Status GetStatus() const { return status; }
    // The shortest solution once Solved (empty when the field was empty).
    [[nodiscard]] const std::vector<Swap>& Moves() const { return path; }
    [[nodiscard]] uint64_t FieldsVisited() const { return visited; }
    // The depth being searched: every shorter one is known to fail.
    [[nodiscard]] int Depth() const { return depth; }

    // The whole search at once, without a time limit.
    Result Solve(const PuzzleField& start, int maxMoves);

    // Par and the other measures of a field, searched up to maxMoves deep;
    // par 0 when it has no solution within maxMoves.
    Measures Measure(const PuzzleField& start, int maxMoves);

    // True when some colour can never leave the field: one or two blocks of it
    // and no Wild to complete a set (a Wild leaves only in a set of three).
    static bool IsHopeless(const PuzzleField& field);

  private:
    // A field packed three bits a cell, the key of the table.
    struct Key
    {
        uint64_t word[3] = {};
        bool operator==(const Key& other) const
        {
            return word[0] == other.word[0] && word[1] == other.word[1] && word[2] == other.word[2];
        }
    };
    struct Entry
    {
        Key key;
        uint32_t search = 0;      // the search that wrote it; older entries count as empty
        int8_t failedWithin = -1; // the field cannot be cleared in this many moves or fewer
    };
    struct Count
    {
        uint64_t solutions = 0;
        int cascades = 0;
    };

    static Key KeyOf(const PuzzleField& field);
    [[nodiscard]] bool KnownToFail(const Key& key, int movesLeft) const;
    void RecordFailure(const Key& key, int movesLeft);
    bool Search(const PuzzleField& field, int movesLeft);
    bool OutOfTime();
    Count CountSolutions(const PuzzleField& field, int movesLeft);

    // A fixed-size table that forgets on collision: an entry lost only costs
    // time, so memory stays bounded on long searches.
    std::vector<Entry> table;
    uint32_t search = 0; // numbers the searches, so Start need not wipe the table
    PuzzleField root;
    int maxDepth = 0;
    int depth = 0;
    Status status = Status::Idle;
    std::vector<Swap> path;
    uint64_t visited = 0;
    // Time limit of the current slice, in steady-clock nanoseconds; 0 for none.
    int64_t deadline = 0;
    bool outOfTime = false;
};
