#pragma once

#include <string>
#include <vector>

#include "data/PuzzleLevel.h"

// The puzzle files the level editor opens and writes: every set under
// "Data/Levels" of all mounted folders (the game folder, its archives and the
// save folder), and new levels written as "Data/Levels/<set>/<NNN>.qvl" into
// the folder saves go to, where the puzzle selection finds them at once.

constexpr size_t MaxSetNameBytes = 40;
constexpr int MaxLevelNumber = 999;

// One set and its level files (names ending in ".qvl"), in name order.
struct LevelSetFiles
{
    std::string name;
    std::vector<std::string> files;
};

// Every set that holds at least one level file, in name order.
[[nodiscard]] std::vector<LevelSetFiles> ListLevelLibrary();

// Why a set name cannot be used for a directory of its own; empty when it can.
// A name is refused when it is empty, longer than MaxSetNameBytes, holds a
// slash or a backslash (the loader reads both as separators), "..", or a
// control character, or is nothing but dots.
[[nodiscard]] std::string SetNameProblem(const std::string& name);

// "Data/Levels/<set>/<NNN>.qvl" (number 1 .. MaxLevelNumber).
[[nodiscard]] std::string LevelPathOf(const std::string& setName, int number);
// The set and number of such a path; false for any other path.
[[nodiscard]] bool SplitLevelPath(const std::string& path, std::string& setName, int& number);
// True when a file is found at the resource path in any mounted folder.
[[nodiscard]] bool LevelFileExists(const std::string& path);
// One past the highest numbered file of the set (1 for a new set), at most
// MaxLevelNumber.
[[nodiscard]] int NextFreeLevelNumber(const std::string& setName);

// Writes a level as "Data/Levels/<set>/<NNN>.qvl" in the save folder,
// creating the set's directory there. The name must pass SetNameProblem and
// the number lie in 1 .. MaxLevelNumber. Shows the save warning and returns
// false when it cannot be written; an older file at the place stays intact.
[[nodiscard]] bool WriteLevelFile(const std::string& setName, int number, const PuzzleCells& cells, int moves);
