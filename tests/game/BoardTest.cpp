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
        const int left = g.wellLeft;
        const int top = g.WellTop();
        const int cell = g.cellWidth;
        EXPECT_EQ(g.cellHeight, cell);
        EXPECT_EQ(g.queueTop, queueTop);
        int c = -1;
        int r = -1;
        // Corners of the well are inside, the right and bottom edges outside.
        EXPECT_TRUE(g.CellAt(left + 6 * cell - 1, top + 10 * cell - 1, c, r));
        EXPECT_EQ(std::make_pair(c, r), std::make_pair(5, 9));
        EXPECT_TRUE(g.CellAt(left + 2 * cell + cell / 2, top + 7 * cell, c, r));
        EXPECT_EQ(std::make_pair(c, r), std::make_pair(2, 7));
        EXPECT_TRUE(g.InWell(left, top));
        EXPECT_FALSE(g.InWell(left + 6 * cell, top));
        EXPECT_FALSE(g.InWell(left, top + 10 * cell));
        EXPECT_FALSE(g.InWell(left - 1, top));
        EXPECT_FALSE(g.InWell(left, top - 1)); // the queue row is not the well
    }
    // No display yet: no well, and no division by a zero cell.
    BoardGeometry none;
    int c = 0;
    int r = 0;
    EXPECT_FALSE(none.CellAt(0, 0, c, r));
}

class BoardTest : public RulesFixture
{
  protected:
    [[nodiscard]] bool IsRegistered(const Control* control) const
    {
        const auto& list = ScreenManager::Get().Controls();
        return std::find(list.begin(), list.end(), control) != list.end();
    }

    // No Wild and no two orthogonal neighbours of one code among the filled cells.
    void ExpectNoWildAndNoLikeNeighbours(int firstRow)
    {
        for (int r = firstRow; r < Board::Rows; ++r)
        {
            for (int c = 0; c < Board::Columns; ++c)
            {
                const BlockType t = At(c, r);
                ASSERT_TRUE(IsBlockColour(t)) << c << "," << r;
                ASSERT_TRUE(c + 1 == Board::Columns || t != At(c + 1, r)) << c << "," << r;
                ASSERT_TRUE(r + 1 == Board::Rows || t != At(c, r + 1)) << c << "," << r;
            }
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

    // Replay the generator beside the board's own.
    for (uint32_t seed : {1u, 7u, 12345u, 99999u})
    {
        board->Seed(seed);
        Random replay(seed);
        int wilds = 0;
        for (int i = 0; i < 3000; ++i)
        {
            Block& block = board->Queue(0);
            board->RandomBlockType(block);
            const int first = replay.Next();
            if (first % 135 == 0)
            {
                ASSERT_EQ(block.GetType(), BlockType::Wild);
                ++wilds;
            }
            else
            {
                ASSERT_EQ(static_cast<int>(block.GetType()), replay.Next() % 5);
            }
        }
        EXPECT_LT(wilds, 60); // about 1 in 135
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
        EXPECT_EQ(board->Cell(5, 9).GetX(), g.wellLeft + 5 * g.cellWidth);
        EXPECT_EQ(board->Cell(5, 9).GetY(), g.CellY(9));
        for (int i = 0; i < Board::CellCount; ++i)
        {
            Block& block = board->CellAtIndex(i);
            EXPECT_FALSE(block.IsFalling() || block.IsClearing() || block.IsWarning() || block.IsMarked());
            EXPECT_FALSE(block.IsHidden());
        }
        EXPECT_EQ(manager.Controls().size(), static_cast<size_t>(Board::CellCount) + (k.queueRegistered ? 6 : 0));
        for (int c = 0; c < Board::Columns && k.queueRegistered; ++c)
        {
            const Block& q = board->Queue(c);
            EXPECT_TRUE(IsRegistered(&q));
            EXPECT_EQ(q.IsHidden(), !k.queueShown);
            EXPECT_TRUE(q.IsQueueLook());
            EXPECT_EQ(std::make_pair(q.GetX(), q.GetY()), std::make_pair(g.wellLeft + c * g.cellWidth, g.queueTop));
            EXPECT_TRUE(!k.queueShown || q.GetType() != BlockType::Empty);
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

TEST_F(BoardTest, CodesRoundTripAndClearResetsEverything)
{
    Layout({"RO5BPG", "GWOBRP"});
    board->Cell(0, 8).SetClearing(true);
    board->Cell(1, 9).SetFalling(true);
    board->Cell(1, 9).SetPosition(3, 3);
    const Board::Codes codes = board->GetCodes();
    EXPECT_EQ(codes[8 * 6 + 2], BlockType::NoPicture);
    EXPECT_EQ(codes[9 * 6 + 1], BlockType::Wild);
    board->SetCodes(codes);
    EXPECT_FALSE(board->Cell(0, 8).IsClearing());
    EXPECT_FALSE(board->Cell(1, 9).IsFalling());
    EXPECT_TRUE(board->IsCellPictureHome(1, 9));
    EXPECT_FALSE(board->AllCellsEmpty());
    board->ClearCells();
    EXPECT_TRUE(board->AllCellsEmpty());

    board->Cell(2, 2).SetWarning(true);
    board->HideCells();
    EXPECT_TRUE(board->Cell(4, 7).IsHidden());
    board->ShowCells();
    EXPECT_FALSE(board->Cell(4, 7).IsHidden());
    board->ClearWarnings();
    EXPECT_FALSE(board->Cell(2, 2).IsWarning());
}

} // namespace
