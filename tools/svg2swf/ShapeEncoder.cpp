#include "ShapeEncoder.h"

#include "BitWriter.h"
#include "QuadraticFit.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

// Positions are kept within about 50,000 pixels of the frame: far beyond
// anything shown, and small enough that no edge needs more than a few
// pieces to fit the 17-bit deltas.
constexpr double CoordinateLimit = 1 << 20;
// An item with more edges than this is refused rather than written: it can
// only come from a runaway transform.
constexpr size_t MaxEdges = 200000;
// Above this much work the even-odd nesting of contours is not worked out
// and every contour is filled on its inside.
constexpr double MaxNestingWork = 2e7;
// Edge deltas must fit 17 signed bits (a 4-bit NumBits field holds n - 2).
constexpr int MaxDelta = 65535;

struct IPoint
{
    int x = 0, y = 0;
    bool operator==(const IPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const IPoint& o) const { return !(*this == o); }
};

struct Edge
{
    bool curve = false;
    IPoint control;
    IPoint to;
    bool stroked = true;
};

struct Contour
{
    IPoint start;
    std::vector<Edge> edges;
    bool filled = false;  // takes part in the fill
    bool stroked = false; // carries the line style
    int fill0 = 0, fill1 = 0;
};

int RoundCoordinate(double v)
{
    if (!std::isfinite(v))
        return v > 0 ? int(CoordinateLimit) : v < 0 ? -int(CoordinateLimit) : 0;
    return int(std::lround(std::clamp(v, -CoordinateLimit, CoordinateLimit)));
}

IPoint Round(Point p)
{
    return {RoundCoordinate(p.x), RoundCoordinate(p.y)};
}

Point ToPoint(IPoint p)
{
    return {double(p.x), double(p.y)};
}

bool FitsDelta(IPoint a, IPoint b)
{
    return std::abs(int64_t(b.x) - a.x) <= MaxDelta && std::abs(int64_t(b.y) - a.y) <= MaxDelta;
}

class ContourBuilder
{
  public:
    explicit ContourBuilder(Contour& c) : c(c), current(c.start) {}

    void Line(Point to, bool stroked)
    {
        const IPoint end = Round(to);
        if (end == current)
            return;
        if (!FitsDelta(current, end))
        {
            const Point mid = (ToPoint(current) + ToPoint(end)) * 0.5;
            Line(mid, stroked);
            Line(ToPoint(end), stroked);
            return;
        }
        c.edges.push_back({false, {}, end, stroked});
        current = end;
    }

    void Quad(Point control, Point to, bool stroked)
    {
        const IPoint ctl = Round(control);
        const IPoint end = Round(to);
        if (!FitsDelta(current, ctl) || !FitsDelta(ctl, end))
        {
            // Split on the rounded points, which are finite and within the limits.
            const Point from = ToPoint(current);
            control = ToPoint(ctl);
            to = ToPoint(end);
            const Point m1 = (from + control) * 0.5, m2 = (control + to) * 0.5, mid = (m1 + m2) * 0.5;
            Quad(m1, mid, stroked);
            Quad(m2, to, stroked);
            return;
        }
        if (ctl == current || ctl == end)
        {
            // A control point on an end point is a straight edge.
            Line(to, stroked);
            return;
        }
        // Control point on the chord: also straight, and cheaper as such.
        const int64_t cross =
            int64_t(ctl.x - current.x) * (end.y - current.y) - int64_t(ctl.y - current.y) * (end.x - current.x);
        if (cross == 0 && end != current)
        {
            const int64_t dot =
                int64_t(ctl.x - current.x) * (end.x - current.x) + int64_t(ctl.y - current.y) * (end.y - current.y);
            const int64_t len2 =
                int64_t(end.x - current.x) * (end.x - current.x) + int64_t(end.y - current.y) * (end.y - current.y);
            if (dot >= 0 && dot <= len2)
            {
                Line(to, stroked);
                return;
            }
        }
        c.edges.push_back({true, ctl, end, stroked});
        current = end;
    }

    IPoint Current() const { return current; }

  private:
    Contour& c;
    IPoint current;
};

// The contour as a polygon (curves flattened), for areas and containment.
std::vector<Point> Flatten(const Contour& c)
{
    std::vector<Point> poly{ToPoint(c.start)};
    Point from = ToPoint(c.start);
    for (const Edge& e : c.edges)
    {
        if (e.curve)
        {
            for (int i = 1; i <= 8; ++i)
                poly.push_back(QuadraticAt(from, ToPoint(e.control), ToPoint(e.to), i / 8.0));
        }
        else
        {
            poly.push_back(ToPoint(e.to));
        }
        from = ToPoint(e.to);
    }
    return poly;
}

