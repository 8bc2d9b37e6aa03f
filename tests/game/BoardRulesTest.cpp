#include <gtest/gtest.h>

#include "game/RulesFixture.h"

namespace
{

const char* const SwapSound = "Data/Sounds/Swap";
const char* const BadSound = "Data/Sounds/Bad";

class BoardRulesTest : public RulesFixture
{
  protected:
    [[nodiscard]] std::pair<int, int> MoverAt() const
    {
        int c = -1, r = -1;
        rules->MoverCell(c, r);
        return {c, r};
    }
};

// --- the mover ---

TEST_F(BoardRulesTest, MoverStaysOnItsAllowedFirstCellsAndFollowsThePointerInsideTheWell)
{
    EXPECT_EQ(MoverAt(), std::make_pair(0, 0));
    EXPECT_EQ(std::make_pair(mover->GetWidth(), mover->GetHeight()), std::make_pair(80, 80));
    rules->MoveMoverUp();
    rules->MoveMoverLeft();
    EXPECT_EQ(MoverAt(), std::make_pair(0, 0));
    for (int i = 0; i < 12; ++i)
    {
        rules->MoveMoverRight();
        rules->MoveMoverDown();
    }
    EXPECT_EQ(MoverAt(), std::make_pair(4, 9)); // horizontal: columns 0..4

    // Flipping at row 9 lifts the vertical mover to row 8; it may then reach column 5.
    rules->FlipMover();
    EXPECT_EQ(std::make_tuple(host.CountSound("Data/Sounds/Flip"), mover->IsHorizontal(), MoverAt()),
              std::make_tuple(1, false, std::make_pair(4, 8)));
    rules->MoveMoverRight();
    rules->MoveMoverRight();
    rules->MoveMoverDown();
    EXPECT_EQ(MoverAt(), std::make_pair(5, 8));
    rules->FlipMover(); // back at column 5: one column left
    EXPECT_EQ(MoverAt(), std::make_pair(4, 8));
    EXPECT_EQ(std::make_pair(mover->GetX(), mover->GetY()), std::make_pair(25 + 4 * 40, 64 + 8 * 40));

    // Cell (5, 3) at 640 x 480: x 225..264, y 184..223.
    rules->FollowPointer(230, 190);
    EXPECT_EQ(MoverAt(), std::make_pair(4, 3)); // a horizontal mover cannot start in column 5
    rules->FlipMover();
    rules->FollowPointer(230, 64 + 9 * 40 + 5);
    EXPECT_EQ(MoverAt(), std::make_pair(5, 8)); // a vertical mover cannot start in row 9
    rules->FollowPointer(25 + 240, 100);        // the right edge is outside
    rules->FollowPointer(100, 63);              // the queue row is outside
    EXPECT_EQ(std::make_pair(rules->PointerX(), rules->PointerY()), std::make_pair(100, 63));
    EXPECT_EQ(MoverAt(), std::make_pair(5, 8));
}

// --- swaps ---

TEST_F(BoardRulesTest, SwapAnimatesForAFifthOfASecondAndExchangesCodesAtTheEnd)
{
    Layout({"RB....", "GOPRBG"});
    rules->PlaceMover(0, 8);
    ASSERT_TRUE(rules->TrySwap());
    ASSERT_TRUE(rules->IsSwapPending());
    const SwapState& s = rules->Swap();
    EXPECT_EQ(std::make_tuple(host.CountSound(SwapSound), s.aColumn, s.bColumn, s.aRow), std::make_tuple(1, 0, 1, 8));

    Step(0.101); // halfway: the pictures cross, the codes stay
    EXPECT_EQ(std::make_pair(board->Cell(0, 8).GetX(), board->Cell(1, 8).GetX()), std::make_pair(25 + 20, 65 - 20));
    EXPECT_EQ(Row(8), "RB....");
    Step(0.09);
    EXPECT_TRUE(rules->IsSwapPending());
    Step(0.02); // past 0.2 s
    EXPECT_EQ(std::make_tuple(rules->IsSwapPending(), Row(8), board->IsCellPictureHome(0, 8),
                              board->IsCellPictureHome(1, 8), s.aColumn, s.bRow),
              std::make_tuple(false, "BR....", true, true, -1, -1));
}

TEST_F(BoardRulesTest, RefusedSwapsPlayTheRefusalSoundAndChangeNothing)
{
    Layout({"......", "R.....", "GOPRBG"});
    const int movesBefore = rules->MovesLeft();

    // Two Empty cells.
    rules->PlaceMover(2, 5);
    EXPECT_FALSE(rules->TrySwap());
    EXPECT_EQ(host.CountSound(BadSound), 1);

    // A picture still travelling to its cell.
    rules->PlaceMover(0, 9);
    board->Cell(1, 9).SetPosition(70, 64 + 9 * 40);
    EXPECT_FALSE(rules->TrySwap());
    board->PlaceCell(1, 9);

    // A falling block, or a falling block above either cell.
    board->Cell(0, 8).SetFalling(true);
    rules->PlaceMover(0, 8);
    EXPECT_FALSE(rules->TrySwap());
    rules->PlaceMover(0, 9);
    EXPECT_FALSE(rules->TrySwap());
    board->Cell(0, 8).SetFalling(false);

    // A clearing block: the swap does not start, so it is refused too.
    board->Cell(2, 9).SetClearing(true);
    rules->PlaceMover(1, 9);
    EXPECT_FALSE(rules->TrySwap());

    EXPECT_EQ(std::make_pair(host.CountSound(BadSound), host.CountSound(SwapSound)), std::make_pair(5, 0));
    EXPECT_EQ(std::make_tuple(rules->IsSwapPending(), rules->MovesLeft(), Row(9)),
              std::make_tuple(false, movesBefore, "GOPRBG"));
}

// --- gravity ---

TEST_F(BoardRulesTest, ABlockFallsOneCellPerHundredthOfASecond)
{
    Layout({"G.....", "......", "......", "R....."});
    const double start = App().time;
    const RulesStepResult r = Step(0.0);
    EXPECT_TRUE(r.falling && !r.setsFound);
    ASSERT_TRUE(board->Cell(0, 6).IsFalling());

    App().time = start + 0.0051;
    rules->RulesStep();
    // Halfway down its cell.
    EXPECT_EQ(std::make_pair(board->Cell(0, 6).GetY(), At(0, 6)), std::make_pair(64 + 6 * 40 + 20, BlockType::Green));

    App().time = start + 0.0101;
    rules->RulesStep();
    EXPECT_EQ(Row(6) + Row(7), "......G....."); // one cell down, and falling again
    EXPECT_TRUE(board->Cell(0, 7).IsFalling() && board->IsCellPictureHome(0, 6));

    Settle(0.011);
    EXPECT_EQ(Row(8) + Row(9), "G.....R.....");
    EXPECT_TRUE(board->IsCellPictureHome(0, 8));

    // A column above a gap falls together.
    Layout({"B.....", "O.....", "......", "G....."});
    Step(0.0);
    EXPECT_TRUE(board->Cell(0, 7).IsFalling());
    Step(0.0);
    EXPECT_TRUE(board->Cell(0, 6).IsFalling()); // resting on a falling block
    Settle(0.011);
    EXPECT_EQ(Row(7) + Row(8) + Row(9), "B.....O.....G.....");
}

// The pending swap holding its cells and being finished by the next one,
// undo and the move limit are played by simulator scripts
// (marathon_swap_holds, puzzle_undo, puzzle_fail).

} // namespace
