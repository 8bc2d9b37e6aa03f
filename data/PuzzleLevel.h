#pragma once

#include "game/BlockType.h"

#include <array>
#include <string>
#include <vector>

// Puzzle Challenge level files ("*.qvl"): the starting layout of the 6 x 10
// field and the number of moves allowed, as a small XML text:
//
//   <qvl moves="12">
//      <block x="0" y="9" color="2"/>
//   </qvl>
//
// Shipped puzzles live in sets, one directory per set under "Data/Levels",
// named "001.qvl", "002.qvl", ...

constexpr int PuzzleColumns = 6;
constexpr int PuzzleRows = 10;
constexpr int PuzzleCellCount = PuzzleColumns * PuzzleRows;
// Largest move count a file can give; more would only grow the undo history.
constexpr int MaxPuzzleMoves = 999;

// Codes of the 60 cells in row-major order: cell (x, y) is element y * 6 + x,
// row 0 at the top. The game copies them into its board.
using PuzzleCells = std::array<BlockType, PuzzleCellCount>;

// Reads a level through the resource file system (backslashes in path count
// as slashes). Sets the cells named in the file, leaving the others as they
// are (callers start from all Empty), and stores the move count, clamped to
// 0..MaxPuzzleMoves. Shows a warning and returns false for a missing or
// malformed file; cells set before the fault keep their codes. Entries outside
// the field, with an unknown colour or with non-numeric attributes are
// skipped.
[[nodiscard]] bool LoadPuzzleLevel(const std::string& path, PuzzleCells& cells, int& moves);
// The same, but the warning text is stored in *warning instead of shown, so
// that a screen loading many files can show each problem once.
[[nodiscard]] bool LoadPuzzleLevel(const std::string& path, PuzzleCells& cells, int& moves, std::string* warning);

// Writes the level to an operating-system path. On failure shows a warning,
// returns false and leaves any previous file at path untouched.
bool SavePuzzleLevel(const std::string& path, const PuzzleCells& cells, int moves);

// True when the file can be read through the resource file system and is
// well-formed XML; its content is not checked.
[[nodiscard]] bool PuzzleExists(const std::string& path);

// The puzzle to play after the one at path ("Data/Levels/<set>/<nnn>.qvl"):
// the next number in the same set, else "001.qvl" of the first later set that
// has one, else "".
std::string NextPuzzlePath(const std::string& path);

// The puzzle sets: the directories of "Data/Levels", in listing order.
std::vector<std::string> ListPuzzleSets();
// The level files (names ending in ".qvl") of one set, in listing order.
std::vector<std::string> ListPuzzleFiles(const std::string& setName);
// "Data/Levels/<set>/<file>".
std::string PuzzlePath(const std::string& setName, const std::string& fileName);
// "%03d.qvl": 1 gives "001.qvl", 1000 gives "1000.qvl".
std::string PuzzleFileName(long long number);
