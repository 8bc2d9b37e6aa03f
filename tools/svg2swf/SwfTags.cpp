#include "SwfTags.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>

namespace swfwrite
{

namespace
{

int sbits(int32_t v)
{
    return BitWriter::SignedBitsFor(v);
}

// A signed pair with its 5-bit field width.
void writePair(BitWriter& w, int32_t a, int32_t b)
{
    const int n = std::max(sbits(a), sbits(b));
    w.WriteBits(uint32_t(n), 5);
    w.WriteSignedBits(a, n);
    w.WriteSignedBits(b, n);
}

} // namespace

void writeRect(BitWriter& w, int xmin, int xmax, int ymin, int ymax)
{
    w.Align();
    const int n = std::max({sbits(xmin), sbits(xmax), sbits(ymin), sbits(ymax)});
    w.WriteBits(uint32_t(n), 5);
    for (int v : {xmin, xmax, ymin, ymax})
        w.WriteSignedBits(v, n);
    w.Align();
}

void writeMatrix(BitWriter& w, const MatrixSpec& m)
{
    w.Align();
    auto fixed = [](double v) { return int32_t(std::lround(v * 65536.0)); };
    for (const auto& part : {m.scale, m.rotate})
    {
        w.WriteBits(part ? 1 : 0, 1);
        if (part)
            writePair(w, fixed(part->first), fixed(part->second));
    }
    if (m.tx == 0 && m.ty == 0)
        w.WriteBits(0, 5);
    else
        writePair(w, m.tx, m.ty);
    w.Align();
}

void writeCxform(BitWriter& w, const CxformSpec& c, bool withAlpha)
{
    w.Align();
    const int channels = withAlpha ? 4 : 3;
    std::vector<int32_t> values;
    if (c.mul)
        for (int i = 0; i < channels; ++i)
            values.push_back(int32_t(std::lround((*c.mul)[size_t(i)] * 256.0)));
    if (c.add)
        for (int i = 0; i < channels; ++i)
            values.push_back((*c.add)[size_t(i)]);
    int n = 1;
    for (int32_t v : values)
        n = std::max(n, sbits(v));
    w.WriteBits(c.add ? 1 : 0, 1);
    w.WriteBits(c.mul ? 1 : 0, 1);
    w.WriteBits(uint32_t(n), 4);
    for (int32_t v : values)
        w.WriteSignedBits(v, n);
    w.Align();
}

void writeColour(BitWriter& w, const Colour& c, bool withAlpha)
{
    w.WriteU8(c.r);
    w.WriteU8(c.g);
    w.WriteU8(c.b);
    if (withAlpha)
        w.WriteU8(c.a);
}

void appendTag(Bytes& out, int code, const Bytes& body, bool forceLong)
{
    BitWriter w;
    if (body.size() >= 0x3F || forceLong)
    {
        w.WriteU16(uint16_t((code << 6) | 0x3F));
        w.WriteU32(uint32_t(body.size()));
    }
    else
        w.WriteU16(uint16_t((code << 6) | body.size()));
    w.WriteBytes(body);
    out.insert(out.end(), w.Bytes().begin(), w.Bytes().end());
}

ShapeBuilder& ShapeBuilder::bounds(int x0, int x1, int y0, int y1)
{
    xmin = x0;
    xmax = x1;
    ymin = y0;
    ymax = y1;
    return *this;
}

int ShapeBuilder::solidFill(Colour c)
{
    BitWriter w;
    w.WriteU8(0x00);
    writeColour(w, c, code == 32);
    fillStyles.push_back(w.Bytes());
    return int(fillStyles.size());
}

int ShapeBuilder::gradientFill(uint8_t type, const MatrixSpec& m, std::vector<std::pair<uint8_t, Colour>> records)
{
    BitWriter w;
    w.WriteU8(type);
    writeMatrix(w, m);
    w.WriteU8(uint8_t(records.size()));
    for (auto& r : records)
    {
        w.WriteU8(r.first);
        writeColour(w, r.second, code == 32);
    }
    fillStyles.push_back(w.Bytes());
    return int(fillStyles.size());
}

int ShapeBuilder::bitmapFill(int bitmapId)
{
    BitWriter w;
    w.WriteU8(0x41);
    w.WriteU16(uint16_t(bitmapId));
    writeMatrix(w, MatrixSpec{});
    fillStyles.push_back(w.Bytes());
    return int(fillStyles.size());
}

int ShapeBuilder::lineStyle(int width, Colour c)
{
    BitWriter w;
    w.WriteU16(uint16_t(width));
    writeColour(w, c, code == 32);
    lineStyles.push_back(w.Bytes());
    return int(lineStyles.size());
}

ShapeBuilder& ShapeBuilder::rawStyleArrays(const Bytes& bytes, int fillBits, int lineBits)
{
    rawStyles = bytes;
    rawFillBits = fillBits;
    rawLineBits = lineBits;
    return *this;
}

ShapeBuilder& ShapeBuilder::change(std::optional<std::pair<int, int>> move, std::optional<int> f0,
                                   std::optional<int> f1, std::optional<int> ln)
{
    Op op;
    op.move = move;
    op.f0 = f0;
    op.f1 = f1;
    op.ln = ln;
    ops.push_back(op);
    return *this;
}

ShapeBuilder& ShapeBuilder::lineTo(int dx, int dy)
{
    Op op;
    op.kind = Op::Straight;
    op.a = dx;
    op.b = dy;
    ops.push_back(op);
    return *this;
}

ShapeBuilder& ShapeBuilder::curveTo(int cdx, int cdy, int adx, int ady)
{
    Op op;
    op.kind = Op::Curve;
    op.a = cdx;
    op.b = cdy;
    op.c = adx;
    op.d = ady;
    ops.push_back(op);
    return *this;
}

ShapeBuilder& ShapeBuilder::newStyles(std::vector<Colour> fills, std::vector<std::pair<int, Colour>> lines)
{
    Op op;
    op.kind = Op::NewStyles;
    op.fills = std::move(fills);
    op.lines = std::move(lines);
    ops.push_back(op);
    return *this;
}

ShapeBuilder& ShapeBuilder::rectangle(int x, int y, int w, int h, int fill1Index)
{
    change(std::make_pair(x, y), std::nullopt, fill1Index, std::nullopt);
    return lineTo(w, 0).lineTo(0, h).lineTo(-w, 0).lineTo(0, -h);
}

// A count byte, escaped to 0xFF and a 16-bit count where the shape version allows it.
void ShapeBuilder::writeStyleArray(BitWriter& w, const std::vector<Bytes>& styles, bool escape) const
{
    if (styles.size() >= 0xFF && escape)
    {
        w.WriteU8(0xFF);
        w.WriteU16(uint16_t(styles.size()));
    }
    else
        w.WriteU8(uint8_t(styles.size()));
    for (const Bytes& s : styles)
        w.WriteBytes(s);
}

Bytes ShapeBuilder::payload(int id) const
{
    BitWriter w;
    w.WriteU16(uint16_t(id));
    writeRect(w, xmin, xmax, ymin, ymax);
    int fillBits = rawFillBits, lineBits = rawLineBits;
    if (rawStyles)
        w.WriteBytes(*rawStyles);
    else
    {
        writeStyleArray(w, fillStyles, code != 2);
        writeStyleArray(w, lineStyles, true);
        fillBits = BitWriter::UnsignedBitsFor(fillStyles.size());
        lineBits = BitWriter::UnsignedBitsFor(lineStyles.size());
    }
    w.WriteBits(uint32_t(fillBits), 4);
    w.WriteBits(uint32_t(lineBits), 4);
    for (const Op& op : ops)
    {
        switch (op.kind)
        {
        case Op::Change:
            w.WriteBits(0, 1);
            w.WriteBits((op.ln ? 8 : 0) | (op.f1 ? 4 : 0) | (op.f0 ? 2 : 0) | (op.move ? 1 : 0), 5);
            if (op.move)
                writePair(w, op.move->first, op.move->second);
            if (op.f0)
                w.WriteBits(uint32_t(*op.f0), fillBits);
            if (op.f1)
                w.WriteBits(uint32_t(*op.f1), fillBits);
            if (op.ln)
                w.WriteBits(uint32_t(*op.ln), lineBits);
            break;
        case Op::Straight:
        {
            const int n = std::max({sbits(op.a), sbits(op.b), 2});
            w.WriteBits(0x3, 2); // edge, straight
            w.WriteBits(uint32_t(n - 2), 4);
            const bool general = op.a != 0 && op.b != 0;
            w.WriteBits(general ? 1 : 0, 1);
            if (!general)
                w.WriteBits(op.a == 0 ? 1 : 0, 1); // vertical
            if (general || op.a != 0)
                w.WriteSignedBits(op.a, n);
            if (general || op.a == 0)
                w.WriteSignedBits(op.b, n);
            break;
        }
        case Op::Curve:
        {
            const int n = std::max({sbits(op.a), sbits(op.b), sbits(op.c), sbits(op.d), 2});
            w.WriteBits(0x2, 2); // edge, curved
            w.WriteBits(uint32_t(n - 2), 4);
            for (int v : {op.a, op.b, op.c, op.d})
                w.WriteSignedBits(v, n);
            break;
        }
        case Op::NewStyles:
        {
            w.WriteBits(0, 1);
            w.WriteBits(16, 5);
            std::vector<Bytes> fills, lines;
            for (const Colour& c : op.fills)
            {
                BitWriter f;
                f.WriteU8(0);
                writeColour(f, c, code == 32);
                fills.push_back(f.Bytes());
            }
            for (const auto& l : op.lines)
            {
                BitWriter f;
                f.WriteU16(uint16_t(l.first));
                writeColour(f, l.second, code == 32);
                lines.push_back(f.Bytes());
            }
            writeStyleArray(w, fills, code != 2);
            writeStyleArray(w, lines, false);
            fillBits = BitWriter::UnsignedBitsFor(fills.size());
            lineBits = BitWriter::UnsignedBitsFor(lines.size());
            w.WriteBits(uint32_t(fillBits), 4);
            w.WriteBits(uint32_t(lineBits), 4);
            break;
        }
        }
    }
    if (writeEnd)
        w.WriteBits(0, 6);
    return w.Bytes();
}

Bytes Place2::payload() const
{
    BitWriter w;
    w.WriteBits(0, 1); // clip actions
    for (bool has : {clipDepth.has_value(), name.has_value(), ratio.has_value(), cxform.has_value(), matrix.has_value(),
                     characterId.has_value(), move})
        w.WriteBits(has ? 1 : 0, 1);
    w.WriteU16(uint16_t(depth));
    if (characterId)
        w.WriteU16(uint16_t(*characterId));
    if (matrix)
        writeMatrix(w, *matrix);
    if (cxform)
        writeCxform(w, *cxform, true);
    if (ratio)
        w.WriteU16(uint16_t(std::lround(*ratio * 65535.0)));
    if (name)
        w.WriteString(*name);
    if (clipDepth)
        w.WriteU16(uint16_t(*clipDepth));
    return w.Bytes();
}

Bytes placeObject1(int characterId, int depth, const MatrixSpec& m, std::optional<CxformSpec> cx)
{
    BitWriter w;
    w.WriteU16(uint16_t(characterId));
    w.WriteU16(uint16_t(depth));
    writeMatrix(w, m);
    if (cx)
        writeCxform(w, *cx, false);
    return w.Bytes();
}

Bytes removeObject2(int depth)
{
    return {uint8_t(depth & 0xFF), uint8_t((depth >> 8) & 0xFF)};
}

Bytes defineSprite(int id, int frameCount, const TagList& tags)
{
    BitWriter w;
    w.WriteU16(uint16_t(id));
    w.WriteU16(uint16_t(frameCount));
    w.WriteBytes(tags.bytes());
    return w.Bytes();
}

Bytes frameLabel(const std::string& label)
{
    BitWriter w;
    w.WriteString(label);
    return w.Bytes();
}

Bytes exportAssets(const std::vector<std::pair<int, std::string>>& entries)
{
    BitWriter w;
    w.WriteU16(uint16_t(entries.size()));
    for (const auto& e : entries)
    {
        w.WriteU16(uint16_t(e.first));
        w.WriteString(e.second);
    }
    return w.Bytes();
}

Bytes importAssets(const std::string& url, const std::vector<std::pair<int, std::string>>& entries)
{
    Bytes out = frameLabel(url);
    Bytes table = exportAssets(entries);
    out.insert(out.end(), table.begin(), table.end());
    return out;
}

MovieBuilder::MovieBuilder(int frameCount, int width, int height, double fps, int version)
    : frames(frameCount), rxmax(width), rymax(height), rate(uint16_t(std::lround(fps * 256.0))), version(version)
{
}

MovieBuilder& MovieBuilder::frameRect(int xmin, int xmax, int ymin, int ymax)
{
    rxmin = xmin;
    rxmax = xmax;
    rymin = ymin;
    rymax = ymax;
    return *this;
}

MovieBuilder& MovieBuilder::frameRateRaw(uint16_t raw)
{
    rate = raw;
    return *this;
}

Bytes MovieBuilder::headerBody() const
{
    BitWriter w;
    writeRect(w, rxmin, rxmax, rymin, rymax);
    w.WriteU16(rate);
    w.WriteU16(uint16_t(frames));
    w.WriteBytes(body.bytes());
    return w.Bytes();
}

Bytes MovieBuilder::file(char kind, const Bytes& rest, size_t plainSize) const
{
    BitWriter w;
    w.WriteU8(uint8_t(kind));
    w.WriteU8('W');
    w.WriteU8('S');
    w.WriteU8(uint8_t(version));
    w.WriteU32(lengthOverride.value_or(uint32_t((plainSize ? plainSize : rest.size()) + 8)));
    w.WriteBytes(rest);
    return w.Bytes();
}

Bytes MovieBuilder::cws() const
{
    const Bytes b = headerBody();
    uLongf packedSize = compressBound(uLong(b.size()));
    Bytes packed(packedSize);
    if (compress(packed.data(), &packedSize, b.data(), uLong(b.size())) != Z_OK)
        return {};
    packed.resize(packedSize);
    return file('C', packed, b.size());
}

} // namespace swfwrite
