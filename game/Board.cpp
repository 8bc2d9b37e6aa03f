#include "game/Board.h"

#include "engine/Layout.h"
#include "engine/ScreenManager.h"

BoardGeometry BoardGeometry::ForDisplay(int width, int height)
{
    BoardGeometry g;
    g.cellWidth = FractionOf(width, 0.0625f);
    g.cellHeight = FractionOfDouble(height, 0.0835);
    g.wellLeft = FractionOf(width, 0.04f);
    g.queueTop = FractionOf(height, 0.025f);
    g.wellOffset = FractionOf(height, 0.11f);
    return g;
}

bool BoardGeometry::InWell(int px, int py) const
{
    return px >= wellLeft && px < wellLeft + Board::Columns * cellWidth && py >= WellTop() &&
           py < WellTop() + Board::Rows * cellHeight;
}

bool BoardGeometry::CellAt(int px, int py, int& column, int& row) const
{
    // A zero cell size (no display yet) has no well to point into.
    if (cellWidth <= 0 || cellHeight <= 0 || !InWell(px, py))
        return false;
    column = (px - wellLeft) / cellWidth;
    row = (py - WellTop()) / cellHeight;
    return true;
}

void Board::SetGeometry(int displayWidth, int displayHeight)
{
    geometry = BoardGeometry::ForDisplay(displayWidth, displayHeight);
}

void Board::RandomBlockType(Block& block)
{
    const int first = random->Next();
    if (first % 135 == 0)
    {
        block.SetType(BlockType::Wild);
        return;
    }
    block.SetType(static_cast<BlockType>(random->Next() % BlockColourCount));
}

void Board::DrawFillBlock(int column, int row)
{
    Block& block = Cell(column, row);
    // At most four neighbours rule out at most four of the five colours, so
    // the loop always ends.
    for (;;)
    {
        RandomBlockType(block);
        const BlockType code = block.GetType();
        if (code == BlockType::Wild)
            continue;
        if (column > 0 && Cell(column - 1, row).GetType() == code)
            continue;
        if (column < Columns - 1 && Cell(column + 1, row).GetType() == code)
            continue;
        if (row > 0 && Cell(column, row - 1).GetType() == code)
            continue;
        if (row < Rows - 1 && Cell(column, row + 1).GetType() == code)
            continue;
        return;
    }
}

void Board::RefillEmptyCells()
{
    for (int r = 0; r < Rows; ++r)
    {
        for (int c = 0; c < Columns; ++c)
        {
            if (Cell(c, r).IsEmpty())
                DrawFillBlock(c, r);
        }
    }
}

void Board::SetUp(RulesKind kind, int displayWidth, int displayHeight, ScreenManager& manager)
{
    SetGeometry(displayWidth, displayHeight);
    ResetCellStates();

    // Puzzles have no queue. The tutorial draws its codes and keeps it
    // hidden until one of its steps shows it.
    if (kind != RulesKind::PuzzleChallenge)
    {
        for (int c = 0; c < Columns; ++c)
        {
            Block& block = Queue(c);
            block.SetQueueLook(true);
            RandomBlockType(block);
            block.SetSize(geometry.cellWidth, geometry.cellHeight);
            block.SetPosition(geometry.CellX(c), geometry.queueTop);
            if (kind == RulesKind::Marathon)
                block.Show();
            else
                block.Hide();
            manager.AddControl(&block);
        }
    }

    // Column by column, top to bottom: the neighbours compared with are the
    // cells' current codes, so cells not yet filled still hold what they held.
    for (int c = 0; c < Columns; ++c)
    {
        for (int r = 0; r < Rows; ++r)
        {
            Block& block = Cell(c, r);
            block.SetSize(geometry.cellWidth, geometry.cellHeight);
            block.SetPosition(geometry.CellX(c), geometry.CellY(r));
            block.Show();
            manager.AddControl(&block);
            if (kind == RulesKind::Marathon)
            {
                if (r >= 5)
                    DrawFillBlock(c, r);
                else
                    block.SetType(BlockType::Empty);
            }
            else if (kind == RulesKind::TimeAttack)
            {
                DrawFillBlock(c, r);
            }
        }
    }
}

Board::Codes Board::GetCodes() const
{
    Codes codes{};
    for (int i = 0; i < CellCount; ++i)
        codes[static_cast<size_t>(i)] = cells[static_cast<size_t>(i)].GetType();
    return codes;
}

void Board::SetCodes(const Codes& codes)
{
    for (int r = 0; r < Rows; ++r)
    {
        for (int c = 0; c < Columns; ++c)
        {
            Block& block = Cell(c, r);
            PlaceCell(c, r);
            block.SetFalling(false);
            block.SetClearing(false);
            block.SetMarked(false);
            block.SetType(codes[static_cast<size_t>(r * Columns + c)]);
        }
    }
}

void Board::ClearCells()
{
    for (Block& block : cells)
    {
        block.SetFalling(false);
        block.SetClearing(false);
        block.SetMarked(false);
        block.SetType(BlockType::Empty);
    }
}

void Board::ResetCellStates()
{
    for (Block& block : cells)
        block.ResetStates();
}

bool Board::AllCellsEmpty() const
{
    for (const Block& block : cells)
    {
        if (!block.IsEmpty())
            return false;
    }
    return true;
}

void Board::PlaceCell(int column, int row)
{
    Cell(column, row).SetPosition(geometry.CellX(column), geometry.CellY(row));
}

bool Board::IsCellPictureHome(int column, int row) const
{
    const Block& block = Cell(column, row);
    return block.GetX() == geometry.CellX(column) && block.GetY() == geometry.CellY(row);
}

void Board::ShowCells()
{
    for (Block& block : cells)
        block.Show();
}

void Board::HideCells()
{
    for (Block& block : cells)
        block.Hide();
}

void Board::ClearWarnings()
{
    for (Block& block : cells)
        block.SetWarning(false);
}
