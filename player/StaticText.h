#pragma once
// A DefineText or DefineText2 character: bounds, its own matrix and glyph
// runs in fonts of the movie.

#include "player/CharacterDefinition.h"
#include "player/GlyphRun.h"
#include "player/SwfTypes.h"

#include <cstddef>
#include <map>
#include <vector>

namespace swf
{

class StaticText : public CharacterDefinition
{
  public:
    // Most glyphs one text may hold.
    static constexpr std::size_t MaxGlyphs = std::size_t(1) << 20;

    // Reads the tag after the character id; `code` 11 gives RGB colours,
    // 33 RGBA. Fonts are taken from `owner` as the runs name them. False when
    // a record is cut by the end of the tag.
    [[nodiscard]] bool read(SwfStream& stream, int code, TimelineDefinition& owner);

    void display(DisplayObject& object, RenderContext& context) override;
    Rect bounds() const override { return textBounds; }
    const char* kindName() const override { return "text"; }

    const Matrix& matrix() const { return textMatrix; }
    const std::vector<GlyphRun>& runs() const { return glyphRuns; }
    // The font a run names, or null when the movie had none under that id.
    const Font* font(int fontId) const;

  private:
    Rect textBounds;
    Matrix textMatrix;
    std::vector<GlyphRun> glyphRuns;
    std::map<int, Ref<Resource>> fonts; // every font the runs use, kept alive with the text
};

} // namespace swf
