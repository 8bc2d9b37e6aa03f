#include "player/TextLayout.h"

#include "player/Font.h"
#include "player/TextUtf8.h"

#include <utility>

namespace swf
{

namespace
{
constexpr float FontUnitsPerEm = 1024.0f;
constexpr char32_t Space = 32;
constexpr char32_t CarriageReturn = 13;
constexpr char32_t LineFeed = 10;
} // namespace

std::vector<GlyphRun> TextLayout::layout(const std::string& text, const Font* font, const TextLayoutStyle& style)
{
    if (font == nullptr)
        return {};
    TextLayout layout(*font, style);
    layout.run(text);
    return std::move(layout.runs);
}

TextLayout::TextLayout(const Font& font, const TextLayoutStyle& style) : font(font), style(style)
{
    scale = style.height / FontUnitsPerEm;
    lineLeading = style.leading + static_cast<float>(font.leading()) * scale;
    const float start = style.leftMargin + style.indent;
    paragraphX = start > 0.0f ? start : 0.0f;
}

void TextLayout::startRun()
{
    current = GlyphRun{};
    current.fontId = style.fontId;
    current.colour = style.colour;
    current.height = style.height;
    current.hasX = true;
    current.hasY = true;
    current.x = x;
    current.y = y;
}

void TextLayout::run(const std::string& text)
{
    x = paragraphX;
    // The first baseline sits one text height down, moved by the font's
    // own leading and descent.
    y = style.height + static_cast<float>(font.leading() - font.descent()) * scale;
    startRun();
    lineFirstRun = 0;

    const float lineLimit = style.fieldWidth - style.rightMargin - RightGap;
    bool hasPrevious = false;
    char32_t previous = 0;
    std::size_t pos = 0;
    while (pos < text.size())
    {
        const char32_t c = decodeUtf8(text, pos);
        if (c == 0)
            break;
        if (hasPrevious)
            x += static_cast<float>(font.kerning(previous, c)) * scale;
        previous = c;
        hasPrevious = true;

        if (c == CarriageReturn || c == LineFeed)
        {
            breakLine();
            continue;
        }

        if (c == Space)
        {
            hasSpaceMark = true;
            spaceMark = current.glyphs.size();
            spaceHasGlyph = false;
        }
        const int index = font.glyphIndex(c);
        if (index >= 0)
        {
            const float advance = static_cast<float>(font.advance(index)) * scale;
            current.glyphs.push_back(GlyphEntry{static_cast<std::uint32_t>(index), advance});
            x += advance;
            if (c == Space)
                spaceHasGlyph = true;
        }

        if (x >= lineLimit)
            wrapLine();
    }
    finishLine(x);
}

void TextLayout::finishLine(float lineWidth)
{
    runs.push_back(std::move(current));
    alignLine(lineWidth);
}

void TextLayout::breakLine()
{
    finishLine(x);
    // A new paragraph starts at the indent again.
    x = paragraphX;
    y += style.height + lineLeading;
    startRun();
    lineFirstRun = runs.size();
    hasSpaceMark = false;
}

void TextLayout::wrapLine()
{
    GlyphRun finished = std::move(current);
    float lineWidth = x;
    // Wrapped lines start at the left margin, without the indent.
    x = style.leftMargin;
    y += style.height + lineLeading;
    startRun();

    std::size_t moveFrom = finished.glyphs.size();
    std::size_t keep = finished.glyphs.size();
    if (hasSpaceMark)
    {
        // The word begun after the last space moves whole to the next line
        // and the space itself is dropped.
        keep = spaceMark;
        moveFrom = spaceMark;
        if (spaceHasGlyph)
        {
            lineWidth -= finished.glyphs[spaceMark].advance;
            moveFrom = spaceMark + 1;
        }
    }
    else if (!finished.glyphs.empty())
    {
        // No space to break at: the glyph that overflowed starts the next line.
        keep = finished.glyphs.size() - 1;
        moveFrom = keep;
    }
    for (std::size_t i = moveFrom; i < finished.glyphs.size(); ++i)
    {
        const GlyphEntry glyph = finished.glyphs[i];
        current.glyphs.push_back(glyph);
        x += glyph.advance;
        lineWidth -= glyph.advance;
    }
    finished.glyphs.resize(keep);

    runs.push_back(std::move(finished));
    alignLine(lineWidth);
    lineFirstRun = runs.size();
    hasSpaceMark = false;
}

void TextLayout::alignLine(float lineWidth)
{
    float shift = 0.0f;
    const float extra = style.fieldWidth - style.rightMargin - lineWidth - RightGap;
    if (style.alignment == 1)
        shift = extra;
    else if (style.alignment == 2)
        shift = extra * 0.5f;
    if (shift == 0.0f)
        return;
    for (std::size_t i = lineFirstRun; i < runs.size(); ++i)
    {
        if (runs[i].hasX)
            runs[i].x += shift;
    }
}

} // namespace swf
