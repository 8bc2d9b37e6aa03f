// Shapes drawn into pixels: edges, fill rules, gradients, strokes, colour transforms, the
// viewport and nested transforms.
#include "fixtures/MovieFixtures.h"

#include <gtest/gtest.h>

using namespace swftest;

namespace
{

constexpr Colour Red{255, 0, 0, 255};
constexpr uint32_t R = 0xFFFF0000, B = 0xFF0000FF;
using Pixels = std::vector<uint32_t>;

// A movie of 2000 x 2000 twips (100 x 100 pixels unless asked otherwise) showing one shape.
Picture renderShape(const ShapeBuilder& shape, int w = 100, int h = 100, int code = 2,
                    std::optional<CxformSpec> cx = std::nullopt)
{
    return renderFrame(*movieOf({{code, shape.payload(1)}, {26, placeWith(1, 1, std::nullopt, cx)}}, 2000, 2000), 0, w,
                       h);
}

// A shape whose one path starts at (x, y) with a red fill on its right.
ShapeBuilder redPathFrom(int x, int y)
{
    ShapeBuilder s;
    s.change(std::pair(x, y), std::nullopt, s.solidFill(Red), std::nullopt);
    return s;
}

} // namespace

TEST(RenderTest, DiagonalAndCurvedEdgesStayOnTheirLine)
{
    // A right triangle under its diagonal, and a quarter disc bounded by one curve: both cover
    // about their area, with nothing bulging past the edge.
    Picture t = renderShape(redPathFrom(0, 0).lineTo(2000, 0).lineTo(-2000, 2000).lineTo(0, -2000));
    EXPECT_NEAR(t.countNonTransparent(), 5000 + 50, 60);
    EXPECT_EQ(pixelsAt(t, {{45, 45}, {56, 45}, {45, 56}}), (Pixels{R, 0, 0}));
    // The quadratic through (100, 0), control (100, 100), to (0, 100) passes (75, 75).
    Picture b = renderShape(redPathFrom(0, 0).lineTo(2000, 0).curveTo(0, 2000, -2000, 0).lineTo(0, -2000));
    EXPECT_EQ(pixelsAt(b, {{72, 72}, {79, 79}, {95, 30}}), (Pixels{R, 0, R}));
}

TEST(RenderTest, FillRulesOutlinesInAnyOrderRingsAndSameFillOnBothSides)
{
    // The square's four edges in two paths: the second path runs backwards with the fill on its
    // left, and comes first in the file.
    ShapeBuilder s;
    int fill = s.solidFill({0, 0, 255, 255});
    s.change(std::pair(1000, 1000), fill, 0, std::nullopt).lineTo(-1000, 0).lineTo(0, -1000);
    s.change(std::pair(0, 0), 0, fill, std::nullopt).lineTo(1000, 0).lineTo(0, 1000);
    Picture p = renderShape(s);
    EXPECT_EQ(pixelsAt(p, {{10, 40}, {40, 10}}), (Pixels{B, B}));
    EXPECT_EQ(p.countNonTransparent(), 50 * 50);

    // Even-odd: a square inside a square of the same fill leaves a hole.
    ShapeBuilder ring;
    fill = ring.solidFill(Red);
    ring.rectangle(0, 0, 2000, 2000, fill).rectangle(500, 500, 1000, 1000, fill);
    Picture r = renderShape(ring);
    EXPECT_EQ(pixelsAt(r, {{10, 10}, {50, 50}}), (Pixels{R, 0}));
    EXPECT_EQ(r.countNonTransparent(), 100 * 100 - 50 * 50);

    // An outline with the same fill on both sides is no boundary of the fill.
    ShapeBuilder inner;
    fill = inner.solidFill(Red);
    inner.rectangle(0, 0, 2000, 2000, fill).change(std::pair(500, 500), fill, fill, std::nullopt);
    inner.lineTo(1000, 0).lineTo(0, 1000).lineTo(-1000, 0).lineTo(0, -1000);
    Picture i = renderShape(inner);
    EXPECT_EQ(i.at(50, 50), 0xFFFF0000u);
    EXPECT_EQ(i.countNonTransparent(), 100 * 100);
}

