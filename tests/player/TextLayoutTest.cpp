// Text-field layout: line breaks, wrapping, kerning, margins, indent,
// leading and alignment, on fonts built in memory.

#include "player/TextLayout.h"
#include "player/Font.h"
#include "player/TextUtf8.h"

#include "player/FontTestSupport.h"

using fonttest::makeMetricFont;

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swf;

namespace
{

// Text height of one em: font units equal twips.
constexpr float Em = 1024.0f;

TextLayoutStyle fieldStyle(float width)
{
    TextLayoutStyle style;
    style.fontId = 7;
    style.fieldWidth = width;
    style.height = Em;
    style.colour = Rgba{10, 20, 30, 255};
    return style;
}

std::vector<std::uint32_t> indexes(const GlyphRun& run)
{
    std::vector<std::uint32_t> out;
    for (const GlyphEntry& g : run.glyphs)
        out.push_back(g.index);
    return out;
}

} // namespace

TEST(TextUtf8, DecodesValidAndReplacesBrokenSequences)
{
    const std::string text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" // A, e-acute, euro, emoji
                             "\xC0\x80"                              // over-long NUL
                             "\xED\xA0\x80"                          // surrogate
                             "\xE2\x82"
                             "B" // cut short, then B
                             "\xFF";
    std::vector<char32_t> decoded;
    std::size_t pos = 0;
    while (pos < text.size())
        decoded.push_back(decodeUtf8(text, pos));
    // The over-long pair and the surrogate each give one replacement; the
    // truncated euro sign gives one without eating the B.
    const std::vector<char32_t> expected{U'A',
                                         0xE9,
                                         0x20AC,
                                         0x1F600,
                                         ReplacementCharacter,
                                         ReplacementCharacter,
                                         ReplacementCharacter,
                                         U'B',
                                         ReplacementCharacter};
    EXPECT_EQ(decoded, expected);
}

TEST(TextUtf8, PrefixNeverSplitsACharacter)
{
    const std::string text = "a\xC3\xA9z";
    EXPECT_EQ(utf8Length(text), 3u);
    EXPECT_EQ(utf8Prefix(text, 2), "a\xC3\xA9");
    EXPECT_EQ(utf8Prefix(text, 1), "a");
    EXPECT_EQ(utf8Prefix(text, 10), text);
    EXPECT_EQ(utf8Prefix(text, 0), "");
}

