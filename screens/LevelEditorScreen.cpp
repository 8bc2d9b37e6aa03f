#include "screens/LevelEditorScreen.h"

#include <algorithm>
#include <cstdlib>

#include "app/Application.h"
#include "data/LevelLibrary.h"
#include "data/XmlText.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "game/PlayScreen.h"
#include "game/PuzzleHint.h"
#include "screens/MenuRecipes.h"
#include "screens/PuzzleLevelSelectScreen.h"

namespace
{

LevelEditorScreen* instance = nullptr;

// Palette positions: three columns, two rows, in palette order.
constexpr float PaletteX[3] = {0.657812f, 0.74375f, 0.829687f};
constexpr float PaletteY[2] = {0.3125f, 0.427083f};

void SetUpArrow(Button& arrow, const char* movie, int w, int h)
{
    arrow.SetNormalMovie(movie);
    arrow.SetMouseOverMovie(movie);
    arrow.SetMouseDownMovie(movie);
    arrow.SetSize(FractionOf(w, 0.05f), FractionOf(h, 0.05f));
}

} // namespace

LevelEditorScreen& LevelEditorScreen::Get()
{
    if (!instance)
        instance = new LevelEditorScreen();
    return *instance;
}

LevelEditorScreen* LevelEditorScreen::Existing()
{
    return instance;
}

void LevelEditorScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

LevelEditorScreen::LevelEditorScreen()
{
    for (Button* button : {&movesUp, &movesDown, &loadButton, &saveButton, &playButton})
        button->SetListener(this);
    loadButton.SetHotkey('l', false);
    saveButton.SetHotkey('s', false);
    playButton.SetHotkey('p', false);
    movesLabel.SetColour(Colour(0x33, 0x33, 0x33, 255));
    verdictLabel.SetColour(Colour(0x33, 0x33, 0x33, 255));
    for (int i = 0; i < PaletteSize; ++i)
        palette[i].SetMovie(Block::PicturePath(Palette[i], false));
    // The cursor frames the one cell under the mouse: the upper half of the
    // horizontal mover's picture, squeezed to one cell's width.
    cursor.SetOrientation(BlockMover::Horizontal);
    wellFocus.SetOnPress(
        [this]
        {
            PaintCursorCell(currentType);
            return true;
        });
    wellFocus.SetOnSteer([this](PadButton direction, bool repeat) { return SteerCursor(direction, repeat); });
}

void LevelEditorScreen::Layout(int w, int h)
{
    infoPanel.SetMovie("Data/Graphics/PlayGame/InfoBox.swf");
    infoPanel.SetSize(FractionOf(w, 0.3953125f), FractionOf(h, 0.97083f));
    infoPanel.SetPosition(FractionOf(w, 0.575f), h / 2 - infoPanel.GetHeight() / 2);
    well.SetMovie("Data/Graphics/PlayGame/GameWell.swf");
    well.SetSize(infoPanel.GetWidth(), infoPanel.GetHeight());
    well.SetPosition(FractionOf(w, 0.033f), h / 2 - well.GetHeight() / 2);
    // The whole well picture, so the well comes first in reading order.
    wellFocus.SetPosition(well.GetX(), well.GetY());
    wellFocus.SetSize(well.GetWidth(), well.GetHeight());

    const BoardGeometry g = BoardGeometry::ForDisplay(w, h);
    for (int i = 0; i < PaletteSize; ++i)
    {
        palette[i].SetSize(g.cellWidth, g.cellHeight);
        palette[i].SetPosition(FractionOf(w, PaletteX[i % 3]), FractionOf(h, PaletteY[i / 3]));
    }
    paletteMark.SetMovie("Data/Graphics/Editor/BlockHighlight.swf");
    paletteMark.SetSize(static_cast<int>(g.cellWidth * 1.14), static_cast<int>(g.cellHeight * 1.14));
    PlaceMark();

    movesLabel.SetFont(GameFont, FractionOf(w, 0.035f));
    movesLabel.SetPosition(FractionOf(w, 0.591f), FractionOf(h, 0.1f));
    verdictLabel.SetFont(GameFont, FractionOf(w, 0.026f));
    verdictLabel.SetPosition(FractionOf(w, 0.591f), FractionOf(h, 0.225f));
    SetUpArrow(movesUp, "Data/Graphics/Editor/UpArrow.swf", w, h);
    movesUp.SetPosition(FractionOf(w, 0.6925f), FractionOf(h, 0.05f));
    SetUpArrow(movesDown, "Data/Graphics/Editor/DownArrow.swf", w, h);
    movesDown.SetPosition(FractionOf(w, 0.6925f), FractionOf(h, 0.16f));

    SetUpSmallButton(loadButton, w, h, "Data/Graphics/Editor/LoadLevel.swf");
    SetUpSmallButton(saveButton, w, h, "Data/Graphics/Editor/SaveLevel.swf");
    SetUpSmallButton(playButton, w, h, "Data/Graphics/Editor/PlayLevel.swf");
    const int x = FractionOf(w, 0.62305f);
    loadButton.SetPosition(x, FractionOf(h, 0.698f));
    saveButton.SetPosition(x, FractionOf(h, 0.789f));
    playButton.SetPosition(x, FractionOf(h, 0.88f));

    cursor.SetSize(g.cellWidth, 2 * g.cellHeight);
    cursor.Hide();
}

