#pragma once

#include "Geometry.h"

#include <vector>

// Movie shapes hold only quadratic curves: cubic curves are split into
// quadratics whose distance from the cubic stays within a tolerance.
struct QuadPiece
{
    Point control;
    Point end;
};

// Largest distance between the cubic p0..p3 and the single quadratic with
// control (3 (p1 + p2) - (p0 + p3)) / 4 over the same end points: sqrt(3)/36
// times |p3 - 3 p2 + 3 p1 - p0|.
double SingleQuadraticError(Point p0, Point p1, Point p2, Point p3);

// Splits the cubic into n equal parameter pieces, n the smallest whose error
// bound (which falls as 1/n^3) is within tolerance, and appends one quadratic
// per piece. The last piece ends exactly at p3.
void CubicToQuadratics(Point p0, Point p1, Point p2, Point p3, double tolerance, std::vector<QuadPiece>& out);

Point CubicAt(Point p0, Point p1, Point p2, Point p3, double t);
Point QuadraticAt(Point p0, Point p1, Point p2, double t);