// Twice the signed area; positive for a contour clockwise on screen (y down).
double SignedArea2(const std::vector<Point>& poly)
{
    double sum = 0;
    for (size_t i = 0; i < poly.size(); ++i)
    {
        const Point& a = poly[i];
        const Point& b = poly[(i + 1) % poly.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

bool Contains(const std::vector<Point>& poly, Point p)
{
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
    {
        const Point& a = poly[i];
        const Point& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y))
        {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x)
                inside = !inside;
        }
    }
    return inside;
}

void WriteStraightEdge(BitWriter& w, IPoint from, IPoint to)
{
    const int dx = to.x - from.x, dy = to.y - from.y;
    const int bits = std::max({2, BitWriter::SignedBitsFor(dx), BitWriter::SignedBitsFor(dy)});
    w.WriteBits(1, 1); // edge record
    w.WriteBits(1, 1); // straight
    w.WriteBits(uint32_t(bits - 2), 4);
    if (dx != 0 && dy != 0)
    {
        w.WriteBits(1, 1); // general line
        w.WriteSignedBits(dx, bits);
        w.WriteSignedBits(dy, bits);
    }
    else if (dx == 0)
    {
        w.WriteBits(0, 1);
        w.WriteBits(1, 1); // vertical
        w.WriteSignedBits(dy, bits);
    }
    else
    {
        w.WriteBits(0, 1);
        w.WriteBits(0, 1); // horizontal
        w.WriteSignedBits(dx, bits);
    }
}

void WriteCurvedEdge(BitWriter& w, IPoint from, IPoint control, IPoint to)
{
    const int cx = control.x - from.x, cy = control.y - from.y;
    const int ax = to.x - control.x, ay = to.y - control.y;
    const int bits = std::max({2, BitWriter::SignedBitsFor(cx), BitWriter::SignedBitsFor(cy),
                               BitWriter::SignedBitsFor(ax), BitWriter::SignedBitsFor(ay)});
    w.WriteBits(1, 1); // edge record
    w.WriteBits(0, 1); // curved
    w.WriteBits(uint32_t(bits - 2), 4);
    w.WriteSignedBits(cx, bits);
    w.WriteSignedBits(cy, bits);
    w.WriteSignedBits(ax, bits);
    w.WriteSignedBits(ay, bits);
}

struct StyleChange
{
    bool move = false;
    IPoint to;
    bool setFills = false;
    int fill0 = 0, fill1 = 0;
    bool setLine = false;
    int line = 0;
};

void WriteStyleChange(BitWriter& w, const StyleChange& s, int fillBits, int lineBits)
{
    const bool fills = s.setFills && fillBits > 0;
    const bool line = s.setLine && lineBits > 0;
    w.WriteBits(0, 1); // non-edge record
    w.WriteBits(0, 1); // no new styles
    w.WriteBits(line ? 1 : 0, 1);
    w.WriteBits(fills ? 1 : 0, 1); // FillStyle1
    w.WriteBits(fills ? 1 : 0, 1); // FillStyle0
    w.WriteBits(s.move ? 1 : 0, 1);
    if (s.move)
    {
        const int bits = std::max(BitWriter::SignedBitsFor(s.to.x), BitWriter::SignedBitsFor(s.to.y));
        w.WriteBits(uint32_t(bits), 5);
        w.WriteSignedBits(s.to.x, bits);
        w.WriteSignedBits(s.to.y, bits);
    }
    if (fills)
    {
        w.WriteBits(uint32_t(s.fill0), fillBits);
        w.WriteBits(uint32_t(s.fill1), fillBits);
    }
    if (line)
        w.WriteBits(uint32_t(s.line), lineBits);
}

void WriteColour(BitWriter& w, Rgba c)
{
    w.WriteU8(c.r);
    w.WriteU8(c.g);
    w.WriteU8(c.b);
    w.WriteU8(c.a);
}

// 16.16 fixed point, as the MATRIX scale and rotate fields hold it.
int32_t Fixed(double v)
{
    if (!std::isfinite(v))
        v = 0;
    return int32_t(std::lround(std::clamp(v, -16383.0, 16383.0) * 65536.0));
}

} // namespace

