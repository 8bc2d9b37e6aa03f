#include "player/FontReader.h"

#include "player/Font.h"
#include "player/MemoryStream.h"
#include "player/ShapeDefinition.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"

#include <algorithm>
#include <map>
#include <utility>

namespace swf
{

namespace
{

// DefineFont2 flag bits, first bit read is the highest.
constexpr std::uint8_t Font2HasLayout = 0x80;
constexpr std::uint8_t Font2ShiftJis = 0x40;
constexpr std::uint8_t Font2SmallText = 0x20;
constexpr std::uint8_t Font2Ansi = 0x10;
constexpr std::uint8_t Font2WideOffsets = 0x08;
constexpr std::uint8_t Font2WideCodes = 0x04;
constexpr std::uint8_t Font2Italic = 0x02;
constexpr std::uint8_t Font2Bold = 0x01;

// The DefineFont2 flags in the layout DefineFontInfo uses.
std::uint8_t infoFlags(std::uint8_t font2Flags)
{
    std::uint8_t flags = 0;
    if (font2Flags & Font2ShiftJis)
        flags |= Font::ShiftJis;
    if (font2Flags & Font2SmallText)
        flags |= Font::SmallText;
    if (font2Flags & Font2Ansi)
        flags |= Font::Ansi;
    if (font2Flags & Font2WideCodes)
        flags |= Font::WideCodes;
    if (font2Flags & Font2Italic)
        flags |= Font::Italic;
    if (font2Flags & Font2Bold)
        flags |= Font::Bold;
    return flags;
}

std::vector<std::uint16_t> readCodes(SwfStream& stream, std::size_t count, bool wide)
{
    std::vector<std::uint16_t> codes;
    codes.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        codes.push_back(wide ? stream.readU16() : stream.readU8());
    return codes;
}

// The bytes from the current position to `limit`, read in chunks so that a
// tag claiming far more bytes than the file holds allocates only what is there.
std::vector<std::uint8_t> readUpTo(SwfStream& stream, std::int64_t limit)
{
    constexpr std::int64_t Chunk = 65536;
    std::vector<std::uint8_t> bytes;
    while (stream.position() < limit)
    {
        const std::int64_t want = std::min(Chunk, limit - stream.position());
        const std::size_t old = bytes.size();
        bytes.resize(old + static_cast<std::size_t>(want));
        const std::size_t got = stream.readBytes(bytes.data() + old, static_cast<std::size_t>(want));
        bytes.resize(old + got);
        if (got < static_cast<std::size_t>(want))
            break;
    }
    return bytes;
}

} // namespace

void FontReader::readGlyphs(SwfStream& stream, Font& font, const std::vector<std::uint32_t>& offsets,
                            std::int64_t tableStart, std::int64_t firstShape, std::int64_t otherBoundary)
{
    const std::int64_t end = stream.tagEnd();
    // Each outline lies between its own offset and the next start of
    // something else (another glyph, the code table, the tag's end). Reading
    // it from a copy of just those bytes keeps a damaged outline from running
    // into its neighbours or spoiling the glyphs read after it.
    std::vector<std::int64_t> starts;
    starts.reserve(offsets.size() + 1);
    for (std::uint32_t offset : offsets)
        starts.push_back(tableStart + offset);
    starts.push_back(otherBoundary);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    // Glyphs sharing an offset share one outline, so no byte is read twice.
    std::map<std::int64_t, Ref<ShapeDefinition>> byStart;
    for (std::uint32_t offset : offsets)
    {
        const std::int64_t at = tableStart + offset;
        if (at < firstShape || at >= end)
        {
            font.addGlyph(makeRef<ShapeDefinition>());
            continue;
        }
        Ref<ShapeDefinition>& shape = byStart[at];
        if (!shape)
        {
            shape = makeRef<ShapeDefinition>();
            const auto next = std::upper_bound(starts.begin(), starts.end(), at);
            const std::int64_t limit = next == starts.end() || *next > end ? end : *next;
            stream.setPosition(at);
            MemoryStream glyphFile(readUpTo(stream, limit));
            SwfStream glyphStream(glyphFile);
            shape->readGlyph(glyphStream);
        }
        font.addGlyph(shape);
    }
}

Ref<Font> FontReader::readDefineFont(SwfStream& stream)
{
    Ref<Font> font = makeRef<Font>();
    // A font without any glyph is an empty tag after the id.
    if (stream.bytesLeftInTag() == 0)
        return font;
    if (stream.bytesLeftInTag() < 2)
        return nullptr;

    // The first offset points just past the table, so it gives the glyph count.
    const std::int64_t tableStart = stream.position();
    const std::uint16_t first = stream.readU16();
    const std::size_t count = first / 2;
    if (count == 0)
        return font;
    if (static_cast<std::int64_t>(count - 1) * 2 > stream.bytesLeftInTag())
        return nullptr;

    std::vector<std::uint32_t> offsets{first};
    for (std::size_t i = 1; i < count; ++i)
        offsets.push_back(stream.readU16());
    const std::int64_t tableEnd = tableStart + static_cast<std::int64_t>(count) * 2;
    readGlyphs(stream, *font, offsets, tableStart, tableEnd, stream.tagEnd());
    return font;
}

Ref<Font> FontReader::readDefineFont2(SwfStream& stream)
{
    if (stream.bytesLeftInTag() < 3)
        return nullptr;
    const std::uint8_t flags = stream.readU8();
    (void)stream.readU8(); // language code
    std::string name = stream.readLengthString();
    if (stream.bytesLeftInTag() < 2 || stream.hasOverrun())
        return nullptr;
    const std::size_t count = stream.readU16();

    const bool wideOffsets = (flags & Font2WideOffsets) != 0;
    const bool wideCodes = (flags & Font2WideCodes) != 0;
    const std::int64_t offsetWidth = wideOffsets ? 4 : 2;
    const std::int64_t codeWidth = wideCodes ? 2 : 1;

    Ref<Font> font = makeRef<Font>();
    font->setName(std::move(name));
    font->setFlags(infoFlags(flags));

    // The offset table, then the offset of the code table.
    const std::int64_t tableStart = stream.position();
    const std::int64_t tableSize = (static_cast<std::int64_t>(count) + 1) * offsetWidth;
    if (count == 0 && stream.bytesLeftInTag() < offsetWidth && !(flags & Font2HasLayout))
        return font; // a font with no glyphs may stop here
    if (stream.bytesLeftInTag() < tableSize)
        return nullptr;
    std::vector<std::uint32_t> offsets;
    offsets.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        offsets.push_back(wideOffsets ? stream.readU32() : stream.readU16());
    const std::uint32_t codeTableOffset = wideOffsets ? stream.readU32() : stream.readU16();

    readGlyphs(stream, *font, offsets, tableStart, tableStart + tableSize, tableStart + codeTableOffset);

    // The code table: one code per glyph; the layout follows it. A font
    // without glyphs has no codes and its layout follows the offset table.
    if (count > 0)
    {
        const std::int64_t codeStart = tableStart + codeTableOffset;
        const std::int64_t codeBytes = static_cast<std::int64_t>(count) * codeWidth;
        if (codeTableOffset < tableSize || codeStart + codeBytes > stream.tagEnd())
            return nullptr;
        stream.setPosition(codeStart);
        font->setCodes(readCodes(stream, count, wideCodes));
    }

    if (!(flags & Font2HasLayout))
        return font;

    // Ascent, descent, leading, one advance per glyph, one RECT per glyph,
    // then the kerning pairs.
    if (stream.bytesLeftInTag() < 6 + static_cast<std::int64_t>(count) * 2)
        return nullptr;
    const int ascent = stream.readS16();
    const int descent = stream.readS16();
    const int leading = stream.readS16();
    std::vector<std::int16_t> advances;
    advances.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        advances.push_back(stream.readS16());
    std::vector<Rect> bounds;
    bounds.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
    {
        if (stream.bytesLeftInTag() == 0)
            return nullptr;
        bounds.push_back(readRect(stream));
    }
    if (stream.bytesLeftInTag() < 2)
        return nullptr;
    font->setLayout(ascent, descent, leading, std::move(advances), std::move(bounds));

    // Only the pairs that lie wholly inside the tag are taken, whatever the
    // count claims.
    const std::size_t kerningCount = stream.readU16();
    const std::int64_t recordSize = 2 * codeWidth + 2;
    for (std::size_t i = 0; i < kerningCount && stream.bytesLeftInTag() >= recordSize; ++i)
    {
        const std::uint16_t firstCode = wideCodes ? stream.readU16() : stream.readU8();
        const std::uint16_t secondCode = wideCodes ? stream.readU16() : stream.readU8();
        font->addKerning(firstCode, secondCode, stream.readS16());
    }
    return font;
}

bool FontReader::readFontInfo(SwfStream& stream, Font& font)
{
    if (stream.bytesLeftInTag() < 1)
        return false;
    std::string name = stream.readLengthString();
    if (stream.hasOverrun() || stream.bytesLeftInTag() < 1)
        return false;
    const std::uint8_t flags = stream.readU8();
    const bool wide = (flags & Font::WideCodes) != 0;

    // Codes run to the end of the tag; those beyond the glyph list are dropped.
    std::size_t count = static_cast<std::size_t>(stream.bytesLeftInTag() / (wide ? 2 : 1));
    if (count > static_cast<std::size_t>(font.glyphCount()))
        count = static_cast<std::size_t>(font.glyphCount());
    font.setName(std::move(name));
    font.setFlags(flags & 0x3F);
    font.setCodes(readCodes(stream, count, wide));
    return true;
}

} // namespace swf
