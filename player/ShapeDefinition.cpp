#include "player/ShapeDefinition.h"

#include "player/DisplayObject.h"
#include "player/ShapeRenderer.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"

namespace swf
{

void ShapeDefinition::read(SwfStream& stream, int code)
{
    shapeBounds = readRect(stream);
    readFillStyles(stream, code, fills);
    readLineStyles(stream, code, lines);
    readShapeRecords(stream, code);
}

void ShapeDefinition::readGlyph(SwfStream& stream)
{
    readShapeRecords(stream, 2);
}

void ShapeDefinition::readShapeRecords(SwfStream& stream, int code)
{
    stream.align();
    int fillBits = static_cast<int>(stream.readUInt(4));
    int lineBits = static_cast<int>(stream.readUInt(4));
    int fillBase = 0;
    int lineBase = 0;
    float x = 0;
    float y = 0;
    Path current;

    // Appends the current path if it has edges and starts the next one at the pen.
    auto flush = [&]()
    {
        if (current.edges.empty())
            return false;
        shapePaths.push_back(current);
        current.edges.clear();
        current.startX = x;
        current.startY = y;
        return true;
    };

    // Every loop ends at the end record, at the tag's end or at a short read.
    while (!stream.exhausted())
    {
        if (stream.readUInt(1))
        {
            bool straight = stream.readUInt(1) != 0;
            int bits = static_cast<int>(stream.readUInt(4)) + 2;
            Edge edge;
            if (straight)
            {
                float dx = 0;
                float dy = 0;
                if (stream.readUInt(1))
                {
                    dx = static_cast<float>(stream.readSInt(bits));
                    dy = static_cast<float>(stream.readSInt(bits));
                }
                else if (stream.readUInt(1))
                    dy = static_cast<float>(stream.readSInt(bits));
                else
                    dx = static_cast<float>(stream.readSInt(bits));
                edge.cx = x + dx / 2;
                edge.cy = y + dy / 2;
                edge.ax = x + dx;
                edge.ay = y + dy;
            }
            else
            {
                edge.cx = x + static_cast<float>(stream.readSInt(bits));
                edge.cy = y + static_cast<float>(stream.readSInt(bits));
                edge.ax = edge.cx + static_cast<float>(stream.readSInt(bits));
                edge.ay = edge.cy + static_cast<float>(stream.readSInt(bits));
            }
            if (stream.exhausted())
                break;
            current.edges.push_back(edge);
            x = edge.ax;
            y = edge.ay;
            continue;
        }

        int flags = static_cast<int>(stream.readUInt(5));
        if (flags == 0 || stream.exhausted())
            break;
        if (flags & 1)
        {
            flush();
            int bits = static_cast<int>(stream.readUInt(5));
            x = static_cast<float>(stream.readSInt(bits));
            y = static_cast<float>(stream.readSInt(bits));
            current.startX = x;
            current.startY = y;
        }
        if ((flags & 2) && fillBits > 0)
        {
            flush();
            int style = static_cast<int>(stream.readUInt(fillBits));
            current.fill0 = style > 0 ? style + fillBase : style;
        }
        if ((flags & 4) && fillBits > 0)
        {
            flush();
            int style = static_cast<int>(stream.readUInt(fillBits));
            current.fill1 = style > 0 ? style + fillBase : style;
        }
        if ((flags & 8) && lineBits > 0)
        {
            flush();
            int style = static_cast<int>(stream.readUInt(lineBits));
            current.line = style > 0 ? style + lineBase : style;
        }
        if (flags & 16)
        {
            if (flush())
            {
                current.fill0 = -1;
                current.fill1 = -1;
                current.line = -1;
            }
            Path marker;
            marker.newShape = true;
            shapePaths.push_back(marker);
            fillBase = static_cast<int>(fills.size());
            lineBase = static_cast<int>(lines.size());
            readFillStyles(stream, code, fills);
            readLineStyles(stream, code, lines);
            stream.align();
            fillBits = static_cast<int>(stream.readUInt(4));
            lineBits = static_cast<int>(stream.readUInt(4));
        }
    }
    // Whatever was read before the tag ran out still draws.
    flush();
}

void ShapeDefinition::display(DisplayObject& object, RenderContext& context)
{
    ShapeRenderer::draw(*this, object.worldMatrix(), object.worldColorTransform(), context);
}

bool ShapeDefinition::pointTestLocal(float px, float py) const
{
    return shapeBounds.xmin <= px && px <= shapeBounds.xmax && shapeBounds.ymin <= py && py <= shapeBounds.ymax;
}

} // namespace swf
