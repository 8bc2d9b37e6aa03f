#pragma once
// The live object of a DefineEditText character: a text field whose text
// scripts may read and change. It keeps the glyph runs of its last layout
// and draws them as static text is drawn.

#include "player/DisplayObject.h"
#include "player/GlyphRun.h"

#include <cstdint>
#include <string>
#include <vector>

namespace swf
{

class EditTextDefinition;

class TextField : public DisplayObject
{
  public:
    TextField(Ref<EditTextDefinition> definition, SpriteInstance* parent, int characterId);

    void display(RenderContext& context) override;
    Rect localBounds() const override;

    const EditTextDefinition& record() const { return *field; }
    const std::string& text() const { return currentText; }
    // Replaces the text (cut to the record's maximum length) and lays the
    // field out again; setting the same text again does nothing.
    void setText(const std::string& text);

    // "_alpha": percent, clamped to 0..100 into the colour transform's alpha multiplier.
    void setAlphaPercent(double percent);
    double alphaPercent() const;
    // "textColor": 0xRRGGBB tints the glyphs through the colour transform's
    // red, green and blue multipliers (the addends stay).
    void setTextColor(std::uint32_t rgb);
    std::uint32_t textColor() const;

    const std::vector<GlyphRun>& runs() const { return glyphRuns; }
    // How many times the field was laid out (to see that unchanged text costs nothing).
    int layoutCount() const { return layouts; }

  private:
    void assignText(const std::string& text);
    void layout();

    Ref<EditTextDefinition> field;
    std::string currentText;
    std::vector<GlyphRun> glyphRuns;
    int layouts = 0;
};

} // namespace swf
