#pragma once

#include <functional>

#include "engine/Control.h"

// An invisible stretch of a screen that takes the keyboard and gamepad focus
// like a button, for a part of the screen that is worked with the keys
// itself (a grid of cells, say). The mouse passes through it. Pressing it
// and the d-pad while it is focused go to its owner's handlers.
class FocusArea : public Control
{
  public:
    using PressHandler = std::function<bool()>;
    using SteerHandler = std::function<bool(PadButton direction, bool repeat)>;

    void SetOnPress(PressHandler handler) { onPress = std::move(handler); }
    void SetOnSteer(SteerHandler handler) { onSteer = std::move(handler); }
    [[nodiscard]] bool IsFocused() const { return focused; }

    bool HitTest(int px, int py) override;
    void Load() override {}
    bool CanTakeFocus() const override { return !hidden; }
    bool Activate() override;
    bool Steer(PadButton direction, bool repeat) override;

  private:
    PressHandler onPress;
    SteerHandler onSteer;
};
