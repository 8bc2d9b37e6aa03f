#pragma once

#include <vector>

#include "engine/PadButton.h"

class Control;

// Where the keyboard and gamepad focus goes among a list of controls: only
// controls that can take it count. Reading order (top to bottom, then left
// to right) serves Tab; the d-pad goes to the nearest control in its
// direction and wraps round to the far side when there is none.
class ControlFocus
{
  public:
    [[nodiscard]] static std::vector<Control*> Candidates(const std::vector<Control*>& controls);
    // The next (or previous) control after current in reading order,
    // wrapping; the first (or last) when current is not a candidate.
    [[nodiscard]] static Control* Step(const std::vector<Control*>& controls, Control* current, bool backward);
    // The control direction (a d-pad button) leads to from current; the
    // first in reading order when current is not a candidate.
    [[nodiscard]] static Control* Toward(const std::vector<Control*>& controls, Control* current, PadButton direction);
};
