#include "player/TextField.h"

#include "player/EditTextDefinition.h"
#include "player/GlyphRenderer.h"
#include "player/TextLayout.h"
#include "player/TextUtf8.h"

#include <cmath>

namespace swf
{

namespace
{

float clampUnit(double v)
{
    if (!(v > 0.0)) // also NaN
        return 0.0f;
    return v >= 1.0 ? 1.0f : static_cast<float>(v);
}

std::uint32_t channelByte(float multiplier)
{
    return static_cast<std::uint32_t>(std::lround(clampUnit(multiplier) * 255.0));
}

} // namespace

TextField::TextField(Ref<EditTextDefinition> definition, SpriteInstance* parent, int characterId)
    : DisplayObject(Ref<CharacterDefinition>(definition.get()), parent, characterId), field(std::move(definition))
{
    assignText(field->initialText());
}

void TextField::setText(const std::string& text)
{
    if (text == currentText)
        return;
    assignText(text);
}

void TextField::assignText(const std::string& text)
{
    const int maximum = field->maxLength();
    currentText = maximum > 0 && utf8Length(text) > static_cast<std::size_t>(maximum)
                      ? utf8Prefix(text, static_cast<std::size_t>(maximum))
                      : text;
    layout();
}

void TextField::layout()
{
    glyphRuns = TextLayout::layout(currentText, field->font(), field->layoutStyle());
    ++layouts;
}

void TextField::setAlphaPercent(double percent)
{
    ColorTransform c = colorTransform();
    c.aMul = clampUnit(percent * 0.01);
    setColorTransform(c);
}

double TextField::alphaPercent() const
{
    return static_cast<double>(colorTransform().aMul) * 100.0;
}

void TextField::setTextColor(std::uint32_t rgb)
{
    ColorTransform c = colorTransform();
    c.rMul = static_cast<float>((rgb >> 16) & 0xFF) / 255.0f;
    c.gMul = static_cast<float>((rgb >> 8) & 0xFF) / 255.0f;
    c.bMul = static_cast<float>(rgb & 0xFF) / 255.0f;
    setColorTransform(c);
}

std::uint32_t TextField::textColor() const
{
    const ColorTransform& c = colorTransform();
    return (channelByte(c.rMul) << 16) | (channelByte(c.gMul) << 8) | channelByte(c.bMul);
}

Rect TextField::localBounds() const
{
    return field->bounds();
}

void TextField::display(RenderContext& context)
{
    const Font* font = field->font();
    const int fontId = field->fontId();
    // Border and background are not drawn: only the glyphs of the last layout.
    GlyphRenderer::drawRuns(
        glyphRuns, [font, fontId](int id) { return id == fontId ? font : nullptr; }, worldMatrix(),
        worldColorTransform(), context);
}

} // namespace swf
