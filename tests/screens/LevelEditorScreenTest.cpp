// The level editor: painting, erasing, the palette, the move count, the verdict,
// and the try-out on the play screen and back.
#include <functional>
#include <tuple>

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
    EXPECT_EQ(std::make_tuple(Editor().Cursor().IsHidden(), EditorRow(9), EditorRow(0)),
              std::make_tuple(true, "066666", "666666"));

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
    EXPECT_EQ(std::make_pair(Editor().Moves(), Editor().MovesLabel().GetText()),
              std::make_pair(98, std::string("Moves: 98")));
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
        EXPECT_EQ(std::make_pair(Row(9), Play().Rules().MovesLeft()), std::make_pair(std::string("006066"), 1));
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
    EXPECT_EQ(std::make_tuple(Row(9), Play().Rules().MovesLeft(), Play().IsOver()),
              std::make_tuple("006066", 1, false));

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
        EXPECT_EQ(std::make_tuple(Current(), Play().IsFromEditor(), Editor().Codes(), Editor().Moves()),
                  std::make_tuple(static_cast<Screen*>(&Editor()), false, level, 1));
    }
}

// The solver's verdict under the move count follows the board.
TEST_F(LevelEditorTest, VerdictFollowsTheBoardBeingPainted)
{
    Enter();
    EXPECT_EQ(Editor().VerdictLabel().GetText(), "");
    PaintThreeReds();
    Frame(tick + 16);
    EXPECT_EQ(Editor().VerdictLabel().GetText(), "best: 1 move");
    ClickCell(3, 9, true); // two Reds can never clear
    Frame(tick + 16);
    EXPECT_EQ(Editor().VerdictLabel().GetText(), "no solution in 99");
}

} // namespace
