// Fonts, texts, text fields and actions.
#include "SwfTags.h"

#include <algorithm>
#include <cstring>

namespace swfwrite
{

Bytes boxGlyph(int x0, int y0, int x1, int y1, bool endRecord)
{
    BitWriter w;
    w.WriteBits(1, 4); // fill bits
    w.WriteBits(0, 4); // line bits
    w.WriteBits(0, 1);
    w.WriteBits(0x01 | 0x04, 5); // move, fill1
    const int n = std::max(BitWriter::SignedBitsFor(x0), BitWriter::SignedBitsFor(y0));
    w.WriteBits(uint32_t(n), 5);
    w.WriteSignedBits(x0, n);
    w.WriteSignedBits(y0, n);
    w.WriteBits(1, 1);
    auto line = [&w](int dx, int dy)
    {
        const int nb = std::max({2, BitWriter::SignedBitsFor(dx), BitWriter::SignedBitsFor(dy)});
        w.WriteBits(0x3, 2); // edge, straight
        w.WriteBits(uint32_t(nb - 2), 4);
        w.WriteBits(0, 1); // one delta only
        w.WriteBits(dx == 0 ? 1 : 0, 1);
        w.WriteSignedBits(dx == 0 ? dy : dx, nb);
    };
    line(x1 - x0, 0);
    line(0, y1 - y0);
    line(x0 - x1, 0);
    line(0, y0 - y1);
    if (endRecord)
        w.WriteBits(0, 6);
    return w.Bytes();
}

Bytes defineFont(int id, const std::vector<Bytes>& glyphs)
{
    BitWriter w;
    w.WriteU16(uint16_t(id));
    size_t offset = glyphs.size() * 2;
    for (const Bytes& g : glyphs)
    {
        w.WriteU16(uint16_t(offset));
        offset += g.size();
    }
    for (const Bytes& g : glyphs)
        w.WriteBytes(g);
    return w.Bytes();
}

Bytes defineFontInfo(int id, const std::string& name, uint8_t flags, const std::vector<uint16_t>& codes)
{
    BitWriter w;
    w.WriteU16(uint16_t(id));
    w.WriteU8(uint8_t(name.size()));
    for (char c : name)
        w.WriteU8(uint8_t(c));
    w.WriteU8(flags);
    for (uint16_t c : codes)
        (flags & 0x01) ? w.WriteU16(c) : w.WriteU8(uint8_t(c));
    return w.Bytes();
}

Bytes defineFont2(const Font2Spec& s)
{
    BitWriter w;
    w.WriteU16(uint16_t(s.id));
    // Layout, Shift-JIS, small text, ANSI, wide offsets, wide codes, italic, bold.
    for (bool flag : {s.hasLayout, false, false, false, s.wideOffsets, s.wideCodes, s.italic, s.bold})
        w.WriteBits(flag ? 1 : 0, 1);
    w.WriteU8(0); // language
    w.WriteU8(uint8_t(s.name.size()));
    for (char c : s.name)
        w.WriteU8(uint8_t(c));
    w.WriteU16(uint16_t(s.glyphs.size()));
    auto writeOffset = [&](size_t v) { s.wideOffsets ? w.WriteU32(uint32_t(v)) : w.WriteU16(uint16_t(v)); };
    size_t offset = (s.glyphs.size() + 1) * (s.wideOffsets ? 4 : 2);
    for (const Bytes& g : s.glyphs)
    {
        writeOffset(offset);
        offset += g.size();
    }
    writeOffset(offset); // code table
    for (const Bytes& g : s.glyphs)
        w.WriteBytes(g);
    auto writeCode = [&](uint16_t c) { s.wideCodes ? w.WriteU16(c) : w.WriteU8(uint8_t(c)); };
    for (uint16_t c : s.codes)
        writeCode(c);
    if (!s.hasLayout)
        return w.Bytes();
    w.WriteU16(uint16_t(s.ascent));
    w.WriteU16(uint16_t(s.descent));
    w.WriteU16(uint16_t(s.leading));
    for (int16_t a : s.advances)
        w.WriteU16(uint16_t(a));
    for (size_t i = 0; i < s.glyphs.size(); ++i)
        writeRect(w, 0, 1024, -1024, 0);
    w.WriteU16(uint16_t(s.kerningCountOverride.value_or(int(s.kerning.size()))));
    for (const auto& k : s.kerning)
    {
        writeCode(k.first.first);
        writeCode(k.first.second);
        w.WriteU16(uint16_t(k.second));
    }
    return w.Bytes();
}

TextBuilder::TextBuilder(int id, int code, int glyphBits, int advanceBits)
    : code(code), glyphBits(glyphBits), advanceBits(advanceBits)
{
    w.WriteU16(uint16_t(id));
    writeRect(w, 0, 4000, -1000, 1000);
}

void TextBuilder::head()
{
    if (headWritten)
        return;
    headWritten = true;
    writeMatrix(w, textMatrix);
    w.WriteU8(uint8_t(glyphBits));
    w.WriteU8(uint8_t(advanceBits));
}

TextBuilder& TextBuilder::style(std::optional<int> font, std::optional<Colour> colour, std::optional<int> x,
                                std::optional<int> y, int height)
{
    head();
    w.WriteU8(uint8_t(0x80 | (font ? 0x08 : 0) | (colour ? 0x04 : 0) | (y ? 0x02 : 0) | (x ? 0x01 : 0)));
    if (font)
        w.WriteU16(uint16_t(*font));
    if (colour)
        writeColour(w, *colour, code == 33);
    if (x)
        w.WriteU16(uint16_t(*x));
    if (y)
        w.WriteU16(uint16_t(*y));
    if (font)
        w.WriteU16(uint16_t(height));
    return *this;
}

TextBuilder& TextBuilder::glyphs(const std::vector<std::pair<uint32_t, int>>& entries)
{
    head();
    w.WriteU8(uint8_t(entries.size()));
    for (const auto& e : entries)
    {
        w.WriteBits(e.first, glyphBits);
        w.WriteSignedBits(e.second, advanceBits);
    }
    w.Align();
    return *this;
}

Bytes TextBuilder::payload(bool terminate)
{
    head();
    Bytes out = w.Bytes();
    if (terminate)
        out.push_back(0);
    return out;
}

Bytes defineEditText(const EditTextSpec& s)
{
    BitWriter w;
    w.WriteU16(uint16_t(s.id));
    writeRect(w, s.xmin, s.xmax, s.ymin, s.ymax);
    const uint16_t flags = uint16_t(s.extraFlags | (s.text ? 0x8000 : 0) | (s.colour ? 0x0400 : 0) |
                                    (s.maxLength ? 0x0200 : 0) | (s.font ? 0x0100 : 0) | (s.layout ? 0x0020 : 0));
    w.WriteBits(flags, 16);
    if (s.font)
    {
        w.WriteU16(uint16_t(s.font->first));
        w.WriteU16(uint16_t(s.font->second));
    }
    if (s.colour)
        writeColour(w, *s.colour, true);
    if (s.maxLength)
        w.WriteU16(uint16_t(*s.maxLength));
    if (s.layout)
    {
        w.WriteU8(uint8_t(s.layout->align));
        for (int v : {s.layout->leftMargin, s.layout->rightMargin, s.layout->indent, s.layout->leading})
            w.WriteU16(uint16_t(v));
    }
    w.WriteString(s.variable);
    if (s.text)
        w.WriteString(*s.text);
    return w.Bytes();
}

ActionBuilder& ActionBuilder::action(uint8_t code, const Bytes& data)
{
    bytes.push_back(code);
    bytes.push_back(uint8_t(data.size() & 0xFF));
    bytes.push_back(uint8_t(data.size() >> 8));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
}

ActionBuilder& ActionBuilder::pushString(const std::string& text)
{
    Bytes data = cString(text);
    data.insert(data.begin(), 0);
    return push(data);
}

// Doubles are two little-endian words, the high word first.
ActionBuilder& ActionBuilder::pushNumber(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Bytes data{6};
    for (uint32_t word : {uint32_t(bits >> 32), uint32_t(bits)})
        for (int i = 0; i < 4; ++i)
            data.push_back(uint8_t(word >> (8 * i)));
    return push(data);
}

ActionBuilder& ActionBuilder::pushInt(int32_t value)
{
    const uint32_t bits = uint32_t(value);
    return push({7, uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16), uint8_t(bits >> 24)});
}

