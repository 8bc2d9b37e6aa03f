#pragma once

#include "player/RefCounted.h"

#include <cstdint>
#include <vector>

namespace swf
{

class CharacterDefinition;

// Axis-aligned rectangle in twips (1/20 pixel).
struct Rect
{
    float xmin = 0, xmax = 0, ymin = 0, ymax = 0;
};

// 2x3 affine transform. A point (x, y) maps to (m00 x + m01 y + m02, m10 x + m11 y + m12).
struct Matrix
{
    float m00 = 1, m01 = 0, m02 = 0;
    float m10 = 0, m11 = 1, m12 = 0;

    // this = this x m: m applies first.
    void concatenate(const Matrix& m);
    void concatenateTranslation(float tx, float ty);
    void concatenateScale(float s);
    // Inverse of m; a singular m gives the identity's scale and rotation with its translation negated.
    void setInverse(const Matrix& m);
    void transform(float& x, float& y) const;
    bool isFinite() const;
    bool isInvertible() const;
    bool operator==(const Matrix& o) const;
};

// Colour with 8-bit channels; packed into 32 bits, r is the lowest byte.
struct Rgba
{
    uint8_t r = 0, g = 0, b = 0, a = 255;

    uint32_t packed() const { return r | (g << 8) | (b << 16) | (uint32_t(a) << 24); }
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Per-channel multiplier and addend (CXFORM).
struct ColorTransform
{
    float rMul = 1, rAdd = 0, gMul = 1, gAdd = 0, bMul = 1, bAdd = 0, aMul = 1, aAdd = 0;

    // Combines with an outer transform: the result applies this one, then `outer`.
    void concatenate(const ColorTransform& outer);
    Rgba transform(const Rgba& c) const;
    // c x multiplier + addend, clamped to 0..255 and truncated.
    static uint8_t applyChannel(uint8_t c, float multiplier, float addend);
};

struct GradientRecord
{
    uint8_t ratio = 0;
    Rgba colour;
};

enum FillType : uint8_t
{
    SolidFill = 0x00,
    LinearGradientFill = 0x10,
    RadialGradientFill = 0x12,
    FocalGradientFill = 0x13,
    RepeatingBitmapFill = 0x40,
    ClippedBitmapFill = 0x41,
    NonSmoothedRepeatingBitmapFill = 0x42,
    NonSmoothedClippedBitmapFill = 0x43,
};

struct FillStyle
{
    uint8_t type = SolidFill;
    Rgba colour;           // for gradients, the first record's colour
    Matrix gradientMatrix; // shape space -> gradient space
    std::vector<GradientRecord> gradient;
    int bitmapId = 0; // no bitmap ever loads in this player, so nothing is looked up
    Matrix bitmapMatrix;
};

struct LineStyle
{
    uint16_t width = 0; // twips
    Rgba colour;
};

// Quadratic edge from the previous anchor through the control point to the anchor.
struct Edge
{
    float cx = 0, cy = 0, ax = 0, ay = 0;
};

struct Path
{
    int32_t fill0 = 0; // 1-based fill index on the left; 0 or -1 for none
    int32_t fill1 = 0; // 1-based fill index on the right; 0 or -1 for none
    int32_t line = 0;  // 1-based line style index; 0 for none
    float startX = 0, startY = 0;
    std::vector<Edge> edges;
    bool newShape = false; // marker inserted where a shape record brings new styles
};

} // namespace swf
