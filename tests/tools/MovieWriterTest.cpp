// The movie writer's output read back by the game's player: header fields,
// tag lengths, shape records, fill sides, frames and labels, and what the
// frames look like when rendered.
#include "MovieRender.h"

#include "MovieWriter.h"
#include "SvgCompiler.h"

#include "player/ShapeDefinition.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <tuple>

namespace
{

std::vector<uint8_t> CompileSvg(const std::string& svg)
{
    SvgCompiler compiler(nullptr);
    Movie movie;
    std::string error;
    EXPECT_TRUE(compiler.Compile(svg, movie, error)) << error;
    auto bytes = MovieWriter::Write(movie, error);
    EXPECT_TRUE(bytes) << error;
    return bytes ? *bytes : std::vector<uint8_t>{};
}

std::string Svg(int w, int h, const std::string& body, const std::string& rootExtra = "")
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(w) + "\" height=\"" +
           std::to_string(h) + "\" viewBox=\"0 0 " + std::to_string(w) + " " + std::to_string(h) + "\" " + rootExtra +
           ">" + body + "</svg>";
}

struct Tag
{
    int code;
    size_t length;
    bool longHeader;
};

// Walks the tag stream by the published layout, independently of the player.
std::vector<Tag> Tags(const std::vector<uint8_t>& file, std::vector<uint8_t>* body = nullptr)
{
    std::vector<uint8_t> rest(file.begin() + 8, file.end());
    if (file[0] == 'C')
    {
        const uint32_t total = file[4] | file[5] << 8 | file[6] << 16 | uint32_t(file[7]) << 24;
        std::vector<uint8_t> inflated(total - 8);
        uLongf size = uLongf(inflated.size());
        EXPECT_EQ(uncompress(inflated.data(), &size, rest.data(), uLong(rest.size())), Z_OK);
        EXPECT_EQ(size, inflated.size());
        rest = inflated;
    }
    if (body)
        *body = rest;
    const int rectBits = rest[0] >> 3;
    size_t pos = size_t((5 + 4 * rectBits + 7) / 8) + 4;
    std::vector<Tag> tags;
    while (pos + 2 <= rest.size())
    {
        const uint16_t header = uint16_t(rest[pos] | rest[pos + 1] << 8);
        pos += 2;
        Tag t{header >> 6, size_t(header & 0x3F), false};
        if (t.length == 0x3F)
        {
            t.length = rest[pos] | rest[pos + 1] << 8 | rest[pos + 2] << 16 | size_t(rest[pos + 3]) << 24;
            t.longHeader = true;
            pos += 4;
        }
        pos += t.length;
        tags.push_back(t);
        if (t.code == 0)
            break;
    }
    EXPECT_EQ(pos, rest.size()) << "the End tag is not the last byte";
    return tags;
}

std::vector<const swf::ShapeDefinition*> Shapes(swf::MovieDefinition& movie)
{
    std::vector<const swf::ShapeDefinition*> out;
    for (const auto& [id, character] : movie.dictionary())
        if (auto* shape = dynamic_cast<const swf::ShapeDefinition*>(character.get()))
            out.push_back(shape);
    return out;
}

// Even-odd inside test against every path of one fill style, curves flattened.
bool InsideFill(const swf::ShapeDefinition& shape, int style, double x, double y)
{
    bool inside = false;
    for (const swf::Path& p : shape.paths())
    {
        if (p.fill0 != style && p.fill1 != style)
            continue;
        double fx = p.startX, fy = p.startY; // start of the current edge
        double lx = fx, ly = fy;             // last flattened point
        for (const swf::Edge& e : p.edges)
        {
            for (int k = 1; k <= 16; ++k)
            {
                const double t = k / 16.0, u = 1 - t;
                const double nx = u * u * fx + 2 * u * t * e.cx + t * t * e.ax;
                const double ny = u * u * fy + 2 * u * t * e.cy + t * t * e.ay;
                if ((ly > y) != (ny > y) && x < lx + (y - ly) * (nx - lx) / (ny - ly))
                    inside = !inside;
                lx = nx;
                ly = ny;
            }
            fx = e.ax;
            fy = e.ay;
        }
    }
    return inside;
}

