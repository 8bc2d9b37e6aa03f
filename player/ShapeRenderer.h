#pragma once

#include "player/Forward.h"
#include "player/SwfTypes.h"

#include <vector>

namespace swf
{

// What every display call draws into: the cairo context handed in by the caller and the
// display matrix (movie twips -> buffer pixels) of the current display call.
struct RenderContext
{
    cairo_t* cr = nullptr;
    Matrix displayMatrix;
};

// Turns a shape's edges into cairo paths: one even-odd fill per fill style, then one
// round-capped stroke per line style.
class ShapeRenderer
{
  public:
    static void draw(const ShapeDefinition& shape, const Matrix& world, const ColorTransform& cxform,
                     RenderContext& context);
    // Draws paths with the given styles (glyphs use this with one solid fill of the text colour).
    static void drawPaths(const std::vector<Path>& paths, const std::vector<FillStyle>& fills,
                          const std::vector<LineStyle>& lines, const Matrix& world, const ColorTransform& cxform,
                          RenderContext& context);
};

} // namespace swf
