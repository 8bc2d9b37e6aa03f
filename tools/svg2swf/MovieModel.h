#pragma once

#include "Outline.h"

#include <cstdint>
#include <string>
#include <vector>

// What the picture compiler hands to the movie writer: shapes already placed
// in twips, each with one fill and at most one stroke, grouped into frames.
struct Rgba
{
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

struct GradientStop
{
    double offset = 0; // 0..1, never decreasing along the list
    Rgba colour;
};

struct Paint
{
    enum class Kind : uint8_t
    {
        None,
        Solid,
        Linear,
        Radial
    };
    Kind kind = Kind::None;
    Rgba colour;                     // Solid
    std::vector<GradientStop> stops; // Linear, Radial
    // Maps the movie format's gradient square (-16384..16384 twips on both
    // axes; a linear ramp runs along x, a radial one from the centre to the
    // unit circle) to the shape's twips.
    Affine squareToShape;
};

struct ShapeItem
{
    Outline outline; // twips
    Paint fill;      // None for an outline-only element
    bool stroked = false;
    Rgba strokeColour;
    double strokeWidth = 0; // twips
};

struct MovieFrame
{
    std::vector<ShapeItem> items; // bottom to top
    std::string label;            // empty: no label
    int hold = 1;                 // number of frames it is shown for
};

struct Movie
{
    int widthTwips = 0;
    int heightTwips = 0;
    int frameRate = 12;
    bool compressed = false;
    std::vector<ShapeItem> background; // shown below every frame
    std::vector<MovieFrame> frames;    // at least one
};