// For every edge of a filled path: just right of its middle (of travel, y
// down) lies fill1's region and just left of it fill0's.
void ExpectFillSidesMatchInsides(const swf::ShapeDefinition& shape)
{
    for (const swf::Path& p : shape.paths())
    {
        double fx = p.startX, fy = p.startY;
        for (const swf::Edge& e : p.edges)
        {
            const double mx = 0.25 * fx + 0.5 * e.cx + 0.25 * e.ax, my = 0.25 * fy + 0.5 * e.cy + 0.25 * e.ay;
            const double len = std::hypot(e.ax - fx, e.ay - fy), dx = (e.ax - fx) / len, dy = (e.ay - fy) / len;
            const double rx = mx - dy * 0.5, ry = my + dx * 0.5; // right of travel, y down
            const double lx = mx + dy * 0.5, ly = my - dx * 0.5;
            for (int style = 1; style <= int(shape.fillStyles().size()); ++style)
            {
                EXPECT_TRUE(p.fill1 != style || InsideFill(shape, style, rx, ry))
                    << "fill1 edge with its fill on the left";
                EXPECT_TRUE(p.fill0 != style || InsideFill(shape, style, lx, ly))
                    << "fill0 edge with its fill on the right";
                EXPECT_FALSE(p.fill1 == style && p.fill0 != style && InsideFill(shape, style, lx, ly));
            }
            fx = e.ax;
            fy = e.ay;
        }
    }
}

} // namespace

TEST(MovieWriterTest, TagHeadersUseTheLongFormFromSixtyThreeBytes)
{
    std::vector<uint8_t> out;
    MovieWriter::AppendTag(out, 1, std::vector<uint8_t>(62, 7));
    EXPECT_EQ(std::make_tuple(out.size(), out[0] & 0x3F), std::make_tuple(2u + 62u, 62));
    out.clear();
    MovieWriter::AppendTag(out, 32, std::vector<uint8_t>(63, 7));
    ASSERT_EQ(out.size(), 6u + 63u);
    // Code 32 with the long-length marker 0x3F, then the length in 32 bits.
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 6), (std::vector<uint8_t>{0x3F, 32 >> 2, 63, 0, 0, 0}));

    // Every tag of a real movie: lengths add up to the file, long headers only when needed.
    const std::vector<uint8_t> file = CompileSvg(Svg(100, 50,
                                                     "<rect width='100' height='50' fill='#9955aa'/><circle cx='50' "
                                                     "cy='25' r='20' fill='red' stroke='black' stroke-width='2'/>"));
    const uint32_t declared = file[4] | file[5] << 8 | file[6] << 16 | uint32_t(file[7]) << 24;
    EXPECT_EQ(declared, file.size());
    for (const Tag& t : Tags(file))
        EXPECT_EQ(t.longHeader, t.length >= 63) << "tag " << t.code << " of " << t.length << " bytes";
}

TEST(MovieWriterTest, CompressedMoviesHoldTheSameBytes)
{
    const std::string body = "<rect x='5' y='5' width='90' height='40' rx='8' fill='orange'/>";
    std::vector<uint8_t> plainBody, packedBody;
    const std::vector<uint8_t> plain = CompileSvg(Svg(100, 50, body));
    const std::vector<uint8_t> packed = CompileSvg(Svg(100, 50, body, "data-compress='1'"));
    EXPECT_EQ(std::string(packed.begin(), packed.begin() + 3), "CWS");
    Tags(plain, &plainBody);
    Tags(packed, &packedBody);
    EXPECT_EQ(plainBody, packedBody);
    EXPECT_EQ(std::vector<uint8_t>(plain.begin() + 4, plain.begin() + 8),
              std::vector<uint8_t>(packed.begin() + 4, packed.begin() + 8));
    auto movie = ReadMovie(packed);
    EXPECT_EQ(std::make_tuple(movie->isCompressed(), movie->frameCount()), std::make_tuple(true, 1));
}

