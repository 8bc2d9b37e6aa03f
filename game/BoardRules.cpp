#include "game/BoardRules.h"

#include <limits>

#include "app/Application.h"
#include "game/BlockMover.h"
#include "game/Scoring.h"

namespace
{

double Now()
{
    return Application::Get().time;
}

} // namespace

BoardRules::BoardRules(Board& boardRef, BlockMover& moverRef, Scoring& scoringRef, BoardRulesHost& hostRef)
    : board(boardRef), mover(moverRef), scoring(scoringRef), host(hostRef)
{
}

void BoardRules::Reset()
{
    swap = SwapState{};
    matchSoundPlayed = false;
    lastMatchSound = 0.0;
}

// --- the mover -------------------------------------------------------------

void BoardRules::PlaceMover(int column, int row)
{
    const BoardGeometry& g = board.Geometry();
    mover.SetSize(2 * g.cellWidth, 2 * g.cellHeight);
    mover.SetPosition(g.CellX(column), g.CellY(row));
}

void BoardRules::MoverCell(int& column, int& row) const
{
    const BoardGeometry& g = board.Geometry();
    if (g.cellWidth <= 0 || g.cellHeight <= 0)
    {
        column = 0;
        row = 0;
        return;
    }
    column = (mover.GetX() - g.wellLeft) / g.cellWidth;
    row = (mover.GetY() - g.WellTop()) / g.cellHeight;
}

void BoardRules::MoveMoverUp()
{
    int c = 0;
    int r = 0;
    MoverCell(c, r);
    if (r > 0)
        PlaceMover(c, r - 1);
}

void BoardRules::MoveMoverDown()
{
    int c = 0;
    int r = 0;
    MoverCell(c, r);
    const int lastRow = mover.IsHorizontal() ? Board::Rows - 1 : Board::Rows - 2;
    if (r < lastRow)
        PlaceMover(c, r + 1);
}

void BoardRules::MoveMoverLeft()
{
    int c = 0;
    int r = 0;
    MoverCell(c, r);
    if (c > 0)
        PlaceMover(c - 1, r);
}

void BoardRules::MoveMoverRight()
{
    int c = 0;
    int r = 0;
    MoverCell(c, r);
    const int lastColumn = mover.IsHorizontal() ? Board::Columns - 2 : Board::Columns - 1;
    if (c < lastColumn)
        PlaceMover(c + 1, r);
}

void BoardRules::FlipMover()
{
    host.PlaySound("Data/Sounds/Flip");
    int c = 0;
    int r = 0;
    MoverCell(c, r);
    mover.SetOrientation(mover.IsHorizontal() ? BlockMover::Vertical : BlockMover::Horizontal);
    if (mover.IsHorizontal() && c == Board::Columns - 1)
        --c;
    if (!mover.IsHorizontal() && r == Board::Rows - 1)
        --r;
    PlaceMover(c, r);
}

void BoardRules::FollowPointer(int px, int py)
{
    pointerX = px;
    pointerY = py;
    int c = 0;
    int r = 0;
    if (!board.Geometry().CellAt(px, py, c, r))
        return;
    if (mover.IsHorizontal() && c == Board::Columns - 1)
        c = Board::Columns - 2;
    if (!mover.IsHorizontal() && r == Board::Rows - 1)
        r = Board::Rows - 2;
    PlaceMover(c, r);
}

// --- moves -----------------------------------------------------------------

