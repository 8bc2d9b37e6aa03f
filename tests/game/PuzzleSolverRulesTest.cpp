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
            (void)rules->TrySwap();
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
        // Two or three colours, three blocks each (one sometimes Wild), dealt into random columns.
        std::vector<BlockType> pile;
        for (int colour = 0; colour < 2 + trial % 2; ++colour)
            pile.insert(pile.end(), 3, static_cast<BlockType>(colour));
        if (trial % 3 == 0)
            pile[random() % pile.size()] = BlockType::Wild;
        std::shuffle(pile.begin(), pile.end(), random);
        Board::Codes start{};
        start.fill(BlockType::Empty);
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
        const PuzzleSolver::Result result = PuzzleSolver().Solve(field, 2);
        SCOPED_TRACE(testing::Message() << "trial " << trial);

        // Exhaustive search through the rules; swaps of equal codes change nothing.
        const auto changes = [](const PuzzleField& f, const Swap& s)
        { return f.At(s.column, s.row) != f.At(s.SecondColumn(), s.SecondRow()); };
        int shortest = field.IsEmpty() ? -1 : 0;
        for (int a = 0; a < SwapCount && shortest == 0; ++a)
        {
            if (!changes(field, SwapAt(a)))
                continue;
            if (ClearsBoard(start, {SwapAt(a)}))
                shortest = 1;
            const PuzzleField after = PuzzleHint::FieldOf(*board);
            const Board::Codes afterCodes = board->GetCodes();
            for (int b = 0; b < SwapCount && shortest == 0; ++b)
                shortest = changes(after, SwapAt(b)) && ClearsBoard(afterCodes, {SwapAt(b)}) ? 2 : 0;
        }
        if (shortest < 0)
            continue;
        EXPECT_EQ(result.solved ? static_cast<int>(result.moves.size()) : 0, shortest);
        solvedBoards += result.solved ? 1 : 0;
        EXPECT_TRUE(!result.solved || ClearsBoard(start, result.moves));
    }
    EXPECT_GE(solvedBoards, 4);
}

} // namespace
