#pragma once
// Lays out the text of a text field into glyph runs: explicit line breaks,
// wrapping at the field's width, kerning, margins, indent, leading and
// alignment. All lengths are twips.

#include "player/GlyphRun.h"

#include <cstddef>
#include <string>
#include <vector>

namespace swf
{

class Font;

// What a text field's record says about the look of its text.
struct TextLayoutStyle
{
    int fontId = -1;
    float fieldWidth = 0.0f; // bounds xmax - xmin
    float height = 0.0f;     // text height, twips per em
    Rgba colour{0, 0, 0, 255};
    int alignment = 0; // 0 left, 1 right, 2 centre, 3 justify (left as laid out)
    float leftMargin = 0.0f;
    float rightMargin = 0.0f;
    float indent = 0.0f;
    float leading = 0.0f;
};

class TextLayout
{
  public:
    // Space kept free at the right of every line.
    static constexpr float RightGap = 80.0f;

    // The runs of `text` set in `font` (no font: no runs).
    [[nodiscard]] static std::vector<GlyphRun> layout(const std::string& text, const Font* font,
                                                      const TextLayoutStyle& style);

  private:
    TextLayout(const Font& font, const TextLayoutStyle& style);

    void run(const std::string& text);
    void startRun();
    void finishLine(float lineWidth);
    void breakLine();
    void wrapLine();
    void alignLine(float lineWidth);

    const Font& font;
    const TextLayoutStyle& style;
    float scale = 0.0f;       // font units to twips
    float lineLeading = 0.0f; // extra space between lines
    float paragraphX = 0.0f;  // where a new paragraph starts

    std::vector<GlyphRun> runs; // finished runs
    GlyphRun current;
    float x = 0.0f;
    float y = 0.0f;
    std::size_t lineFirstRun = 0;
    // Where the last space of the current line sits in `current`.
    bool hasSpaceMark = false;
    bool spaceHasGlyph = false;
    std::size_t spaceMark = 0;
};

} // namespace swf
