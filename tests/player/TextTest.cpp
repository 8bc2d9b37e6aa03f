// Static texts: reading DefineText and DefineText2 glyph runs, and drawing
// them through the movie's fonts into pixels.

#include "fixtures/MovieFixtures.h"
#include "player/Font.h"
#include "player/StaticText.h"

#include <gtest/gtest.h>

using namespace swf;
using namespace swftest;

namespace
{

constexpr int DefineTextTag = 11;
constexpr std::uint32_t Red = 0xFFFF0000;
constexpr std::uint32_t Blue = 0xFF0000FF;
const Colour RedColour{255, 0, 0, 255};
const Colour BlueColour{0, 0, 255, 255};

// Movie (550 x 400 pixels) with font 1 (glyph 0 the em box, 1 a half-em box, 2..9 em boxes),
// the texts and their placements.
Ref<MovieDefinition> textMovie(Tags tags)
{
    tags.insert(tags.begin(), {48, boxFont(8)});
    return movieOf(tags);
}

const StaticText* textOf(MovieDefinition& movie, int id)
{
    return dynamic_cast<const StaticText*>(movie.characterById(id));
}

// A run as text: font, colour, the position it sets, height, then index:advance per glyph.
std::string describe(const GlyphRun& run)
{
    std::string out = "font " + std::to_string(run.fontId) + " rgba " + std::to_string(run.colour.r) + "," +
                      std::to_string(run.colour.g) + "," + std::to_string(run.colour.b) + "," +
                      std::to_string(run.colour.a);
    out += (run.hasX ? " x" + std::to_string(int(run.x)) : "") + (run.hasY ? " y" + std::to_string(int(run.y)) : "");
    out += " h" + std::to_string(int(run.height));
    for (const GlyphEntry& g : run.glyphs)
        out += " " + std::to_string(g.index) + ":" + std::to_string(int(g.advance));
    return out;
}

} // namespace

TEST(TextTest, RunsCarryTheStyleOfTheRecordsBeforeThem)
{
    TextBuilder text(10, DefineTextTag);
    text.style(1, RedColour, 100, 200, 400)
        .glyphs({{0, 600}, {1, -50}})
        .style(std::nullopt, BlueColour, std::nullopt, std::nullopt) // colour only
        .glyphs({{0, 300}})
        .style(2, std::nullopt, std::nullopt, 900, 240) // font and line change
        .glyphs({{1, 10}});
    TextBuilder text2(11, 33);
    text2.style(1, Colour{1, 2, 3, 128}, 0, 0, 100).glyphs({{0, 1}});
    Ref<MovieDefinition> movie = textMovie({{DefineTextTag, text.payload()}, {33, text2.payload()}});
    const StaticText* t = textOf(*movie, 10);
    ASSERT_NE(t, nullptr);
    std::vector<std::string> runs;
    for (const GlyphRun& run : t->runs())
        runs.push_back(describe(run));
    // Advances are signed; a colour change keeps the font and height and continues at the pen.
    EXPECT_EQ(runs, (std::vector<std::string>{"font 1 rgba 255,0,0,255 x100 y200 h400 0:600 1:-50",
                                              "font 1 rgba 0,0,255,255 h400 0:300",
                                              "font 2 rgba 0,0,255,255 y900 h240 1:10"}));
    EXPECT_NE(t->font(1), nullptr);
    EXPECT_EQ(t->font(2), nullptr); // the movie has no font 2
    ASSERT_NE(textOf(*movie, 11), nullptr);
    EXPECT_EQ(describe(textOf(*movie, 11)->runs().at(0)), "font 1 rgba 1,2,3,128 x0 y0 h100 0:1");
}

