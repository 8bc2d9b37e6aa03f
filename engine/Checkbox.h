#pragma once

#include <string>

#include "engine/Control.h"
#include "engine/ControlSound.h"
#include "media/FrameAnimation.h"

class Bitmap;

// A check box: a box picture (and a mouse-over one), and a check mark movie
// centred on it while checked. It toggles on press; owners read IsChecked.
class Checkbox : public Control
{
  public:
    Checkbox() = default;
    ~Checkbox() override;

    void SetBoxMovie(const std::string& path);
    void SetMouseOverMovie(const std::string& path);
    void SetMarkMovie(const std::string& path);
    void SetMarkSize(int w, int h);
    void SetChecked(bool value);
    [[nodiscard]] bool IsChecked() const { return checked; }
    bool SetHighlightSound(const std::string& name);
    bool SetPressSound(const std::string& name);
    [[nodiscard]] int GetState() const { return state; }
    [[nodiscard]] const FrameAnimation& Mark() const { return mark; }
    [[nodiscard]] int GetMarkX() const { return markX; }
    [[nodiscard]] int GetMarkY() const { return markY; }

    void SetPosition(int newX, int newY) override;
    void SetSize(int w, int h) override;
    bool HitTest(int px, int py) override;
    void Release() override;
    void OnMouseDown(int px, int py) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool Draw(Application& app) override;
    void Load() override;
    // Focused, it shows the mouse-over box; a press toggles it.
    bool CanTakeFocus() const override { return !hidden; }
    void SetFocused(bool value) override;
    bool Activate() override;
    void Update() override;
    double NextTimedChange() const override { return mark.NextChange(); }

  private:
    void CentreMark();
    void InvalidateMark();

    int state = 0; // 0 normal, 1 mouse over
    std::string boxMovie;
    std::string mouseOverMovie;
    Bitmap* boxBitmaps[2] = {nullptr, nullptr};
    ControlSound highlightSound;
    ControlSound pressSound;
    bool checked = false;
    std::string markMovie;
    FrameAnimation mark;
    int markWidth = 0;
    int markHeight = 0;
    int markX = 0;
    int markY = 0;
};
