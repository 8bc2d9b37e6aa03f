#pragma once

#include <optional>
#include <vector>

#include "engine/PadButton.h"

struct PlatformEvent;

// Turns the messages of any number of game controllers, plugged in and out
// at any time, into button presses. A direction, from the d-pad or from the
// left stick pushed past its dead zone, presses at once and then repeats
// while held, as a held key does; only the direction pressed last repeats.
// Stick directions arrive as the d-pad buttons.
class Gamepads
{
  public:
    static constexpr double RepeatDelay = 0.3;     // seconds from a press to its first repeat
    static constexpr double RepeatInterval = 0.05; // seconds between repeats
    static constexpr int DeadZone = 16000;         // stick positions nearer the centre are centred

    // A controller message at now (seconds); appends the presses it makes.
    void Handle(const PlatformEvent& event, double now, std::vector<PadButton>& presses);
    // Appends the repeats of the held direction that are due by now.
    void Repeat(double now, std::vector<PadButton>& presses);
    // When the next repeat is due; nothing while no direction is held.
    [[nodiscard]] std::optional<double> NextRepeat() const;
    [[nodiscard]] int Connected() const { return static_cast<int>(pads.size()); }

  private:
    struct Pad
    {
        int id = 0;
        bool dpad[4] = {false, false, false, false}; // up, down, left, right
        int stickX = 0;
        int stickY = 0;
        std::optional<PadButton> stick; // the direction the stick points in
    };

    Pad& Find(int id);
    void Press(int pad, PadButton direction, double now, std::vector<PadButton>& presses);
    void Release(int pad, PadButton direction);
    void StickMoved(Pad& pad, double now, std::vector<PadButton>& presses);
    [[nodiscard]] bool IsHeld(const Pad& pad, PadButton direction) const;

    std::vector<Pad> pads;
    std::optional<PadButton> held; // the repeating direction
    int heldPad = 0;
    double nextRepeat = 0.0; // seconds
};
