#pragma once

#include <string>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/FocusArea.h"
#include "engine/Screen.h"
#include "game/BlockMover.h"
#include "game/Board.h"
#include "game/PuzzleSolver.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"
#include "screens/LevelFileChooser.h"

// Builds Puzzle Challenge levels: the left button paints blocks of the colour
// picked in the palette into the well (also while dragged), the right button
// erases, the arrows set the moves allowed (1 to 99), Load and Save go
// through the in-game file chooser, and Play tries the level out on the play
// screen, whose Editor button comes back here. The level and the move count
// stay between visits. Escape leads back to the puzzle selection. Under the
// move count the solver's verdict on the board follows every change: the
// fewest moves that clear it, or that none within 99 do; the search runs a
// few milliseconds a frame, so painting never stalls.
//
// Without a mouse the well takes the focus like a button (first in the Tab
// order, and where the first d-pad press goes): the cursor then marks a cell
// that the arrows or the d-pad move, stopping at the edges. Space, Enter or
// A paints the cell, Delete, Backspace or X empties it. A fresh d-pad press
// against an edge (not a held repeat) carries the focus on to the buttons
// beside, as on any menu; Tab, Shift+Tab and Y step through the well and the
// buttons in order. The keys 1 to 6, [ and ], or the shoulder buttons pick
// the palette's colour. Up and Down set the move count while the well does
// not have the focus; + and - always do.
class LevelEditorScreen : public Screen, public ButtonListener
{
  public:
    static constexpr int MinMoves = 1;
    static constexpr int MaxMoves = 99;
    static constexpr int PaletteSize = 6;
    // Search time per frame for the verdict, in seconds.
    static constexpr double VerdictSliceSeconds = 0.008;
    // Palette order, left to right and top to bottom.
    static constexpr BlockType Palette[PaletteSize] = {BlockType::Blue,   BlockType::Green, BlockType::Orange,
                                                       BlockType::Purple, BlockType::Red,   BlockType::Wild};

    static LevelEditorScreen& Get();
    static LevelEditorScreen* Existing();
    static void Destroy();

    LevelEditorScreen();

    void OnEnter() override;
    void OnExit() override {}
    void OnKey(int key, bool alt) override;
    // The file chooser keeps Tab and Enter, and takes the pad as its keys:
    // the d-pad as the arrows, A as Enter, B as Escape, Y as Tab.
    bool KeepsKey(int key) const override;
    bool OnPadButton(PadButton button) override;
    void OnLeftButtonDown(int x, int y) override;
    void OnLeftButtonUp(int x, int y) override;
    void OnRightButtonDown(int x, int y) override;
    void OnRightButtonUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void Update(int framesSinceSwitch) override;
    void OnButtonClicked(Button* button) override;

    // Replaces the level with a file's (resource path). A file that cannot be
    // read leaves the level as it was; its move count is kept within 1..99.
    bool LoadLevel(const std::string& path);
    // Writes the level as puzzle number of the set (in the save folder).
    bool SaveLevel(const std::string& setName, int number);
    // The file the level was last loaded from or saved to; empty if none.
    [[nodiscard]] const std::string& LevelPath() const { return levelPath; }

    [[nodiscard]] Board::Codes Codes() const { return board.GetCodes(); }
    [[nodiscard]] BlockType CurrentType() const { return currentType; }
    [[nodiscard]] int Moves() const { return moves; }
    [[nodiscard]] Board& GetBoard() { return board; }
    [[nodiscard]] BlockMover& Cursor() { return cursor; }
    [[nodiscard]] Sprite& PaletteBlock(int index) { return palette[index]; }
    [[nodiscard]] Sprite& PaletteMark() { return paletteMark; }
    [[nodiscard]] TextLabel& MovesLabel() { return movesLabel; }
    [[nodiscard]] TextLabel& VerdictLabel() { return verdictLabel; }
    [[nodiscard]] Button& MovesUp() { return movesUp; }
    [[nodiscard]] Button& MovesDown() { return movesDown; }
    [[nodiscard]] Button& LoadButton() { return loadButton; }
    [[nodiscard]] Button& SaveButton() { return saveButton; }
    [[nodiscard]] Button& PlayButton() { return playButton; }
    [[nodiscard]] LevelFileChooser& Chooser() { return chooser; }
    [[nodiscard]] FocusArea& WellFocus() { return wellFocus; }
    // The cell the cursor marks for the keys and the pad.
    [[nodiscard]] int CursorColumn() const { return cursorColumn; }
    [[nodiscard]] int CursorRow() const { return cursorRow; }

  private:
    enum class Brush
    {
        None,
        Paint,
        Erase,
    };

    void Layout(int w, int h);
    void PlaceMark();
    void ShowMoves();
    void UpdateVerdict();
    void ChangeMoves(int delta);
    void PaintAt(int x, int y);
    void PickColour(int index);
    void CycleColour(int step);
    // Moves the cursor by a cell; false at the well's edge.
    bool MoveCursor(int dc, int dr);
    bool SteerCursor(PadButton direction, bool repeat);
    void PaintCursorCell(BlockType type);
    [[nodiscard]] bool OnCursorKey(int key);
    void OpenSaveChooser();
    void LeaveEditor();

    Board board;
    BlockMover cursor;
    BlockType currentType = BlockType::Blue;
    int moves = MinMoves;
    int mouseX = -1;
    int mouseY = -1;
    Brush brush = Brush::None; // what a drag over the well does
    int lastColumn = -1;       // the cell the drag painted last; -1 none
    int lastRow = -1;
    // Levels are built from the floor up: the cursor starts bottom left.
    int cursorColumn = 0;
    int cursorRow = Board::Rows - 1;
    std::string levelPath;

    Sprite well;
    FocusArea wellFocus;
    Sprite infoPanel;
    Sprite palette[PaletteSize];
    Sprite paletteMark;
    TextLabel movesLabel;
    TextLabel verdictLabel;
    PuzzleSolver verdictSolver;
    PuzzleField verdictField; // the board the verdict is about
    bool verdictKnown = false;
    Button movesUp;
    Button movesDown;
    Button loadButton;
    Button saveButton;
    Button playButton;
    LevelFileChooser chooser;
};