TEST(MovieWriterTest, ContoursCloseExactlyAndFillSidesFollowTheirInsides)
{
    // Clockwise and counter-clockwise squares, a ring made of two contours of
    // the same direction, a glyph-like shape with curves, and arcs of a
    // circle under a rotation: every fill edge must be on the inside's side.
    const std::vector<uint8_t> file =
        CompileSvg(Svg(200, 200,
                       "<path d='M10 10 H60 V60 H10 Z' fill='red'/>"
                       "<path d='M70 10 V60 H120 V10 Z' fill='green'/>"
                       "<path d='M10 70 H110 V170 H10 Z M30 90 H90 V150 H30 Z' fill='blue'/>"
                       "<path d='M130 80 C190 60 190 160 130 140 Q150 110 130 80 Z' fill='black'/>"
                       "<circle cx='160' cy='170' r='20' transform='rotate(33 160 170)' fill='gold'/>"
                       "<path d='M120.3 10.7 L190.1 10.2 L150.55 59.9' fill='purple'/>"));
    auto movie = ReadMovie(file);
    const auto shapes = Shapes(*movie);
    ASSERT_EQ(shapes.size(), 6u);
    for (const swf::ShapeDefinition* shape : shapes)
    {
        ASSERT_EQ(shape->fillStyles().size(), 1u);
        for (const swf::Path& p : shape->paths())
        {
            ASSERT_FALSE(p.edges.empty());
            // Stitching needs the exact start point back.
            EXPECT_EQ(std::make_tuple(p.edges.back().ax, p.edges.back().ay), std::make_tuple(p.startX, p.startY));
            EXPECT_TRUE((p.fill0 == 1) != (p.fill1 == 1)) << "one side filled";
            // Whole twips at every end point.
            EXPECT_EQ(p.startX, std::round(p.startX));
            for (const swf::Edge& e : p.edges)
                EXPECT_TRUE(e.ax == std::round(e.ax) && e.ay == std::round(e.ay)) << e.ax << "," << e.ay;
        }
        ExpectFillSidesMatchInsides(*shape);
    }
    // The clockwise square's inside is on the right of travel, FillStyle1;
    // the ring's hole has its fill on the outside.
    ASSERT_EQ(shapes[2]->paths().size(), 2u);
    EXPECT_EQ(std::make_tuple(shapes[0]->paths()[0].fill1, shapes[1]->paths()[0].fill0, shapes[2]->paths()[1].fill0),
              std::make_tuple(1, 1, 1));
}

