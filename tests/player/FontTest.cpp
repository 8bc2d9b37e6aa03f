// Fonts read from movie tags: glyph outlines, code tables, DefineFont2
// layout and kerning, and damaged font tags.

#include "player/Font.h"
#include "fixtures/MovieFixtures.h"
#include "player/MovieDefinition.h"
#include "player/ShapeDefinition.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace swf;
using namespace swfwrite;

namespace
{

constexpr int DefineFontTag = 10;
constexpr int DefineFontInfoTag = 13;
constexpr int DefineFont2Tag = 48;

// A movie of the given tags followed by a shape with id 50, so tests see
// that loading went on after a damaged tag.
Ref<MovieDefinition> movieWith(swftest::Tags tags)
{
    tags.emplace_back(2, swftest::square(50, {255, 0, 0, 255}, 100));
    Ref<MovieDefinition> movie = swftest::movieOf(tags);
    EXPECT_NE(movie->characterById(50), nullptr);
    return movie;
}

Font2Spec twoGlyphFont(bool wideOffsets = false, bool wideCodes = false, bool layout = true)
{
    Font2Spec s;
    s.id = 3;
    s.name = "Panel";
    s.wideOffsets = wideOffsets;
    s.wideCodes = wideCodes;
    s.italic = true;
    s.glyphs = {emBox(), boxGlyph(100, -600, 500, 0)};
    s.codes = {'a', static_cast<std::uint16_t>(wideCodes ? 0x263A : 'b')};
    s.hasLayout = layout;
    s.ascent = 900;
    s.descent = 200;
    s.leading = 50;
    s.advances = {600, -700};
    s.kerning = {{{'a', s.codes[1]}, -120}};
    return s;
}

} // namespace

TEST(FontTest, DefineFontGlyphsTakeTheirCodesFromFontInfo)
{
    Ref<MovieDefinition> movie = movieWith({
        {DefineFontTag, defineFont(1, {emBox(), boxGlyph(100, -500, 300, 0), emBox()})},
        {DefineFontInfoTag, defineFontInfo(1, "Caption", 0x04 | 0x02, {'A', 'B', 'C'})},
        {DefineFontTag, defineFont(2, {emBox(), emBox()})},
        {DefineFontInfoTag, defineFontInfo(2, "Wide", 0x01, {0x4E2D, 0x20AC})},
        // More codes than glyphs: the extra codes are dropped.
        {DefineFontTag, defineFont(3, {emBox()})},
        {DefineFontInfoTag, defineFontInfo(3, "Short", 0, {'x', 'y', 'z'})},
        // No font of that id: ignored.
        {DefineFontInfoTag, defineFontInfo(99, "Nobody", 0, {'q'})},
        // A later info replaces name and codes.
        {DefineFontTag, defineFont(4, {emBox(), emBox()})},
        {DefineFontInfoTag, defineFontInfo(4, "First", 0, {'a', 'b'})},
        {DefineFontInfoTag, defineFontInfo(4, "Second", 0, {'c', 'd'})},
    });
    // Font, character, the glyph it shows.
    const std::tuple<int, std::uint16_t, int> glyphs[] = {{1, 'B', 1},    {1, 'C', 2},    {1, 'D', -1},
                                                          {2, 0x20AC, 1}, {2, 0x4E2D, 0}, {3, 'x', 0},
                                                          {3, 'y', -1},   {4, 'a', -1},   {4, 'd', 1}};
    for (const auto& [id, code, index] : glyphs)
    {
        ASSERT_NE(movie->fontById(id), nullptr) << id;
        EXPECT_EQ(movie->fontById(id)->glyphIndex(code), index) << id << " " << code;
    }
    EXPECT_EQ(movie->fontById(99), nullptr);
    EXPECT_EQ(movie->fontById(4)->name() + " " + movie->fontById(1)->name(), "Second Caption");

    // A DefineFont has no layout data: advances and metrics read as 0.
    const Font* font = movie->fontById(1);
    EXPECT_EQ((std::vector<int>{movie->fontById(3)->codeOfGlyph(1), font->glyphCount(), font->flags(),
                                font->codeOfGlyph(0), font->hasLayout(), font->advance(0), font->descent()}),
              (std::vector<int>{0, 3, Font::Italic | Font::Bold, 'A', false, 0, 0}));

    const ShapeDefinition* glyph = font->glyph(1);
    ASSERT_NE(glyph, nullptr);
    ASSERT_EQ(glyph->paths().size(), 1u);
    const Path& path = glyph->paths()[0];
    ASSERT_EQ(path.edges.size(), 4u);
    EXPECT_EQ((std::vector<float>{path.startX, path.startY, float(path.fill1), path.edges[0].ax, path.edges[1].ay,
                                  float(glyph->fillStyles().size())}),
              (std::vector<float>{100, -500, 1, 300, 0, 0}));
    EXPECT_EQ((std::vector<const void*>{font->glyph(3), font->glyph(-1)}),
              (std::vector<const void*>{nullptr, nullptr}));
}

