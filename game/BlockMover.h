#pragma once

#include "engine/Control.h"
#include "media/Sprite.h"

class Application;

// The two-cell cursor the player steers over the well. Its position is the
// top-left pixel of its first (left or upper) cell and its size two cells by
// two cells; it shows the horizontal or the vertical cursor picture.
class BlockMover : public Control
{
  public:
    static constexpr int Horizontal = 0; // covers (c, r) and (c + 1, r)
    static constexpr int Vertical = 1;   // covers (c, r) and (c, r + 1)

    BlockMover();

    void SetOrientation(int value);
    [[nodiscard]] int GetOrientation() const { return orientation; }
    [[nodiscard]] bool IsHorizontal() const { return orientation == Horizontal; }
    [[nodiscard]] const Sprite& CurrentPicture() const { return IsHorizontal() ? horizontal : vertical; }

    void SetPosition(int newX, int newY) override;
    void SetSize(int w, int h) override;
    bool Draw(Application& app) override;
    void Load() override;
    void Update() override;
    void Release() override;

  private:
    int orientation = Horizontal;
    Sprite horizontal;
    Sprite vertical;
};
