#pragma once

// Virtual-key numbers in which platform backends report keys (the numbering
// of the Windows virtual-key table). Letters and digits use their upper-case
// ASCII codes ('A'..'Z', '0'..'9').
struct VirtualKey
{
    static constexpr int Back = 0x08;
    static constexpr int Tab = 0x09;
    static constexpr int Return = 0x0D;
    static constexpr int Shift = 0x10;
    static constexpr int Control = 0x11;
    static constexpr int Menu = 0x12; // Alt
    static constexpr int Pause = 0x13;
    static constexpr int Capital = 0x14;
    static constexpr int Escape = 0x1B;
    static constexpr int Space = 0x20;
    static constexpr int Prior = 0x21;
    static constexpr int Next = 0x22;
    static constexpr int End = 0x23;
    static constexpr int Home = 0x24;
    static constexpr int Left = 0x25;
    static constexpr int Up = 0x26;
    static constexpr int Right = 0x27;
    static constexpr int Down = 0x28;
    static constexpr int Snapshot = 0x2C;
    static constexpr int Insert = 0x2D;
    static constexpr int Delete = 0x2E;
    static constexpr int LeftWin = 0x5B;
    static constexpr int RightWin = 0x5C;
    static constexpr int Apps = 0x5D;
    static constexpr int Numpad0 = 0x60; // Numpad0..Numpad9 are consecutive
    static constexpr int Multiply = 0x6A;
    static constexpr int Add = 0x6B;
    static constexpr int Separator = 0x6C;
    static constexpr int Subtract = 0x6D;
    static constexpr int Decimal = 0x6E;
    static constexpr int Divide = 0x6F;
    static constexpr int F1 = 0x70; // F1..F24 are consecutive
    static constexpr int NumLock = 0x90;
    static constexpr int Scroll = 0x91;
    static constexpr int Oem1 = 186;      // ;:
    static constexpr int OemPlus = 187;   // =+
    static constexpr int OemComma = 188;  // ,<
    static constexpr int OemMinus = 189;  // -_
    static constexpr int OemPeriod = 190; // .>
    static constexpr int Oem2 = 191;      // /?
    static constexpr int Oem3 = 192;      // `~
    static constexpr int Oem4 = 219;      // [{
    static constexpr int Oem5 = 220;      // \|
    static constexpr int Oem6 = 221;      // ]}
    static constexpr int Oem7 = 222;      // '"
    static constexpr int Oem102 = 226;    // the extra key of ISO keyboards
};
