#include "fixtures/MovieFixtures.h"

#include <gtest/gtest.h>

using namespace swftest;

namespace
{

constexpr Colour Red{255, 0, 0, 255};

// A 100 x 100 pixel movie (2000 twips square) showing one shape.
Picture renderShape(const ShapeBuilder& shape, int w = 100, int h = 100, int code = 2,
                    std::optional<CxformSpec> cx = std::nullopt)
{
    MovieBuilder m(1, 2000, 2000);
    m.tag(code, shape.payload(1)).tag(26, placeWith(1, 1, std::nullopt, cx)).showFrame().end();
    auto movie = readMovie(m.fws());
    return renderFrame(*movie, 0, w, h);
}

} // namespace

TEST(RenderTest, DiagonalAndCurvedEdgesStayOnTheirLine)
{
    // A right triangle under its diagonal, and a quarter disc bounded by one curve: both cover
    // about their area, with nothing bulging past the edge.
    ShapeBuilder triangle;
    triangle.change(std::make_pair(0, 0), std::nullopt, triangle.solidFill(Red), std::nullopt);
    triangle.lineTo(2000, 0).lineTo(-2000, 2000).lineTo(0, -2000);
    Picture t = renderShape(triangle);
    EXPECT_NEAR(t.countNonTransparent(), 5000 + 50, 60);
    EXPECT_EQ(t.alpha(45, 45), 255);
    EXPECT_EQ(t.alpha(56, 45), 0);
    EXPECT_EQ(t.alpha(45, 56), 0);

    ShapeBuilder bowl;
    bowl.change(std::make_pair(0, 0), std::nullopt, bowl.solidFill(Red), std::nullopt);
    bowl.lineTo(2000, 0).curveTo(0, 2000, -2000, 0).lineTo(0, -2000);
    Picture b = renderShape(bowl);
    // The quadratic through (100, 0), control (100, 100), to (0, 100) passes (75, 75).
    EXPECT_EQ(b.alpha(72, 72), 255);
    EXPECT_EQ(b.alpha(79, 79), 0);
    EXPECT_EQ(b.alpha(95, 30), 255);
}

TEST(RenderTest, OutlineStitchedFromPathsInAnyOrderAndDirection)
{
    // The square's four edges in two paths: the second path runs backwards with the fill on its
    // left, and comes first in the file.
    ShapeBuilder s;
    int fill = s.solidFill({0, 0, 255, 255});
    s.change(std::make_pair(1000, 1000), fill, 0, std::nullopt).lineTo(-1000, 0).lineTo(0, -1000);
    s.change(std::make_pair(0, 0), 0, fill, std::nullopt).lineTo(1000, 0).lineTo(0, 1000);
    Picture p = renderShape(s);
    EXPECT_EQ(p.at(10, 40), 0xFF0000FFu);
    EXPECT_EQ(p.at(40, 10), 0xFF0000FFu);
    EXPECT_EQ(p.countNonTransparent(), 50 * 50);
}

TEST(RenderTest, EvenOddRingAndEdgesWithTheSameFillOnBothSides)
{
    ShapeBuilder ring;
    int fill = ring.solidFill(Red);
    ring.rectangle(0, 0, 2000, 2000, fill);
    ring.rectangle(500, 500, 1000, 1000, fill);
    Picture r = renderShape(ring);
    EXPECT_EQ(r.at(10, 10), 0xFFFF0000u);
    EXPECT_EQ(r.at(50, 50), 0u); // the inside of the ring is left empty
    EXPECT_EQ(r.countNonTransparent(), 100 * 100 - 50 * 50);

    ShapeBuilder inner;
    fill = inner.solidFill(Red);
    inner.rectangle(0, 0, 2000, 2000, fill);
    inner.change(std::make_pair(500, 500), fill, fill, std::nullopt)
        .lineTo(1000, 0)
        .lineTo(0, 1000)
        .lineTo(-1000, 0)
        .lineTo(0, -1000);
    Picture i = renderShape(inner);
    EXPECT_EQ(i.at(50, 50), 0xFFFF0000u); // that outline is no boundary of the fill
    EXPECT_EQ(i.countNonTransparent(), 100 * 100);
}

