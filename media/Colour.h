#pragma once

#include <cstdint>

// An 8-bit RGBA colour, not premultiplied. Alpha 255 is opaque.
class Colour
{
  public:
    Colour() = default;
    Colour(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) : red(r), green(g), blue(b), alpha(a) {}
    virtual ~Colour() = default;
    Colour(const Colour&) = default;
    Colour& operator=(const Colour&) = default;

    bool operator==(const Colour& other) const
    {
        return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
    }
    bool operator!=(const Colour& other) const { return !(*this == other); }

    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;
};
