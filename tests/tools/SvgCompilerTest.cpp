// The picture compiler's reading of the art format: sizes, painting order,
// style inheritance, reuse, gradients, frames, lettering and refusals.
#include "SvgCompiler.h"
#include "GlyphOutliner.h"
#include "MovieWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace
{

const char* const GameFont = "/usr/share/fonts/opentype/dosis/Dosis-Medium.otf";

std::string Svg(const std::string& body, const std::string& root = "width='100' height='50' viewBox='0 0 100 50'")
{
    return "<svg xmlns='http://www.w3.org/2000/svg' " + root + ">" + body + "</svg>";
}

Movie Compile(const std::string& svg, const GlyphOutliner* font = nullptr, std::vector<std::string>* warnings = nullptr)
{
    SvgCompiler compiler(font);
    Movie movie;
    std::string error;
    EXPECT_TRUE(compiler.Compile(svg, movie, error)) << error;
    if (warnings)
        *warnings = compiler.Warnings();
    return movie;
}

// The outline's lowest and highest corner.
std::pair<Point, Point> Box(const ShapeItem& item)
{
    Point lo, hi;
    EXPECT_TRUE(item.outline.Bounds(lo, hi));
    return {lo, hi};
}

} // namespace

TEST(SvgCompilerTest, FrameSizeAndViewBoxGiveTwips)
{
    Movie m = Compile(Svg("<rect x='5' y='5' width='10' height='10'/>", "width='100' height='50' viewBox='0 0 50 25'"));
    EXPECT_EQ(std::make_tuple(m.widthTwips, m.heightTwips, m.frameRate, m.compressed),
              std::make_tuple(2000, 1000, 12, false));
    ASSERT_EQ(m.frames.size(), 1u);
    ASSERT_EQ(m.background.size(), 1u);
    // The view box doubles user units: (5,5)-(15,15) becomes 200..600 twips.
    EXPECT_NEAR(Box(m.background[0]).first.x, 200, 1e-9);
    EXPECT_NEAR(Box(m.background[0]).second.y, 600, 1e-9);

    Movie noBox = Compile("<svg width='30' height='20' data-fps='25' data-compress='1'/>");
    EXPECT_EQ(std::make_tuple(noBox.widthTwips, noBox.frameRate, noBox.compressed), std::make_tuple(600, 25, true));
}

TEST(SvgCompilerTest, PaintingOrderStylesAndOpacityFollowTheDocument)
{
    std::vector<std::string> warnings;
    Movie m = Compile(
        Svg("<g fill='#ff0000' opacity='0.5'>"
            "  <rect width='10' height='10'/>"
            "  <g style='fill:#00ff00'><circle cx='5' cy='5' r='3' fill='blue' opacity='0.5'/></g>"
            "  <rect width='1' height='1' fill-opacity='0.5' stroke='black' stroke-width='2' stroke-opacity='0.25'/>"
            "</g>"
            "<rect width='10' height='10' display='none'/>"
            "<rect width='10' height='10' visibility='hidden'/>"
            "<rect width='0' height='10'/>"
            "<defs><rect id='hidden' width='5' height='5'/></defs>"
            "<filter id='f'/><rect width='2' height='2' fill='none'/>"
            "<line x1='0' y1='0' x2='10' y2='10' stroke='#123456'/>"),
        nullptr, &warnings);
    const auto& items = m.background;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].fill.colour, (Rgba{255, 0, 0, 128}));
    // style="" beats the attribute on the group, the element's own fill beats both.
    EXPECT_EQ(items[1].fill.colour, (Rgba{0, 0, 255, 64}));
    EXPECT_EQ(std::make_tuple(items[2].fill.colour, items[2].stroked, items[2].strokeColour.a),
              std::make_tuple(Rgba{255, 0, 0, 64}, true, 32));
    EXPECT_NEAR(items[2].strokeWidth, 40, 1e-9);
    // A line has no inside to fill.
    EXPECT_EQ(std::make_tuple(items[3].fill.kind, items[3].stroked), std::make_tuple(Paint::Kind::None, true));
    // The ignored filter, and the stroke of the small square that reaches
    // a pixel beyond the frame's corner.
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("1 px beyond the frame"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("filter"), std::string::npos) << warnings[1];
}

