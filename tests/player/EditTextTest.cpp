// Text fields: the DefineEditText record, the live field's text and its
// scriptable colour and alpha, and fields drawn into pixels.

#include "fixtures/MovieFixtures.h"
#include "player/EditTextDefinition.h"
#include "player/SpriteInstance.h"
#include "player/TextField.h"

#include <gtest/gtest.h>

#include <limits>

using namespace swf;
using namespace swftest;

namespace
{

constexpr uint32_t White = 0xFFFFFFFF;

// A 550 x 400 pixel movie holding font 1 ('A' an em box, 'B' a half-em box, ' ' nothing; every
// advance one em) and one field placed at depth 1.
struct FieldMovie
{
    Ref<MovieDefinition> movie;
    Ref<MovieInstance> instance;
    TextField* field = nullptr;

    explicit FieldMovie(const EditTextSpec& record, int tx = 0, int ty = 0)
        : movie(movieOf({{48, boxFont(0, true)}, {37, defineEditText(record)}, {26, place(record.id, 1, tx, ty)}})),
          instance(started(*movie)), field(dynamic_cast<TextField*>(instance->rootSprite().displayList().objectAt(1)))
    {
        EXPECT_NE(field, nullptr);
    }

    Picture render() { return renderInstance(*instance, 550, 400); }
};

// A white field 4000 twips wide, 400 twips per em, with `text` and the given layout.
EditTextSpec whiteField(const std::string& text, std::optional<EditTextSpec::Layout> layout = {})
{
    EditTextSpec s;
    s.id = 5;
    s.xmax = 4000;
    s.text = text;
    s.font = std::make_pair(1, 400);
    s.colour = Colour{255, 255, 255, 255};
    s.layout = layout;
    return s;
}

} // namespace

TEST(EditTextTest, CutRecordsAreRefusedButAnUnterminatedFinalTextIsKept)
{
    EditTextSpec full = whiteField("Hello", EditTextSpec::Layout{1, 10, 10, 0, 0});
    full.id = 7;
    Bytes cutLayout = defineEditText(full);
    cutLayout.resize(cutLayout.size() - 12); // into the layout values
    EditTextSpec open = whiteField("Open");
    open.id = 8;
    Bytes unterminated = defineEditText(open);
    unterminated.pop_back();

    Ref<MovieDefinition> movie =
        movieOf({{48, boxFont(0, true)}, {37, cutLayout}, {37, unterminated}, {37, Bytes{9, 0}}});
    EXPECT_EQ((std::vector<void*>{movie->characterById(7), movie->characterById(9)}),
              (std::vector<void*>{nullptr, nullptr}));
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
    // Placed at (2000, 2000) twips: the first glyph covers x 100..120, y 100..120 px.
    FieldMovie m(whiteField("A"), 2000, 2000);
    ASSERT_NE(m.field, nullptr);
    ColorTransform start = m.field->colorTransform();
    start.rAdd = 7.0f;
    m.field->setColorTransform(start);
    // Alpha is clamped to 0..100 per cent, NaN counting as 0.
    for (const auto& [percent, multiplier] : std::vector<std::pair<double, float>>{
             {150.0, 1.0f}, {-5.0, 0.0f}, {std::numeric_limits<double>::quiet_NaN(), 0.0f}, {40.0, 0.4f}})
    {
        m.field->setAlphaPercent(percent);
        EXPECT_FLOAT_EQ(m.field->colorTransform().aMul, multiplier) << percent;
    }
    EXPECT_NEAR(m.field->alphaPercent(), 40.0, 1e-4);

    m.field->setTextColor(0x3366FF);
    const ColorTransform& c = m.field->colorTransform();
    // The addends stay.
    EXPECT_EQ((std::vector<float>{c.rMul, c.gMul, c.bMul, c.rAdd, float(m.field->textColor())}),
              (std::vector<float>{0x33 / 255.0f, 0x66 / 255.0f, 1.0f, 7.0f, float(0x3366FF)}));

    // The colour tints the white glyphs; half alpha halves them; hidden, nothing is drawn.
    m.field->setColorTransform(ColorTransform());
    m.field->setTextColor(0xFF0000);
    EXPECT_EQ(m.render().at(110, 110), 0xFFFF0000u);
    m.field->setAlphaPercent(50.0);
    const std::uint32_t half = m.render().at(110, 110);
    EXPECT_NEAR(static_cast<int>(half >> 24), 128, 1);
    EXPECT_EQ(half & 0xFFFF, 0u) << std::hex << half;
    m.field->setVisible(false);
    EXPECT_EQ(m.render().countNonTransparent(), 0);
}

TEST(EditTextTest, FieldDrawsItsLayoutWithAlignmentWrappingAndMargins)
{
    // Centred field 4000 twips wide: "AB" is 800 wide, so it shifts by (4000 - 800 - 80) / 2 = 1560.
    // 'A': x 3560..3960 twips = 178..198 px, y 2000..2400 = 100..120 px; 'B' (half box) right
    // after it: x 198..208, y 110..120.
    FieldMovie m(whiteField("AB", EditTextSpec::Layout{2, 0, 0, 0, 0}), 2000, 2000);
    Picture pic = m.render();
    EXPECT_EQ(pixelsAt(pic, {{188, 110}, {175, 110}, {203, 115}, {203, 105}}),
              (std::vector<uint32_t>{White, 0, White, 0}));
    EXPECT_EQ(pic.countNonTransparent(), 400 + 100);

    // Narrow field (limit 1200 - 80 = 1120) with a left margin of 200, indent 100 and leading:
    // "A A" wraps. The first line at 300: x 115..135 px, y 100..120; the second at the left
    // margin, 400 + 100 twips lower: x 110..130 px, y 125..145.
    EditTextSpec narrow = whiteField("A A", EditTextSpec::Layout{0, 200, 0, 100, 100});
    narrow.xmax = 1200;
    FieldMovie n(narrow, 2000, 2000);
    ASSERT_EQ(n.field->runs().size(), 2u);
    pic = n.render();
    EXPECT_EQ(pixelsAt(pic, {{125, 110}, {112, 135}, {112, 122}}), (std::vector<uint32_t>{White, White, 0}));
    EXPECT_EQ(pic.countNonTransparent(), 800);
}
