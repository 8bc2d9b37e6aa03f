#pragma once

#include "Geometry.h"

#include <cstdint>
#include <vector>

// An outline made of sub-paths of straight, quadratic and cubic segments,
// as read from a picture (user units) or placed in the movie (twips).
struct Segment
{
    enum class Kind : uint8_t
    {
        Line,
        Quad,
        Cubic
    };
    Kind kind = Kind::Line;
    Point c1; // first control point (Quad, Cubic)
    Point c2; // second control point (Cubic)
    Point to;
};

struct SubPath
{
    Point start;
    std::vector<Segment> segments;
    bool closed = false; // ended with "z": the stroke runs back to the start
};

struct Outline
{
    std::vector<SubPath> subPaths;

    void MoveTo(Point p);
    void LineTo(Point p);
    void QuadTo(Point c, Point p);
    void CubicTo(Point c1, Point c2, Point p);
    void Close();
    // Current point (the start after Close); the origin before any MoveTo.
    Point CurrentPoint() const;
    bool Empty() const { return subPaths.empty(); }

    void Transform(const Affine& m);
    void Append(const Outline& other);
    // Bounding box of end and control points; false when there are none.
    bool Bounds(Point& min, Point& max) const;

  private:
    SubPath& Current();
};

// Appends an elliptical arc from the current point as in SVG's "A" command
// (radii, x-axis rotation in degrees, flags, end point), split into cubic
// pieces of at most 30 degrees so that the cubic error is below 4e-7 of the
// radius.
void AppendArc(Outline& outline, double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, Point end);

// A whole ellipse (rx, ry around c) as one closed sub-path, clockwise on screen.
void AppendEllipse(Outline& outline, Point c, double rx, double ry);
