#pragma once

#include <string>

// Which variant of the rules a board plays. The three game types map onto
// the first three; a board without a game type (the tutorial) plays Neutral:
// no undo history, no move limit or count, no column warnings, no chain
// counting (so no multiplier text), no level-ups.
enum class RulesKind
{
    Marathon,
    PuzzleChallenge,
    TimeAttack,
    Neutral,
};

// Where a set lies on screen, for placing the multiplier text: the rectangle
// covering the set's blocks. A row set's text is centred horizontally over
// the rectangle at its top; a column set's text stands at its left edge,
// centred vertically.
struct SetArea
{
    bool isRow = true;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What the rules and the scoring need from the screen that owns the board.
// The screen implements it; tests implement it with a recorder.
class BoardRulesHost
{
  public:
    virtual ~BoardRulesHost() = default;

    [[nodiscard]] virtual RulesKind GetRulesKind() const = 0;
    // A short message in the speech bubble ("Good!", "Uh oh!", "Level Up!").
    virtual void ShowMessage(const std::string& text) = 0;
    // An effect by its name, e.g. "Data/Sounds/Swap".
    virtual void PlaySound(const std::string& name) = 0;
    // Shows "x%d" with the multiplier over the set, and records the time so
    // that the text is hidden 1.0 s later.
    virtual void ShowMultiplier(int multiplier, const SetArea& area) = 0;
    // The counters changed: refresh "Moves Left: %d", "Score: %d",
    // "High Score: %d" and "Level: %d".
    virtual void MovesLeftChanged(int movesLeft) = 0;
    virtual void ScoreChanged(int score) = 0;
    virtual void HighScoreChanged(int best) = 0;
    virtual void LevelChanged(int level) = 0;
    // An undo was applied (moves left already increased): un-fail a failed
    // puzzle, forget a pending failure, and hide the Undo button once no move
    // is left to take back.
    virtual void UndoApplied(int movesLeft, int movesTotal) = 0;
};
