#pragma once
// One run of glyphs of a text: the style it was written in and its glyphs.
// Static texts read their runs from the movie; text fields make theirs by
// laying out their current text.

#include "player/SwfTypes.h"

#include <cstdint>
#include <vector>

namespace swf
{

struct GlyphEntry
{
    std::uint32_t index = 0; // into the font's glyph list (may lie outside it)
    float advance = 0.0f;    // twips the pen moves after this glyph
};

struct GlyphRun
{
    int fontId = -1;
    Rgba colour{255, 255, 255, 255};
    bool hasX = false;
    bool hasY = false;
    float x = 0.0f;      // twips, in the text's own space
    float y = 0.0f;      // twips, the baseline
    float height = 1.0f; // twips per em
    std::vector<GlyphEntry> glyphs;
};

} // namespace swf