void LevelEditorScreen::OnEnter()
{
    Application& app = Application::Get();
    int w = 0;
    int h = 0;
    app.GetSize(w, h);
    app.SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    chooser.Close();
    brush = Brush::None;
    Layout(w, h);

    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&well);
    screens.AddControl(&wellFocus);
    screens.AddControl(&infoPanel);
    // The cells keep their codes: the level stays between visits.
    board.SetUp(RulesKind::PuzzleChallenge, w, h, screens);
    screens.AddControl(&cursor);
    screens.AddControl(&paletteMark);
    for (Sprite& block : palette)
        screens.AddControl(&block);
    for (Control* control :
         {static_cast<Control*>(&movesLabel), static_cast<Control*>(&verdictLabel), static_cast<Control*>(&movesUp),
          static_cast<Control*>(&movesDown), static_cast<Control*>(&loadButton), static_cast<Control*>(&saveButton),
          static_cast<Control*>(&playButton)})
        screens.AddControl(control);
    ShowMoves();
}

void LevelEditorScreen::PlaceMark()
{
    const int index = static_cast<int>(std::find(std::begin(Palette), std::end(Palette), currentType) - Palette);
    const Sprite& block = palette[index];
    paletteMark.SetPosition(block.GetX() + block.GetWidth() / 2 - paletteMark.GetWidth() / 2,
                            block.GetY() + block.GetHeight() / 2 - paletteMark.GetHeight() / 2);
}

void LevelEditorScreen::ShowMoves()
{
    movesLabel.SetText(FormatC("Moves: %d", moves));
}

void LevelEditorScreen::ChangeMoves(int delta)
{
    const int changed = std::clamp(moves + delta, MinMoves, MaxMoves);
    if (changed == moves)
        return;
    moves = changed;
    ShowMoves();
}

// Paints (or erases) the cell under the point and, during a drag, every cell
// on the way from the last one, so a quick stroke leaves no gaps.
void LevelEditorScreen::PaintAt(int x, int y)
{
    int column = 0;
    int row = 0;
    if (brush == Brush::None || !board.Geometry().CellAt(x, y, column, row))
    {
        lastColumn = -1;
        return;
    }
    const BlockType type = brush == Brush::Paint ? currentType : BlockType::Empty;
    int c = lastColumn < 0 ? column : lastColumn;
    int r = lastColumn < 0 ? row : lastRow;
    for (;;)
    {
        Block& block = board.Cell(c, r);
        if (block.GetType() != type)
            block.SetType(type);
        if (c == column && r == row)
            break;
        const int dc = column - c;
        const int dr = row - r;
        if (std::abs(dc) >= std::abs(dr))
            c += dc > 0 ? 1 : -1;
        else
            r += dr > 0 ? 1 : -1;
    }
    lastColumn = column;
    lastRow = row;
}

// --- input -------------------------------------------------------------------

void LevelEditorScreen::OnLeftButtonDown(int x, int y)
{
    // The chooser lies over the well: nothing under it is painted.
    if (chooser.IsOpen())
        return;
    for (int i = 0; i < PaletteSize; ++i)
    {
        if (palette[i].HitTest(x, y))
        {
            PickColour(i);
            break;
        }
    }
    brush = Brush::Paint;
    lastColumn = -1;
    PaintAt(x, y);
}

void LevelEditorScreen::OnLeftButtonUp(int x, int y)
{
    (void)x;
    (void)y;
    if (brush == Brush::Paint)
        brush = Brush::None;
}

