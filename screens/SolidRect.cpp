#include "screens/SolidRect.h"

#include "app/Application.h"
#include "engine/ScreenManager.h"

namespace
{

uint32_t Premultiply(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    auto scale = [a](uint8_t c) { return static_cast<uint32_t>((c * a + 127) / 255); };
    return (uint32_t{a} << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

} // namespace

void SolidRect::SetColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    colour = Premultiply(r, g, b, a);
    needsLoad = true;
    InvalidateRect();
}

void SolidRect::SetHoverColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    hoverColour = Premultiply(r, g, b, a);
    needsLoad = true;
    InvalidateRect();
}

void SolidRect::Load()
{
    const size_t count = width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
    normalPixels.assign(count, colour);
    hoverPixels.assign(count, hoverColour);
}

void SolidRect::Release()
{
    normalPixels.clear();
    normalPixels.shrink_to_fit();
    hoverPixels.clear();
    hoverPixels.shrink_to_fit();
    pressed = false;
    needsLoad = true;
}

bool SolidRect::Draw(Application& app)
{
    if (!Control::Draw(app))
        return false;
    const std::vector<uint32_t>& pixels = mouseOver ? hoverPixels : normalPixels;
    if (pixels.empty())
        return false;
    const uint32_t shown = mouseOver ? hoverColour : colour;
    const int w = clipWidth >= 0 ? clipWidth : width;
    const int h = clipHeight >= 0 ? clipHeight : height;
    app.DrawBitmap(pixels.data(), width, height, (shown >> 24) != 255, x, y, w, h);
    return true;
}

bool SolidRect::OnKey(int key, bool alt)
{
    if (hidden || alt || hotKey == 0 || key != hotKey)
        return false;
    Click();
    return true;
}

void SolidRect::OnMouseDown(int, int)
{
    pressed = true;
    ScreenManager::Get().SetCapture(this);
}

void SolidRect::OnMouseUp(int px, int py)
{
    ScreenManager& screens = ScreenManager::Get();
    if (screens.GetCapture() == this)
        screens.SetCapture(nullptr);
    const bool click = pressed && HitTest(px, py);
    pressed = false;
    if (click)
        Click();
}

void SolidRect::Click()
{
    if (onClick)
        onClick();
}
