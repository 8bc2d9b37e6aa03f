#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/ScreenManager.h"
#include "game/RulesFixture.h"

namespace
{

// The cell, left edge and row 0 at each size are checked with the play screen's layout.
TEST(BoardGeometryTest, TheWellsEdgesAndTheQueueRow)
{
    for (const auto& [width, height, queueTop] :
         std::initializer_list<std::tuple<int, int, int>>{{640, 480, 12}, {800, 600, 15}, {1024, 768, 19}})
    {
        const BoardGeometry g = BoardGeometry::ForDisplay(width, height);
        const int left = g.wellLeft, top = g.WellTop(), cell = g.cellWidth;
        EXPECT_EQ(std::make_pair(g.cellHeight, g.queueTop), std::make_pair(cell, queueTop));
        const auto cellAt = [&g](int x, int y)
        {
            int c = -1, r = -1;
            const bool in = g.CellAt(x, y, c, r);
            return std::make_tuple(in, c, r);
        };
        // Corners of the well are inside, the right and bottom edges outside;
        // the queue row above is not the well.
        EXPECT_EQ(cellAt(left + 6 * cell - 1, top + 10 * cell - 1), std::make_tuple(true, 5, 9));
        EXPECT_EQ(cellAt(left + 2 * cell + cell / 2, top + 7 * cell), std::make_tuple(true, 2, 7));
        EXPECT_EQ(std::make_tuple(g.InWell(left, top), g.InWell(left + 6 * cell, top), g.InWell(left, top + 10 * cell),
                                  g.InWell(left - 1, top), g.InWell(left, top - 1)),
                  std::make_tuple(true, false, false, false, false));
    }
    // No display yet: no well, and no division by a zero cell.
    int c = 0, r = 0;
    EXPECT_FALSE(BoardGeometry().CellAt(0, 0, c, r));
}

class BoardTest : public RulesFixture
{
  protected:
    // No Wild and no two orthogonal neighbours of one code among the filled cells.
    void ExpectNoWildAndNoLikeNeighbours(int firstRow)
    {
        for (int i = firstRow * Board::Columns; i < Board::CellCount; ++i)
        {
            const int c = i % Board::Columns, r = i / Board::Columns;
            const BlockType t = At(c, r);
            ASSERT_TRUE(IsBlockColour(t) && (c + 1 == Board::Columns || t != At(c + 1, r)) &&
                        (r + 1 == Board::Rows || t != At(c, r + 1)))
                << Row(r) << " at " << c << "," << r;
        }
    }
};

TEST_F(BoardTest, RandomBlockTypeUsesOneDrawForWildAndTwoForAColour)
{
    // Every board draws from the game's one generator unless given its own.
    EXPECT_EQ(&board->GetRandom(), &Random::Game());
    Random own(3);
    Board other;
    other.UseRandom(own);
    other.RandomBlockType(other.Queue(0));
    EXPECT_NE(own.State(), 3u);

    // Replay the generator beside the board's own (about one Wild in 135).
    board->Seed(12345);
    Random replay(12345);
    for (int i = 0; i < 3000; ++i)
    {
        Block& block = board->Queue(0);
        board->RandomBlockType(block);
        const BlockType expected =
            replay.Next() % 135 == 0 ? BlockType::Wild : static_cast<BlockType>(replay.Next() % 5);
        ASSERT_EQ(block.GetType(), expected) << i;
    }
}

TEST_F(BoardTest, DrawFillBlockNeverGivesAWildOrALikeNeighbour)
{
    // Four different neighbours leave only the fifth colour.
    Layout({"......", "......", "......", "......", "......", "......", "......", "..R...", ".OPB..", "..G..."});
    for (uint32_t seed = 1; seed <= 200; ++seed)
    {
        board->Seed(seed);
        board->DrawFillBlock(2, 8);
        ASSERT_EQ(At(2, 8), BlockType::Purple) << seed;
        board->Cell(2, 8).SetType(BlockType::Red);
    }
    // Whole fills over many seeds (some of which draw Wilds first).
    for (uint32_t seed = 1; seed <= 300; ++seed)
    {
        board->Seed(seed * 7919u);
        for (int c = 0; c < Board::Columns; ++c)
            for (int r = 0; r < Board::Rows; ++r)
                board->DrawFillBlock(c, r);
        ExpectNoWildAndNoLikeNeighbours(0);
    }
}

TEST_F(BoardTest, SetUpFillsByGameTypeAndRegistersTheQueueOnlyWhenPlayed)
{
    // Marathon fills the bottom half, Time Attack the whole well; puzzles and
    // a board without a game type keep the loaded layout. Only the played
    // types show the queue, and puzzles leave it out altogether.
    const struct
    {
        RulesKind kind;
        int width;
        int firstFilled; // -1: the layout is kept
        bool queueRegistered;
        bool queueShown;
    } kinds[] = {
        {RulesKind::Marathon, 800, 5, true, true},
        {RulesKind::TimeAttack, 640, 0, true, false},
        {RulesKind::PuzzleChallenge, 1024, -1, false, false},
        {RulesKind::Neutral, 640, -1, true, false},
    };
    for (const auto& k : kinds)
    {
        SCOPED_TRACE(static_cast<int>(k.kind));
        ScreenManager::Destroy();
        ScreenManager& manager = ScreenManager::Get();
        Layout({"R.....", "W....."});
        const Board::Codes loaded = board->GetCodes();
        // A previous game's states must not survive into the new one.
        board->Cell(3, 3).SetFalling(true);
        board->Cell(4, 4).SetClearing(true);
        board->Cell(5, 5).SetWarning(true);
        board->Cell(1, 1).SetMarked(true);
        board->Seed(4242);
        board->SetUp(k.kind, k.width, k.width * 3 / 4, manager);
        if (k.firstFilled < 0)
            EXPECT_EQ(board->GetCodes(), loaded);
        else
            ExpectNoWildAndNoLikeNeighbours(k.firstFilled);
        for (int r = 0; r < k.firstFilled; ++r)
            EXPECT_EQ(Row(r), "......");

        const BoardGeometry& g = board->Geometry();
        for (int i = 0; i < Board::CellCount; ++i)
        {
            Block& block = board->CellAtIndex(i);
            EXPECT_FALSE(block.IsFalling() || block.IsClearing() || block.IsWarning() || block.IsMarked() ||
                         block.IsHidden());
        }
        EXPECT_EQ(manager.Controls().size(), static_cast<size_t>(Board::CellCount) + (k.queueRegistered ? 6 : 0));
        const auto& controls = manager.Controls();
        for (int c = 0; c < Board::Columns && k.queueRegistered; ++c)
        {
            const Block& q = board->Queue(c);
            EXPECT_EQ(std::make_tuple(std::find(controls.begin(), controls.end(), &q) != controls.end(), q.IsHidden(),
                                      q.IsQueueLook(), q.GetX(), q.GetY(),
                                      !k.queueShown || q.GetType() != BlockType::Empty),
                      std::make_tuple(true, !k.queueShown, true, g.wellLeft + c * g.cellWidth, g.queueTop, true));
        }
    }

    // The same seed gives the same game.
    board->Seed(4242);
    board->SetUp(RulesKind::TimeAttack, 640, 480, ScreenManager::Get());
    const Board::Codes first = board->GetCodes();
    board->Seed(4242);
    board->ClearCells();
    board->SetUp(RulesKind::TimeAttack, 640, 480, ScreenManager::Get());
    EXPECT_EQ(board->GetCodes(), first);
}

} // namespace