TEST(MovieWriterTest, RenderedFramesCoverExactlyWhatTheyDraw)
{
    const std::vector<uint8_t> file =
        CompileSvg(Svg(64, 48,
                       "<rect width='64' height='48' fill='#ffffff'/>"
                       "<rect x='16' y='12' width='32' height='24' fill='#000' fill-opacity='0.5'/>"));
    auto movie = ReadMovie(file);
    for (auto [w, h] : {std::pair{64, 48}, {128, 96}, {17, 18}, {300, 60}})
    {
        const auto px = RenderFrame(*movie, 0, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(AlphaAt(px, w, x, y), 255) << w << "x" << h << " at " << x << "," << y;
    }
    // A shape inset from the frame leaves its margin transparent, at any stretch.
    const std::vector<uint8_t> inset =
        CompileSvg(Svg(40, 40, "<rect x='10' y='10' width='20' height='20' fill='red'/>"));
    auto small = ReadMovie(inset);
    const auto px = RenderFrame(*small, 0, 80, 40);
    EXPECT_EQ(std::make_tuple(AlphaAt(px, 80, 2, 2), AlphaAt(px, 80, 78, 38), px[20 * 80 + 40]),
              std::make_tuple(0, 0, 0xFFFF0000u));
}

TEST(MovieWriterTest, HugeCoordinatesAreSplitIntoEdgesThatFit)
{
    // Deltas of 200000 twips need more than the 17 bits an edge may hold.
    const std::vector<uint8_t> file =
        CompileSvg(Svg(50, 50, "<rect x='-5000' y='-5000' width='10050' height='10050' fill='teal'/>"));
    auto movie = ReadMovie(file);
    const auto shapes = Shapes(*movie);
    ASSERT_EQ(shapes.size(), 1u);
    const swf::Path& p = shapes[0]->paths()[0];
    EXPECT_GT(p.edges.size(), 4u);
    EXPECT_EQ(std::make_tuple(p.edges.back().ax, p.edges.back().ay), std::make_tuple(p.startX, p.startY));
    const auto px = RenderFrame(*movie, 0, 50, 50);
    EXPECT_EQ(std::make_tuple(AlphaAt(px, 50, 0, 0), AlphaAt(px, 50, 49, 49)), std::make_tuple(255, 255));
}

TEST(MovieWriterTest, StrokesAndGradientsKeepTheirStyles)
{
    const std::vector<uint8_t> file =
        CompileSvg(Svg(100, 100,
                       "<defs><linearGradient id='h'><stop offset='0' stop-color='#f00'/><stop offset='1' "
                       "stop-color='#00f'/></linearGradient>"
                       "<radialGradient id='r' cx='0.5' cy='0.5' r='0.5'><stop offset='0' stop-color='#fff'/>"
                       "<stop offset='1' stop-color='#000' stop-opacity='0.5'/></radialGradient></defs>"
                       "<rect width='100' height='50' fill='url(#h)'/>"
                       "<rect y='50' width='100' height='50' fill='url(#r)'/>"
                       "<polyline points='10,10 50,40 90,10' fill='none' stroke='#0f0' stroke-width='3'/>"));
    auto movie = ReadMovie(file);
    const auto shapes = Shapes(*movie);
    ASSERT_EQ(shapes.size(), 3u);
    const auto& linear = shapes[0]->fillStyles()[0];
    const auto& radial = shapes[1]->fillStyles()[0];
    ASSERT_EQ(std::make_tuple(linear.gradient.size(), radial.gradient.size()), std::make_tuple(2u, 2u));
    EXPECT_EQ(std::make_tuple(linear.type, linear.gradient[1].ratio, radial.type, radial.gradient[1].colour.a),
              std::make_tuple(swf::LinearGradientFill, 255, swf::RadialGradientFill, 128));
    ASSERT_EQ(shapes[2]->lineStyles().size(), 1u);
    EXPECT_EQ(std::make_tuple(shapes[2]->lineStyles()[0].width, shapes[2]->fillStyles().size()),
              std::make_tuple(60, 0u));
    // The open polyline is not closed back for a stroke-only element.
    ASSERT_EQ(shapes[2]->paths().size(), 1u);
    EXPECT_EQ(std::make_tuple(shapes[2]->paths()[0].edges.size(), shapes[2]->paths()[0].line), std::make_tuple(2u, 1));

    const auto px = RenderFrame(*movie, 0, 100, 100);
    auto channel = [&](int x, int y, int shift) { return int((px[size_t(y * 100 + x)] >> shift) & 0xFF); };
    EXPECT_GT(channel(2, 25, 16), 200); // red at the left end
    EXPECT_LT(channel(2, 25, 0), 50);
    EXPECT_GT(channel(97, 25, 0), 200);  // blue at the right end
    EXPECT_GT(channel(50, 75, 8), 200);  // white in the radial centre
    EXPECT_LT(channel(99, 99, 24), 200); // half-transparent at the corner
}