void LevelEditorScreen::OnRightButtonDown(int x, int y)
{
    if (chooser.IsOpen())
        return;
    brush = Brush::Erase;
    lastColumn = -1;
    PaintAt(x, y);
}

void LevelEditorScreen::OnRightButtonUp(int x, int y)
{
    (void)x;
    (void)y;
    if (brush == Brush::Erase)
        brush = Brush::None;
}

void LevelEditorScreen::OnMouseMove(int x, int y)
{
    mouseX = x;
    mouseY = y;
    // The cursor follows the mouse over the well; the keys move it on from
    // there.
    int column = 0;
    int row = 0;
    if (board.Geometry().CellAt(x, y, column, row))
    {
        cursorColumn = column;
        cursorRow = row;
    }
    if (chooser.IsOpen())
        brush = Brush::None;
    PaintAt(x, y);
}

// The verdict starts again whenever the board differs from the one it is
// about, and runs one slice a frame until it is known.
void LevelEditorScreen::UpdateVerdict()
{
    const PuzzleField field = PuzzleHint::FieldOf(board);
    const bool changed = !(field == verdictField);
    if (changed || verdictSolver.GetStatus() == PuzzleSolver::Status::Idle)
    {
        verdictField = field;
        verdictKnown = false;
        verdictSolver.Start(field, MaxMoves);
        if (verdictLabel.GetText() != "best: ...")
            verdictLabel.SetText("best: ...");
    }
    if (verdictKnown)
        return;
    const PuzzleSolver::Status status = verdictSolver.Step(VerdictSliceSeconds);
    if (status == PuzzleSolver::Status::Running)
        return;
    verdictKnown = true;
    const size_t best = verdictSolver.Moves().size();
    if (field.IsEmpty())
        verdictLabel.SetText("");
    else if (status == PuzzleSolver::Status::NoSolution)
        verdictLabel.SetText(FormatC("no solution in %d", MaxMoves));
    else
        verdictLabel.SetText(FormatC(best == 1 ? "best: %d move" : "best: %d moves", static_cast<int>(best)));
}

void LevelEditorScreen::Update(int framesSinceSwitch)
{
    (void)framesSinceSwitch;
    UpdateVerdict();
    const BoardGeometry& g = board.Geometry();
    int column = 0;
    int row = 0;
    const bool mouseOverWell = g.CellAt(mouseX, mouseY, column, row);
    if (chooser.IsOpen() || !(mouseOverWell || wellFocus.IsFocused()))
    {
        if (!cursor.IsHidden())
            cursor.Hide();
        return;
    }
    if (cursor.GetX() != g.CellX(cursorColumn) || cursor.GetY() != g.CellY(cursorRow))
        cursor.SetPosition(g.CellX(cursorColumn), g.CellY(cursorRow));
    if (cursor.IsHidden())
        cursor.Show();
}

void LevelEditorScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (chooser.IsOpen())
    {
        chooser.OnKey(key);
        return;
    }
    if (key == KeyCode::Escape)
        LeaveEditor();
    else if (wellFocus.IsFocused() && OnCursorKey(key))
        return;
    else if (key == KeyCode::Up || key == '+' || key == '=')
        ChangeMoves(1);
    else if (key == KeyCode::Down || key == '-')
        ChangeMoves(-1);
    else if (key >= '1' && key < '1' + PaletteSize)
        PickColour(key - '1');
    else if (key == '[' || key == ']')
        CycleColour(key == ']' ? 1 : -1);
}

// The keys of the focused well; false for a key it leaves to the screen.
bool LevelEditorScreen::OnCursorKey(int key)
{
    if (key == KeyCode::Left || key == KeyCode::Right)
        (void)MoveCursor(key == KeyCode::Right ? 1 : -1, 0);
    else if (key == KeyCode::Up || key == KeyCode::Down)
        (void)MoveCursor(0, key == KeyCode::Down ? 1 : -1);
    else if (key == KeyCode::Space)
        PaintCursorCell(currentType);
    else if (key == KeyCode::Delete || key == KeyCode::Backspace)
        PaintCursorCell(BlockType::Empty);
    else
        return false;
    return true;
}

bool LevelEditorScreen::MoveCursor(int dc, int dr)
{
    const int column = std::clamp(cursorColumn + dc, 0, Board::Columns - 1);
    const int row = std::clamp(cursorRow + dr, 0, Board::Rows - 1);
    if (column == cursorColumn && row == cursorRow)
        return false;
    cursorColumn = column;
    cursorRow = row;
    return true;
}