TEST(TextTest, DamagedTextTagsAreRefusedAndLoadingGoesOn)
{
    TextBuilder good(10, DefineTextTag);
    good.style(1, RedColour, 0, 0, 400).glyphs({{0, 600}});
    // Cut in the middle of a run's glyph entries.
    TextBuilder cutRun(11, DefineTextTag);
    Bytes cutRunBytes = cutRun.style(1, RedColour, 0, 0, 400).glyphs({{0, 600}, {1, 600}, {0, 600}}).payload(false);
    cutRunBytes.resize(cutRunBytes.size() - 3);
    // Cut inside a style record (the height is missing).
    TextBuilder cutStyle(12, DefineTextTag);
    Bytes cutStyleBytes = cutStyle.style(1, RedColour, 0, 0, 400).payload(false);
    cutStyleBytes.resize(cutStyleBytes.size() - 1);
    // The final 0 left out: every record is whole, so the text is kept.
    TextBuilder unterminated(14, DefineTextTag);
    unterminated.style(1, RedColour, 0, 0, 400).glyphs({{0, 600}});
    // Zero-bit glyph fields: every byte 0x7F is a run of 127 empty entries, more than a text holds.
    Bytes claims = TextBuilder(15, DefineTextTag, 0, 0).payload(false);
    claims.insert(claims.end(), StaticText::MaxGlyphs / 127 + 2, 0x7F);
    claims.push_back(0);

    Ref<MovieDefinition> movie = textMovie({{DefineTextTag, cutRunBytes},
                                            {DefineTextTag, cutStyleBytes},
                                            {DefineTextTag, TextBuilder(13, DefineTextTag, 40, 8).payload()},
                                            {DefineTextTag, unterminated.payload(false)},
                                            {DefineTextTag, claims},
                                            {DefineTextTag, good.payload()}});
    for (int refused : {11, 12, 13, 15})
        EXPECT_EQ(movie->characterById(refused), nullptr) << refused;
    ASSERT_NE(textOf(*movie, 14), nullptr);
    EXPECT_EQ(textOf(*movie, 14)->runs().size(), 1u);
    ASSERT_NE(textOf(*movie, 10), nullptr);
    EXPECT_EQ(textOf(*movie, 10)->runs()[0].glyphs.size(), 1u);
}

TEST(TextTest, GlyphsAreDrawnAtThePenScaledToTheTextHeight)
{
    // Text matrix moves everything by (1000, 2000) twips = (50, 100) px.
    TextBuilder text(10, DefineTextTag);
    text.matrix({{}, {}, 1000, 2000})
        .style(1, RedColour, 0, 0, 400) // 400 twips per em: a 20-pixel em box
        .glyphs({{0, 600}, {1, 600}})
        .style(std::nullopt, BlueColour, std::nullopt, std::nullopt)
        .glyphs({{0, 600}})
        .style(std::nullopt, std::nullopt, 0, 1000)
        .glyphs({{1, 0}});
    Ref<MovieDefinition> movie = textMovie({{DefineTextTag, text.payload()}, {26, place(10, 1)}});
    // Glyph 0: x 50..70, y 80..100. Glyph 1 (half em) after an advance of 600 twips: x 80..90,
    // y 90..100. The blue run continues at the pen: x 110..130. The last run starts a new line
    // at x 0, y 1000: a half box at x 50..60, y 140..150.
    const Picture pic = renderFrame(*movie, 0, 550, 400);
    EXPECT_EQ(pixelsAt(pic, {{51, 81}, {69, 99}, {60, 78}, {72, 90}, {85, 95}, {85, 88}, {92, 95}}),
              (std::vector<uint32_t>{Red, Red, 0, 0, Red, 0, 0}));
    EXPECT_EQ(pixelsAt(pic, {{120, 90}, {105, 90}, {55, 145}, {65, 145}}), (std::vector<uint32_t>{Blue, 0, Blue, 0}));
}

TEST(TextTest, GlyphIndexOutsideTheFontDrawsNothingButMovesThePen)
{
    // A shape without its end record before the text: its loop ends at its tag.
    ShapeBuilder broken;
    broken.bounds(0, 400, 0, 400);
    broken.rectangle(0, 0, 400, 400, broken.solidFill(BlueColour)).omitEndRecord();
    TextBuilder text(10, DefineTextTag, 10, 12);
    text.style(1, RedColour, 0, 0, 400).glyphs({{500, 600}, {9, 600}, {1023, 600}, {0, 600}});
    Ref<MovieDefinition> movie = textMovie(
        {{2, broken.payload(2)}, {DefineTextTag, text.payload()}, {26, place(2, 1)}, {26, place(10, 2, 2000, 2000)}});
    ASSERT_NE(movie->fontById(1), nullptr);
    EXPECT_EQ(movie->fontById(1)->glyphCount(), 10);
    // Index 500 skipped; glyph 9 at pen 600 (x 130..150); 1023 skipped; glyph 0 at pen 1800.
    EXPECT_EQ(pixelsAt(renderFrame(*movie, 0, 550, 400), {{10, 10}, {110, 90}, {140, 90}, {170, 90}, {200, 90}}),
              (std::vector<uint32_t>{Blue, 0, Red, 0, Red}));
}