bool BoardRules::TrySwap()
{
    if (swap.swapping)
        FinishSwap();

    int c1 = 0;
    int r1 = 0;
    MoverCell(c1, r1);
    const int c2 = mover.IsHorizontal() ? c1 + 1 : c1;
    const int r2 = mover.IsHorizontal() ? r1 : r1 + 1;

    bool allowed = Board::IsInside(c1, r1) && Board::IsInside(c2, r2);
    if (allowed)
    {
        const Block& a = board.Cell(c1, r1);
        const Block& b = board.Cell(c2, r2);
        allowed = !(a.IsEmpty() && b.IsEmpty()) && !a.IsFalling() && !b.IsFalling() &&
                  !(r1 > 0 && board.Cell(c1, r1 - 1).IsFalling()) && !(r2 > 0 && board.Cell(c2, r2 - 1).IsFalling()) &&
                  board.IsCellPictureHome(c1, r1) && board.IsCellPictureHome(c2, r2);
    }
    // A refused move, and one that did not start (no moves left, a block
    // clearing), both tell the player with the same sound.
    if (!allowed || !StartSwap(c1, r1, c2, r2))
    {
        host.PlaySound("Data/Sounds/Bad");
        return false;
    }
    return true;
}

bool BoardRules::StartSwap(int c1, int r1, int c2, int r2)
{
    if (!Board::IsInside(c1, r1) || !Board::IsInside(c2, r2))
        return false;
    // A move count read as zero or negative allows no move at all.
    if (Kind() == RulesKind::PuzzleChallenge && movesLeft <= 0)
        return false;
    if (board.Cell(c1, r1).IsClearing() || board.Cell(c2, r2).IsClearing())
        return false;

    if (Kind() == RulesKind::PuzzleChallenge)
        undoStack.push_back(board.GetCodes());

    swap.aColumn = c1;
    swap.aRow = r1;
    swap.bColumn = c2;
    swap.bRow = r2;
    swap.swapping = true;
    swap.swapStart = Now();
    host.PlaySound("Data/Sounds/Swap");

    // Outside Puzzle Challenge the counter runs below zero unseen; a board
    // without a game type counts no moves.
    if (Kind() != RulesKind::Neutral)
    {
        if (movesLeft > std::numeric_limits<int>::min())
            --movesLeft;
        host.MovesLeftChanged(movesLeft);
    }
    return true;
}

void BoardRules::FinishSwap()
{
    if (!swap.swapping)
        return;
    board.PlaceCell(swap.aColumn, swap.aRow);
    board.PlaceCell(swap.bColumn, swap.bRow);
    Block& a = board.Cell(swap.aColumn, swap.aRow);
    Block& b = board.Cell(swap.bColumn, swap.bRow);
    const BlockType aType = a.GetType();
    a.SetType(b.GetType());
    b.SetType(aType);
    swap = SwapState{};
}

void BoardRules::StepSwap()
{
    if (!swap.swapping)
        return;
    const double elapsed = Now() - swap.swapStart;
    if (elapsed > SwapSeconds)
    {
        FinishSwap();
        return;
    }
    const double t = elapsed / SwapSeconds;
    const BoardGeometry& g = board.Geometry();
    const int ax = g.CellX(swap.aColumn);
    const int ay = g.CellY(swap.aRow);
    const int bx = g.CellX(swap.bColumn);
    const int by = g.CellY(swap.bRow);
    board.Cell(swap.aColumn, swap.aRow)
        .SetPosition(ax + static_cast<int>((bx - ax) * t), ay + static_cast<int>((by - ay) * t));
    board.Cell(swap.bColumn, swap.bRow)
        .SetPosition(bx + static_cast<int>((ax - bx) * t), by + static_cast<int>((ay - by) * t));
}

bool BoardRules::IsSwapCell(int column, int row) const
{
    return swap.swapping &&
           ((column == swap.aColumn && row == swap.aRow) || (column == swap.bColumn && row == swap.bRow));
}

// --- gravity ---------------------------------------------------------------

