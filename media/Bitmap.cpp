#include "media/Bitmap.h"

#include <algorithm>

#include "app/Application.h"

void Bitmap::SetPixels(int newWidth, int newHeight, const uint32_t* source)
{
    pixels.clear();
    width = std::max(newWidth, 0);
    height = std::max(newHeight, 0);
    hasAlpha = false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (source == nullptr || count == 0)
    {
        return;
    }
    pixels.assign(source, source + count);
    hasAlpha = std::any_of(pixels.begin(), pixels.end(), [](uint32_t p) { return (p >> 24) != 0xFFu; });
}

uint32_t Bitmap::PixelAt(int px, int py) const
{
    if (px < 0 || py < 0 || px >= width || py >= height || pixels.empty())
    {
        return 0;
    }
    return pixels[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
}

void Bitmap::Draw(Application& app, int x, int y, int w, int h) const
{
    if (pixels.empty())
    {
        return;
    }
    app.DrawBitmap(pixels.data(), width, height, hasAlpha, x, y, w, h);
}
