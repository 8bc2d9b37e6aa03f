#pragma once

#include <cmath>

// Plane geometry shared by the picture compiler: points and 2-D affine maps.
struct Point
{
    double x = 0;
    double y = 0;
};

inline Point operator+(Point a, Point b)
{
    return {a.x + b.x, a.y + b.y};
}
inline Point operator-(Point a, Point b)
{
    return {a.x - b.x, a.y - b.y};
}
inline Point operator*(Point a, double s)
{
    return {a.x * s, a.y * s};
}
inline double Length(Point a)
{
    return std::hypot(a.x, a.y);
}

// x' = a*x + c*y + e, y' = b*x + d*y + f (the SVG matrix(a b c d e f) order).
struct Affine
{
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // Applies only the linear part (for directions and lengths).
    Point ApplyVector(Point p) const { return {a * p.x + c * p.y, b * p.x + d * p.y}; }
    double Determinant() const { return a * d - b * c; }
    // Largest stretch the map gives any direction (the largest singular value).
    double MaxScale() const
    {
        const double s1 = a * a + b * b + c * c + d * d;
        const double det = Determinant();
        const double disc = std::sqrt(std::fmax(0.0, s1 * s1 - 4 * det * det));
        return std::sqrt((s1 + disc) / 2);
    }

    static Affine Translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine Rotate(double degrees)
    {
        const double r = degrees * M_PI / 180.0;
        return {std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
    }
};

// (l * r) applies r first, then l.
inline Affine operator*(const Affine& l, const Affine& r)
{
    return {l.a * r.a + l.c * r.b, l.b * r.a + l.d * r.b,       l.a * r.c + l.c * r.d,
            l.b * r.c + l.d * r.d, l.a * r.e + l.c * r.f + l.e, l.b * r.e + l.d * r.f + l.f};
}
