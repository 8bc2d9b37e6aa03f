#include "QuadraticFit.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int MaxPieces = 512;

Point CubicDerivative(Point p0, Point p1, Point p2, Point p3, double t)
{
    const double u = 1 - t;
    return (p1 - p0) * (3 * u * u) + (p2 - p1) * (6 * u * t) + (p3 - p2) * (3 * t * t);
}

} // namespace

Point CubicAt(Point p0, Point p1, Point p2, Point p3, double t)
{
    const double u = 1 - t;
    return p0 * (u * u * u) + p1 * (3 * u * u * t) + p2 * (3 * u * t * t) + p3 * (t * t * t);
}

Point QuadraticAt(Point p0, Point p1, Point p2, double t)
{
    const double u = 1 - t;
    return p0 * (u * u) + p1 * (2 * u * t) + p2 * (t * t);
}

double SingleQuadraticError(Point p0, Point p1, Point p2, Point p3)
{
    const Point d = p3 - p2 * 3 + p1 * 3 - p0;
    return std::sqrt(3.0) / 36.0 * Length(d);
}

void CubicToQuadratics(Point p0, Point p1, Point p2, Point p3, double tolerance, std::vector<QuadPiece>& out)
{
    const double error = SingleQuadraticError(p0, p1, p2, p3);
    int pieces = 1;
    if (error > tolerance && tolerance > 0)
        pieces = int(std::clamp(std::ceil(std::cbrt(error / tolerance) - 1e-9), 1.0, double(MaxPieces)));
    for (int i = 0; i < pieces; ++i)
    {
        const double t0 = double(i) / pieces, t1 = double(i + 1) / pieces;
        const double h = (t1 - t0) / 3;
        const Point q0 = i == 0 ? p0 : CubicAt(p0, p1, p2, p3, t0);
        const Point q3 = i + 1 == pieces ? p3 : CubicAt(p0, p1, p2, p3, t1);
        const Point q1 = q0 + CubicDerivative(p0, p1, p2, p3, t0) * h;
        const Point q2 = q3 - CubicDerivative(p0, p1, p2, p3, t1) * h;
        out.push_back({((q1 + q2) * 3 - (q0 + q3)) * 0.25, q3});
    }
}