TEST(SvgCompilerTest, UseInstantiatesWithItsOffsetAndStopsCycles)
{
    std::vector<std::string> warnings;
    Movie m =
        Compile(Svg("<defs><g id='pair' fill='green'><rect width='2' height='2'/><rect x='4' width='2' height='2'/></g>"
                    "<g id='loop'><use href='#loop'/></g></defs>"
                    "<use xlink:href='#pair' x='10' y='20' transform='scale(2)'/>"
                    "<use href='#loop'/><use href='#nothing'/>"),
                nullptr, &warnings);
    ASSERT_EQ(m.background.size(), 2u);
    // scale(2) then translate(10, 20): the second square starts at (2 * 14, 2 * 20) user units.
    EXPECT_NEAR(Box(m.background[1]).first.x, 28 * 20, 1e-9);
    EXPECT_NEAR(Box(m.background[1]).first.y, 40 * 20, 1e-9);
    EXPECT_EQ(m.background[1].fill.colour, (Rgba{0, 128, 0, 255}));
    EXPECT_EQ(warnings.size(), 2u); // the self reference and the missing target
}

TEST(SvgCompilerTest, GradientsMapTheirSquareOntoTheElement)
{
    Movie m = Compile(Svg("<defs>"
                          "<linearGradient id='base' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='white'/>"
                          "<stop offset='50%' style='stop-color:#808080;stop-opacity:0.5'/><stop offset='0.2' "
                          "stop-color='black'/></linearGradient>"
                          "<linearGradient id='child' href='#base' gradientTransform='translate(0 0)'/>"
                          "<radialGradient id='user' gradientUnits='userSpaceOnUse' cx='50' cy='25' r='10'>"
                          "<stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/></radialGradient>"
                          "</defs>"
                          "<rect x='10' y='10' width='40' height='20' fill='url(#child)'/>"
                          "<rect width='100' height='50' fill='url(#user)' opacity='0.5'/>"
                          "<rect width='10' height='10' fill='url(#missing) #00ff00'/>"));
    ASSERT_EQ(m.background.size(), 3u);
    const Paint& linear = m.background[0].fill;
    ASSERT_EQ(linear.kind, Paint::Kind::Linear);
    ASSERT_EQ(linear.stops.size(), 3u); // inherited through href
    // Offsets never go back.
    EXPECT_EQ(std::make_tuple(linear.stops[2].offset, linear.stops[1].colour.a), std::make_tuple(0.5, 128));
    // The ramp runs from the box's top (-16384) to its bottom (+16384), in twips.
    const Point top = linear.squareToShape.Apply({-16384, 0});
    const Point bottom = linear.squareToShape.Apply({16384, 0});
    EXPECT_NEAR(top.x, 200, 1e-6);
    EXPECT_NEAR(top.y, 200, 1e-6);
    EXPECT_NEAR(bottom.y, 600, 1e-6);

    const Paint& radial = m.background[1].fill;
    ASSERT_EQ(radial.kind, Paint::Kind::Radial);
    const Point centre = radial.squareToShape.Apply({0, 0});
    const Point edge = radial.squareToShape.Apply({16384, 0});
    EXPECT_NEAR(centre.x, 1000, 1e-6);
    EXPECT_NEAR(centre.y, 500, 1e-6);
    EXPECT_NEAR(edge.x - centre.x, 200, 1e-6);
    EXPECT_EQ(radial.stops[0].colour.a, 128);

    EXPECT_EQ(std::make_tuple(m.background[2].fill.kind, m.background[2].fill.colour),
              std::make_tuple(Paint::Kind::Solid, Rgba{0, 255, 0, 255}));
}

TEST(SvgCompilerTest, LongGradientsAreReducedToEightStops)
{
    std::string stops;
    for (int i = 0; i <= 12; ++i)
        stops +=
            "<stop offset='" + std::to_string(i / 12.0) + "' stop-color='rgb(" + std::to_string(i * 20) + ",0,0)'/>";
    stops += "<stop offset='1' stop-color='blue'/>";
    std::vector<std::string> warnings;
    Movie m = Compile(
        Svg("<linearGradient id='g'>" + stops + "</linearGradient><rect width='10' height='10' fill='url(#g)'/>"),
        nullptr, &warnings);
    const Paint& p = m.background[0].fill;
    ASSERT_EQ(p.stops.size(), 8u);
    // The ends and the sharp change to blue survive.
    EXPECT_EQ(std::make_tuple(p.stops.front().offset, p.stops.back().colour, p.stops[6].colour.r, warnings.size()),
              std::make_tuple(0.0, Rgba{0, 0, 255, 255}, 240, 1u));
}

