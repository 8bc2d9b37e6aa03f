#pragma once

#include <array>
#include <cstdint>

#include "game/Block.h"
#include "game/BoardRulesHost.h"
#include "game/Random.h"

class ScreenManager;

// Pixel geometry of the well and the queue for one display size.
struct BoardGeometry
{
    int cellWidth = 0;
    int cellHeight = 0;
    int wellLeft = 0;
    int queueTop = 0;
    int wellOffset = 0; // from the queue's top to the top of row 0

    [[nodiscard]] static BoardGeometry ForDisplay(int width, int height);
    [[nodiscard]] int CellX(int column) const { return wellLeft + column * cellWidth; }
    [[nodiscard]] int CellY(int row) const { return queueTop + wellOffset + row * cellHeight; }
    [[nodiscard]] int WellTop() const { return queueTop + wellOffset; }
    [[nodiscard]] bool InWell(int px, int py) const;
    // The cell under a point of the well; false outside it.
    [[nodiscard]] bool CellAt(int px, int py, int& column, int& row) const;
};

// The playing field: 60 cells in row-major order (cell (c, r) is element
// r * 6 + c, row 0 at the top) and a queue of 6 blocks above the columns.
// The screen that plays owns one; the blocks live as long as it does and a
// new game only changes their codes and states.
class Board
{
  public:
    static constexpr int Columns = 6;
    static constexpr int Rows = 10;
    static constexpr int CellCount = Columns * Rows;

    using Codes = std::array<BlockType, CellCount>;

    Board() = default;
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    [[nodiscard]] static bool IsInside(int column, int row)
    {
        return column >= 0 && column < Columns && row >= 0 && row < Rows;
    }
    [[nodiscard]] Block& Cell(int column, int row) { return cells[static_cast<size_t>(row * Columns + column)]; }
    [[nodiscard]] const Block& Cell(int column, int row) const
    {
        return cells[static_cast<size_t>(row * Columns + column)];
    }
    [[nodiscard]] Block& CellAtIndex(int index) { return cells[static_cast<size_t>(index)]; }
    [[nodiscard]] Block& Queue(int column) { return queue[static_cast<size_t>(column)]; }
    [[nodiscard]] const Block& Queue(int column) const { return queue[static_cast<size_t>(column)]; }

    [[nodiscard]] const BoardGeometry& Geometry() const { return geometry; }
    void SetGeometry(int displayWidth, int displayHeight);

    // The random source: the game's shared generator unless a test or a
    // preview hands the board its own.
    [[nodiscard]] Random& GetRandom() { return *random; }
    void UseRandom(Random& source) { random = &source; }
    // Seeds the random source (the screens pass Random::TickSeed()).
    void Seed(uint32_t seed) { random->Seed(seed); }

    // One or two draws of the random source: Wild with probability 1/135,
    // otherwise one of the five colours.
    void RandomBlockType(Block& block);
    // Draws for cell (c, r) until the code is a colour that differs from each
    // orthogonal neighbour's current code.
    void DrawFillBlock(int column, int row);
    // Time Attack refill: every Empty cell, row by row, gets DrawFillBlock.
    void RefillEmptyCells();

    // A new game: geometry for the display, states cleared, queue and cells
    // placed, sized, shown and registered, codes drawn for the game type
    // (Puzzle Challenge and Neutral keep the codes the cells hold). The
    // queue is registered in every kind but Puzzle Challenge, and shown
    // only in Marathon.
    void SetUp(RulesKind kind, int displayWidth, int displayHeight, ScreenManager& manager);

    // Puzzle layouts and undo snapshots: codes in row-major order.
    [[nodiscard]] Codes GetCodes() const;
    // Every cell takes its code, not falling, not clearing, not marked and
    // back on its cell's position.
    void SetCodes(const Codes& codes);
    // Every cell Empty with its states cleared.
    void ClearCells();
    // Falling, clearing, marked and warning cleared on every cell.
    void ResetCellStates();
    [[nodiscard]] bool AllCellsEmpty() const;

    // Puts a cell's picture back on its cell's position.
    void PlaceCell(int column, int row);
    [[nodiscard]] bool IsCellPictureHome(int column, int row) const;
    void ShowCells();
    void HideCells();
    // The warning blink of every column off (pause, game over).
    void ClearWarnings();

  private:
    std::array<Block, CellCount> cells;
    std::array<Block, Columns> queue;
    BoardGeometry geometry;
    Random* random = &Random::Game(); // not owned
};
