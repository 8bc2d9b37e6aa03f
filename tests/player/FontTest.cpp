// Fonts read from movie tags: glyph outlines, code tables, DefineFont2
// layout and kerning, and damaged font tags.

#include "player/Font.h"
#include "fixtures/MovieFixtures.h"
#include "player/MovieDefinition.h"
#include "player/ShapeDefinition.h"

#include <gtest/gtest.h>

using namespace swf;
using namespace swfwrite;

namespace
{

constexpr int DefineShape = 2;
constexpr int DefineFontTag = 10;
constexpr int DefineFontInfoTag = 13;
constexpr int DefineFont2Tag = 48;

// A movie of the given tags followed by a shape with id 50, so tests see
// that loading went on after a damaged tag.
Ref<MovieDefinition> movieWith(swftest::Tags tags)
{
    tags.emplace_back(DefineShape, swftest::square(50, {255, 0, 0, 255}, 100));
    return swftest::movieOf(tags);
}

Font2Spec twoGlyphFont(bool wideOffsets, bool wideCodes)
{
    Font2Spec s;
    s.id = 3;
    s.name = "Panel";
    s.wideOffsets = wideOffsets;
    s.wideCodes = wideCodes;
    s.italic = true;
    s.glyphs = {emBox(), boxGlyph(100, -600, 500, 0)};
    s.codes = {'a', static_cast<std::uint16_t>(wideCodes ? 0x263A : 'b')};
    s.hasLayout = true;
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

    const Font* font = movie->fontById(1);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->glyphCount(), 3);
    EXPECT_EQ(font->name(), "Caption");
    EXPECT_EQ(font->flags(), Font::Italic | Font::Bold);
    EXPECT_EQ(font->glyphIndex('B'), 1);
    EXPECT_EQ(font->glyphIndex('C'), 2);
    EXPECT_EQ(font->glyphIndex('D'), -1);
    EXPECT_EQ(font->codeOfGlyph(0), 'A');
    // A DefineFont has no layout data: advances and metrics read as 0.
    EXPECT_FALSE(font->hasLayout());
    EXPECT_EQ(font->advance(0), 0);
    EXPECT_EQ(font->descent(), 0);

    const ShapeDefinition* glyph = font->glyph(1);
    ASSERT_NE(glyph, nullptr);
    ASSERT_EQ(glyph->paths().size(), 1u);
    const Path& path = glyph->paths()[0];
    EXPECT_FLOAT_EQ(path.startX, 100.0f);
    EXPECT_FLOAT_EQ(path.startY, -500.0f);
    EXPECT_EQ(path.fill1, 1);
    ASSERT_EQ(path.edges.size(), 4u);
    EXPECT_FLOAT_EQ(path.edges[0].ax, 300.0f);
    EXPECT_FLOAT_EQ(path.edges[1].ay, 0.0f);
    EXPECT_TRUE(glyph->fillStyles().empty());
    EXPECT_EQ(font->glyph(3), nullptr);
    EXPECT_EQ(font->glyph(-1), nullptr);

    const Font* wide = movie->fontById(2);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->glyphIndex(0x20AC), 1);
    EXPECT_EQ(wide->glyphIndex(0x4E2D), 0);

    const Font* cut = movie->fontById(3);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->glyphIndex('x'), 0);
    EXPECT_EQ(cut->glyphIndex('y'), -1);
    EXPECT_EQ(cut->codeOfGlyph(1), 0);

    EXPECT_EQ(movie->fontById(99), nullptr);
    EXPECT_NE(movie->characterById(50), nullptr);
    const Font* later = movie->fontById(4);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->name(), "Second");
    EXPECT_EQ(later->glyphIndex('a'), -1);
    EXPECT_EQ(later->glyphIndex('d'), 1);
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
            EXPECT_EQ(font->flags() & (Font::Italic | Font::Bold), Font::Italic);
            EXPECT_EQ((font->flags() & Font::WideCodes) != 0, wideCodes);
            ASSERT_EQ(font->glyphCount(), 2);
            ASSERT_EQ(font->glyph(1)->paths().size(), 1u);
            EXPECT_FLOAT_EQ(font->glyph(1)->paths()[0].startY, -600.0f);
            EXPECT_EQ(font->glyphIndex('a'), 0);
            EXPECT_EQ(font->glyphIndex(record.codes[1]), 1);
            EXPECT_TRUE(font->hasLayout());
            EXPECT_EQ(font->ascent(), 900);
            EXPECT_EQ(font->descent(), 200);
            EXPECT_EQ(font->leading(), 50);
            EXPECT_EQ(font->advance(0), 600);
            EXPECT_EQ(font->advance(1), -700);
            EXPECT_EQ(font->advance(2), 0);
            ASSERT_EQ(font->glyphBounds().size(), 2u);
            EXPECT_FLOAT_EQ(font->glyphBounds()[1].xmax, 1024.0f);
            EXPECT_EQ(font->kerning('a', record.codes[1]), -120);
            EXPECT_EQ(font->kerning(record.codes[1], 'a'), 0);
            EXPECT_NE(movie->characterById(50), nullptr);
        }
    }
}

