#include "player/SwfTypes.h"

#include <cmath>

namespace swf
{

void Matrix::concatenate(const Matrix& m)
{
    Matrix r;
    r.m00 = m00 * m.m00 + m01 * m.m10;
    r.m10 = m10 * m.m00 + m11 * m.m10;
    r.m01 = m00 * m.m01 + m01 * m.m11;
    r.m11 = m10 * m.m01 + m11 * m.m11;
    r.m02 = m00 * m.m02 + m01 * m.m12 + m02;
    r.m12 = m10 * m.m02 + m11 * m.m12 + m12;
    *this = r;
}

void Matrix::concatenateTranslation(float tx, float ty)
{
    m02 += m00 * tx + m01 * ty;
    m12 += m10 * tx + m11 * ty;
}

void Matrix::concatenateScale(float s)
{
    m00 *= s;
    m01 *= s;
    m10 *= s;
    m11 *= s;
}

void Matrix::setInverse(const Matrix& m)
{
    float det = m.m00 * m.m11 - m.m01 * m.m10;
    if (det == 0.0f)
    {
        // A degenerate matrix has no inverse; keep at least the position meaningful.
        *this = Matrix();
        m02 = -m.m02;
        m12 = -m.m12;
        return;
    }
    Matrix r;
    r.m00 = m.m11 / det;
    r.m11 = m.m00 / det;
    r.m01 = -m.m01 / det;
    r.m10 = -m.m10 / det;
    r.m02 = -(m.m02 * r.m00 + r.m01 * m.m12);
    r.m12 = -(r.m10 * m.m02 + m.m12 * r.m11);
    *this = r;
}

void Matrix::transform(float& x, float& y) const
{
    float nx = m00 * x + m01 * y + m02;
    float ny = m10 * x + m11 * y + m12;
    x = nx;
    y = ny;
}

bool Matrix::isFinite() const
{
    return std::isfinite(m00) && std::isfinite(m01) && std::isfinite(m02) && std::isfinite(m10) && std::isfinite(m11) &&
           std::isfinite(m12);
}

bool Matrix::isInvertible() const
{
    if (!isFinite())
        return false;
    double det = double(m00) * m11 - double(m01) * m10;
    return det != 0.0 && std::isfinite(det) && std::isfinite(1.0 / det);
}

bool Matrix::operator==(const Matrix& o) const
{
    return m00 == o.m00 && m01 == o.m01 && m02 == o.m02 && m10 == o.m10 && m11 == o.m11 && m12 == o.m12;
}

void ColorTransform::concatenate(const ColorTransform& outer)
{
    rAdd = rAdd * outer.rMul + outer.rAdd;
    gAdd = gAdd * outer.gMul + outer.gAdd;
    bAdd = bAdd * outer.bMul + outer.bAdd;
    aAdd = aAdd * outer.aMul + outer.aAdd;
    rMul *= outer.rMul;
    gMul *= outer.gMul;
    bMul *= outer.bMul;
    aMul *= outer.aMul;
}

uint8_t ColorTransform::applyChannel(uint8_t c, float multiplier, float addend)
{
    float v = c * multiplier + addend;
    if (v >= 255.0f)
        return 255;
    if (!(v > 0.0f)) // also catches NaN
        return 0;
    return static_cast<uint8_t>(v);
}

Rgba ColorTransform::transform(const Rgba& c) const
{
    return Rgba{applyChannel(c.r, rMul, rAdd), applyChannel(c.g, gMul, gAdd), applyChannel(c.b, bMul, bAdd),
                applyChannel(c.a, aMul, aAdd)};
}

} // namespace swf
