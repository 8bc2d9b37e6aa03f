#include "engine/ControlFocus.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/Control.h"

namespace
{

// Centre of a control, doubled to stay in whole numbers.
void Centre(Control* control, int& cx, int& cy)
{
    cx = 2 * control->GetX() + control->GetWidth();
    cy = 2 * control->GetY() + control->GetHeight();
}

} // namespace

std::vector<Control*> ControlFocus::Candidates(const std::vector<Control*>& controls)
{
    std::vector<Control*> out;
    for (Control* control : controls)
    {
        if (control->CanTakeFocus() && std::find(out.begin(), out.end(), control) == out.end())
            out.push_back(control);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](Control* a, Control* b)
                     { return a->GetY() != b->GetY() ? a->GetY() < b->GetY() : a->GetX() < b->GetX(); });
    return out;
}

Control* ControlFocus::Step(const std::vector<Control*>& controls, Control* current, bool backward)
{
    const std::vector<Control*> list = Candidates(controls);
    if (list.empty())
        return nullptr;
    const auto at = std::find(list.begin(), list.end(), current);
    if (at == list.end())
        return backward ? list.back() : list.front();
    const size_t index = static_cast<size_t>(at - list.begin());
    return list[(index + (backward ? list.size() - 1 : 1)) % list.size()];
}

Control* ControlFocus::Toward(const std::vector<Control*>& controls, Control* current, PadButton direction)
{
    const std::vector<Control*> list = Candidates(controls);
    if (list.empty())
        return nullptr;
    if (std::find(list.begin(), list.end(), current) == list.end())
        return list.front();

    // Unit vector of the direction; along is the distance that way, across
    // the distance beside it. The nearest by their sum wins, so a control
    // off to one side (a slider right of its label) is still met on the way
    // down rather than passed over for a far one straight below.
    const int ux = direction == PadButton::DPadLeft ? -1 : direction == PadButton::DPadRight ? 1 : 0;
    const int uy = direction == PadButton::DPadUp ? -1 : direction == PadButton::DPadDown ? 1 : 0;
    int fromX = 0, fromY = 0;
    Centre(current, fromX, fromY);
    Control* best = nullptr;
    Control* wrap = nullptr;
    long bestScore = std::numeric_limits<long>::max();
    long wrapScore = std::numeric_limits<long>::max();
    for (Control* control : list)
    {
        if (control == current)
            continue;
        int cx = 0, cy = 0;
        Centre(control, cx, cy);
        const long along = static_cast<long>(cx - fromX) * ux + static_cast<long>(cy - fromY) * uy;
        const long across =
            std::labs(static_cast<long>(cx - fromX) * uy) + std::labs(static_cast<long>(cy - fromY) * ux);
        if (along > 0 && along + across < bestScore)
        {
            best = control;
            bestScore = along + across;
        }
        // Wrapping: the control farthest the other way, nearest beside.
        if (along < 0 && 2 * across + along < wrapScore)
        {
            wrap = control;
            wrapScore = 2 * across + along;
        }
    }
    return best ? best : wrap ? wrap : current;
}
