// Text fields: the DefineEditText record, the live field's text and its
// scriptable colour and alpha, and fields drawn into pixels.

#include "fixtures/MovieFixtures.h"
#include "player/DisplayList.h"
#include "player/EditTextDefinition.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/SpriteInstance.h"
#include "player/TextField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace swf;
using namespace swftest;

namespace
{

constexpr int DefineEditTextTag = 37;
constexpr int DefineFont2Tag = 48;

// A 550 x 400 pixel movie holding font 1 ('A' an em box, 'B' a half-em box, ' ' nothing; every
// advance one em) and one field placed at depth 1.
struct FieldMovie
{
    Ref<MovieDefinition> movie;
    Ref<MovieInstance> instance;
    TextField* field = nullptr;

    explicit FieldMovie(const EditTextSpec& record, int tx = 0, int ty = 0)
        : movie(movieOf({{DefineFont2Tag, boxFont(0, true)},
                         {DefineEditTextTag, defineEditText(record)},
                         {26, place(record.id, 1, tx, ty)}})),
          instance(started(*movie)), field(dynamic_cast<TextField*>(instance->rootSprite().displayList().objectAt(1)))
    {
    }

    Picture render() { return renderInstance(*instance, 550, 400); }
};

EditTextSpec whiteField(const std::string& text)
{
    EditTextSpec s;
    s.id = 5;
    s.xmin = 0;
    s.xmax = 4000;
    s.text = text;
    s.font = std::make_pair(1, 400);
    s.colour = Colour{255, 255, 255, 255};
    return s;
}

} // namespace

TEST(EditTextTest, CutRecordsAreRefusedButAnUnterminatedFinalTextIsKept)
{
    EditTextSpec full = whiteField("Hello");
    full.layout = EditTextSpec::Layout{1, 10, 10, 0, 0};
    full.id = 7;
    Bytes cutLayout = defineEditText(full);
    cutLayout.resize(cutLayout.size() - 12); // into the layout values

    EditTextSpec open = whiteField("Open");
    open.id = 8;
    Bytes unterminated = defineEditText(open);
    unterminated.pop_back();

    Ref<MovieDefinition> movie = movieOf({{DefineFont2Tag, boxFont(0, true)},
                                          {DefineEditTextTag, cutLayout},
                                          {DefineEditTextTag, unterminated},
                                          {DefineEditTextTag, Bytes{9, 0}}});
    EXPECT_EQ(movie->characterById(7), nullptr);
    EXPECT_EQ(movie->characterById(9), nullptr);
    auto* kept = dynamic_cast<EditTextDefinition*>(movie->characterById(8));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->initialText(), "Open");
}

TEST(EditTextTest, SettingTextLaysOutOnlyOnChangeAndKeepsTheMaximumLength)
{
    EditTextSpec record = whiteField("AB");
    record.maxLength = 3;
    FieldMovie m(record);
    ASSERT_NE(m.field, nullptr);
    EXPECT_EQ(m.field->text(), "AB");
    ASSERT_EQ(m.field->runs().size(), 1u);
    EXPECT_EQ(m.field->runs()[0].glyphs.size(), 2u);
    const int layouts = m.field->layoutCount();

    m.field->setText("AB");
    EXPECT_EQ(m.field->layoutCount(), layouts);

    // Cut to three characters, counting a two-byte character as one.
    m.field->setText("A\xC3\xA9"
                     "BBB");
    EXPECT_EQ(m.field->text(), "A\xC3\xA9"
                               "B");
    EXPECT_EQ(m.field->layoutCount(), layouts + 1);
    ASSERT_EQ(m.field->runs().size(), 1u);
    EXPECT_EQ(m.field->runs()[0].glyphs.size(), 2u); // e-acute has no glyph

    m.field->setText("A\rB");
    EXPECT_EQ(m.field->runs().size(), 2u);
}

