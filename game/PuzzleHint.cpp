#include "game/PuzzleHint.h"

PuzzleField PuzzleHint::FieldOf(const Board& board)
{
    PuzzleField field;
    for (int row = 0; row < Board::Rows; ++row)
    {
        for (int column = 0; column < Board::Columns; ++column)
        {
            const Block& block = board.Cell(column, row);
            // A block still clearing is as good as gone.
            const BlockType type = block.IsClearing() ? BlockType::Empty : block.GetType();
            field.Set(column, row, static_cast<uint8_t>(type));
        }
    }
    return field;
}

void PuzzleHint::Cancel()
{
    wanted = false;
    searching = false;
    solver.Cancel();
}

PuzzleHint::Outcome PuzzleHint::Update(const Board& board, int movesLeft, bool atRest, double sliceSeconds)
{
    if (!wanted || !atRest)
        return Outcome::None;
    const PuzzleField field = FieldOf(board);
    if (!searching || !(field == searched) || movesLeft != searchedMoves)
    {
        searched = field;
        searchedMoves = movesLeft;
        solver.Start(field, movesLeft);
        searching = true;
    }
    const PuzzleSolver::Status status = solver.Step(sliceSeconds);
    if (status == PuzzleSolver::Status::Running)
        return Outcome::None;
    const bool found = status == PuzzleSolver::Status::Solved && !solver.Moves().empty();
    if (found)
        first = solver.Moves().front();
    Cancel();
    return found ? Outcome::Swap : Outcome::NoWayOut;
}