TEST(RenderTest, ViewportScalesEachAxisOnItsOwn)
{
    // 550 x 400 pixels shown in 100 x 100: x by 100/11000, y by 100/8000.
    ShapeBuilder s;
    s.rectangle(0, 0, 5500, 2000, s.solidFill(Red));
    Picture p = renderFrame(*movieOf({{2, s.payload(1)}, {26, place(1, 1)}}), 0, 100, 100);
    EXPECT_EQ(pixelsAt(p, {{49, 24}, {50, 10}, {10, 25}}), (Pixels{R, 0, 0}));
    EXPECT_EQ(p.countNonTransparent(), 50 * 25);

    // A viewport offset and a frame rectangle not at the origin.
    MovieBuilder shifted(1, 0, 0);
    ShapeBuilder t;
    t.rectangle(1000, 1000, 1000, 1000, t.solidFill(Red));
    shifted.frameRect(1000, 3000, 1000, 3000).tag(2, t.payload(1)).tag(26, place(1, 1)).showFrame().end();
    auto movie = readMovie(shifted.fws());
    auto inst = started(*movie);
    Picture full(renderInstance(*inst, 100, 100)); // viewport 0,0,100,100
    EXPECT_EQ(pixelsAt(full, {{0, 0}, {49, 49}, {50, 50}}), (Pixels{R, R, 0}));
    const swf::Matrix whole = inst->displayMatrix();
    inst->setViewport(10, 20, 40, 40);
    const swf::Matrix dm = inst->displayMatrix();
    EXPECT_EQ((std::vector<float>{whole.m00, whole.m02, dm.m00, dm.m02, dm.m12}),
              (std::vector<float>{100.0f / 2000, -50, 40.0f / 2000, 10 - 20, 20 - 20}));
}

TEST(RenderTest, GradientStopsAndRadialPadding)
{
    // One gradient unit is one pixel: a 256-pixel-wide shape spans gradient x 0..256.
    ShapeBuilder s;
    const MatrixSpec g{std::pair(5120.0 / 32768, 5120.0 / 32768), {}, 2560, 0};
    s.rectangle(0, 0, 5120, 200, s.gradientFill(0x10, g, {{250, {0, 0, 0, 255}}, {251, {255, 255, 255, 255}}}));
    Picture p = renderFrame(*movieOf({{2, s.payload(1)}, {26, place(1, 1)}}, 5120, 200), 0, 256, 10);
    auto red = [&](int x) { return static_cast<int>((p.at(x, 5) >> 16) & 0xFF); };
    // Stops at 250 x 1024/1023 = 250.24 and 251.25 units: pixel 250 (centre 250.5) is a quarter
    // of the way up the ramp, pixel 251 (centre 251.5) is past it.
    EXPECT_NEAR(red(250), 65, 4);
    EXPECT_EQ((std::vector<int>{red(200), red(251), p.alpha(0, 0)}), (std::vector<int>{0, 255, 255}));

    ShapeBuilder r;
    const MatrixSpec centred{std::pair(2000.0 / 32768, 2000.0 / 32768), {}, 1000, 1000};
    r.rectangle(0, 0, 2000, 2000, r.gradientFill(0x12, centred, {{0, Red}, {255, {0, 0, 255, 255}}}));
    Picture q = renderShape(r);
    EXPECT_GT((q.at(50, 50) >> 16) & 0xFF, 240u);
    EXPECT_LT(q.at(50, 50) & 0xFF, 15u);
    EXPECT_EQ(q.at(0, 0), 0xFF0000FFu); // beyond the radius the last colour pads
}

TEST(RenderTest, ColourTransformClampsEachChannel)
{
    ShapeBuilder s(32);
    s.rectangle(0, 0, 2000, 2000, s.solidFill({200, 10, 100, 255}));
    // r: 400 -> 255; g: 10 + 50 = 60; b: 50 - 100 -> 0.
    EXPECT_EQ(renderShape(s, 10, 10, 32,
                          CxformSpec{std::vector<double>{2.0, 1.0, 0.5, 1.0}, std::vector<int>{0, 50, -100, 0}})
                  .at(5, 5),
              0xFFFF3C00u);

    swf::ColorTransform ct;
    ct.aMul = 0.5f;
    ct.rAdd = 0.9f;
    swf::Rgba out = ct.transform({10, 20, 30, 255});
    EXPECT_EQ((std::vector<int>{out.r, out.a}), (std::vector<int>{10, 127})); // 10.9 truncates
    swf::ColorTransform parent;
    parent.rMul = 2;
    parent.rAdd = 5;
    swf::ColorTransform child;
    child.rAdd = 10;
    child.concatenate(parent);
    EXPECT_EQ(child.transform({1, 0, 0, 255}).r, (1 + 10) * 2 + 5);
}

