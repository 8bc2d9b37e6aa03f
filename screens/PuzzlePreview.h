#pragma once

#include <array>
#include <functional>
#include <string>

#include "data/PuzzleLevel.h"
#include "engine/Control.h"
#include "engine/ControlSound.h"
#include "game/Block.h"
#include "media/Sprite.h"

class Application;

// A miniature of one puzzle on the puzzle selection: a background picture
// (another while the mouse is over it) with the level's 60 blocks laid out as
// the 6 x 10 board, centred on it. Pressing the mouse button on it plays the
// press sound and reports the press to its owner.
class PuzzlePreview : public Control
{
  public:
    using PressHandler = std::function<void(PuzzlePreview&)>;

    PuzzlePreview();

    // Takes the highlight and press sounds (again: the same ones stay loaded).
    void LoadSounds();

    // Shows a level's layout: every block Empty, then the given codes.
    void SetPuzzle(const std::string& path, const PuzzleCells& cells);
    [[nodiscard]] const std::string& GetPath() const { return path; }
    void SetOnPress(PressHandler handler) { onPress = std::move(handler); }
    // What a mouse press on it does: the press sound, then the report.
    void Press();

    [[nodiscard]] const Block& BlockAt(int column, int row) const
    {
        return blocks[static_cast<size_t>(row * PuzzleColumns + column)];
    }

    void SetPosition(int newX, int newY) override;
    void SetSize(int w, int h) override;
    void OnMouseDown(int px, int py) override;
    void OnMouseEnter() override;
    bool Draw(Application& app) override;
    void Load() override;
    void Release() override;
    bool CanTakeFocus() const override { return !hidden && onPress != nullptr; }
    void SetFocused(bool value) override;
    bool Activate() override;

  private:
    void PlaceBlocks();

    Sprite background;
    Sprite backgroundOver;
    std::array<Block, PuzzleCellCount> blocks;
    std::string path;
    ControlSound highlightSound;
    ControlSound pressSound;
    PressHandler onPress;
};
