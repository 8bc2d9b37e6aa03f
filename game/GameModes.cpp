#include "game/GameModes.h"

#include <charconv>
#include <cstdio>

int DifficultyIndexOf(int difficulty)
{
    if (difficulty == Difficulty::Easy)
        return 0;
    if (difficulty == Difficulty::Medium)
        return 1;
    return 2;
}

int TimeLimitOf(int difficulty)
{
    static const int limits[] = {210, 150, 90};
    return limits[DifficultyIndexOf(difficulty)];
}

int HighScoreTableOf(GameType type, int difficulty)
{
    if (type == GameType::PuzzleChallenge)
        return -1;
    return (type == GameType::TimeAttack ? 3 : 0) + DifficultyIndexOf(difficulty);
}

RulesKind RulesKindOf(GameType type)
{
    switch (type)
    {
    case GameType::PuzzleChallenge:
        return RulesKind::PuzzleChallenge;
    case GameType::TimeAttack:
        return RulesKind::TimeAttack;
    case GameType::Marathon:
    default:
        return RulesKind::Marathon;
    }
}

std::string TimeLeftText(int wholeSeconds)
{
    if (wholeSeconds <= 0)
        return "Time Left:";
    char text[48];
    std::snprintf(text, sizeof text, "Time Left: %02d:%02d", wholeSeconds / 60, wholeSeconds % 60);
    return text;
}

PuzzleTexts PuzzleTextsOf(const std::string& path)
{
    PuzzleTexts texts;
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return texts;

    // The file name up to its first full stop starts with the puzzle number.
    const std::string file = path.substr(slash + 1, path.find('.', slash + 1) - (slash + 1));
    int number = 0;
    (void)std::from_chars(file.data(), file.data() + file.size(), number);
    texts.levelText = "Level " + std::to_string(number);

    // The set name is the directory part after its own last slash.
    const std::string directory = path.substr(0, slash);
    const size_t setSlash = directory.find_last_of('/');
    const std::string set = setSlash == std::string::npos ? directory : directory.substr(setSlash + 1);
    const size_t space = set.find(' ');
    if (space != std::string::npos)
        texts.setText = "Puzzles: " + set.substr(space);
    return texts;
}