void ShapeEncoder::WriteRect(BitWriter& w, int xMin, int xMax, int yMin, int yMax)
{
    const int bits = std::max({BitWriter::SignedBitsFor(xMin), BitWriter::SignedBitsFor(xMax),
                               BitWriter::SignedBitsFor(yMin), BitWriter::SignedBitsFor(yMax)});
    w.WriteBits(uint32_t(bits), 5);
    w.WriteSignedBits(xMin, bits);
    w.WriteSignedBits(xMax, bits);
    w.WriteSignedBits(yMin, bits);
    w.WriteSignedBits(yMax, bits);
    w.Align();
}

void ShapeEncoder::WriteMatrix(BitWriter& w, const Affine& m)
{
    w.Align();
    const bool identityScale = Fixed(m.a) == 65536 && Fixed(m.d) == 65536;
    if (!identityScale)
    {
        const int32_t sx = Fixed(m.a), sy = Fixed(m.d);
        const int bits = std::max(BitWriter::SignedBitsFor(sx), BitWriter::SignedBitsFor(sy));
        w.WriteBits(1, 1);
        w.WriteBits(uint32_t(bits), 5);
        w.WriteSignedBits(sx, bits);
        w.WriteSignedBits(sy, bits);
    }
    else
    {
        w.WriteBits(0, 1);
    }
    // RotateSkew0 is the b term (x to y), RotateSkew1 the c term (y to x).
    const int32_t r0 = Fixed(m.b), r1 = Fixed(m.c);
    if (r0 != 0 || r1 != 0)
    {
        const int bits = std::max(BitWriter::SignedBitsFor(r0), BitWriter::SignedBitsFor(r1));
        w.WriteBits(1, 1);
        w.WriteBits(uint32_t(bits), 5);
        w.WriteSignedBits(r0, bits);
        w.WriteSignedBits(r1, bits);
    }
    else
    {
        w.WriteBits(0, 1);
    }
    const int tx = RoundCoordinate(m.e);
    const int ty = RoundCoordinate(m.f);
    const int bits = (tx == 0 && ty == 0) ? 0 : std::max(BitWriter::SignedBitsFor(tx), BitWriter::SignedBitsFor(ty));
    w.WriteBits(uint32_t(bits), 5);
    w.WriteSignedBits(tx, bits);
    w.WriteSignedBits(ty, bits);
    w.Align();
}