TEST(FontTest, DefineFont2ReadsEveryTableWidthWithLayoutAndKerning)
{
    for (bool wideOffsets : {false, true})
    {
        for (bool wideCodes : {false, true})
        {
            SCOPED_TRACE(testing::Message() << "wide offsets " << wideOffsets << ", wide codes " << wideCodes);
            const Font2Spec record = twoGlyphFont(wideOffsets, wideCodes);
            Ref<MovieDefinition> movie = movieWith({{DefineFont2Tag, defineFont2(record)}});
            const Font* font = movie->fontById(3);
            ASSERT_NE(font, nullptr);
            EXPECT_EQ(font->name(), "Panel");
            ASSERT_EQ(font->glyphCount(), 2);
            ASSERT_EQ(font->glyph(1)->paths().size(), 1u);
            ASSERT_EQ(font->glyphBounds().size(), 2u);
            EXPECT_EQ((std::vector<float>{float(font->flags() & (Font::Italic | Font::Bold)),
                                          float((font->flags() & Font::WideCodes) != 0),
                                          font->glyph(1)->paths()[0].startY, float(font->glyphIndex('a')),
                                          float(font->glyphIndex(record.codes[1])), float(font->hasLayout()),
                                          float(font->ascent()), float(font->descent()), float(font->leading()),
                                          float(font->advance(0)), float(font->advance(1)), float(font->advance(2)),
                                          font->glyphBounds()[1].xmax, float(font->kerning('a', record.codes[1])),
                                          float(font->kerning(record.codes[1], 'a'))}),
                      (std::vector<float>{Font::Italic, float(wideCodes), -600, 0, 1, true, 900, 200, 50, 600, -700, 0,
                                          1024, -120, 0}));
        }
    }
}

TEST(FontTest, DamagedFontTagsAreRefusedAndLoadingGoesOn)
{
    // Glyph count far beyond the tag: the offset table cannot fit. The count follows id (2),
    // flags, language, name length and "Panel".
    Bytes hugeCount = defineFont2(twoGlyphFont());
    hugeCount[10] = 0x88;
    hugeCount[11] = 0x13;
    // Cut inside the advances of the layout.
    Bytes cutLayout = defineFont2(twoGlyphFont());
    cutLayout.resize(defineFont2(twoGlyphFont(false, false, false)).size() + 7);
    // Code table offset pointing past the tag.
    Bytes cutCodes = defineFont2(twoGlyphFont(false, false, false));
    cutCodes.resize(cutCodes.size() - 1);
    // DefineFontInfo whose name runs past the tag: the font keeps its state.
    Bytes cutInfo = defineFontInfo(8, "LongName", 0, {'a'});
    cutInfo.resize(5);

    Ref<MovieDefinition> movie = movieWith({
        {DefineFont2Tag, hugeCount},
        {DefineFont2Tag, cutLayout},
        {DefineFontTag, Bytes{7, 0, 40, 0, 2, 0}}, // the first offset promises 20 glyphs
        {DefineFontTag, defineFont(8, {emBox()})},
        {DefineFontInfoTag, defineFontInfo(8, "Kept", 0, {'k'})},
        {DefineFontInfoTag, cutInfo},
    });
    EXPECT_EQ(movie->fontById(3), nullptr);
    EXPECT_EQ(movie->fontById(7), nullptr);
    const Font* kept = movie->fontById(8);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->name() + " " + std::to_string(kept->glyphIndex('k')), "Kept 0");
    EXPECT_EQ(movieWith({{DefineFont2Tag, cutCodes}})->fontById(3), nullptr);
}

TEST(FontTest, OutlineRunningToTheTagEndDoesNotSpoilTheGlyphsReadAfterIt)
{
    // Glyph 1 is stored last and lacks its end record, so its records run
    // into the end of the tag; glyph 2, read after it, is stored before it.
    // (The open outline fills its last byte exactly, so nothing but the
    // tag's end stops it.)
    const Bytes whole = boxGlyph(0, -512, 512, 0);
    const auto wholeSize = static_cast<std::uint16_t>(whole.size());
    BitWriter w;
    w.WriteU16(9);
    w.WriteU16(6);
    w.WriteU16(static_cast<std::uint16_t>(6 + 2 * wholeSize));
    w.WriteU16(static_cast<std::uint16_t>(6 + wholeSize));
    w.WriteBytes(whole);
    w.WriteBytes(whole);
    w.WriteBytes(boxGlyph(0, -1024, 1024, 0, false));
    Ref<MovieDefinition> movie = movieWith({{DefineFontTag, w.Bytes()}});
    const Font* font = movie->fontById(9);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->glyphCount(), 3);
    for (int i : {0, 1, 2})
    {
        ASSERT_EQ(font->glyph(i)->paths().size(), 1u) << i;
        EXPECT_EQ(font->glyph(i)->paths()[0].edges.size(), 4u);
        EXPECT_FLOAT_EQ(font->glyph(i)->paths()[0].startY, i == 1 ? -1024.0f : -512.0f);
    }
}
