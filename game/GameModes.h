#pragma once

#include <cstdint>
#include <string>

#include "game/BoardRulesHost.h"

// The three game types the play screen plays.
enum class GameType : int32_t
{
    Marathon = 0,
    PuzzleChallenge = 1,
    TimeAttack = 2,
};

// Difficulty values; the value is also the Marathon start level. Any other
// value plays as Hard.
namespace Difficulty
{
inline constexpr int Easy = 1;
inline constexpr int Medium = 3;
inline constexpr int Hard = 6;
} // namespace Difficulty

// 0 Easy, 1 Medium, 2 Hard (anything else) - the high-score table column.
[[nodiscard]] int DifficultyIndexOf(int difficulty);
// Time Attack limit in seconds: 210, 150 or 90.
[[nodiscard]] int TimeLimitOf(int difficulty);
// The high-score table of a Marathon or Time Attack game; -1 for puzzles.
[[nodiscard]] int HighScoreTableOf(GameType type, int difficulty);
[[nodiscard]] RulesKind RulesKindOf(GameType type);

// "Time Left: mm:ss" for the whole seconds left, or "Time Left:" alone when
// nothing (or less than a second) is left.
[[nodiscard]] std::string TimeLeftText(int wholeSeconds);

// The two puzzle texts a level path gives: "Level %d" from the number at the
// start of the file name, and "Puzzles: %s" from the set name's first space
// on. Each is empty when the path does not give it (no slash; a set name
// without a space).
struct PuzzleTexts
{
    std::string levelText;
    std::string setText;
};
[[nodiscard]] PuzzleTexts PuzzleTextsOf(const std::string& path);
