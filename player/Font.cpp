#include "player/Font.h"

#include <utility>

namespace swf
{

namespace
{
std::uint32_t kerningKey(std::uint32_t first, std::uint32_t second)
{
    return (first << 16) | second;
}
} // namespace

const ShapeDefinition* Font::glyph(std::int64_t index) const
{
    if (index < 0 || index >= static_cast<std::int64_t>(glyphs.size()))
        return nullptr;
    return glyphs[static_cast<std::size_t>(index)].get();
}

void Font::addGlyph(Ref<ShapeDefinition> shape)
{
    glyphs.push_back(shape ? std::move(shape) : makeRef<ShapeDefinition>());
}

int Font::glyphIndex(char32_t code) const
{
    if (code > 0xFFFF)
        return -1;
    const auto found = codeToGlyph.find(static_cast<std::uint16_t>(code));
    return found == codeToGlyph.end() ? -1 : found->second;
}

std::uint16_t Font::codeOfGlyph(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= codes.size())
        return 0;
    return codes[static_cast<std::size_t>(index)];
}

int Font::advance(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= advances.size())
        return 0;
    return advances[static_cast<std::size_t>(index)];
}

int Font::kerning(char32_t first, char32_t second) const
{
    if (first > 0xFFFF || second > 0xFFFF || kerningTable.empty())
        return 0;
    const auto found = kerningTable.find(kerningKey(first, second));
    return found == kerningTable.end() ? 0 : found->second;
}

void Font::setCodes(std::vector<std::uint16_t> newCodes)
{
    if (newCodes.size() > glyphs.size())
        newCodes.resize(glyphs.size());
    codes = std::move(newCodes);
    codeToGlyph.clear();
    for (std::size_t i = 0; i < codes.size(); ++i)
        codeToGlyph.emplace(codes[i], static_cast<int>(i)); // the first glyph of a code wins
}

void Font::setLayout(int ascent, int descent, int leading, std::vector<std::int16_t> newAdvances,
                     std::vector<Rect> glyphBounds)
{
    layout = true;
    ascentUnits = ascent;
    descentUnits = descent;
    leadingUnits = leading;
    advances = std::move(newAdvances);
    bounds = std::move(glyphBounds);
}

void Font::addKerning(std::uint16_t first, std::uint16_t second, int adjustment)
{
    kerningTable[kerningKey(first, second)] = adjustment;
}

} // namespace swf
