// The level editor: painting, erasing, the palette, the move count, and the
// try-out on the play screen and back.
#include <functional>

#include "data/ProfileStore.h"
#include "screens/LevelEditorFixture.h"

namespace
{

using LevelEditorTest = LevelEditorFixture;

TEST_F(LevelEditorTest, PaletteLeftAndRightButtonsAndMoveLimits)
{
    Enter();
    EXPECT_EQ(Editor().CurrentType(), BlockType::Blue);
    for (int i = 0; i < LevelEditorScreen::PaletteSize; ++i)
    {
        Sprite& block = Editor().PaletteBlock(i);
        ClickControl(block);
        EXPECT_EQ(Editor().CurrentType(), LevelEditorScreen::Palette[i]);
        const Sprite& mark = Editor().PaletteMark();
        EXPECT_EQ(std::make_pair(mark.GetX() + mark.GetWidth() / 2, mark.GetY() + mark.GetHeight() / 2),
                  std::make_pair(block.GetX() + block.GetWidth() / 2, block.GetY() + block.GetHeight() / 2));
    }

    ClickCell(0, 9); // Wild, the last picked
    ClickControl(Editor().PaletteBlock(4));
    ClickCell(0, 9); // painting over replaces
    ClickCell(5, 0);
    ClickCell(4, 0, true); // erasing an empty cell changes nothing
    ClickCell(5, 0, true);
    EXPECT_FALSE(Editor().Cursor().IsHidden()); // over the well
    Click(2, 2);                                // outside it
    EXPECT_TRUE(Editor().Cursor().IsHidden());
    EXPECT_EQ(EditorRow(9), "066666");
    EXPECT_EQ(EditorRow(0), "666666");

    // A drag paints every cell it crosses.
    const BoardGeometry& g = Editor().GetBoard().Geometry();
    ScreenManager::Get().OnLeftButtonDown(g.CellX(0) + 2, g.CellY(5) + 2);
    ScreenManager::Get().OnMouseMove(g.CellX(3) + 2, g.CellY(5) + 2);
    ScreenManager::Get().OnLeftButtonUp(g.CellX(3) + 2, g.CellY(5) + 2);
    ScreenManager::Get().OnMouseMove(g.CellX(5) + 2, g.CellY(5) + 2);
    EXPECT_EQ(EditorRow(5), "000066");

    ClickControl(Editor().MovesDown());
    EXPECT_EQ(Editor().Moves(), 1);
    for (int i = 0; i < 120; ++i)
        Key(KeyCode::Up);
    EXPECT_EQ(Editor().Moves(), 99);
    ClickControl(Editor().MovesUp());
    ClickControl(Editor().MovesDown());
    EXPECT_EQ(Editor().Moves(), 98);
    EXPECT_EQ(Editor().MovesLabel().GetText(), "Moves: 98");
}

TEST_F(LevelEditorTest, TryOutRestartsFromTheLevelAndEveryWayOutReturnsToItUnchanged)
{
    ProfileStore::Get().SetProfileName(0, "Ed");
    ProfileStore::Get().SetCurrentProfile(0);
    Enter();
    PaintThreeReds();
    const Board::Codes level = Editor().Codes();

    auto startTryOut = [&]
    {
        Key('p');
        Frame(tick + 16);
        ASSERT_EQ(Current(), &Play());
        ASSERT_TRUE(Play().IsFromEditor());
        EXPECT_EQ(Row(9), "006066");
        EXPECT_EQ(Play().Rules().MovesLeft(), 1);
    };
    auto solve = [&]
    {
        Play().Rules().PlaceMover(2, 9);
        Key(' ');
        Frames(tick + 16, tick + 1200);
        ASSERT_TRUE(Play().IsSolved());
    };

    startTryOut();
    EXPECT_EQ(Play().HudLine(0).GetText(), "Puzzles: Level Editor");
    solve();
    EXPECT_TRUE(Play().FirstButton().IsHidden()); // no Next Puzzle
    EXPECT_TRUE(ProfileStore::Get().GetProfile(0)->completedPuzzles.empty());
    Key('r'); // Restart: the editor's layout and count again
    Frame(tick + 16);
    EXPECT_EQ(Row(9), "006066");
    EXPECT_EQ(Play().Rules().MovesLeft(), 1);
    EXPECT_FALSE(Play().IsOver());

    const std::pair<const char*, std::function<void()>> waysBack[] = {
        {"Editor button", [&] { Key('g'); }},
        {"Escape, Yes", [&] { Key(KeyCode::Escape), Key('y'); }},
        {"solved, Escape", [&] { solve(), Key(KeyCode::Escape); }},
        {"solved, Editor button", [&] { solve(), Key('g'); }},
    };
    for (const auto& [name, leave] : waysBack)
    {
        SCOPED_TRACE(name);
        if (name != waysBack[0].first)
            startTryOut();
        leave();
        Frame(tick + 16);
        EXPECT_EQ(Current(), &Editor());
        EXPECT_FALSE(Play().IsFromEditor());
        EXPECT_EQ(Editor().Codes(), level);
        EXPECT_EQ(Editor().Moves(), 1);
    }
}

} // namespace
