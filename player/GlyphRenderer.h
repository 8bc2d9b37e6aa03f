#pragma once
// Draws glyph runs: each glyph's outline through the shape renderer, filled
// with its run's colour, at the pen position and scaled from the font's
// 1024-unit em square to the run's text height.

#include "player/Forward.h"
#include "player/GlyphRun.h"

#include <functional>
#include <vector>

namespace swf
{

class GlyphRenderer
{
  public:
    // Font of a run by its id; null when the movie has none.
    using FontLookup = std::function<const Font*(int fontId)>;

    // `base` maps the text's own twips to the world (the object's world
    // matrix times the text's own matrix).
    static void drawRuns(const std::vector<GlyphRun>& runs, const FontLookup& fonts, const Matrix& base,
                         const ColorTransform& cxform, RenderContext& context);
};

} // namespace swf
