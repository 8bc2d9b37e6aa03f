#pragma once

#include <array>
#include <cstdint>
#include <string>

// One row of a high-score table; a row never filled has an empty name and 0.
struct HighScoreEntry
{
    std::string name;
    int32_t score = 0;
};

// Six tables of ten rows, highest score first: Marathon Easy, Medium, Hard,
// then Time Attack Easy, Medium, Hard. Kept in "Data/HighScores.hsc".
class HighScoreTables
{
  public:
    static constexpr int TableCount = 6;
    static constexpr int RowCount = 10;

    static HighScoreTables& Get();
    static void Destroy();

    virtual ~HighScoreTables() = default;

    // Table of a game: timeAttack false for Marathon; difficultyIndex 0 Easy,
    // 1 Medium, 2 Hard.
    static int TableIndex(bool timeAttack, int difficultyIndex) { return (timeAttack ? 3 : 0) + difficultyIndex; }

    // Puts the score in place of the last row if it beats it, re-sorts the
    // table and saves the file. Needs a chosen profile; ignored otherwise.
    void InsertHighScore(int table, const std::string& name, int32_t score);
    // Sorts one table highest first; rows of equal score swap their order
    // (so a score just put in row 9 ranks above older equal scores).
    void SortTable(int table);

    const HighScoreEntry& GetEntry(int table, int row) const;

    std::array<std::array<HighScoreEntry, RowCount>, TableCount> tables;
};

// Fills the tables from "Data/HighScores.hsc", up to ten rows per table.
// Missing or malformed file: silent, false.
bool LoadHighScores();
// Writes every filled row; on failure shows a warning and keeps the old file.
bool SaveHighScores();
