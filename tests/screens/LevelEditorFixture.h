#pragma once

#include <string>

#include "engine/KeyCode.h"
#include "game/PlayScreenTestFixture.h"
#include "screens/LevelEditorScreen.h"

// The level editor entered directly on a headless window, with the game's
// pictures; clicks go through the screen manager as the window's would.
class LevelEditorFixture : public PlayScreenFixture
{
  protected:
    LevelEditorScreen& Editor() { return LevelEditorScreen::Get(); }
    [[nodiscard]] Screen* Current() const { return ScreenManager::Get().GetScreen(); }

    void Enter(uint64_t ms = 100)
    {
        Open();
        ScreenManager::Get().SetScreen(&Editor(), true);
        Frame(ms);
        Frame(ms + 16); // the pictures are drawn, so buttons can be hit
    }
    void Click(int x, int y, bool right = false)
    {
        ScreenManager& screens = ScreenManager::Get();
        screens.OnMouseMove(x, y);
        right ? screens.OnRightButtonDown(x, y) : screens.OnLeftButtonDown(x, y);
        right ? screens.OnRightButtonUp(x, y) : screens.OnLeftButtonUp(x, y);
        Frame(tick + 16);
    }
    void ClickCell(int column, int row, bool right = false)
    {
        const BoardGeometry& g = Editor().GetBoard().Geometry();
        Click(g.CellX(column) + g.cellWidth / 2, g.CellY(row) + g.cellHeight / 2, right);
    }
    void ClickControl(Control& c) { Click(c.GetX() + c.GetWidth() / 2, c.GetY() + c.GetHeight() / 2); }
    void Type(const std::string& text)
    {
        for (char c : text)
            Key(c);
    }
    [[nodiscard]] std::string EditorRow(int row) { return RowOf(Editor().GetBoard(), row); }
    // Reds at columns 0, 1 and 3 of the bottom row: one swap solves it.
    void PaintThreeReds()
    {
        ClickControl(Editor().PaletteBlock(4));
        for (int column : {0, 1, 3})
            ClickCell(column, 9);
    }
};