// Rows from the top down, so that a whole column above a gap starts to fall
// in the same pass; a code moves down one cell per finished fall.
bool BoardRules::ApplyGravity()
{
    bool anyFalling = false;
    const double now = Now();
    const int cellHeight = board.Geometry().cellHeight;
    for (int r = 0; r < Board::Rows - 1; ++r)
    {
        for (int c = 0; c < Board::Columns; ++c)
        {
            Block& block = board.Cell(c, r);
            Block& below = board.Cell(c, r + 1);
            if (block.IsFalling())
            {
                if (IsSwapCell(c, r))
                {
                    block.SetFalling(false);
                    continue;
                }
                anyFalling = true;
                const double elapsed = now - block.FallStart();
                if (elapsed <= FallSeconds)
                {
                    block.SetPosition(block.FallFromX(),
                                      block.FallFromY() + static_cast<int>(cellHeight * elapsed / FallSeconds));
                }
                else if (!below.IsFalling())
                {
                    block.SetFalling(false);
                    block.SetPosition(block.FallFromX(), block.FallFromY());
                    below.SetType(block.GetType());
                    block.SetType(BlockType::Empty);
                }
                continue;
            }
            if (!block.IsEmpty() && !block.IsClearing() && !IsSwapCell(c, r + 1) &&
                (below.IsEmpty() || below.IsFalling()))
            {
                block.SetFalling(true);
                anyFalling = true;
            }
        }
    }
    return anyFalling;
}

bool BoardRules::IsSettled(int column, int row) const
{
    const Block& block = board.Cell(column, row);
    if (block.IsFalling() || block.IsClearing())
        return false;
    if (row == Board::Rows - 1)
        return true;
    const Block& below = board.Cell(column, row + 1);
    return !below.IsEmpty() && !below.IsFalling();
}

// --- matching --------------------------------------------------------------

void BoardRules::RecordSet(bool alongRow, int line, int first, int length)
{
    // A board without a game type clears sets but counts nothing.
    const bool counted = Kind() != RulesKind::Neutral;
    if (counted)
        scoring.AddSet(length);
    for (int i = 0; i < length; ++i)
    {
        Block& block = alongRow ? board.Cell(first + i, line) : board.Cell(line, first + i);
        if (!block.IsClearing())
        {
            block.SetMarked(true);
            if (counted)
                scoring.AddBlock();
        }
    }
    if (counted && scoring.ChainMultiplier() > 1)
    {
        const Block& firstBlock = alongRow ? board.Cell(first, line) : board.Cell(line, first);
        const BoardGeometry& g = board.Geometry();
        SetArea area;
        area.isRow = alongRow;
        area.x = firstBlock.GetX();
        area.y = firstBlock.GetY();
        area.width = alongRow ? length * g.cellWidth : g.cellWidth;
        area.height = alongRow ? g.cellHeight : length * g.cellHeight;
        host.ShowMultiplier(scoring.ChainMultiplier(), area);
    }
}

void BoardRules::EndRun(bool alongRow, int line, int end, int colour, int& length, bool& hasWild,
                        bool (&colourFlags)[BlockColourCount], bool& found)
{
    if (length >= 3)
    {
        if (hasWild)
            colourFlags[colour] = true;
        RecordSet(alongRow, line, end - length, length);
        found = true;
    }
    length = 0;
    hasWild = false;
}

void BoardRules::ApplyColumnWarnings()
{
    for (int c = 0; c < Board::Columns; ++c)
    {
        const Block& top = board.Cell(c, 0);
        if (!top.IsWarning() && !top.IsEmpty())
        {
            host.ShowMessage("Uh oh!");
            for (int r = 0; r < Board::Rows; ++r)
                board.Cell(c, r).SetWarning(true);
        }
        else if (top.IsWarning() && top.IsEmpty())
        {
            for (int r = 0; r < Board::Rows; ++r)
                board.Cell(c, r).SetWarning(false);
        }
    }
}