TEST(TextLayout, SingleLineTakesStyleScaleAndKerning)
{
    Ref<Font> font = makeMetricFont("abc ", {100, 200, 300, 50}, /*leading*/ 40, /*descent*/ 200);
    font->addKerning('a', 'b', -30);
    TextLayoutStyle style = fieldStyle(100000.0f);
    style.height = 512.0f; // half an em: everything scales by 0.5
    style.leftMargin = 100.0f;
    style.indent = 60.0f;

    const std::vector<GlyphRun> runs = TextLayout::layout("abc", font.get(), style);
    ASSERT_EQ(runs.size(), 1u);
    const GlyphRun& run = runs[0];
    EXPECT_EQ(run.fontId, 7);
    EXPECT_EQ(run.colour.g, 20);
    EXPECT_FLOAT_EQ(run.height, 512.0f);
    EXPECT_TRUE(run.hasX);
    EXPECT_TRUE(run.hasY);
    EXPECT_FLOAT_EQ(run.x, 160.0f);
    // Baseline: height + (font leading - descent) x scale.
    EXPECT_FLOAT_EQ(run.y, 512.0f + (40.0f - 200.0f) * 0.5f);
    EXPECT_EQ(indexes(run), (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_FLOAT_EQ(run.glyphs[0].advance, 50.0f);
    EXPECT_FLOAT_EQ(run.glyphs[1].advance, 100.0f);
    EXPECT_FLOAT_EQ(run.glyphs[2].advance, 150.0f);
}

TEST(TextLayout, KerningMovesTheLineWidthUsedForAlignment)
{
    Ref<Font> font = makeMetricFont("ab", {100, 100});
    font->addKerning('a', 'b', -40);
    TextLayoutStyle style = fieldStyle(2000.0f);
    style.alignment = 1;
    const std::vector<GlyphRun> kerned = TextLayout::layout("ab", font.get(), style);
    const std::vector<GlyphRun> plain = TextLayout::layout("ba", font.get(), style);
    ASSERT_EQ(kerned.size(), 1u);
    ASSERT_EQ(plain.size(), 1u);
    // Right alignment shifts by W - 80 - width: the kerned pair is 40 narrower.
    EXPECT_FLOAT_EQ(plain[0].x, 2000.0f - 80.0f - 200.0f);
    EXPECT_FLOAT_EQ(kerned[0].x, 2000.0f - 80.0f - 160.0f);
}

TEST(TextLayout, CarriageReturnAndLineFeedStartNewParagraphsAtTheIndent)
{
    Ref<Font> font = makeMetricFont("ab", {100, 100}, /*leading*/ 100, /*descent*/ 0);
    TextLayoutStyle style = fieldStyle(100000.0f);
    style.leftMargin = 50.0f;
    style.indent = 25.0f;
    style.leading = 10.0f;

    const std::vector<GlyphRun> runs = TextLayout::layout("ab\rba\nb\r\na", font.get(), style);
    // CR and LF each break, so CR LF leaves an empty line between.
    ASSERT_EQ(runs.size(), 5u);
    const float lineStep = Em + 10.0f + 100.0f; // height + field leading + font leading
    for (std::size_t i = 0; i < runs.size(); ++i)
    {
        EXPECT_FLOAT_EQ(runs[i].x, 75.0f) << "line " << i;
        EXPECT_FLOAT_EQ(runs[i].y, Em + 100.0f + lineStep * static_cast<float>(i)) << "line " << i;
    }
    EXPECT_EQ(indexes(runs[0]), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(indexes(runs[1]), (std::vector<std::uint32_t>{1, 0}));
    EXPECT_EQ(indexes(runs[2]), (std::vector<std::uint32_t>{1}));
    EXPECT_TRUE(runs[3].glyphs.empty());
    EXPECT_EQ(indexes(runs[4]), (std::vector<std::uint32_t>{0}));
}

TEST(TextLayout, NegativeIndentNeverStartsLeftOfZero)
{
    Ref<Font> font = makeMetricFont("a", {100});
    TextLayoutStyle style = fieldStyle(100000.0f);
    style.leftMargin = 30.0f;
    style.indent = -100.0f;
    const std::vector<GlyphRun> runs = TextLayout::layout("a", font.get(), style);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_FLOAT_EQ(runs[0].x, 0.0f);
}

TEST(TextLayout, WrapsWhenThePenReachesTheLimitAndMovesTheWordWhole)
{
    // 2000 twips wide, no margins: the limit is 1920.
    Ref<Font> font = makeMetricFont("ab ", {100, 100, 100});
    const TextLayoutStyle style = fieldStyle(2000.0f);

    // 9 a's, a space, 10 b's: the tenth b carries the pen to 2000.
    const std::string text = std::string(9, 'a') + " " + std::string(10, 'b');
    const std::vector<GlyphRun> runs = TextLayout::layout(text, font.get(), style);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].glyphs.size(), 9u); // the space is dropped
    EXPECT_EQ(indexes(runs[1]), std::vector<std::uint32_t>(10, 1));
    EXPECT_FLOAT_EQ(runs[1].x, 0.0f);
    EXPECT_FLOAT_EQ(runs[1].y, runs[0].y + Em);

    // Exactly 1920 wraps; 1919 does not.
    Ref<Font> narrow = makeMetricFont("ab", {96, 95});
    const std::vector<GlyphRun> at = TextLayout::layout(std::string(20, 'a'), narrow.get(), style);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0].glyphs.size(), 19u);
    EXPECT_EQ(at[1].glyphs.size(), 1u);
    const std::vector<GlyphRun> below = TextLayout::layout(std::string(19, 'a') + "b", narrow.get(), style);
    EXPECT_EQ(below.size(), 1u);
}

TEST(TextLayout, WordLongerThanTheFieldBreaksBeforeItsLastGlyph)
{
    Ref<Font> font = makeMetricFont("a", {100});
    TextLayoutStyle style = fieldStyle(580.0f); // limit 500: five glyphs reach it
    const std::vector<GlyphRun> runs = TextLayout::layout(std::string(12, 'a'), font.get(), style);
    // Each full line keeps four glyphs and hands the fifth on.
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].glyphs.size(), 4u);
    EXPECT_EQ(runs[1].glyphs.size(), 4u);
    EXPECT_EQ(runs[2].glyphs.size(), 4u);
}

