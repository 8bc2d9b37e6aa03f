#pragma once

// Screen layout helper: a fraction of a display dimension, in whole pixels.
//
// Every position and size on screen is written as the display width or height
// times a single-precision factor, truncated toward zero. The product is taken
// in double precision after widening the float factor, so that a factor whose
// float value lies just below its decimal value loses a pixel exactly as the
// layout tables expect (800 x 0.04f gives 31, not 32). A double literal passed
// here is narrowed to float first, which keeps the same rounding.
inline int FractionOf(int size, float factor)
{
    return static_cast<int>(static_cast<double>(size) * static_cast<double>(factor));
}

// The same for the few factors that are double precision in the layout
// tables (the board's cell height): no narrowing to float.
inline int FractionOfDouble(int size, double factor)
{
    return static_cast<int>(static_cast<double>(size) * factor);
}