TEST(SvgCompilerTest, FrameGroupsBecomeFramesOverTheSharedBackground)
{
    Movie m =
        Compile(Svg("<g data-frame='' data-label='a'><rect width='1' height='1'/></g>"
                    "<rect width='100' height='50' fill='white'/>"
                    "<g data-frame='' data-hold='4'><rect width='2' height='2'/><rect width='3' height='3'/></g>"));
    ASSERT_EQ(m.frames.size(), 2u);
    EXPECT_EQ(std::make_tuple(m.background.size(), m.frames[0].label, m.frames[0].items.size(), m.frames[1].hold,
                              m.frames[1].items.size()),
              std::make_tuple(1u, "a", 1u, 4, 2u));
}

TEST(SvgCompilerTest, LetteringComesFromTheGameFont)
{
    GlyphOutliner font;
    std::string error;
    if (!font.Load(GameFont, error))
        GTEST_SKIP() << "the game font is not installed: " << error;

    Movie m = Compile(
        Svg("<text x='50' y='40' font-size='30' text-anchor='middle' fill='white' stroke='black' stroke-width='2'>"
            "PLAY  <tspan>GAME</tspan>\n</text>"),
        &font);
    ASSERT_EQ(m.background.size(), 2u);
    // The outline ring goes below the letters.
    EXPECT_EQ(std::make_tuple(m.background[0].stroked, m.background[0].fill.kind, m.background[1].stroked,
                              m.background[1].fill.colour),
              std::make_tuple(true, Paint::Kind::None, false, Rgba{255, 255, 255, 255}));
    // Centred on x = 50 (1000 twips), standing on the baseline at y = 40 (800 twips).
    const auto [lo, hi] = Box(m.background[1]);
    EXPECT_NEAR((lo.x + hi.x) / 2, 1000, 30);
    // (Round letters overshoot the baseline a little.)
    EXPECT_TRUE(hi.y > 780 && hi.y <= 800 + 15) << hi.y;
    // Capitals of a 30 px face are around 20 px tall.
    EXPECT_TRUE(hi.y - lo.y > 15 * 20 && hi.y - lo.y < 26 * 20) << hi.y - lo.y;

    // Letter spacing widens, end anchoring puts the right edge on x.
    double plain = 0, spaced = 0;
    font.Layout("ABC", 20, 0, plain);
    font.Layout("ABC", 20, 5, spaced);
    EXPECT_NEAR(spaced - plain, 15, 1e-9);
    Movie end = Compile(Svg("<text x='90 0' y='40' font-size='20' text-anchor='end'>W</text>"), &font);
    EXPECT_NEAR(Box(end.background[0]).second.x, 1800, 40);
    EXPECT_LE(Box(end.background[0]).second.x, 1800 + 1e-6);
}

TEST(SvgCompilerTest, DamagedSourcesAreRefusedOrCompiledNeverFollowedAstray)
{
    // Every prefix of a source that uses most of the format, and a few
    // hostile values: the compiler either refuses with a message or gives a
    // movie, and every movie it gives encodes.
    const std::string source = Svg(
        "<defs><linearGradient id='g' x1='0' x2='1' gradientTransform='rotate(30)'><stop offset='0' stop-color='#fff'/>"
        "<stop offset='1' stop-color='rgb(10,20,30)'/></linearGradient><g id='u'><circle r='4' "
        "fill='url(#g)'/></g></defs>"
        "<g transform='translate(5 5) scale(1e30)' opacity='2'><path d='M0 0 C1e308 1e308 -1e308 0 5 5 A1e-300 1e300 "
        "720 1 0 9 9 z'/></g>"
        "<use href='#u' x='1e39' y='nan'/><rect x='-1e9' width='2e9' height='10' rx='-5' stroke='red' "
        "stroke-width='1e12'/>"
        "<polygon points='0,0 100,0 100'/><ellipse rx='3' ry='0'/><g data-frame='' data-hold='2'><line x2='9' "
        "stroke='blue'/></g>");
    for (size_t n = 0; n <= source.size(); ++n)
    {
        SvgCompiler compiler(nullptr);
        Movie movie;
        std::string error;
        if (!compiler.Compile(source.substr(0, n), movie, error))
        {
            EXPECT_FALSE(error.empty()) << n;
            continue;
        }
        std::string writeError;
        const auto bytes = MovieWriter::Write(movie, writeError);
        EXPECT_TRUE(bytes || !writeError.empty());
    }
}