TEST(RenderTest, ViewportScalesEachAxisOnItsOwn)
{
    // 550 x 400 pixels shown in 100 x 100: x by 100/11000, y by 100/8000.
    ShapeBuilder s;
    int fill = s.solidFill(Red);
    s.rectangle(0, 0, 5500, 2000, fill);
    MovieBuilder m(1, 11000, 8000);
    m.tag(2, s.payload(1)).tag(26, place(1, 1)).showFrame().end();
    auto movie = readMovie(m.fws());
    Picture p = renderFrame(*movie, 0, 100, 100);
    EXPECT_EQ(p.at(49, 24), 0xFFFF0000u);
    EXPECT_EQ(p.at(50, 10), 0u);
    EXPECT_EQ(p.at(10, 25), 0u);
    EXPECT_EQ(p.countNonTransparent(), 50 * 25);

    // A viewport offset and a frame rectangle not at the origin.
    MovieBuilder shifted(1, 0, 0);
    shifted.frameRect(1000, 3000, 1000, 3000);
    ShapeBuilder t;
    fill = t.solidFill(Red);
    t.rectangle(1000, 1000, 1000, 1000, fill);
    shifted.tag(2, t.payload(1)).tag(26, place(1, 1)).showFrame().end();
    auto movie2 = readMovie(shifted.fws());
    auto inst = movie2->createInstance();
    inst->advance(0.0001f);
    Picture full(renderInstance(*inst, 100, 100)); // viewport 0,0,100,100
    EXPECT_EQ(full.at(0, 0), 0xFFFF0000u);
    EXPECT_EQ(full.at(49, 49), 0xFFFF0000u);
    EXPECT_EQ(full.at(50, 50), 0u);
    swf::Matrix dm = inst->displayMatrix();
    EXPECT_FLOAT_EQ(dm.m00, 100.0f / 2000);
    EXPECT_FLOAT_EQ(dm.m02, -50);
    inst->setViewport(10, 20, 40, 40);
    dm = inst->displayMatrix();
    EXPECT_FLOAT_EQ(dm.m00, 40.0f / 2000);
    EXPECT_FLOAT_EQ(dm.m02, 10 - 20);
    EXPECT_FLOAT_EQ(dm.m12, 20 - 20);
}

TEST(RenderTest, LinearGradientStopsSitAtRatioOver1023Of1024Units)
{
    // One gradient unit is one pixel: a 256-pixel-wide shape spans gradient x 0..256.
    ShapeBuilder s;
    MatrixSpec g;
    g.scale = std::make_pair(5120.0 / 32768, 5120.0 / 32768);
    g.tx = 2560;
    int fill = s.gradientFill(0x10, g, {{250, {0, 0, 0, 255}}, {251, {255, 255, 255, 255}}});
    s.rectangle(0, 0, 5120, 200, fill);
    MovieBuilder m(1, 5120, 200);
    m.tag(2, s.payload(1)).tag(26, place(1, 1)).showFrame().end();
    auto movie = readMovie(m.fws());
    Picture p = renderFrame(*movie, 0, 256, 10);
    auto red = [&](int x) { return static_cast<int>((p.at(x, 5) >> 16) & 0xFF); };
    // Stops at 250 x 1024/1023 = 250.24 and 251.25 units: pixel 250 (centre 250.5) is a quarter
    // of the way up the ramp, pixel 251 (centre 251.5) is past it.
    EXPECT_EQ(red(200), 0);
    EXPECT_NEAR(red(250), 65, 4);
    EXPECT_EQ(red(251), 255);
    EXPECT_EQ(p.alpha(0, 0), 255);
}

TEST(RenderTest, RadialGradientCentreAndEdge)
{
    ShapeBuilder s;
    MatrixSpec g;
    g.scale = std::make_pair(2000.0 / 32768, 2000.0 / 32768);
    g.tx = 1000;
    g.ty = 1000;
    int fill = s.gradientFill(0x12, g, {{0, {255, 0, 0, 255}}, {255, {0, 0, 255, 255}}});
    s.rectangle(0, 0, 2000, 2000, fill);
    Picture p = renderShape(s);
    uint32_t centre = p.at(50, 50);
    EXPECT_GT((centre >> 16) & 0xFF, 240u);
    EXPECT_LT(centre & 0xFF, 15u);
    uint32_t corner = p.at(0, 0); // beyond the radius the last colour pads
    EXPECT_EQ(corner, 0xFF0000FFu);
}