bool ShapeEncoder::Encode(const ShapeItem& item, std::vector<uint8_t>& body)
{
    Paint fill = item.fill;
    if ((fill.kind == Paint::Kind::Linear || fill.kind == Paint::Kind::Radial) && fill.stops.size() == 1)
    {
        fill.kind = Paint::Kind::Solid;
        fill.colour = fill.stops[0].colour;
    }
    if ((fill.kind == Paint::Kind::Linear || fill.kind == Paint::Kind::Radial) && fill.stops.empty())
        fill.kind = Paint::Kind::None;
    const bool hasFill = fill.kind != Paint::Kind::None;
    const bool hasLine = item.stroked;

    // Round every position once and rebuild the contours from the rounded points.
    std::vector<Contour> contours;
    for (const SubPath& sp : item.outline.subPaths)
    {
        if (sp.segments.empty())
            continue;
        Contour c;
        c.start = Round(sp.start);
        ContourBuilder b(c);
        Point from = sp.start;
        for (const Segment& s : sp.segments)
        {
            switch (s.kind)
            {
            case Segment::Kind::Line:
                b.Line(s.to, true);
                break;
            case Segment::Kind::Quad:
                b.Quad(s.c1, s.to, true);
                break;
            case Segment::Kind::Cubic:
            {
                std::vector<QuadPiece> pieces;
                CubicToQuadratics(from, s.c1, s.c2, s.to, CurveTolerance, pieces);
                for (const QuadPiece& q : pieces)
                    b.Quad(q.control, q.end, true);
                break;
            }
            }
            from = s.to;
        }
        // Fills need closed contours; the stroke runs back only after "z".
        if (b.Current() != c.start && (hasFill || sp.closed))
            b.Line(ToPoint(c.start), sp.closed);
        if (c.edges.empty())
            continue;
        c.stroked = hasLine;
        c.filled = hasFill && b.Current() == c.start;
        contours.push_back(std::move(c));
    }

    size_t edgeCount = 0;
    for (const Contour& c : contours)
        edgeCount += c.edges.size();
    if (edgeCount > MaxEdges)
        return false;

    // Fill sides from orientation and even-odd nesting.
    std::vector<std::vector<Point>> polys;
    double points = 0;
    for (const Contour& c : contours)
    {
        polys.push_back(Flatten(c));
        points += double(polys.back().size());
    }
    const bool nest = points * double(contours.size()) <= MaxNestingWork;
    for (size_t i = 0; i < contours.size(); ++i)
    {
        Contour& c = contours[i];
        if (!c.filled)
            continue;
        const double area = SignedArea2(polys[i]);
        if (area == 0)
        {
            c.filled = false;
            continue;
        }
        int depth = 0;
        for (size_t j = 0; nest && j < contours.size(); ++j)
        {
            if (j == i || !contours[j].filled)
                continue;
            // A vertex of i that is not also a vertex of j tells whether i lies inside j.
            for (const Point& p : polys[i])
            {
                if (std::find_if(polys[j].begin(), polys[j].end(),
                                 [&](const Point& q) { return q.x == p.x && q.y == p.y; }) != polys[j].end())
                    continue;
                depth += Contains(polys[j], p) ? 1 : 0;
                break;
            }
        }
        const bool fillInside = depth % 2 == 0;
        const bool clockwise = area > 0;
        // Clockwise on screen: inside is on the right of travel, FillStyle1.
        if (clockwise == fillInside)
            c.fill1 = 1;
        else
            c.fill0 = 1;
    }

    bool drawsSomething = false;
    for (const Contour& c : contours)
        drawsSomething = drawsSomething || c.filled || c.stroked;
    if (!drawsSomething)
        return false;

    // Bounds of every point, widened by half the stroke.
    int xMin = INT_MAX, yMin = INT_MAX, xMax = INT_MIN, yMax = INT_MIN;
    auto grow = [&](IPoint p)
    {
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    };
    for (const Contour& c : contours)
    {
        if (!c.filled && !c.stroked)
            continue;
        grow(c.start);
        for (const Edge& e : c.edges)
        {
            if (e.curve)
                grow(e.control);
            grow(e.to);
        }
    }
    const int lineWidth = hasLine ? std::clamp(int(std::lround(item.strokeWidth)), 1, 65535) : 0;
    const int pad = (lineWidth + 1) / 2;
    xMin -= pad, yMin -= pad, xMax += pad, yMax += pad;

    BitWriter w;
    WriteRect(w, xMin, xMax, yMin, yMax);

    // Fill styles.
    w.WriteU8(hasFill ? 1 : 0);
    if (hasFill)
    {
        if (fill.kind == Paint::Kind::Solid)
        {
            w.WriteU8(0x00);
            WriteColour(w, fill.colour);
        }
        else
        {
            w.WriteU8(fill.kind == Paint::Kind::Linear ? 0x10 : 0x12);
            WriteMatrix(w, fill.squareToShape);
            // Pad spread, normal RGB interpolation.
            w.WriteBits(0, 2);
            w.WriteBits(0, 2);
            w.WriteBits(uint32_t(fill.stops.size()), 4);
            for (const GradientStop& s : fill.stops)
            {
                w.WriteU8(uint8_t(std::lround(std::clamp(s.offset, 0.0, 1.0) * 255)));
                WriteColour(w, s.colour);
            }
        }
    }
    // Line styles.
    w.WriteU8(hasLine ? 1 : 0);
    if (hasLine)
    {
        w.WriteU16(uint16_t(lineWidth));
        WriteColour(w, item.strokeColour);
    }
    const int fillBits = hasFill ? 1 : 0;
    const int lineBits = hasLine ? 1 : 0;
    w.WriteBits(uint32_t(fillBits), 4);
    w.WriteBits(uint32_t(lineBits), 4);

    for (const Contour& c : contours)
    {
        if (!c.filled && !c.stroked)
            continue;
        StyleChange start;
        start.move = true;
        start.to = c.start;
        start.setFills = true;
        start.fill0 = c.filled ? c.fill0 : 0;
        start.fill1 = c.filled ? c.fill1 : 0;
        start.setLine = true;
        start.line = c.stroked ? 1 : 0;
        WriteStyleChange(w, start, fillBits, lineBits);
        int line = start.line;
        IPoint at = c.start;
        for (const Edge& e : c.edges)
        {
            const int wanted = c.stroked && e.stroked ? 1 : 0;
            if (wanted != line)
            {
                StyleChange s;
                s.setLine = true;
                s.line = wanted;
                WriteStyleChange(w, s, fillBits, lineBits);
                line = wanted;
            }
            if (e.curve)
                WriteCurvedEdge(w, at, e.control, e.to);
            else
                WriteStraightEdge(w, at, e.to);
            at = e.to;
        }
    }
    w.WriteBits(0, 6); // end of shape
    const std::vector<uint8_t>& bytes = w.Bytes();
    body.insert(body.end(), bytes.begin(), bytes.end());
    return true;
}
