#pragma once

#include "player/CharacterDefinition.h"
#include "player/SwfTypes.h"

#include <vector>

namespace swf
{

// A DefineShape, DefineShape2 or DefineShape3 character: bounds, styles and quadratic paths in
// twips. Glyphs of fonts are shapes without styles.
class ShapeDefinition : public CharacterDefinition
{
  public:
    // Reads bounds, style arrays and shape records; `code` is 2, 22 or 32.
    void read(SwfStream& stream, int code);
    // Reads a glyph: fill and line bits and shape records only (styles stay empty).
    void readGlyph(SwfStream& stream);

    void display(DisplayObject& object, RenderContext& context) override;
    bool pointTestLocal(float x, float y) const override;
    Rect bounds() const override { return shapeBounds; }
    const char* kindName() const override { return "shape"; }

    const std::vector<FillStyle>& fillStyles() const { return fills; }
    const std::vector<LineStyle>& lineStyles() const { return lines; }
    const std::vector<Path>& paths() const { return shapePaths; }

  private:
    void readShapeRecords(SwfStream& stream, int code);

    Rect shapeBounds;
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    std::vector<Path> shapePaths;
};

// DefineMorphShape: accepted so that placing it works; it draws nothing and hits nothing.
class MorphShapeDefinition : public CharacterDefinition
{
  public:
    void display(DisplayObject&, RenderContext&) override {}
    bool pointTestLocal(float, float) const override { return false; }
    const char* kindName() const override { return "morphshape"; }
};

} // namespace swf
