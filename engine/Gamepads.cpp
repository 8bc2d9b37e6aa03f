#include "engine/Gamepads.h"

#include <algorithm>
#include <cstdlib>

#include "engine/platform/Platform.h"

namespace
{

bool IsDirection(PadButton button)
{
    return button == PadButton::DPadUp || button == PadButton::DPadDown || button == PadButton::DPadLeft ||
           button == PadButton::DPadRight;
}

int DirectionIndex(PadButton direction)
{
    return static_cast<int>(direction) - static_cast<int>(PadButton::DPadUp);
}

// The direction a stick points in: its larger axis, when past the dead zone.
std::optional<PadButton> StickDirection(int x, int y)
{
    if (std::max(std::abs(x), std::abs(y)) < Gamepads::DeadZone)
        return std::nullopt;
    if (std::abs(x) > std::abs(y))
        return x < 0 ? PadButton::DPadLeft : PadButton::DPadRight;
    return y < 0 ? PadButton::DPadUp : PadButton::DPadDown;
}

} // namespace

Gamepads::Pad& Gamepads::Find(int id)
{
    auto found = std::find_if(pads.begin(), pads.end(), [id](const Pad& pad) { return pad.id == id; });
    if (found != pads.end())
        return *found;
    // A message from a pad never announced (plugged in before the game
    // looked) adds it as well.
    pads.push_back(Pad{});
    pads.back().id = id;
    return pads.back();
}

void Gamepads::Handle(const PlatformEvent& event, double now, std::vector<PadButton>& presses)
{
    using Type = PlatformEvent::Type;
    switch (event.type)
    {
    case Type::PadAdded:
        (void)Find(event.pad);
        break;
    case Type::PadRemoved:
        pads.erase(std::remove_if(pads.begin(), pads.end(), [&](const Pad& pad) { return pad.id == event.pad; }),
                   pads.end());
        if (held && heldPad == event.pad)
            held.reset();
        break;
    case Type::PadButtonDown:
    case Type::PadButtonUp:
    {
        if (event.key < 0 || event.key >= static_cast<int>(PadButton::Count))
            break;
        const PadButton button = static_cast<PadButton>(event.key);
        Pad& pad = Find(event.pad);
        const bool down = event.type == Type::PadButtonDown;
        if (!IsDirection(button))
        {
            if (down)
                presses.push_back(button);
            break;
        }
        bool& state = pad.dpad[DirectionIndex(button)];
        if (down && !state)
        {
            state = true;
            Press(pad.id, button, now, presses);
        }
        else if (!down && state)
        {
            state = false;
            Release(pad.id, button);
        }
        break;
    }
    case Type::PadAxisMotion:
    {
        Pad& pad = Find(event.pad);
        if (event.key == static_cast<int>(PadAxis::LeftX))
            pad.stickX = event.x;
        else if (event.key == static_cast<int>(PadAxis::LeftY))
            pad.stickY = event.x;
        else
            break;
        StickMoved(pad, now, presses);
        break;
    }
    default:
        break;
    }
}

void Gamepads::StickMoved(Pad& pad, double now, std::vector<PadButton>& presses)
{
    const std::optional<PadButton> direction = StickDirection(pad.stickX, pad.stickY);
    if (direction == pad.stick)
        return;
    const std::optional<PadButton> previous = pad.stick;
    pad.stick = direction;
    if (previous)
        Release(pad.id, *previous);
    if (direction)
        Press(pad.id, *direction, now, presses);
}

bool Gamepads::IsHeld(const Pad& pad, PadButton direction) const
{
    return pad.dpad[DirectionIndex(direction)] || pad.stick == direction;
}

void Gamepads::Press(int pad, PadButton direction, double now, std::vector<PadButton>& presses)
{
    presses.push_back(direction);
    held = direction;
    heldPad = pad;
    nextRepeat = now + RepeatDelay;
}

void Gamepads::Release(int pad, PadButton direction)
{
    if (!held || *held != direction || heldPad != pad)
        return;
    // The d-pad and the stick of one pad may both hold the direction.
    const auto found = std::find_if(pads.begin(), pads.end(), [pad](const Pad& p) { return p.id == pad; });
    if (found == pads.end() || !IsHeld(*found, direction))
        held.reset();
}

void Gamepads::Repeat(double now, std::vector<PadButton>& presses)
{
    if (!held)
        return;
    // A long stall (a message box, a slow frame) repeats once, not in a burst.
    if (now >= nextRepeat)
    {
        presses.push_back(*held);
        nextRepeat = now - nextRepeat > RepeatInterval ? now + RepeatInterval : nextRepeat + RepeatInterval;
    }
}

std::optional<double> Gamepads::NextRepeat() const
{
    if (!held)
        return std::nullopt;
    return nextRepeat;
}
