#include "media/ColourRect.h"

#include <algorithm>
#include <cairo.h>
#include <new>
#include <string>
#include <vector>

#include "media/Bitmap.h"
#include "media/BitmapCache.h"

ColourRect::~ColourRect()
{
    BitmapCache::Get().Release(bitmap);
}

void ColourRect::SetColour(const Colour& value)
{
    if (value == colour)
    {
        return;
    }
    colour = value;
    needsLoad = true;
    InvalidateRect();
}

void ColourRect::Release()
{
    BitmapCache::Get().Release(bitmap);
    bitmap = nullptr;
}

uint32_t ColourRect::PremultipliedPixel(const Colour& c)
{
    uint32_t pixel = 0;
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(&pixel), CAIRO_FORMAT_ARGB32, 1, 1, 4);
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return pixel;
}

void ColourRect::Load()
{
    Release();
    if (width <= 0 || height <= 0)
    {
        return;
    }
    const std::string key = "color-" + std::to_string(width) + "-" + std::to_string(height) + "-" +
                            std::to_string(colour.red) + "-" + std::to_string(colour.green) + "-" +
                            std::to_string(colour.blue) + "-" + std::to_string(colour.alpha);
    bitmap = BitmapCache::Get().Find(key);
    if (bitmap != nullptr)
    {
        return;
    }
    bitmap = new (std::nothrow) Bitmap();
    if (bitmap == nullptr)
    {
        return;
    }
    if (uint32_t* pixels = bitmap->AllocatePixels(width, height))
    {
        std::fill(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height),
                  PremultipliedPixel(colour));
    }
    bitmap->FinishPixels();
    BitmapCache::Get().Add(key, bitmap);
}

bool ColourRect::Draw(Application& app)
{
    if (!Control::Draw(app))
    {
        return false;
    }
    if (bitmap != nullptr)
    {
        bitmap->Draw(app, x, y, width, height);
    }
    return true;
}