TEST(RenderTest, ColourTransformClampsEachChannel)
{
    ShapeBuilder s(32);
    int fill = s.solidFill({200, 10, 100, 255});
    s.rectangle(0, 0, 2000, 2000, fill);
    CxformSpec c;
    c.mul = std::vector<double>{2.0, 1.0, 0.5, 1.0};
    c.add = std::vector<int>{0, 50, -100, 0};
    Picture p = renderShape(s, 10, 10, 32, c);
    // r: 400 -> 255; g: 10 + 50 = 60; b: 50 - 100 -> 0.
    EXPECT_EQ(p.at(5, 5), 0xFFFF3C00u);

    swf::ColorTransform ct;
    ct.aMul = 0.5f;
    ct.rAdd = 0.9f;
    swf::Rgba out = ct.transform({10, 20, 30, 255});
    EXPECT_EQ(out.r, 10); // 10.9 truncates
    EXPECT_EQ(out.a, 127);
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
    s.change(std::make_pair(400, 1000), std::nullopt, std::nullopt, pen).lineTo(1200, 0);
    Picture p = renderShape(s);
    EXPECT_EQ(p.at(50, 50), 0xFF00FF00u);
    EXPECT_EQ(p.alpha(12, 50), 255); // inside the round cap around (20, 50)
    EXPECT_EQ(p.alpha(11, 42), 0);   // where a square cap would have painted
    EXPECT_EQ(p.alpha(50, 39), 0);

    ShapeBuilder zero;
    int none = zero.lineStyle(0, {0, 0, 0, 255});
    zero.change(std::make_pair(400, 1000), std::nullopt, std::nullopt, none).lineTo(1200, 0);
    EXPECT_EQ(renderShape(zero).countNonTransparent(), 0);
}

TEST(RenderTest, BitmapFillsAndSingularTransformsDrawNothingButDoNotBlankOthers)
{
    ShapeBuilder bitmap;
    int fill = bitmap.bitmapFill(3);
    bitmap.rectangle(0, 0, 2000, 2000, fill);
    EXPECT_EQ(renderShape(bitmap).countNonTransparent(), 0);

    // The first shape is placed with x scale 0; the second must still be drawn.
    ShapeBuilder s;
    fill = s.solidFill(Red);
    s.rectangle(0, 0, 1000, 1000, fill);
    MovieBuilder m(1, 2000, 2000);
    MatrixSpec flat;
    flat.scale = std::make_pair(0.0, 1.0);
    MatrixSpec right;
    right.tx = 1000;
    m.tag(2, s.payload(1)).tag(26, placeWith(1, 1, flat)).tag(26, place(1, 2, 1000)).showFrame().end();
    auto movie = readMovie(m.fws());
    Picture p = renderFrame(*movie, 0, 100, 100);
    EXPECT_EQ(p.at(75, 25), 0xFFFF0000u);
    EXPECT_EQ(p.at(25, 25), 0u);

    // A singular gradient matrix stays drawable (identity scale), and the shape after it draws.
    ShapeBuilder g;
    MatrixSpec zeroScale;
    zeroScale.scale = std::make_pair(0.0, 0.0);
    int grad = g.gradientFill(0x10, zeroScale, {{0, Red}, {255, {0, 255, 0, 255}}});
    int solid = g.solidFill({0, 0, 255, 255});
    g.rectangle(0, 0, 1000, 1000, grad);
    g.rectangle(1000, 1000, 1000, 1000, solid);
    Picture q = renderShape(g);
    EXPECT_EQ(q.at(75, 75), 0xFF0000FFu);
    EXPECT_EQ(q.alpha(25, 25), 255);
}

TEST(RenderTest, NestedSpriteTransformsCompose)
{
    ShapeBuilder s;
    int fill = s.solidFill({255, 255, 255, 255});
    s.rectangle(0, 0, 200, 200, fill);
    TagList inner;
    MatrixSpec offset;
    offset.tx = 200;
    CxformSpec tint;
    tint.mul = std::vector<double>{1.0, 0.0, 1.0, 1.0};
    inner.tag(26, placeWith(1, 1, offset, tint)).showFrame().end();
    MovieBuilder m(1, 2000, 2000);
    MatrixSpec outer;
    outer.scale = std::make_pair(2.0, 2.0);
    outer.tx = 400;
    outer.ty = 400;
    CxformSpec blueOff;
    blueOff.mul = std::vector<double>{1.0, 1.0, 0.0, 1.0};
    m.tag(2, s.payload(1))
        .tag(39, defineSprite(2, 1, inner))
        .tag(26, placeWith(2, 1, outer, blueOff))
        .showFrame()
        .end();
    auto movie = readMovie(m.fws());
    Picture p = renderFrame(*movie, 0, 100, 100);
    // World: x = 2 * (x + 200) + 400 -> 800..1200 twips = 40..60 px; y 400..800 = 20..40 px.
    EXPECT_EQ(p.at(45, 25), 0xFFFF0000u); // green removed inside, blue outside
    EXPECT_EQ(p.at(39, 25), 0u);
    EXPECT_EQ(p.at(60, 25), 0u);
    EXPECT_EQ(p.countNonTransparent(), 20 * 20);
}
