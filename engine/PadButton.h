#pragma once

// The buttons and axes of a game controller, laid out as the common
// Xbox-style pad: A at the bottom of the four face buttons, B right, X left,
// Y top. Numbered as SDL's game controller numbers them.
enum class PadButton
{
    A = 0,
    B,
    X,
    Y,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DPadUp,
    DPadDown,
    DPadLeft,
    DPadRight,
    Count
};

enum class PadAxis
{
    LeftX = 0,
    LeftY,
    RightX,
    RightY,
    LeftTrigger,
    RightTrigger,
    Count
};
