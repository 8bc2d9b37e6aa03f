// The level editor: painting, erasing, the palette, the move count, the verdict,
// and the try-out on the play screen and back.
#include <tuple>
#include <vector>

#include "data/ProfileStore.h"
#include "data/PuzzleLevel.h"
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

// Without a mouse: the well takes the focus, its cursor moves with the keys
// and the pad and stops at the edges, and what it paints is what is saved.
TEST_F(LevelEditorTest, KeysAndPadPaintWithACursorThatStopsAtTheEdges)
{
    Enter();
    ScreenManager& screens = ScreenManager::Get();
    const auto pad = [&](PadButton button)
    {
        screens.OnPadButton(button);
        Frame(tick + 16);
    };
    Key(KeyCode::Up);                             // no focus yet: Up is still the move count
    ASSERT_TRUE(screens.MoveFocusInOrder(false)); // Tab: the well comes first
    Frame(tick + 16);
    const BoardGeometry& g = Editor().GetBoard().Geometry();
    EXPECT_EQ(std::make_pair(Editor().Cursor().IsHidden(), Editor().Cursor().GetY()),
              std::make_pair(false, g.CellY(9)));
    for (int key : {KeyCode::Left, KeyCode::Down, int{' '}, KeyCode::Right, int{'5'}, KeyCode::Enter, KeyCode::Up,
                    int{']'}, int{' '}, KeyCode::Delete})
        Key(key);
    pad(PadButton::RightShoulder); // from Wild round to Blue

    using Type = PlatformEvent::Type;
    Platform().PushPad(Type::PadAdded, 3);
    Platform().PushPad(Type::PadButtonDown, 3, static_cast<int>(PadButton::DPadRight));
    Frames(tick + 16, tick + 900); // held: the repeats stop at the edge
    Platform().PushPad(Type::PadButtonUp, 3, static_cast<int>(PadButton::DPadRight));
    Frame(tick + 16);
    EXPECT_EQ(Editor().Cursor().GetX(), g.CellX(5));
    for (PadButton button : {PadButton::A, PadButton::DPadDown, PadButton::A, PadButton::X})
        pad(button);
    EXPECT_EQ(EditorRow(8), "666662"); // Wild painted and emptied, then Blue
    EXPECT_EQ(EditorRow(9), "206666"); // Blue, Red (the fifth), Blue emptied

    // A fresh press against the edge goes on to the buttons; Y steps round
    // them back to the well.
    pad(PadButton::DPadRight);
    EXPECT_NE(screens.Focus(), &Editor().WellFocus());
    for (int i = 0; i < 8 && screens.Focus() != &Editor().WellFocus(); ++i)
        pad(PadButton::Y);
    EXPECT_EQ(screens.Focus(), &Editor().WellFocus());

    ASSERT_TRUE(Editor().SaveLevel("pad set", 1));
    PuzzleCells cells;
    cells.fill(BlockType::Empty);
    int moves = 0;
    ASSERT_TRUE(LoadPuzzleLevel(Editor().LevelPath(), cells, moves));
    EXPECT_EQ(std::make_pair(cells, moves), std::make_pair(Editor().Codes(), 2));
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
        ASSERT_TRUE(Current() == &Play() && Play().IsFromEditor());
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

    // Each way back: whether the puzzle is solved first, then the keys.
    const std::tuple<const char*, bool, std::vector<int>> waysBack[] = {
        {"Editor button", false, {'g'}},
        {"Escape, Yes", false, {KeyCode::Escape, 'y'}},
        {"solved, Escape", true, {KeyCode::Escape}},
        {"solved, Editor button", true, {'g'}},
    };
    for (const auto& [name, solved, keys] : waysBack)
    {
        SCOPED_TRACE(name);
        if (name != std::get<0>(waysBack[0]))
            startTryOut();
        if (solved)
            solve();
        for (int key : keys)
            Key(key);
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