TEST(RenderTest, StrokesRoundCapsAndZeroWidth)
{
    ShapeBuilder s;
    int pen = s.lineStyle(400, {0, 255, 0, 255}); // 20 px at 20 twips per pixel
    s.change(std::pair(400, 1000), std::nullopt, std::nullopt, pen).lineTo(1200, 0);
    Picture p = renderShape(s);
    // (12, 50) is inside the round cap around (20, 50), (11, 42) where a square cap would have painted.
    EXPECT_EQ(pixelsAt(p, {{50, 50}, {12, 50}, {11, 42}, {50, 39}}), (Pixels{0xFF00FF00u, 0xFF00FF00u, 0, 0}));

    ShapeBuilder zero;
    zero.change(std::pair(400, 1000), std::nullopt, std::nullopt, zero.lineStyle(0, {0, 0, 0, 255})).lineTo(1200, 0);
    EXPECT_EQ(renderShape(zero).countNonTransparent(), 0);
}

TEST(RenderTest, BitmapFillsAndSingularTransformsDrawNothingButDoNotBlankOthers)
{
    ShapeBuilder bitmap;
    bitmap.rectangle(0, 0, 2000, 2000, bitmap.bitmapFill(3));
    EXPECT_EQ(renderShape(bitmap).countNonTransparent(), 0);

    // The first shape is placed with x scale 0; the second must still be drawn.
    ShapeBuilder s;
    s.rectangle(0, 0, 1000, 1000, s.solidFill(Red));
    const MatrixSpec flat{std::pair(0.0, 1.0), {}, 0, 0};
    Picture p = renderFrame(
        *movieOf({{2, s.payload(1)}, {26, placeWith(1, 1, flat)}, {26, place(1, 2, 1000)}}, 2000, 2000), 0, 100, 100);
    EXPECT_EQ(pixelsAt(p, {{75, 25}, {25, 25}}), (Pixels{R, 0}));

    // A singular gradient matrix stays drawable (identity scale), and the shape after it draws.
    ShapeBuilder g;
    int grad = g.gradientFill(0x10, MatrixSpec{std::pair(0.0, 0.0), {}, 0, 0}, {{0, Red}, {255, {0, 255, 0, 255}}});
    g.rectangle(0, 0, 1000, 1000, grad).rectangle(1000, 1000, 1000, 1000, g.solidFill({0, 0, 255, 255}));
    Picture q = renderShape(g);
    EXPECT_EQ((Pixels{q.at(75, 75), q.alpha(25, 25)}), (Pixels{B, 255}));
}

TEST(RenderTest, NestedSpriteTransformsCompose)
{
    ShapeBuilder s;
    s.rectangle(0, 0, 200, 200, s.solidFill({255, 255, 255, 255}));
    // Inside: moved by 200 twips, green removed; outside: scaled by 2, moved by 400, blue removed.
    TagList inner;
    inner.tag(26, placeWith(1, 1, MatrixSpec{{}, {}, 200, 0}, CxformSpec{std::vector<double>{1.0, 0.0, 1.0, 1.0}, {}}));
    const MatrixSpec outer{std::pair(2.0, 2.0), {}, 400, 400};
    Picture p =
        renderFrame(*movieOf({{2, s.payload(1)},
                              {39, defineSprite(2, 1, inner.showFrame().end())},
                              {26, placeWith(2, 1, outer, CxformSpec{std::vector<double>{1.0, 1.0, 0.0, 1.0}, {}})}},
                             2000, 2000),
                    0, 100, 100);
    // World: x = 2 * (x + 200) + 400 -> 800..1200 twips = 40..60 px; y 400..800 = 20..40 px.
    EXPECT_EQ(pixelsAt(p, {{45, 25}, {39, 25}, {60, 25}}), (Pixels{R, 0, 0}));
    EXPECT_EQ(p.countNonTransparent(), 20 * 20);
}