TEST(TextLayout, WrappedLinesStartAtTheLeftMarginAndRightMarginNarrowsTheLine)
{
    Ref<Font> font = makeMetricFont("a ", {100, 100});
    TextLayoutStyle style = fieldStyle(1480.0f);
    style.leftMargin = 200.0f;
    style.indent = 100.0f;
    style.rightMargin = 400.0f; // limit 1480 - 400 - 80 = 1000

    // First line: 300 + "aaa aaa" = 1000 -> wraps on the last a.
    const std::vector<GlyphRun> runs = TextLayout::layout("aaa aaa aa", font.get(), style);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FLOAT_EQ(runs[0].x, 300.0f);
    EXPECT_EQ(runs[0].glyphs.size(), 3u);
    EXPECT_FLOAT_EQ(runs[1].x, 200.0f);
    // "aaa" moved plus the space and "aa" that followed: 200 + 600 < 1000.
    EXPECT_EQ(runs[1].glyphs.size(), 6u);
}

TEST(TextLayout, SpaceWithoutAGlyphStillMarksWhereToBreak)
{
    Ref<Font> font = makeMetricFont("a", {100});
    const TextLayoutStyle style = fieldStyle(580.0f);
    const std::vector<GlyphRun> runs = TextLayout::layout("aa aaa", font.get(), style);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].glyphs.size(), 2u);
    EXPECT_EQ(runs[1].glyphs.size(), 3u);
}

TEST(TextLayout, AlignmentShiftsEachLineByWhatItLeavesFree)
{
    Ref<Font> font = makeMetricFont("a ", {100, 100});
    TextLayoutStyle style = fieldStyle(2080.0f); // free width W - 80 = 2000
    style.rightMargin = 0.0f;

    style.alignment = 2;
    std::vector<GlyphRun> runs = TextLayout::layout("aaaa\naa", font.get(), style);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FLOAT_EQ(runs[0].x, (2000.0f - 400.0f) * 0.5f);
    EXPECT_FLOAT_EQ(runs[1].x, (2000.0f - 200.0f) * 0.5f);

    style.alignment = 1;
    style.rightMargin = 100.0f;
    runs = TextLayout::layout("aaaa\naa", font.get(), style);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FLOAT_EQ(runs[0].x, 1900.0f - 400.0f);
    EXPECT_FLOAT_EQ(runs[1].x, 1900.0f - 200.0f);

    // Justified text is left as laid out.
    style.alignment = 3;
    runs = TextLayout::layout("aaaa\naa", font.get(), style);
    EXPECT_FLOAT_EQ(runs[0].x, 0.0f);
    EXPECT_FLOAT_EQ(runs[1].x, 0.0f);

    // A wrapped centred line is aligned with its width after the word moved.
    style.alignment = 2;
    style.rightMargin = 0.0f;
    style.fieldWidth = 680.0f; // limit 600
    runs = TextLayout::layout("aa aaaa", font.get(), style);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FLOAT_EQ(runs[0].x, (600.0f - 200.0f) * 0.5f);
    EXPECT_FLOAT_EQ(runs[1].x, (600.0f - 400.0f) * 0.5f);
}

TEST(TextLayout, CharactersWithoutGlyphsAreSkippedAndTextEndsAtNul)
{
    Ref<Font> font = makeMetricFont("ab", {100, 100});
    font->addKerning('a', 'x', 50); // kerning still applies to a code without a glyph
    TextLayoutStyle style = fieldStyle(100000.0f);
    style.alignment = 1;
    const std::string text = std::string("ax\xE2\x82\xAC\xFF"
                                         "b") +
                             std::string(1, '\0') + "aaaa";
    const std::vector<GlyphRun> runs = TextLayout::layout(text, font.get(), style);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(indexes(runs[0]), (std::vector<std::uint32_t>{0, 1}));
    EXPECT_FLOAT_EQ(runs[0].x, 100000.0f - 80.0f - 250.0f);
}

TEST(TextLayout, NoFontGivesNoRuns)
{
    EXPECT_TRUE(TextLayout::layout("abc", nullptr, fieldStyle(1000.0f)).empty());
}
