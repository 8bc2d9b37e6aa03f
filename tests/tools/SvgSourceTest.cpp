#include "NumberScanner.h"
#include "PathParser.h"
#include "SvgValues.h"
#include "XmlDocument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace
{

std::vector<Point> EndPoints(const Outline& o)
{
    std::vector<Point> out;
    for (const SubPath& sp : o.subPaths)
    {
        out.push_back(sp.start);
        for (const Segment& s : sp.segments)
            out.push_back(s.to);
    }
    return out;
}

void ExpectNear(Point a, Point b, double tolerance = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

} // namespace

TEST(XmlDocumentTest, ReadsElementsAttributesTextAndReferences)
{
    std::string error;
    auto root = ParseXml("<?xml version=\"1.0\"?>\n<!DOCTYPE svg [ <!ENTITY x \"y\"> ]>\n"
                         "<svg a='1' b=\"&lt;&amp;&#65;&#x42;\"><!-- note --><g/>Hi <![CDATA[<raw>]]> there</svg>",
                         error);
    ASSERT_TRUE(root) << error;
    ASSERT_TRUE(root->Attribute("a") && root->Attribute("b"));
    EXPECT_EQ(std::make_tuple(root->name, *root->Attribute("a"), *root->Attribute("b"), root->text),
              std::make_tuple("svg", "1", "<&AB", "Hi <raw> there"));
    EXPECT_EQ(root->Attribute("c"), nullptr);
    // Text runs keep their place among the elements.
    ASSERT_EQ(root->children.size(), 4u);
    EXPECT_EQ(std::make_tuple(root->children[0]->name, root->children[1]->name), std::make_tuple("g", "#text"));
}

TEST(XmlDocumentTest, RefusesBrokenDocumentsWithTheLine)
{
    for (const char* text : {"", "<svg>", "<svg></g>", "<svg a=1/>", "<svg a=\"1/>", "<svg>&bogus;</svg>",
                             "<svg/><extra/>", "<svg><!-- open</svg>", "<svg>&#0;</svg>"})
    {
        std::string error;
        EXPECT_FALSE(ParseXml(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
    std::string error;
    EXPECT_FALSE(ParseXml("<svg>\n\n<g>\n</svg>", error));
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;

    // Nesting deep enough to exhaust the stack is refused, not followed.
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<g>";
    EXPECT_FALSE(ParseXml(deep, error));
}

TEST(PathParserTest, ReadsEveryCommandAbsoluteAndRelative)
{
    std::string error;
    Outline o = ParsePathData("M10,10 L20 10 h5 v5 H10 V30 l5-5 m10,0 10,0 z", &error);
    EXPECT_TRUE(error.empty()) << error;
    ASSERT_EQ(o.subPaths.size(), 2u);
    const std::vector<Point> pts = EndPoints(o);
    const std::vector<Point> expected{{10, 10}, {20, 10}, {25, 10}, {25, 15}, {10, 15},
                                      {10, 30}, {15, 25}, {25, 25}, {35, 25}};
    ASSERT_EQ(pts.size(), expected.size());
    for (size_t i = 0; i < pts.size(); ++i)
        ExpectNear(pts[i], expected[i]);
    EXPECT_EQ(std::make_tuple(o.subPaths[0].closed, o.subPaths[1].closed), std::make_tuple(false, true));

    // Smooth curves reflect the previous control point; after a line they do not.
    Outline c = ParsePathData("M0 0 C0 10 10 10 10 0 S20 -10 20 0 Q25 5 30 0 T40 0 L50 0 T60 0");
    const auto& segs = c.subPaths[0].segments;
    ASSERT_EQ(segs.size(), 6u);
    ExpectNear(segs[1].c1, {10, -10});
    ExpectNear(segs[3].c1, {35, -5});
    ExpectNear(segs[5].c1, {50, 0});

    // Numbers run together: signs, second decimal points, exponents.
    Outline n = ParsePathData("M.5.5l1e1-2.5E0");
    ExpectNear(n.subPaths[0].start, {0.5, 0.5});
    ExpectNear(n.subPaths[0].segments[0].to, {10.5, -2});
}

TEST(PathParserTest, ArcsLandOnTheirEndPointAndStayOnTheEllipse)
{
    // Packed flags, as some editors write them.
    Outline o = ParsePathData("M0 50 a50 50 0 1120 0");
    ASSERT_EQ(o.subPaths.size(), 1u);
    ExpectNear(o.CurrentPoint(), {20, 50}, 0);
    // Radii too small for the chord grow until the arc fits: a half circle of radius 10 around (10, 0).
    Outline half = ParsePathData("M0 0 A1 1 0 0 1 20 0");
    for (const Segment& s : half.subPaths[0].segments)
        EXPECT_NEAR(Length(s.to - Point{10, 0}), 10, 1e-9);
    // The sweep flag picks the side: sweep=1 goes over the top here (clockwise on screen).
    double top = 0;
    for (const Segment& s : half.subPaths[0].segments)
        top = std::min(top, s.to.y);
    EXPECT_NEAR(top, -10, 1e-9);

    // Zero radius is a straight line.
    Outline line = ParsePathData("M0 0 A0 5 0 0 1 10 10");
    ASSERT_EQ(line.subPaths[0].segments.size(), 1u);
    EXPECT_EQ(line.subPaths[0].segments[0].kind, Segment::Kind::Line);
    // So is an arc whose centre cannot be computed (its radii overflow when grown to fit the chord).
    for (const char* degenerate : {"M0 0 A1e-300 1e-300 0 0 1 1e300 1e300", "M0 0 A1e-300 1e-300 0 0 1 1e301 0"})
    {
        Outline d = ParsePathData(degenerate);
        ASSERT_EQ(d.subPaths[0].segments.size(), 1u) << degenerate;
        EXPECT_EQ(d.subPaths[0].segments[0].kind, Segment::Kind::Line);
    }

    Outline rotated = ParsePathData("M100 0 A100 50 30 1 1 -50 20");
    ExpectNear(rotated.CurrentPoint(), {-50, 20}, 0);

    // The cubic pieces of a whole ellipse stay on it (relative error of the radius below 1e-6).
    Outline full;
    AppendEllipse(full, {3, 4}, 100, 50);
    Point from = full.subPaths[0].start;
    for (const Segment& s : full.subPaths[0].segments)
    {
        for (int i = 1; i < 20; ++i)
        {
            const double t = i / 20.0, u = 1 - t;
            const Point p = from * (u * u * u) + s.c1 * (3 * u * u * t) + s.c2 * (3 * u * t * t) + s.to * (t * t * t);
            const double q = std::pow((p.x - 3) / 100, 2) + std::pow((p.y - 4) / 50, 2);
            EXPECT_NEAR(q, 1.0, 2e-6);
        }
        from = s.to;
    }
}

TEST(PathParserTest, StopsAtTheFirstErrorKeepingWhatCameBefore)
{
    std::string error;
    Outline o = ParsePathData("M0 0 L10 0 L10 X 20 20", &error);
    EXPECT_FALSE(error.empty());
    ASSERT_EQ(o.subPaths.size(), 1u);
    EXPECT_EQ(o.subPaths[0].segments.size(), 1u);

    for (const char* bad : {"L10 10", "M0 0 z 5 5", "M0 0 K5 5", "M0 0 A10 10 0 2 0 5 5"})
    {
        std::string e;
        ParsePathData(bad, &e);
        EXPECT_FALSE(e.empty()) << bad;
    }
}

TEST(SvgValuesTest, ColoursInEveryWrittenForm)
{
    auto eq = [](std::optional<Rgba> c, Rgba want) { return c && *c == want; };
    EXPECT_TRUE(eq(ParseColour("#f80"), {255, 136, 0, 255}));
    EXPECT_TRUE(eq(ParseColour(" #9955AA "), {153, 85, 170, 255}));
    EXPECT_TRUE(eq(ParseColour("rgb(10, 20,30)"), {10, 20, 30, 255}));
    EXPECT_TRUE(eq(ParseColour("rgb(100%,0%,50%)"), {255, 0, 128, 255}));
    EXPECT_TRUE(eq(ParseColour("White"), {255, 255, 255, 255}));
    for (const char* bad : {"none", "#12", "#ggg", "rgb(1,2)", "url(#a)", "chartreusey", ""})
        EXPECT_FALSE(ParseColour(bad)) << bad;
    EXPECT_EQ(std::make_tuple(UrlReference("url(#grad)"), UrlReference("url('#grad') red"), UrlReference("red")),
              std::make_tuple("grad", "grad", ""));
}

TEST(SvgValuesTest, TransformListsComposeLeftToRight)
{
    const struct
    {
        const char* text;
        Point from, to;
    } cases[] = {
        // (1,0) rotates to (0,1), scales to (0,2), moves to (10,22).
        {"translate(10,20) scale(2) rotate(90)", {1, 0}, {10, 22}},
        {"rotate(37 5 7)", {5, 7}, {5, 7}}, // the centre stays put
        {"skewX(45)", {0, 10}, {10, 10}},
        {"matrix(1 2 3 4 5 6)", {1, 1}, {9, 12}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        const auto m = ParseTransform(c.text);
        ASSERT_TRUE(m);
        ExpectNear(m->Apply(c.from), c.to);
    }

    for (const char* bad : {"translate(1", "scale()", "rotate(1,2)", "wobble(3)", "matrix(1 2 3)"})
        EXPECT_FALSE(ParseTransform(bad)) << bad;
}

TEST(SvgValuesTest, PointListsAndStyleDeclarations)
{
    const std::vector<Point> pts = ParsePoints("0,0 10 0,10,10 5");
    ASSERT_EQ(pts.size(), 3u); // the odd number is dropped
    ExpectNear(pts[2], {10, 10});
    const auto decl = ParseStyleDeclarations(" fill : red ;STROKE:none;;bad; opacity:0.5");
    ASSERT_EQ(decl.size(), 3u);
    EXPECT_EQ(std::make_tuple(decl[0].first, decl[0].second, decl[1].first), std::make_tuple("fill", "red", "stroke"));
    EXPECT_EQ(ParseLength("12.5px").value_or(0), 12.5);
    EXPECT_FALSE(ParseLength("px"));
}