TEST(FontTest, DamagedFontTagsAreRefusedAndLoadingGoesOn)
{
    const Bytes good = defineFont2(twoGlyphFont(false, false));

    // Glyph count far beyond the tag: the offset table cannot fit.
    Bytes hugeCount = good;
    // The glyph count follows id (2), flags, language, name length and "Panel".
    hugeCount[10] = 0x88;
    hugeCount[11] = 0x13;

    // Cut inside the advances of the layout.
    Bytes cutLayout = defineFont2(twoGlyphFont(false, false));
    {
        Font2Spec s = twoGlyphFont(false, false);
        s.hasLayout = false;
        const std::size_t withoutLayout = defineFont2(s).size();
        cutLayout.resize(withoutLayout + 7);
    }

    // Code table offset pointing past the tag.
    Font2Spec noLayout = twoGlyphFont(false, false);
    noLayout.hasLayout = false;
    Bytes cutCodes = defineFont2(noLayout);
    cutCodes.resize(cutCodes.size() - 1);

    // DefineFont whose first offset promises 20 glyphs in a 4-byte tag.
    const Bytes cutOffsets{7, 0, 40, 0, 2, 0};

    // DefineFontInfo whose name runs past the tag: the font keeps its state.
    Bytes cutInfo = defineFontInfo(8, "LongName", 0, {'a'});
    cutInfo.resize(5);

    Ref<MovieDefinition> movie = movieWith({
        {DefineFont2Tag, hugeCount},
        {DefineFont2Tag, cutLayout},
        {DefineFontTag, cutOffsets},
        {DefineFontTag, defineFont(8, {emBox()})},
        {DefineFontInfoTag, defineFontInfo(8, "Kept", 0, {'k'})},
        {DefineFontInfoTag, cutInfo},
    });
    EXPECT_EQ(movie->fontById(3), nullptr);
    EXPECT_EQ(movie->fontById(7), nullptr);
    const Font* kept = movie->fontById(8);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->name(), "Kept");
    EXPECT_EQ(kept->glyphIndex('k'), 0);
    EXPECT_NE(movie->characterById(50), nullptr);

    Ref<MovieDefinition> second = movieWith({{DefineFont2Tag, cutCodes}});
    EXPECT_EQ(second->fontById(3), nullptr);
    EXPECT_NE(second->characterById(50), nullptr);
}

TEST(FontTest, OutlineRunningToTheTagEndDoesNotSpoilTheGlyphsReadAfterIt)
{
    // Glyph 1 is stored last and lacks its end record, so its records run
    // into the end of the tag; glyph 2, read after it, is stored before it.
    // (The open outline fills its last byte exactly, so nothing but the
    // tag's end stops it.)
    const Bytes whole = boxGlyph(0, -512, 512, 0);
    const Bytes open = boxGlyph(0, -1024, 1024, 0, false);
    const auto wholeSize = static_cast<std::uint16_t>(whole.size());
    BitWriter w;
    w.WriteU16(9);
    w.WriteU16(6);
    w.WriteU16(static_cast<std::uint16_t>(6 + 2 * wholeSize));
    w.WriteU16(static_cast<std::uint16_t>(6 + wholeSize));
    w.WriteBytes(whole);
    w.WriteBytes(whole);
    w.WriteBytes(open);
    Ref<MovieDefinition> movie = movieWith({{DefineFontTag, w.Bytes()}});
    const Font* font = movie->fontById(9);
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->glyphCount(), 3);
    ASSERT_EQ(font->glyph(1)->paths().size(), 1u);
    EXPECT_EQ(font->glyph(1)->paths()[0].edges.size(), 4u);
    EXPECT_FLOAT_EQ(font->glyph(1)->paths()[0].startY, -1024.0f);
    for (int i : {0, 2})
    {
        ASSERT_EQ(font->glyph(i)->paths().size(), 1u) << i;
        EXPECT_FLOAT_EQ(font->glyph(i)->paths()[0].startY, -512.0f);
    }
    EXPECT_NE(movie->characterById(50), nullptr);
}
