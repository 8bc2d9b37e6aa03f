#include "media/TextLabel.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <new>
#include <vector>

#include "app/Application.h"
#include "media/Bitmap.h"
#include "media/BitmapCache.h"
#include "media/FontCache.h"

namespace
{

// Every label's height and baseline come from the ink of this string, so
// labels of one font and size line up whatever their text.
const char* const MeasuringString = "`!aA?jJyYqQ|~{}[]()&/0$,";

// Selects the font and size on a context. False when the font is unusable.
bool SelectFont(cairo_t* cr, const std::string& path, int size)
{
    cairo_font_face_t* face = FontCache::Get().Face(path);
    if (face == nullptr)
    {
        return false;
    }
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    // Stated rather than inherited, so measurements repeat on every machine.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

// A context over a 1 x 1 scratch image, for measuring.
struct MeasureContext
{
    uint32_t pixel = 0;
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    MeasureContext()
    {
        surface =
            cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(&pixel), CAIRO_FORMAT_ARGB32, 1, 1, 4);
        cr = cairo_create(surface);
    }
    ~MeasureContext()
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    MeasureContext(const MeasureContext&) = delete;
    MeasureContext& operator=(const MeasureContext&) = delete;
};

int TruncatedPixels(double value)
{
    if (!std::isfinite(value) || value < 0.0)
    {
        return 0;
    }
    return value > 1e6 ? 1000000 : static_cast<int>(value);
}

} // namespace

TextLabel::~TextLabel()
{
    BitmapCache::Get().Release(bitmap);
}

std::string TextLabel::ValidUtf8(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    const auto* s = reinterpret_cast<const unsigned char*>(value.data());
    const size_t n = value.size();
    size_t i = 0;
    while (i < n)
    {
        const unsigned char c = s[i];
        size_t length = 0;
        uint32_t minimum = 0;
        if (c < 0x80)
        {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF)
        {
            length = 2;
            minimum = 0x80;
        }
        else if (c >= 0xE0 && c <= 0xEF)
        {
            length = 3;
            minimum = 0x800;
        }
        else if (c >= 0xF0 && c <= 0xF4)
        {
            length = 4;
            minimum = 0x10000;
        }
        bool valid = length != 0 && i + length <= n;
        uint32_t code = valid ? (c & (0xFFu >> (length + 1))) : 0;
        for (size_t k = 1; valid && k < length; ++k)
        {
            if ((s[i + k] & 0xC0) != 0x80)
            {
                valid = false;
            }
            else
            {
                code = (code << 6) | (s[i + k] & 0x3F);
            }
        }
        // Overlong forms, surrogates and code points past U+10FFFF are refused too.
        if (valid && (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)))
        {
            valid = false;
        }
        if (valid)
        {
            out.append(value, i, length);
            i += length;
        }
        else
        {
            out.push_back('?');
            ++i;
        }
    }
    return out;
}

void TextLabel::SetFont(const std::string& path, int size)
{
    fontPath = path;
    fontSize = size;
    needsLoad = true;
}

void TextLabel::SetText(const std::string& value)
{
    InvalidateRect();
    text = value;
    needsLoad = true;
}

void TextLabel::SetColour(const Colour& value)
{
    colour = value;
    needsLoad = true;
}

void TextLabel::SetHalo(const Colour& value, int pixels)
{
    InvalidateRect();
    haloColour = value;
    haloPixels = std::max(0, pixels);
    needsLoad = true;
}

int TextLabel::MeasureText(const std::string& value) const
{
    if (fontPath.empty() || value.empty() || fontSize < 1)
    {
        return GetWidth();
    }
    MeasureContext measure;
    if (!SelectFont(measure.cr, fontPath, fontSize))
    {
        return GetWidth();
    }
    const std::string valid = ValidUtf8(value);
    cairo_text_extents_t extents{};
    cairo_text_extents(measure.cr, valid.c_str(), &extents);
    return TruncatedPixels(extents.width);
}

void TextLabel::LoadIfNeeded()
{
    if (needsLoad)
    {
        Load();
        needsLoad = false;
        // As a draw would: the text may now cover more than before.
        InvalidateRect();
    }
}

int TextLabel::GetWidth() const
{
    // The size is a result of rendering, so asking for it renders: the
    // label's image is logically part of its value.
    const_cast<TextLabel*>(this)->LoadIfNeeded();
    return width;
}

int TextLabel::GetHeight() const
{
    const_cast<TextLabel*>(this)->LoadIfNeeded();
    return height;
}

void TextLabel::SetSize(int w, int h)
{
    (void)w;
    (void)h;
}

void TextLabel::Release()
{
    BitmapCache::Get().Release(bitmap);
    bitmap = nullptr;
}

void TextLabel::Load()
{
    Release();
    if (fontPath.empty() || text.empty() || fontSize <= 0)
    {
        return; // shows nothing and keeps its size
    }
    MeasureContext measure;
    if (!SelectFont(measure.cr, fontPath, fontSize))
    {
        return; // a missing or broken font shows nothing
    }
    const std::string valid = ValidUtf8(text);
    cairo_text_extents_t extents{};
    cairo_text_extents(measure.cr, valid.c_str(), &extents);
    cairo_text_extents_t reference{};
    cairo_text_extents(measure.cr, MeasuringString, &reference);
    const int textWidth = TruncatedPixels(extents.width);
    const int textHeight = TruncatedPixels(reference.height);
    const int newWidth = textWidth > 0 ? textWidth + 2 * haloPixels : textWidth;
    const int newHeight = textHeight > 0 ? textHeight + 2 * haloPixels : textHeight;
    const double originX = std::trunc(-extents.x_bearing) + haloPixels;
    const double baseline = -reference.y_bearing + haloPixels;
    if (textWidth <= 0 || textHeight <= 0)
    {
        // Only blanks: no ink to show, but the label takes the text's size.
        width = newWidth;
        height = newHeight;
        return;
    }

    bitmap = new (std::nothrow) Bitmap();
    uint32_t* pixels = bitmap ? bitmap->AllocatePixels(newWidth, newHeight) : nullptr;
    if (pixels == nullptr)
    {
        delete bitmap;
        bitmap = nullptr;
        Application::Get().ShowMessage("Warning: Unable to create bitmap for font.");
        return;
    }
    // The text is drawn straight into the label's bitmap.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(pixels), CAIRO_FORMAT_ARGB32, newWidth, newHeight, newWidth * 4);
    cairo_t* cr = cairo_create(surface);
    if (SelectFont(cr, fontPath, fontSize))
    {
        cairo_move_to(cr, originX, baseline);
        if (haloPixels > 0)
        {
            // The halo is the glyph outlines stroked twice as wide, under the text.
            cairo_text_path(cr, valid.c_str());
            cairo_set_source_rgba(cr, haloColour.red / 255.0, haloColour.green / 255.0, haloColour.blue / 255.0,
                                  haloColour.alpha / 255.0);
            cairo_set_line_width(cr, 2.0 * haloPixels);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
            cairo_move_to(cr, originX, baseline);
        }
        cairo_set_source_rgba(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0, colour.alpha / 255.0);
        cairo_show_text(cr, valid.c_str());
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    bitmap->FinishPixels();
    width = newWidth;
    height = newHeight;
}

bool TextLabel::Draw(Application& app)
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