// A held direction stops at the edge; a fresh press there lets the focus go
// on to the buttons.
bool LevelEditorScreen::SteerCursor(PadButton direction, bool repeat)
{
    const int dc = direction == PadButton::DPadLeft ? -1 : direction == PadButton::DPadRight ? 1 : 0;
    const int dr = direction == PadButton::DPadUp ? -1 : direction == PadButton::DPadDown ? 1 : 0;
    return MoveCursor(dc, dr) || repeat;
}

void LevelEditorScreen::PaintCursorCell(BlockType type)
{
    Block& block = board.Cell(cursorColumn, cursorRow);
    if (block.GetType() != type)
        block.SetType(type);
}

void LevelEditorScreen::PickColour(int index)
{
    currentType = Palette[index];
    PlaceMark();
}

void LevelEditorScreen::CycleColour(int step)
{
    const int index = static_cast<int>(std::find(std::begin(Palette), std::end(Palette), currentType) - Palette);
    PickColour((index + step + PaletteSize) % PaletteSize);
}

bool LevelEditorScreen::KeepsKey(int key) const
{
    return chooser.IsOpen() && (key == KeyCode::Tab || key == KeyCode::Enter);
}

bool LevelEditorScreen::OnPadButton(PadButton button)
{
    if (!chooser.IsOpen())
    {
        switch (button)
        {
        case PadButton::X:
            if (!wellFocus.IsFocused())
                return false;
            PaintCursorCell(BlockType::Empty);
            return true;
        case PadButton::LeftShoulder:
        case PadButton::RightShoulder:
            CycleColour(button == PadButton::RightShoulder ? 1 : -1);
            return true;
        case PadButton::Y:
            (void)ScreenManager::Get().MoveFocusInOrder(false);
            return true;
        default:
            return false;
        }
    }
    static constexpr struct
    {
        PadButton button;
        int key;
    } keys[] = {{PadButton::DPadUp, KeyCode::Up},     {PadButton::DPadDown, KeyCode::Down},
                {PadButton::DPadLeft, KeyCode::Left}, {PadButton::DPadRight, KeyCode::Right},
                {PadButton::A, KeyCode::Enter},       {PadButton::Start, KeyCode::Enter},
                {PadButton::B, KeyCode::Escape},      {PadButton::Back, KeyCode::Escape},
                {PadButton::Y, KeyCode::Tab}};
    for (const auto& entry : keys)
    {
        if (entry.button == button)
        {
            chooser.OnKey(entry.key);
            return true;
        }
    }
    return false;
}

void LevelEditorScreen::OnButtonClicked(Button* button)
{
    if (button == &movesUp)
    {
        ChangeMoves(1);
    }
    else if (button == &movesDown)
    {
        ChangeMoves(-1);
    }
    else if (button == &loadButton)
    {
        brush = Brush::None;
        chooser.OpenLoad([this](const std::string& path) { (void)LoadLevel(path); });
    }
    else if (button == &saveButton)
    {
        OpenSaveChooser();
    }
    else if (button == &playButton)
    {
        brush = Brush::None;
        PlayScreen::Get().StartPuzzleFromEditor(board.GetCodes(), moves, levelPath);
    }
}

void LevelEditorScreen::OpenSaveChooser()
{
    brush = Brush::None;
    std::string setName;
    int number = 1;
    if (!SplitLevelPath(levelPath, setName, number))
        number = 1;
    chooser.OpenSave(setName, number, [this](const std::string& set, int puzzle) { return SaveLevel(set, puzzle); });
}

void LevelEditorScreen::LeaveEditor()
{
    ScreenManager::Get().SetScreen(&PuzzleLevelSelectScreen::Get(), true);
}

// --- files -------------------------------------------------------------------

bool LevelEditorScreen::LoadLevel(const std::string& path)
{
    PuzzleCells cells;
    cells.fill(BlockType::Empty);
    int fileMoves = moves;
    if (!LoadPuzzleLevel(path, cells, fileMoves))
        return false;
    board.SetCodes(cells);
    moves = std::clamp(fileMoves, MinMoves, MaxMoves);
    ShowMoves();
    levelPath = path;
    return true;
}

bool LevelEditorScreen::SaveLevel(const std::string& setName, int number)
{
    if (!WriteLevelFile(setName, number, board.GetCodes(), moves))
        return false;
    levelPath = LevelPathOf(setName, number);
    return true;
}