// Each colour is walked on its own, so a Wild joins the run of every colour
// it completes: Red, Red, Wild, Blue, Blue, Blue holds a Red set and a Blue
// set that share the Wild.
bool BoardRules::FindSets()
{
    if (swap.swapping)
        return false;

    bool colourFlags[BlockColourCount] = {};
    bool found = false;

    for (int pass = 0; pass < 2; ++pass)
    {
        const bool alongRow = pass == 0;
        const int lines = alongRow ? Board::Rows : Board::Columns;
        const int span = alongRow ? Board::Columns : Board::Rows;
        for (int line = 0; line < lines; ++line)
        {
            for (int colour = 0; colour < BlockColourCount; ++colour)
            {
                int length = 0;
                bool hasWild = false;
                for (int i = 0; i < span; ++i)
                {
                    const int c = alongRow ? i : line;
                    const int r = alongRow ? line : i;
                    if (!IsSettled(c, r))
                    {
                        EndRun(alongRow, line, i, colour, length, hasWild, colourFlags, found);
                        continue;
                    }
                    const BlockType code = board.Cell(c, r).GetType();
                    if (code == static_cast<BlockType>(colour))
                    {
                        ++length;
                    }
                    else if (code == BlockType::Wild)
                    {
                        ++length;
                        hasWild = true;
                    }
                    else
                    {
                        EndRun(alongRow, line, i, colour, length, hasWild, colourFlags, found);
                    }
                }
                EndRun(alongRow, line, span, colour, length, hasWild, colourFlags, found);
            }
        }
    }

    // A set holding a Wild clears every resting block of its colour, even
    // one already clearing (its half second starts over); these score nothing.
    for (int c = 0; c < Board::Columns; ++c)
    {
        for (int r = 0; r < Board::Rows; ++r)
        {
            Block& block = board.Cell(c, r);
            const BlockType code = block.GetType();
            if (!IsBlockColour(code) || !colourFlags[static_cast<int>(code)] || block.IsFalling())
                continue;
            if (r == Board::Rows - 1)
            {
                block.SetMarked(true);
                continue;
            }
            const Block& below = board.Cell(c, r + 1);
            if (!below.IsEmpty() && !below.IsFalling())
                block.SetMarked(true);
        }
    }

    if (Kind() == RulesKind::Marathon)
        ApplyColumnWarnings();

    for (int i = 0; i < Board::CellCount; ++i)
    {
        Block& block = board.CellAtIndex(i);
        if (block.IsMarked())
        {
            block.SetClearing(true);
            block.SetMarked(false);
        }
    }

    if (found)
    {
        const double now = Now();
        if (!matchSoundPlayed || now - lastMatchSound > MatchSoundSeconds)
        {
            host.PlaySound("Data/Sounds/TigerStab");
            lastMatchSound = now;
            matchSoundPlayed = true;
        }
    }
    return found;
}

// --- clearing and the step -------------------------------------------------

bool BoardRules::ClearingPass(bool& anyClearing)
{
    anyClearing = false;
    const double now = Now();
    for (int r = 0; r < Board::Rows; ++r)
    {
        for (int c = 0; c < Board::Columns; ++c)
        {
            Block& block = board.Cell(c, r);
            if (!swap.swapping && !block.IsFalling() && !board.IsCellPictureHome(c, r))
                board.PlaceCell(c, r);
            if (!block.IsEmpty() && block.IsClearing())
            {
                anyClearing = true;
                if (now - block.ClearStart() > ClearSeconds)
                {
                    block.SetClearing(false);
                    block.SetType(BlockType::Empty);
                }
            }
        }
    }
    // Decided after the whole pass, so blocks that vanished in it count as Empty.
    return board.AllCellsEmpty();
}

RulesStepResult BoardRules::RulesStep()
{
    RulesStepResult result;
    StepSwap();
    result.falling = ApplyGravity();
    if (!result.falling)
        result.setsFound = FindSets();
    result.allEmpty = ClearingPass(result.clearing);
    return result;
}

// --- Puzzle Challenge ------------------------------------------------------

void BoardRules::SetMoves(int total)
{
    movesTotal = total;
    movesLeft = total;
    undoStack.clear();
}

bool BoardRules::Undo()
{
    if (movesLeft >= movesTotal || undoStack.empty())
        return false;
    const Board::Codes snapshot = undoStack.back();
    undoStack.pop_back();
    FinishSwap();
    board.SetCodes(snapshot);
    ++movesLeft;
    host.MovesLeftChanged(movesLeft);
    host.UndoApplied(movesLeft, movesTotal);
    return true;
}