ActionBuilder& ActionBuilder::pushConstant(uint16_t index)
{
    if (index < 256)
        return push({8, uint8_t(index)});
    return push({9, uint8_t(index & 0xFF), uint8_t(index >> 8)});
}

ActionBuilder& ActionBuilder::constantPool(const std::vector<std::string>& strings)
{
    Bytes data = le16(int16_t(strings.size()));
    for (const std::string& text : strings)
    {
        Bytes s = cString(text);
        data.insert(data.end(), s.begin(), s.end());
    }
    return action(0x88, data);
}

ActionBuilder& ActionBuilder::getUrl(const std::string& url, const std::string& window)
{
    Bytes data = cString(url);
    Bytes second = cString(window);
    data.insert(data.end(), second.begin(), second.end());
    return action(0x83, data);
}

ActionBuilder& ActionBuilder::defineFunction(const std::string& name, const std::vector<std::string>& params,
                                             const ActionBuilder& body)
{
    Bytes data = cString(name);
    data.push_back(uint8_t(params.size()));
    data.push_back(0);
    for (const std::string& param : params)
    {
        Bytes text = cString(param);
        data.insert(data.end(), text.begin(), text.end());
    }
    Bytes size = le16(int16_t(body.bytes.size()));
    data.insert(data.end(), size.begin(), size.end());
    action(0x9B, data);
    return append(body);
}

Bytes ActionBuilder::cString(const std::string& text)
{
    Bytes data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

} // namespace swfwrite