TEST(EditTextTest, AlphaAndTextColourGoThroughTheColourTransform)
{
    FieldMovie m(whiteField("A"));
    ASSERT_NE(m.field, nullptr);
    ColorTransform start = m.field->colorTransform();
    start.rAdd = 7.0f;
    m.field->setColorTransform(start);

    m.field->setAlphaPercent(150.0);
    EXPECT_FLOAT_EQ(m.field->colorTransform().aMul, 1.0f);
    m.field->setAlphaPercent(-5.0);
    EXPECT_FLOAT_EQ(m.field->colorTransform().aMul, 0.0f);
    m.field->setAlphaPercent(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FLOAT_EQ(m.field->colorTransform().aMul, 0.0f);
    m.field->setAlphaPercent(40.0);
    EXPECT_FLOAT_EQ(m.field->colorTransform().aMul, 0.4f);
    EXPECT_NEAR(m.field->alphaPercent(), 40.0, 1e-4);

    m.field->setTextColor(0x3366FF);
    const ColorTransform& c = m.field->colorTransform();
    EXPECT_FLOAT_EQ(c.rMul, 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(c.gMul, 0x66 / 255.0f);
    EXPECT_FLOAT_EQ(c.bMul, 1.0f);
    EXPECT_FLOAT_EQ(c.rAdd, 7.0f); // addends stay
    EXPECT_EQ(m.field->textColor(), 0x3366FFu);
}

TEST(EditTextTest, TextColourTintsWhiteGlyphsAndVisibilityHidesTheField)
{
    // Placed at (2000, 2000) twips: the first glyph covers x 100..120, y 100..120 px.
    FieldMovie m(whiteField("A"), 2000, 2000);
    ASSERT_NE(m.field, nullptr);
    EXPECT_EQ(m.render().at(110, 110), 0xFFFFFFFFu);

    m.field->setTextColor(0xFF0000);
    EXPECT_EQ(m.render().at(110, 110), 0xFFFF0000u);

    m.field->setAlphaPercent(50.0);
    const std::uint32_t half = m.render().at(110, 110);
    EXPECT_NEAR(static_cast<int>(half >> 24), 128, 1);
    EXPECT_EQ(half & 0xFFFF, 0u);

    m.field->setVisible(false);
    EXPECT_EQ(m.render().countNonTransparent(), 0);
}

TEST(EditTextTest, FieldDrawsItsLayoutWithAlignmentWrappingAndMargins)
{
    // Centred field 4000 twips wide: "AB" is 800 wide, so it shifts by (4000 - 800 - 80) / 2 = 1560.
    EditTextSpec centred = whiteField("AB");
    centred.layout = EditTextSpec::Layout{2, 0, 0, 0, 0};
    FieldMovie m(centred, 2000, 2000);
    ASSERT_NE(m.field, nullptr);
    Picture pic = m.render();
    // 'A': x 3560..3960 twips = 178..198 px, y 2000..2400 = 100..120 px.
    EXPECT_EQ(pic.at(188, 110), 0xFFFFFFFFu);
    EXPECT_EQ(pic.at(175, 110), 0u);
    // 'B' (half box) right after it: x 198..208, y 110..120.
    EXPECT_EQ(pic.at(203, 115), 0xFFFFFFFFu);
    EXPECT_EQ(pic.at(203, 105), 0u);
    EXPECT_EQ(pic.countNonTransparent(), 400 + 100);

    // Narrow field with a left margin and leading: "A A" wraps, the second A
    // goes to the next line at the left margin, 400 + 100 twips lower.
    EditTextSpec narrow = whiteField("A A");
    narrow.xmax = 1200; // limit 1200 - 80 = 1120
    narrow.layout = EditTextSpec::Layout{0, 200, 0, 100, 100};
    FieldMovie n(narrow, 2000, 2000);
    ASSERT_NE(n.field, nullptr);
    ASSERT_EQ(n.field->runs().size(), 2u);
    pic = n.render();
    // First line at indent 300: x 2300..2700 twips = 115..135 px, y 100..120.
    EXPECT_EQ(pic.at(125, 110), 0xFFFFFFFFu);
    // Second line at the left margin 200: x 110..130 px, y 125..145.
    EXPECT_EQ(pic.at(112, 135), 0xFFFFFFFFu);
    EXPECT_EQ(pic.at(112, 122), 0u);
    EXPECT_EQ(pic.countNonTransparent(), 800);
}
