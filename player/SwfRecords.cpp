#include "player/SwfRecords.h"

#include "player/SwfStream.h"

namespace swf
{

Rect readRect(SwfStream& stream)
{
    stream.align();
    int bits = static_cast<int>(stream.readUInt(5));
    Rect r;
    r.xmin = static_cast<float>(stream.readSInt(bits));
    r.xmax = static_cast<float>(stream.readSInt(bits));
    r.ymin = static_cast<float>(stream.readSInt(bits));
    r.ymax = static_cast<float>(stream.readSInt(bits));
    return r;
}

Matrix readMatrix(SwfStream& stream)
{
    stream.align();
    Matrix m;
    if (stream.readUInt(1))
    {
        int bits = static_cast<int>(stream.readUInt(5));
        m.m00 = stream.readSInt(bits) / 65536.0f;
        m.m11 = stream.readSInt(bits) / 65536.0f;
    }
    if (stream.readUInt(1))
    {
        int bits = static_cast<int>(stream.readUInt(5));
        m.m10 = stream.readSInt(bits) / 65536.0f;
        m.m01 = stream.readSInt(bits) / 65536.0f;
    }
    int bits = static_cast<int>(stream.readUInt(5));
    if (bits > 0)
    {
        m.m02 = static_cast<float>(stream.readSInt(bits));
        m.m12 = static_cast<float>(stream.readSInt(bits));
    }
    return m;
}

ColorTransform readColorTransform(SwfStream& stream, bool withAlpha)
{
    stream.align();
    ColorTransform c;
    bool hasAdd = stream.readUInt(1) != 0;
    bool hasMul = stream.readUInt(1) != 0;
    int bits = static_cast<int>(stream.readUInt(4));
    if (hasMul)
    {
        c.rMul = stream.readSInt(bits) / 256.0f;
        c.gMul = stream.readSInt(bits) / 256.0f;
        c.bMul = stream.readSInt(bits) / 256.0f;
        if (withAlpha)
            c.aMul = stream.readSInt(bits) / 256.0f;
    }
    if (hasAdd)
    {
        c.rAdd = static_cast<float>(stream.readSInt(bits));
        c.gAdd = static_cast<float>(stream.readSInt(bits));
        c.bAdd = static_cast<float>(stream.readSInt(bits));
        if (withAlpha)
            c.aAdd = static_cast<float>(stream.readSInt(bits));
    }
    return c;
}

Rgba readRgb(SwfStream& stream)
{
    Rgba c;
    c.r = stream.readU8();
    c.g = stream.readU8();
    c.b = stream.readU8();
    c.a = 255;
    return c;
}

Rgba readRgba(SwfStream& stream)
{
    Rgba c = readRgb(stream);
    c.a = stream.readU8();
    return c;
}

namespace
{

Rgba readColour(SwfStream& stream, int code)
{
    return code == 32 ? readRgba(stream) : readRgb(stream);
}

} // namespace

void readFillStyles(SwfStream& stream, int code, std::vector<FillStyle>& out)
{
    int count = stream.readU8();
    // DefineShape's count has no escape: 0xFF there means 255 styles.
    if (count == 0xFF && (code == 22 || code == 32))
        count = stream.readU16();
    for (int i = 0; i < count && !stream.exhausted(); ++i)
    {
        FillStyle style;
        style.type = stream.readU8();
        switch (style.type)
        {
        case SolidFill:
            style.colour = readColour(stream, code);
            break;
        case LinearGradientFill:
        case RadialGradientFill:
        case FocalGradientFill:
        {
            Matrix record = readMatrix(stream);
            Matrix inverse;
            inverse.setInverse(record);
            if (style.type == LinearGradientFill)
            {
                style.gradientMatrix.concatenateTranslation(128, 0);
                style.gradientMatrix.concatenateScale(1.0f / 128.0f);
            }
            else
            {
                style.gradientMatrix.concatenateTranslation(32, 32);
                style.gradientMatrix.concatenateScale(1.0f / 512.0f);
            }
            style.gradientMatrix.concatenate(inverse);
            int records = stream.readU8();
            for (int r = 0; r < records && !stream.exhausted(); ++r)
            {
                GradientRecord g;
                g.ratio = stream.readU8();
                g.colour = readColour(stream, code);
                style.gradient.push_back(g);
            }
            if (!style.gradient.empty())
                style.colour = style.gradient.front().colour;
            // Read by the published layout so the shape stays in step; it paints nothing.
            if (style.type == FocalGradientFill)
                stream.readS16();
            break;
        }
        case RepeatingBitmapFill:
        case ClippedBitmapFill:
        case NonSmoothedRepeatingBitmapFill:
        case NonSmoothedClippedBitmapFill:
        {
            // The bitmap dictionary is always empty here, so the fill keeps no bitmap.
            style.bitmapId = stream.readU16();
            Matrix record = readMatrix(stream);
            style.bitmapMatrix.setInverse(record);
            break;
        }
        default:
            // Other types (such as focal gradients) cannot be read further; the rest of the
            // tag is left to the tag's own end.
            break;
        }
        if (stream.exhausted())
            break;
        out.push_back(std::move(style));
    }
}

void readLineStyles(SwfStream& stream, int code, std::vector<LineStyle>& out)
{
    int count = stream.readU8();
    if (count == 0xFF)
        count = stream.readU16();
    for (int i = 0; i < count && !stream.exhausted(); ++i)
    {
        LineStyle style;
        style.width = stream.readU16();
        style.colour = readColour(stream, code);
        if (stream.exhausted())
            break;
        out.push_back(style);
    }
}

} // namespace swf
