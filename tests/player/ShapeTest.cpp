#include "fixtures/MovieFixtures.h"
#include "player/MemoryStream.h"
#include "player/ShapeDefinition.h"
#include "player/SwfStream.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace swftest;
using swf::Path;

namespace
{

// Reads a shape tag payload (character id first) as the shape loader does.
swf::Ref<swf::ShapeDefinition> readShape(const Bytes& payload, int code)
{
    TagList tags;
    tags.tag(code, payload);
    swf::MemoryStream file(tags.bytes());
    swf::SwfStream stream(file);
    stream.openTag();
    stream.readU16();
    auto shape = swf::makeRef<swf::ShapeDefinition>();
    shape->read(stream, code);
    stream.closeTag();
    return shape;
}

// Each path as "fill0 fill1 line at x,y: edges", with " new" when it starts new styles.
std::vector<std::string> paths(const swf::ShapeDefinition& shape)
{
    std::vector<std::string> out;
    for (const Path& p : shape.paths())
        out.push_back(std::to_string(p.fill0) + " " + std::to_string(p.fill1) + " " + std::to_string(p.line) + " at " +
                      std::to_string(int(p.startX)) + "," + std::to_string(int(p.startY)) + ": " +
                      std::to_string(p.edges.size()) + (p.newShape ? " new" : ""));
    return out;
}

} // namespace

TEST(ShapeTest, StyleChangesSplitPathsAndMovesAreAbsolute)
{
    ShapeBuilder s;
    int a = s.solidFill({255, 0, 0, 255});
    int b = s.solidFill({0, 255, 0, 255});
    int pen = s.lineStyle(20, {0, 0, 0, 255});
    s.change(std::make_pair(10, 10), a, std::nullopt, pen).lineTo(100, 0);
    s.fill1(b).lineTo(0, 100); // only fill1 changes
    s.moveTo(500, 600).lineTo(10, 0);
    s.moveTo(7, 8); // a move with no edge after it adds nothing
    // The first edge keeps the old styles; the second path continues at the pen; a move keeps the
    // current styles.
    EXPECT_EQ(paths(*readShape(s.payload(1), 2)),
              (std::vector<std::string>{"1 0 1 at 10,10: 1", "1 2 1 at 110,10: 1", "1 2 1 at 500,600: 1"}));
}

TEST(ShapeTest, NewStylesAreOffsetByTheStylesBeforeThem)
{
    ShapeBuilder s(22);
    int first = s.solidFill({255, 0, 0, 255});
    s.lineStyle(20, {0, 0, 0, 255});
    s.rectangle(0, 0, 100, 100, first);
    s.newStyles({{0, 0, 255, 255}, {0, 255, 0, 255}}, {{40, {9, 9, 9, 255}}});
    s.change(std::make_pair(200, 200), 0, 2, 1).lineTo(50, 0).lineTo(0, 50).lineTo(-50, -50);
    auto shape = readShape(s.payload(1), 22);
    ASSERT_EQ((std::vector<size_t>{shape->fillStyles().size(), shape->lineStyles().size()}),
              (std::vector<size_t>{3, 2}));
    EXPECT_EQ((std::vector<int>{shape->fillStyles()[2].colour.g, shape->lineStyles()[1].width}),
              (std::vector<int>{255, 40}));
    // Index 0 stays "no fill"; fill 2 is 3 and line 1 is 2 after one style of each before.
    EXPECT_EQ(paths(*shape),
              (std::vector<std::string>{"0 1 0 at 0,0: 4", "0 0 0 at 0,0: 0 new", "0 3 2 at 200,200: 3"}));
}

TEST(ShapeTest, StyleCountEscapesPerShapeVersion)
{
    // 0xFF fills in DefineShape is a plain count of 255.
    ShapeBuilder v1(2);
    for (int i = 0; i < 255; ++i)
        v1.solidFill({static_cast<uint8_t>(i), 0, 0, 255});
    v1.rectangle(0, 0, 10, 10, 255);
    auto s1 = readShape(v1.payload(1), 2);
    ASSERT_EQ(s1->fillStyles().size(), 255u);
    EXPECT_EQ((std::vector<int>{s1->fillStyles()[254].colour.r, s1->paths()[0].fill1}), (std::vector<int>{254, 255}));

    // DefineShape2 escapes it with a 16-bit count.
    ShapeBuilder v2(22);
    for (int i = 0; i < 300; ++i)
        v2.solidFill({0, static_cast<uint8_t>(i), 0, 255});
    v2.rectangle(0, 0, 10, 10, 300);
    auto s2 = readShape(v2.payload(1), 22);
    ASSERT_EQ(s2->fillStyles().size(), 300u);
    EXPECT_EQ(s2->paths()[0].fill1, 300);

    // The line-style count escapes in every version, DefineShape included.
    BitWriter arrays;
    arrays.WriteU8(0);    // no fills
    arrays.WriteU8(0xFF); // escaped line count
    arrays.WriteU16(2);
    arrays.WriteU16(20);
    writeColour(arrays, {1, 1, 1}, false);
    arrays.WriteU16(60);
    writeColour(arrays, {2, 2, 2}, false);
    ShapeBuilder v3(2);
    v3.rawStyleArrays(arrays.Bytes(), 0, 2);
    v3.change(std::make_pair(0, 0), std::nullopt, std::nullopt, 2).lineTo(100, 0);
    auto s3 = readShape(v3.payload(1), 2);
    ASSERT_EQ(s3->lineStyles().size(), 2u);
    EXPECT_EQ((std::vector<int>{s3->lineStyles()[1].width, s3->paths()[0].line}), (std::vector<int>{60, 2}));
}

TEST(ShapeTest, MatrixInverseAndPointTest)
{
    swf::Matrix m, inv;
    std::tie(m.m00, m.m01, m.m10, m.m11, m.m02, m.m12) = std::make_tuple(2, 1, -1, 3, 50, -20);
    inv.setInverse(m);
    m.concatenate(inv);
    const std::tuple<float, float, double> identity[] = {
        {m.m00, 1, 1e-6}, {m.m01, 0, 1e-6}, {m.m02, 0, 1e-4}, {m.m12, 0, 1e-4}};
    for (auto [got, want, within] : identity)
        EXPECT_NEAR(got, want, within);

    ShapeBuilder s;
    s.bounds(-100, 100, 0, 50);
    auto shape = readShape(s.payload(1), 2);
    // On the edge counts as inside.
    EXPECT_EQ((std::vector<bool>{shape->pointTestLocal(100, 50), shape->pointTestLocal(-100, 0),
                                 shape->pointTestLocal(100.5f, 0), shape->pointTestLocal(0, -0.1f)}),
              (std::vector<bool>{true, true, false, false}));
}

// A shape without its end record is drawn whole by the text cases.
TEST(ShapeTest, ShapeWithUnknownFillTypeStopsAtTheTagEnd)
{
    BitWriter arrays;
    arrays.WriteU8(2);
    arrays.WriteU8(0x77); // a fill type this player does not know: the rest is misread, safely
    arrays.WriteU8(0x00);
    writeColour(arrays, {1, 2, 3}, false);
    arrays.WriteU8(0);
    ShapeBuilder odd;
    odd.rawStyleArrays(arrays.Bytes(), 2, 0);
    odd.rectangle(0, 0, 100, 100, 1);
    auto misread = readShape(odd.payload(1), 2);
    EXPECT_LE(misread->fillStyles().size(), 2u);
}
