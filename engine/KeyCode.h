#pragma once

// Key codes delivered to Screen::OnKey and Control::OnKey. Printable keys
// arrive as their ASCII codes (letters always lower case, US layout); the
// editing and arrow keys have the fixed codes below, and every other key is
// Other. The Alt state travels separately, as the handlers' alt flag.
struct KeyCode
{
    static constexpr int Other = 1;
    static constexpr int Escape = 2;
    static constexpr int Space = 32;
    static constexpr int Up = 128;
    static constexpr int Left = 129;
    static constexpr int Right = 130;
    static constexpr int Down = 131;
    static constexpr int Backspace = 132;
    static constexpr int Delete = 133;
    static constexpr int Enter = 134;
    static constexpr int Tab = 135;
};
