// Text-field layout: line breaks, wrapping, kerning, margins, indent,
// leading and alignment, on fonts built in memory.

#include "player/TextLayout.h"
#include "player/Font.h"
#include "player/TextUtf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swf;

namespace
{

// Text height of one em: font units equal twips.
constexpr float Em = 1024.0f;

// A font of one empty glyph per character of `chars` with the given advances in font units.
Ref<Font> makeMetricFont(const std::string& chars, std::vector<int16_t> advances, int leading = 0, int descent = 0)
{
    Ref<Font> font = makeRef<Font>();
    std::vector<uint16_t> codes;
    for (unsigned char c : chars)
    {
        font->addGlyph(nullptr);
        codes.push_back(c);
    }
    font->setCodes(codes);
    font->setLayout(0, descent, leading, std::move(advances), {});
    return font;
}

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
    const char32_t R = ReplacementCharacter;
    const std::vector<char32_t> expected{U'A', 0xE9, 0x20AC, 0x1F600, R, R, R, U'B', R};
    EXPECT_EQ(decoded, expected);
}

TEST(TextUtf8, PrefixNeverSplitsACharacter)
{
    const std::string text = "a\xC3\xA9z";
    EXPECT_EQ(utf8Length(text), 3u);
    EXPECT_EQ(
        (std::vector<std::string>{utf8Prefix(text, 2), utf8Prefix(text, 1), utf8Prefix(text, 10), utf8Prefix(text, 0)}),
        (std::vector<std::string>{"a\xC3\xA9", "a", text, ""}));
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
    EXPECT_EQ(indexes(run), (std::vector<std::uint32_t>{0, 1, 2}));
    // Font, green, height, x and y set, x, the baseline (height + (font leading - descent) x scale), the advances.
    std::vector<float> got = {
        float(run.fontId), float(run.colour.g), run.height, float(run.hasX), float(run.hasY), run.x, run.y};
    for (const GlyphEntry& g : run.glyphs)
        got.push_back(g.advance);
    EXPECT_EQ(got, (std::vector<float>{7, 20, 512, 1, 1, 160, 512 + (40 - 200) * 0.5f, 50, 100, 150}));
}

TEST(TextLayout, LinesBreakWrapAndAlign)
{
    // Each case: the font's characters and advances (font units are twips here), the field's
    // width, margins, indent and alignment, the text, and each line's x with the characters shown.
    struct Case
    {
        std::string chars;
        std::vector<int16_t> advances;
        float width, left = 0, right = 0, indent = 0;
        int alignment = 0;
        std::string text;
        std::vector<std::pair<float, std::string>> lines;
        std::pair<char, int16_t> kerningAfterA = {};
    };
    const std::string nine = std::string(9, 'a'), ten = std::string(10, 'b');
    const std::string unknownThenNul = std::string("ax\xE2\x82\xAC\xFF") + "b" + '\0' + "aaaa";
    const std::string paragraphs = "ab\rba\nb\r\na";
    const float Wide = 100000;
    const Case cases[] = {
        // Right alignment shifts by W - 80 - width: a kerned pair is 40 narrower.
        {"ab", {100, 100}, 2000, 0, 0, 0, 1, "ab", {{1760, "ab"}}, {'b', -40}},
        {"ab", {100, 100}, 2000, 0, 0, 0, 1, "ba", {{1720, "ba"}}, {'b', -40}},
        // CR and LF each start a paragraph at the indent, so CR LF leaves an empty line between.
        {"ab", {100, 100}, Wide, 50, 0, 25, 0, paragraphs, {{75, "ab"}, {75, "ba"}, {75, "b"}, {75, ""}, {75, "a"}}},
        // A negative indent never starts left of zero.
        {"a", {100}, Wide, 30, 0, -100, 0, "a", {{0, "a"}}},
        // The limit is W - 80; reaching it wraps, and the word moves whole (the space is dropped).
        {"ab ", {100, 100, 100}, 2000, 0, 0, 0, 0, nine + " " + ten, {{0, nine}, {0, ten}}},
        {"ab", {96, 95}, 2000, 0, 0, 0, 0, std::string(20, 'a'), {{0, std::string(19, 'a')}, {0, "a"}}},
        {"ab", {96, 95}, 2000, 0, 0, 0, 0, std::string(19, 'a') + "b", {{0, std::string(19, 'a') + "b"}}},
        // A word longer than the field breaks before the glyph that reaches the limit.
        {"a", {100}, 580, 0, 0, 0, 0, std::string(12, 'a'), {{0, "aaaa"}, {0, "aaaa"}, {0, "aaaa"}}},
        // Wrapped lines start at the left margin; the right margin narrows the line.
        {"a ", {100, 100}, 1480, 200, 400, 100, 0, "aaa aaa aa", {{300, "aaa"}, {200, "aaa aa"}}},
        // A space without a glyph still marks where to break.
        {"a", {100}, 580, 0, 0, 0, 0, "aa aaa", {{0, "aa"}, {0, "aaa"}}},
        // Alignment shifts each line by what it leaves free; justified text stays as laid out.
        {"a ", {100, 100}, 2080, 0, 0, 0, 2, "aaaa\naa", {{800, "aaaa"}, {900, "aa"}}},
        {"a ", {100, 100}, 2080, 0, 100, 0, 1, "aaaa\naa", {{1500, "aaaa"}, {1700, "aa"}}},
        {"a ", {100, 100}, 2080, 0, 0, 0, 3, "aaaa\naa", {{0, "aaaa"}, {0, "aa"}}},
        // A wrapped centred line is aligned with its width after the word moved.
        {"a ", {100, 100}, 680, 0, 0, 0, 2, "aa aaaa", {{200, "aa"}, {100, "aaaa"}}},
        // Characters without glyphs are skipped (kerning still applies) and text ends at NUL.
        {"ab", {100, 100}, Wide, 0, 0, 0, 1, unknownThenNul, {{Wide - 80 - 250, "ab"}}, {'x', 50}},
    };
    for (const Case& c : cases)
    {
        Ref<Font> font = makeMetricFont(c.chars, c.advances);
        if (c.kerningAfterA.first)
            font->addKerning('a', c.kerningAfterA.first, c.kerningAfterA.second);
        TextLayoutStyle style = fieldStyle(c.width);
        style.leftMargin = c.left;
        style.rightMargin = c.right;
        style.indent = c.indent;
        style.alignment = c.alignment;
        const std::vector<GlyphRun> runs = TextLayout::layout(c.text, font.get(), style);
        std::vector<std::pair<float, std::string>> lines;
        for (const GlyphRun& run : runs)
        {
            std::string shown;
            for (const GlyphEntry& g : run.glyphs)
                shown += c.chars[g.index];
            lines.emplace_back(run.x, shown);
        }
        EXPECT_EQ(c.lines, lines) << c.text;
    }
    EXPECT_TRUE(TextLayout::layout("abc", nullptr, fieldStyle(1000.0f)).empty());
}

TEST(TextLayout, LinesStepByHeightFieldLeadingAndFontLeading)
{
    Ref<Font> font = makeMetricFont("ab", {100, 100}, /*leading*/ 100, /*descent*/ 0);
    TextLayoutStyle style = fieldStyle(100000.0f);
    style.leading = 10.0f;
    const std::vector<GlyphRun> runs = TextLayout::layout("ab\rba\nb\r\na", font.get(), style);
    ASSERT_EQ(runs.size(), 5u);
    for (std::size_t i = 0; i < runs.size(); ++i)
        EXPECT_FLOAT_EQ(runs[i].y, Em + 100.0f + (Em + 10.0f + 100.0f) * float(i)) << "line " << i;
}
