#pragma once

#include <map>
#include <string>

typedef struct _cairo_font_face cairo_font_face_t;

// Font faces by file path, each read whole through the FileSystem once and
// opened with FreeType from memory. Labels share them.
class FontCache
{
  public:
    static FontCache& Get();
    static void Destroy();

    FontCache() = default;
    virtual ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The face of the font file, or null when it cannot be read or is not a
    // font (a failure is remembered, so a missing font is tried once).
    [[nodiscard]] cairo_font_face_t* Face(const std::string& path);

  private:
    std::map<std::string, cairo_font_face_t*> faces; // one reference each; null for failures
};
