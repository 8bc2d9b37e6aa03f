#pragma once
// Readers of the font tags of a movie: DefineFont, DefineFont2 and
// DefineFontInfo. Every count and offset comes from the file and is checked
// against the end of the tag; a tag that ends before what it declares is
// refused.

#include "player/Forward.h"
#include "player/RefCounted.h"

#include <cstdint>
#include <vector>

namespace swf
{

class FontReader
{
  public:
    // The rest of a DefineFont tag (after the font id): glyph outlines only.
    [[nodiscard]] static Ref<Font> readDefineFont(SwfStream& stream);
    // The rest of a DefineFont2 tag: name, flags, glyphs, codes and layout.
    [[nodiscard]] static Ref<Font> readDefineFont2(SwfStream& stream);
    // The rest of a DefineFontInfo tag into `font`: its name, flags and code
    // table. False (and the font unchanged) when the tag is cut short.
    [[nodiscard]] static bool readFontInfo(SwfStream& stream, Font& font);

  private:
    // Reads the outline of each glyph at table start + its offset, never
    // past the next glyph, `otherBoundary` (the code table) or the tag's end.
    // An offset that points into the table or past the tag gives an empty
    // glyph, so the glyph indexes of the font stay as the file numbers them.
    static void readGlyphs(SwfStream& stream, Font& font, const std::vector<std::uint32_t>& offsets,
                           std::int64_t tableStart, std::int64_t firstShape, std::int64_t otherBoundary);
};

} // namespace swf
