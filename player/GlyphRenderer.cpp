#include "player/GlyphRenderer.h"

#include "player/Font.h"
#include "player/ShapeRenderer.h"

namespace swf
{

namespace
{
constexpr float FontUnitsPerEm = 1024.0f;
}

void GlyphRenderer::drawRuns(const std::vector<GlyphRun>& runs, const FontLookup& fonts, const Matrix& base,
                             const ColorTransform& cxform, RenderContext& context)
{
    std::vector<FillStyle> fill(1);
    const std::vector<LineStyle> noLines;
    float penX = 0.0f;
    float penY = 0.0f;
    for (const GlyphRun& run : runs)
    {
        // A run without offsets continues where the previous one ended.
        if (run.hasX)
            penX = run.x;
        if (run.hasY)
            penY = run.y;
        const Font* font = fonts ? fonts(run.fontId) : nullptr;
        const float scale = run.height / FontUnitsPerEm;
        fill[0].type = SolidFill;
        fill[0].colour = run.colour;
        for (const GlyphEntry& entry : run.glyphs)
        {
            // A glyph index outside the font draws nothing but still moves the pen.
            const ShapeDefinition* glyph = font ? font->glyph(entry.index) : nullptr;
            if (glyph != nullptr && scale > 0.0f && !glyph->paths().empty())
            {
                Matrix m = base;
                m.concatenateTranslation(penX, penY);
                m.concatenateScale(scale);
                ShapeRenderer::drawPaths(glyph->paths(), fill, noLines, m, cxform, context);
            }
            penX += entry.advance;
        }
    }
}

} // namespace swf
