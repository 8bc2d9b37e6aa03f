#include "GlyphOutliner.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <vector>

struct GlyphOutliner::Face
{
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

GlyphOutliner::GlyphOutliner() = default;
GlyphOutliner::~GlyphOutliner() = default;

bool GlyphOutliner::Loaded() const
{
    return face && face->face;
}

bool GlyphOutliner::Load(const std::string& fontPath, std::string& error)
{
    auto f = std::make_unique<Face>();
    if (FT_Init_FreeType(&f->library) != 0)
    {
        error = "FreeType cannot start";
        return false;
    }
    if (FT_New_Face(f->library, fontPath.c_str(), 0, &f->face) != 0)
    {
        error = "cannot open font " + fontPath;
        return false;
    }
    if (!FT_IS_SCALABLE(f->face))
    {
        error = "font " + fontPath + " has no outlines";
        return false;
    }
    face = std::move(f);
    return true;
}

namespace
{

struct DecomposeState
{
    Outline* out;
    double scale; // user units per font unit
    Point pen;
    Point Map(const FT_Vector* v) const { return {pen.x + v->x * scale, pen.y - v->y * scale}; }
};

int MoveTo(const FT_Vector* to, void* user)
{
    auto* s = static_cast<DecomposeState*>(user);
    s->out->Close();
    s->out->MoveTo(s->Map(to));
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    auto* s = static_cast<DecomposeState*>(user);
    s->out->LineTo(s->Map(to));
    return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    auto* s = static_cast<DecomposeState*>(user);
    s->out->QuadTo(s->Map(control), s->Map(to));
    return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
{
    auto* s = static_cast<DecomposeState*>(user);
    s->out->CubicTo(s->Map(c1), s->Map(c2), s->Map(to));
    return 0;
}

// Decodes one UTF-8 character at text[i], advancing i; malformed bytes are
// taken as Latin-1 so that no input is lost.
uint32_t NextCodePoint(const std::string& text, size_t& i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + extra >= text.size())
    {
        ++i;
        return c;
    }
    uint32_t code = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k)
    {
        if ((byte(i + k) & 0xC0) != 0x80)
        {
            ++i;
            return c;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    i += extra + 1;
    return code;
}

} // namespace

Outline GlyphOutliner::Layout(const std::string& text, double fontSize, double letterSpacing, double& advance) const
{
    Outline out;
    advance = 0;
    if (!Loaded())
        return out;
    FT_Face f = face->face;
    const double scale = fontSize / f->units_per_EM;
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    DecomposeState state{&out, scale, {}};
    FT_UInt previous = 0;
    for (size_t i = 0; i < text.size();)
    {
        const uint32_t code = NextCodePoint(text, i);
        const FT_UInt glyph = FT_Get_Char_Index(f, code);
        if (previous != 0 && FT_HAS_KERNING(f))
        {
            FT_Vector kern{};
            if (FT_Get_Kerning(f, previous, glyph, FT_KERNING_UNSCALED, &kern) == 0)
                advance += kern.x * scale;
        }
        previous = glyph;
        if (FT_Load_Glyph(f, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            continue;
        if (f->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
        {
            state.pen = {advance, 0};
            FT_Outline_Decompose(&f->glyph->outline, &funcs, &state);
            out.Close();
        }
        advance += f->glyph->advance.x * scale + letterSpacing;
    }
    return out;
}
