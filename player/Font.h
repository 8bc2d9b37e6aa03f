#pragma once
// A font embedded in a movie: glyph outlines in a square of 1024 units per
// em, the table from character codes to glyphs, and the layout values
// (ascent, descent, leading, advances, bounds, kerning) that DefineFont2
// fonts carry.

#include "player/CharacterDefinition.h"
#include "player/ShapeDefinition.h"
#include "player/SwfTypes.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace swf
{

class Font : public Resource
{
  public:
    // DefineFontInfo / DefineFont2 flags.
    enum Flag : std::uint8_t
    {
        WideCodes = 0x01,
        Bold = 0x02,
        Italic = 0x04,
        Ansi = 0x08,
        ShiftJis = 0x10,
        SmallText = 0x20,
    };

    Font() = default;

    Font* asFont() override { return this; }

    [[nodiscard]] int glyphCount() const { return static_cast<int>(glyphs.size()); }
    // The outline of a glyph, or null for an index outside the font.
    [[nodiscard]] const ShapeDefinition* glyph(std::int64_t index) const;
    // Appends a glyph outline (an empty shape for a glyph without one).
    void addGlyph(Ref<ShapeDefinition> shape);

    // The glyph index for a character code, or -1 when the font has none.
    [[nodiscard]] int glyphIndex(char32_t code) const;
    // The character code of a glyph (0 when the code table does not cover it).
    [[nodiscard]] std::uint16_t codeOfGlyph(int index) const;
    // Advance of a glyph in font units; 0 without layout data or beyond the table.
    [[nodiscard]] int advance(int index) const;
    // Kerning adjustment of a pair of codes in font units, 0 when the pair has none.
    [[nodiscard]] int kerning(char32_t first, char32_t second) const;

    [[nodiscard]] bool hasLayout() const { return layout; }
    [[nodiscard]] int ascent() const { return ascentUnits; }
    [[nodiscard]] int descent() const { return descentUnits; }
    [[nodiscard]] int leading() const { return leadingUnits; }
    [[nodiscard]] const std::vector<Rect>& glyphBounds() const { return bounds; }
    [[nodiscard]] std::size_t kerningPairCount() const { return kerningTable.size(); }

    [[nodiscard]] const std::string& name() const { return fontName; }
    [[nodiscard]] std::uint8_t flags() const { return fontFlags; }

    void setName(std::string name) { fontName = std::move(name); }
    void setFlags(std::uint8_t flags) { fontFlags = flags; }
    // Replaces the code table; codes beyond the glyph list are dropped, since
    // they would name glyphs the font does not have.
    void setCodes(std::vector<std::uint16_t> codes);
    void setLayout(int ascent, int descent, int leading, std::vector<std::int16_t> advances,
                   std::vector<Rect> glyphBounds);
    void addKerning(std::uint16_t first, std::uint16_t second, int adjustment);

  private:
    std::vector<Ref<ShapeDefinition>> glyphs;
    std::vector<std::uint16_t> codes; // glyph index -> character code
    std::unordered_map<std::uint16_t, int> codeToGlyph;
    std::unordered_map<std::uint32_t, int> kerningTable; // (first << 16 | second) -> units

    bool layout = false;
    int ascentUnits = 0;
    int descentUnits = 0;
    int leadingUnits = 0;
    std::vector<std::int16_t> advances;
    std::vector<Rect> bounds;

    std::string fontName;
    std::uint8_t fontFlags = 0;
};

} // namespace swf
