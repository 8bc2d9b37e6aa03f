// The solver against the game's own rules on random small boards: every
// solution it finds clears the board when played move by move, and when it
// finds none within two moves, no sequence of one or two swaps does.
#include "RulesFixture.h"

#include <algorithm>
#include <random>

#include "game/PuzzleHint.h"

namespace
{

class PuzzleSolverRulesTest : public RulesFixture
{
  protected:
    // Plays the swaps through the rules, each left to settle; true when the board ends empty.
    bool ClearsBoard(const Board::Codes& start, const std::vector<Swap>& moves)
    {
        board->SetCodes(start);
        rules->SetMoves(99);
        for (const Swap& swap : moves)
        {
            rules->PlaceMover(swap.column, swap.row);
            mover->SetOrientation(swap.vertical ? BlockMover::Vertical : BlockMover::Horizontal);
            if (!rules->TrySwap())
                return false;
            Settle(0.05);
        }
        return PuzzleHint::FieldOf(*board).IsEmpty();
    }
};

TEST_F(PuzzleSolverRulesTest, SolutionsClearTheRealBoardAndNoneIsMissedWithinTwoMoves)
{
    host.kind = RulesKind::PuzzleChallenge;
    std::mt19937 random(2024);
    int solvedBoards = 0;
    for (int trial = 0; trial < 30; ++trial)
    {
        // Two or three colours, three blocks each (one sometimes Wild), dealt
        // into random columns.
        Board::Codes start{};
        start.fill(BlockType::Empty);
        std::vector<BlockType> pile;
        for (int colour = 0; colour < 2 + trial % 2; ++colour)
            pile.insert(pile.end(), 3, static_cast<BlockType>(colour));
        if (trial % 3 == 0)
            pile[random() % pile.size()] = BlockType::Wild;
        std::shuffle(pile.begin(), pile.end(), random);
        int heights[Board::Columns] = {};
        for (BlockType type : pile)
        {
            const int column = static_cast<int>(random() % Board::Columns);
            start[static_cast<size_t>((Board::Rows - 1 - heights[column]++) * Board::Columns + column)] = type;
        }
        // Sets dealt ready-made clear first, as they would in a game.
        board->SetCodes(start);
        Settle(0.05);
        start = board->GetCodes();
        const PuzzleField field = PuzzleHint::FieldOf(*board);
        if (field.IsEmpty())
            continue;
        PuzzleSolver solver;
        const PuzzleSolver::Result result = solver.Solve(field, 2);
        SCOPED_TRACE(testing::Message() << "trial " << trial);

        // Exhaustive search through the real rules, skipping swaps of equal codes.
        int shortest = 0;
        for (int a = 0; a < SwapCount && shortest != 1; ++a)
        {
            const Swap first = SwapAt(a);
            if (field.At(first.column, first.row) == field.At(first.SecondColumn(), first.SecondRow()))
                continue;
            if (ClearsBoard(start, {first}))
                shortest = 1;
            const PuzzleField after = PuzzleHint::FieldOf(*board);
            const Board::Codes afterCodes = board->GetCodes();
            for (int b = 0; b < SwapCount && shortest == 0; ++b)
            {
                const Swap second = SwapAt(b);
                if (after.At(second.column, second.row) != after.At(second.SecondColumn(), second.SecondRow()) &&
                    ClearsBoard(afterCodes, {second}))
                    shortest = 2;
            }
        }
        EXPECT_EQ(result.solved ? static_cast<int>(result.moves.size()) : 0, shortest);
        if (result.solved)
        {
            ++solvedBoards;
            EXPECT_TRUE(ClearsBoard(start, result.moves));
        }
    }
    EXPECT_GE(solvedBoards, 4);
    EXPECT_LT(solvedBoards, 25);
}

} // namespace
