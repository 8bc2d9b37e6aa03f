#include "player/StaticText.h"

#include "player/DisplayObject.h"
#include "player/Font.h"
#include "player/GlyphRenderer.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"
#include "player/TimelineDefinition.h"

namespace swf
{

namespace
{
constexpr std::uint8_t StyleRecord = 0x80;
constexpr std::uint8_t HasFont = 0x08;
constexpr std::uint8_t HasColour = 0x04;
constexpr std::uint8_t HasYOffset = 0x02;
constexpr std::uint8_t HasXOffset = 0x01;
} // namespace

bool StaticText::read(SwfStream& stream, int code, TimelineDefinition& owner)
{
    textBounds = readRect(stream);
    textMatrix = readMatrix(stream);
    const int glyphBits = stream.readU8();
    const int advanceBits = stream.readU8();
    if (stream.hasOverrun() || glyphBits > 32 || advanceBits > 32)
        return false;

    // The style carried into each run; offsets belong to the record that
    // gives them, so a later record without offsets continues at the pen.
    GlyphRun style;
    style.fontId = -1;
    style.colour = Rgba{255, 255, 255, 255};
    style.height = 1.0f;

    std::size_t totalGlyphs = 0;
    // A missing final 0 at the very end of the tag is tolerated; a record
    // cut in the middle is not.
    while (!stream.atTagEnd())
    {
        const std::uint8_t head = stream.readU8();
        if (head == 0)
            break;
        if (head & StyleRecord)
        {
            style.hasX = false;
            style.hasY = false;
            if (head & HasFont)
                style.fontId = stream.readU16();
            if (head & HasColour)
                style.colour = code == 33 ? readRgba(stream) : readRgb(stream);
            if (head & HasXOffset)
            {
                style.hasX = true;
                style.x = static_cast<float>(stream.readS16());
            }
            if (head & HasYOffset)
            {
                style.hasY = true;
                style.y = static_cast<float>(stream.readS16());
            }
            if (head & HasFont)
                style.height = static_cast<float>(stream.readU16());
            if (stream.hasOverrun())
                return false;
            if ((head & HasFont) && fonts.count(style.fontId) == 0)
            {
                if (Resource* found = owner.fontResourceById(style.fontId); found && found->asFont())
                    fonts.emplace(style.fontId, Ref<Resource>(found));
            }
            continue;
        }

        GlyphRun run = style;
        const int count = head & 0x7F;
        // With zero-bit glyph fields each byte of the tag could add 127
        // entries; a text that claims more glyphs than any caption holds is
        // refused rather than allowed to exhaust memory.
        totalGlyphs += static_cast<std::size_t>(count);
        if (totalGlyphs > MaxGlyphs)
            return false;
        run.glyphs.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
        {
            GlyphEntry entry;
            entry.index = stream.readUInt(glyphBits);
            entry.advance = static_cast<float>(stream.readSInt(advanceBits));
            run.glyphs.push_back(entry);
        }
        if (stream.hasOverrun())
            return false;
        glyphRuns.push_back(std::move(run));
        style.hasX = false;
        style.hasY = false;
    }
    return !stream.hasFailed();
}

const Font* StaticText::font(int fontId) const
{
    const auto found = fonts.find(fontId);
    return found == fonts.end() ? nullptr : found->second->asFont();
}

void StaticText::display(DisplayObject& object, RenderContext& context)
{
    Matrix base = object.worldMatrix();
    base.concatenate(textMatrix);
    GlyphRenderer::drawRuns(
        glyphRuns, [this](int id) { return font(id); }, base, object.worldColorTransform(), context);
}

} // namespace swf
