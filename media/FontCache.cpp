#include "media/FontCache.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <memory>
#include <optional>

#include "engine/FileSystem.h"

namespace
{
std::unique_ptr<FontCache> instance;

// The FreeType library lives as long as the process: cairo may hold a face
// (in its own font caches) after every label and this cache have let go.
FT_Library Library()
{
    static FT_Library library = nullptr;
    static bool tried = false;
    if (!tried)
    {
        tried = true;
        if (FT_Init_FreeType(&library) != 0)
        {
            library = nullptr;
        }
    }
    return library;
}

// The file bytes and the FreeType face, freed when cairo drops the face.
struct FaceOwner
{
    std::string bytes;
    FT_Face face = nullptr;
};

const cairo_user_data_key_t OwnerKey{};

void DestroyOwner(void* data)
{
    auto* owner = static_cast<FaceOwner*>(data);
    if (owner->face != nullptr)
    {
        FT_Done_Face(owner->face);
    }
    delete owner;
}
} // namespace

FontCache& FontCache::Get()
{
    if (!instance)
    {
        instance = std::make_unique<FontCache>();
    }
    return *instance;
}

void FontCache::Destroy()
{
    instance.reset();
}

FontCache::~FontCache()
{
    for (auto& entry : faces)
    {
        if (entry.second != nullptr)
        {
            cairo_font_face_destroy(entry.second);
        }
    }
}

cairo_font_face_t* FontCache::Face(const std::string& path)
{
    auto it = faces.find(path);
    if (it != faces.end())
    {
        return it->second;
    }
    cairo_font_face_t*& slot = faces[path];
    FT_Library library = Library();
    std::optional<std::string> bytes = FileSystem::Get().ReadWholeFile(path);
    if (library == nullptr || !bytes || bytes->empty())
    {
        return nullptr;
    }
    auto owner = std::make_unique<FaceOwner>();
    owner->bytes = std::move(*bytes);
    if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(owner->bytes.data()),
                           static_cast<FT_Long>(owner->bytes.size()), 0, &owner->face) != 0)
    {
        return nullptr;
    }
    // A nominal size of one point (64 in 26.6 units); cairo scales the face
    // to each label's pixel size.
    FT_Set_Char_Size(owner->face, 64, 64, 0, 0);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(owner->face, 0);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS)
    {
        cairo_font_face_destroy(face);
        return nullptr;
    }
    FaceOwner* raw = owner.release();
    if (cairo_font_face_set_user_data(face, &OwnerKey, raw, &DestroyOwner) != CAIRO_STATUS_SUCCESS)
    {
        cairo_font_face_destroy(face);
        DestroyOwner(raw);
        return nullptr;
    }
    slot = face;
    return face;
}
