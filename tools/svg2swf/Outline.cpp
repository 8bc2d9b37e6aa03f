#include "Outline.h"

#include <algorithm>
#include <cmath>

SubPath& Outline::Current()
{
    if (subPaths.empty() || subPaths.back().closed)
        MoveTo(CurrentPoint());
    return subPaths.back();
}

Point Outline::CurrentPoint() const
{
    if (subPaths.empty())
        return {};
    const SubPath& last = subPaths.back();
    if (last.closed || last.segments.empty())
        return last.start;
    return last.segments.back().to;
}

void Outline::MoveTo(Point p)
{
    // A sub-path of a lone move draws nothing; reuse it.
    if (!subPaths.empty() && subPaths.back().segments.empty() && !subPaths.back().closed)
    {
        subPaths.back().start = p;
        return;
    }
    subPaths.push_back({p, {}, false});
}

void Outline::LineTo(Point p)
{
    Current().segments.push_back({Segment::Kind::Line, {}, {}, p});
}

void Outline::QuadTo(Point c, Point p)
{
    Current().segments.push_back({Segment::Kind::Quad, c, {}, p});
}

void Outline::CubicTo(Point c1, Point c2, Point p)
{
    Current().segments.push_back({Segment::Kind::Cubic, c1, c2, p});
}

void Outline::Close()
{
    if (!subPaths.empty() && !subPaths.back().closed)
        subPaths.back().closed = true;
}

void Outline::Transform(const Affine& m)
{
    for (SubPath& sp : subPaths)
    {
        sp.start = m.Apply(sp.start);
        for (Segment& s : sp.segments)
        {
            s.c1 = m.Apply(s.c1);
            s.c2 = m.Apply(s.c2);
            s.to = m.Apply(s.to);
        }
    }
}

void Outline::Append(const Outline& other)
{
    subPaths.insert(subPaths.end(), other.subPaths.begin(), other.subPaths.end());
}

bool Outline::Bounds(Point& min, Point& max) const
{
    bool any = false;
    auto add = [&](Point p)
    {
        if (!any)
        {
            min = max = p;
            any = true;
            return;
        }
        min = {std::min(min.x, p.x), std::min(min.y, p.y)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y)};
    };
    for (const SubPath& sp : subPaths)
    {
        if (sp.segments.empty())
            continue;
        add(sp.start);
        for (const Segment& s : sp.segments)
        {
            if (s.kind != Segment::Kind::Line)
                add(s.c1);
            if (s.kind == Segment::Kind::Cubic)
                add(s.c2);
            add(s.to);
        }
    }
    return any;
}

namespace
{

// Cubic piece of the unit circle from angle t0 to t1 (radians), mapped by m.
void AppendUnitArcPiece(Outline& outline, const Affine& m, double t0, double t1)
{
    const double k = 4.0 / 3.0 * std::tan((t1 - t0) / 4);
    const Point p0{std::cos(t0), std::sin(t0)};
    const Point p3{std::cos(t1), std::sin(t1)};
    const Point c1{p0.x - k * p0.y, p0.y + k * p0.x};
    const Point c2{p3.x + k * p3.y, p3.y - k * p3.x};
    outline.CubicTo(m.Apply(c1), m.Apply(c2), m.Apply(p3));
}

void AppendUnitArc(Outline& outline, const Affine& m, double start, double sweep)
{
    const double maxPiece = M_PI / 6;
    const int pieces = std::max(1, int(std::ceil(std::fabs(sweep) / maxPiece - 1e-9)));
    for (int i = 0; i < pieces; ++i)
    {
        const double t0 = start + sweep * i / pieces;
        const double t1 = start + sweep * (i + 1) / pieces;
        AppendUnitArcPiece(outline, m, t0, t1);
    }
}

double VectorAngle(Point u, Point v)
{
    return std::atan2(u.x * v.y - u.y * v.x, u.x * v.x + u.y * v.y);
}

} // namespace

void AppendArc(Outline& outline, double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, Point end)
{
    // Endpoint to centre parameterisation, following the SVG implementation notes.
    const Point start = outline.CurrentPoint();
    rx = std::fabs(rx);
    ry = std::fabs(ry);
    if (rx == 0 || ry == 0 || !std::isfinite(rx) || !std::isfinite(ry))
    {
        outline.LineTo(end);
        return;
    }
    if (start.x == end.x && start.y == end.y)
        return;
    const double phi = rotationDegrees * M_PI / 180.0;
    const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    const double dx = (start.x - end.x) / 2, dy = (start.y - end.y) / 2;
    const double x1 = cosPhi * dx + sinPhi * dy;
    const double y1 = -sinPhi * dx + cosPhi * dy;
    // Radii too small for the chord are scaled up until the arc just fits.
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1)
    {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double coef = den > 0 ? std::sqrt(std::fmax(0.0, num / den)) : 0;
    if (largeArc == sweep)
        coef = -coef;
    const double cx1 = coef * rx * y1 / ry;
    const double cy1 = -coef * ry * x1 / rx;
    const Point centre{cosPhi * cx1 - sinPhi * cy1 + (start.x + end.x) / 2,
                       sinPhi * cx1 + cosPhi * cy1 + (start.y + end.y) / 2};
    const Point u{(x1 - cx1) / rx, (y1 - cy1) / ry};
    const Point v{(-x1 - cx1) / rx, (-y1 - cy1) / ry};
    const double theta = std::atan2(u.y, u.x);
    double delta = VectorAngle(u, v);
    if (!sweep && delta > 0)
        delta -= 2 * M_PI;
    else if (sweep && delta < 0)
        delta += 2 * M_PI;

    // Degenerate input (points or angle not finite, radii overflowing when
    // scaled up) leaves no arc to draw: the end point is joined by a line.
    if (!std::isfinite(theta) || !std::isfinite(delta) || !std::isfinite(centre.x) || !std::isfinite(centre.y) ||
        !std::isfinite(rx) || !std::isfinite(ry) || !std::isfinite(phi))
    {
        outline.LineTo(end);
        return;
    }
    const Affine unitToUser =
        Affine::Translate(centre.x, centre.y) * Affine::Rotate(rotationDegrees) * Affine::Scale(rx, ry);
    AppendUnitArc(outline, unitToUser, theta, delta);
    // Land exactly on the requested end point.
    outline.subPaths.back().segments.back().to = end;
}

void AppendEllipse(Outline& outline, Point c, double rx, double ry)
{
    const Affine m = Affine::Translate(c.x, c.y) * Affine::Scale(rx, ry);
    outline.MoveTo(m.Apply({1, 0}));
    AppendUnitArc(outline, m, 0, 2 * M_PI);
    outline.subPaths.back().segments.back().to = outline.subPaths.back().start;
    outline.Close();
}
