#pragma once
// Helpers for the font and text tests: fonts built in memory, and the tag
// payloads of fonts, texts and text fields for test movies.

#include "fixtures/SwfBuilder.h"
#include "player/Font.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fonttest
{

using swftest::BitWriter;
using swftest::Bytes;

// A font of one empty glyph per character of `chars` (in order) with the
// given advances in font units.
inline swf::Ref<swf::Font> makeMetricFont(const std::string& chars, std::vector<std::int16_t> advances, int leading = 0,
                                          int descent = 0)
{
    swf::Ref<swf::Font> font = swf::makeRef<swf::Font>();
    std::vector<std::uint16_t> codes;
    for (unsigned char c : chars)
    {
        font->addGlyph(nullptr);
        codes.push_back(c);
    }
    font->setCodes(codes);
    font->setLayout(0, descent, leading, std::move(advances), {});
    return font;
}

// Glyph outline of a filled box (x0, y0)-(x1, y1) in font units: fill bits
// 1, line bits 0, a move with fill1 = 1, four straight edges, the end record.
inline Bytes boxGlyph(int x0, int y0, int x1, int y1, bool endRecord = true)
{
    BitWriter w;
    w.writeUInt(1, 4);
    w.writeUInt(0, 4);
    w.writeUInt(0, 1);
    w.writeUInt(0x01 | 0x04, 5);
    const int n = std::max(BitWriter::sbits(x0), BitWriter::sbits(y0));
    w.writeUInt(static_cast<std::uint32_t>(n), 5);
    w.writeSInt(x0, n);
    w.writeSInt(y0, n);
    w.writeUInt(1, 1);
    auto line = [&w](int dx, int dy)
    {
        const int nb = std::max(2, std::max(BitWriter::sbits(dx), BitWriter::sbits(dy)));
        w.writeUInt(1, 1); // edge
        w.writeUInt(1, 1); // straight
        w.writeUInt(static_cast<std::uint32_t>(nb - 2), 4);
        w.writeUInt(0, 1); // one delta only
        w.writeUInt(dx == 0 ? 1 : 0, 1);
        w.writeSInt(dx == 0 ? dy : dx, nb);
    };
    line(x1 - x0, 0);
    line(0, y1 - y0);
    line(x0 - x1, 0);
    line(0, y0 - y1);
    if (endRecord)
    {
        w.writeUInt(0, 1);
        w.writeUInt(0, 5);
    }
    w.align();
    return w.bytes();
}

// The full em box most tests draw: x 0..1024, from the baseline up one em.
inline Bytes emBox()
{
    return boxGlyph(0, -1024, 1024, 0);
}

// DefineFont (10) payload.
inline Bytes defineFont(int id, const std::vector<Bytes>& glyphs)
{
    BitWriter w;
    w.u16(static_cast<std::uint16_t>(id));
    std::uint32_t offset = static_cast<std::uint32_t>(glyphs.size() * 2);
    for (const Bytes& g : glyphs)
    {
        w.u16(static_cast<std::uint16_t>(offset));
        offset += static_cast<std::uint32_t>(g.size());
    }
    for (const Bytes& g : glyphs)
        w.append(g);
    return w.bytes();
}

// DefineFontInfo (13) payload.
inline Bytes defineFontInfo(int id, const std::string& name, std::uint8_t flags,
                            const std::vector<std::uint16_t>& codes)
{
    BitWriter w;
    w.u16(static_cast<std::uint16_t>(id));
    w.u8(static_cast<std::uint8_t>(name.size()));
    for (char c : name)
        w.u8(static_cast<std::uint8_t>(c));
    w.u8(flags);
    for (std::uint16_t c : codes)
    {
        if (flags & 0x01)
            w.u16(c);
        else
            w.u8(static_cast<std::uint8_t>(c));
    }
    return w.bytes();
}

struct Font2Spec
{
    int id = 1;
    std::string name = "Test";
    bool wideOffsets = false;
    bool wideCodes = false;
    bool italic = false;
    bool bold = false;
    std::vector<Bytes> glyphs;
    std::vector<std::uint16_t> codes;
    bool hasLayout = false;
    int ascent = 0, descent = 0, leading = 0;
    std::vector<std::int16_t> advances;
    std::vector<std::pair<std::pair<std::uint16_t, std::uint16_t>, std::int16_t>> kerning;
    std::optional<int> kerningCountOverride;
};

// DefineFont2 (48) payload; the glyph bounds are written as empty RECTs.
inline Bytes defineFont2(const Font2Spec& s)
{
    BitWriter w;
    w.u16(static_cast<std::uint16_t>(s.id));
    w.writeUInt(s.hasLayout, 1);
    w.writeUInt(0, 1); // Shift-JIS
    w.writeUInt(0, 1); // small text
    w.writeUInt(0, 1); // ANSI
    w.writeUInt(s.wideOffsets, 1);
    w.writeUInt(s.wideCodes, 1);
    w.writeUInt(s.italic, 1);
    w.writeUInt(s.bold, 1);
    w.u8(0); // language
    w.u8(static_cast<std::uint8_t>(s.name.size()));
    for (char c : s.name)
        w.u8(static_cast<std::uint8_t>(c));
    w.u16(static_cast<std::uint16_t>(s.glyphs.size()));
    const std::uint32_t width = s.wideOffsets ? 4 : 2;
    std::uint32_t offset = static_cast<std::uint32_t>((s.glyphs.size() + 1) * width);
    auto writeOffset = [&](std::uint32_t v)
    {
        if (s.wideOffsets)
            w.u32(v);
        else
            w.u16(static_cast<std::uint16_t>(v));
    };
    for (const Bytes& g : s.glyphs)
    {
        writeOffset(offset);
        offset += static_cast<std::uint32_t>(g.size());
    }
    writeOffset(offset); // code table
    for (const Bytes& g : s.glyphs)
        w.append(g);
    auto writeCode = [&](std::uint16_t c)
    {
        if (s.wideCodes)
            w.u16(c);
        else
            w.u8(static_cast<std::uint8_t>(c));
    };
    for (std::uint16_t c : s.codes)
        writeCode(c);
    if (s.hasLayout)
    {
        w.u16(static_cast<std::uint16_t>(s.ascent));
        w.u16(static_cast<std::uint16_t>(s.descent));
        w.u16(static_cast<std::uint16_t>(s.leading));
        for (std::int16_t a : s.advances)
            w.u16(static_cast<std::uint16_t>(a));
        for (std::size_t i = 0; i < s.glyphs.size(); ++i)
            w.rect(0, 1024, -1024, 0);
        w.u16(static_cast<std::uint16_t>(s.kerningCountOverride.value_or(static_cast<int>(s.kerning.size()))));
        for (const auto& k : s.kerning)
        {
            writeCode(k.first.first);
            writeCode(k.first.second);
            w.u16(static_cast<std::uint16_t>(k.second));
        }
    }
    return w.bytes();
}

// DefineText (11) / DefineText2 (33) payload built record by record.
class TextBuilder
{
  public:
    TextBuilder(int id, int code, int glyphBits = 8, int advanceBits = 12)
        : code(code), glyphBits(glyphBits), advanceBits(advanceBits)
    {
        w.u16(static_cast<std::uint16_t>(id));
        w.rect(0, 4000, -1000, 1000);
    }
    // Written before the first record.
    TextBuilder& matrix(const swftest::MatrixSpec& m)
    {
        textMatrix = m;
        return *this;
    }
    TextBuilder& style(std::optional<int> font, std::optional<swftest::Colour> colour, std::optional<int> x,
                       std::optional<int> y, int height = 0)
    {
        head();
        std::uint8_t flags = 0x80;
        if (font)
            flags |= 0x08;
        if (colour)
            flags |= 0x04;
        if (y)
            flags |= 0x02;
        if (x)
            flags |= 0x01;
        w.u8(flags);
        if (font)
            w.u16(static_cast<std::uint16_t>(*font));
        if (colour)
            w.colour(*colour, code == 33);
        if (x)
            w.u16(static_cast<std::uint16_t>(*x));
        if (y)
            w.u16(static_cast<std::uint16_t>(*y));
        if (font)
            w.u16(static_cast<std::uint16_t>(height));
        return *this;
    }
    TextBuilder& glyphs(const std::vector<std::pair<std::uint32_t, int>>& entries)
    {
        head();
        w.u8(static_cast<std::uint8_t>(entries.size()));
        for (const auto& e : entries)
        {
            w.writeUInt(e.first, glyphBits);
            w.writeSInt(e.second, advanceBits);
        }
        w.align();
        return *this;
    }
    Bytes payload(bool terminate = true)
    {
        head();
        BitWriter out;
        out.append(w.bytes());
        if (terminate)
            out.u8(0);
        return out.bytes();
    }

  private:
    void head()
    {
        if (headWritten)
            return;
        headWritten = true;
        w.matrix(textMatrix);
        w.u8(static_cast<std::uint8_t>(glyphBits));
        w.u8(static_cast<std::uint8_t>(advanceBits));
    }
    int code;
    int glyphBits;
    int advanceBits;
    swftest::MatrixSpec textMatrix;
    bool headWritten = false;
    BitWriter w;
};

struct EditTextSpec
{
    int id = 1;
    int xmin = 0, xmax = 2000, ymin = 0, ymax = 1000;
    std::optional<std::string> text;
    std::optional<std::pair<int, int>> font; // id, height
    std::optional<swftest::Colour> colour;
    std::optional<int> maxLength;
    struct Layout
    {
        int align = 0, leftMargin = 0, rightMargin = 0, indent = 0, leading = 0;
    };
    std::optional<Layout> layout;
    std::string variable = "field";
    std::uint16_t extraFlags = 0; // word wrap, multiline, border ...
};

// DefineEditText (37) payload.
inline Bytes defineEditText(const EditTextSpec& s)
{
    BitWriter w;
    w.u16(static_cast<std::uint16_t>(s.id));
    w.rect(s.xmin, s.xmax, s.ymin, s.ymax);
    std::uint16_t flags = s.extraFlags;
    if (s.text)
        flags |= 0x8000;
    if (s.colour)
        flags |= 0x0400;
    if (s.maxLength)
        flags |= 0x0200;
    if (s.font)
        flags |= 0x0100;
    if (s.layout)
        flags |= 0x0020;
    w.writeUInt(flags, 16);
    if (s.font)
    {
        w.u16(static_cast<std::uint16_t>(s.font->first));
        w.u16(static_cast<std::uint16_t>(s.font->second));
    }
    if (s.colour)
        w.colour(*s.colour, true);
    if (s.maxLength)
        w.u16(static_cast<std::uint16_t>(*s.maxLength));
    if (s.layout)
    {
        w.u8(static_cast<std::uint8_t>(s.layout->align));
        w.u16(static_cast<std::uint16_t>(s.layout->leftMargin));
        w.u16(static_cast<std::uint16_t>(s.layout->rightMargin));
        w.u16(static_cast<std::uint16_t>(s.layout->indent));
        w.u16(static_cast<std::uint16_t>(s.layout->leading));
    }
    w.string(s.variable);
    if (s.text)
        w.string(*s.text);
    return w.bytes();
}

} // namespace fonttest
