#include "QuadraticFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{

// Largest distance between the cubic and its quadratic pieces, sampled at
// matching parameters.
double MaxDeviation(Point p0, Point p1, Point p2, Point p3, const std::vector<QuadPiece>& pieces)
{
    double worst = 0;
    const size_t n = pieces.size();
    Point from = p0;
    for (size_t i = 0; i < n; ++i)
    {
        for (int k = 0; k <= 40; ++k)
        {
            const double local = k / 40.0;
            const double t = (double(i) + local) / double(n);
            const Point c = CubicAt(p0, p1, p2, p3, t);
            const Point q = QuadraticAt(from, pieces[i].control, pieces[i].end, local);
            worst = std::max(worst, Length(c - q));
        }
        from = pieces[i].end;
    }
    return worst;
}

} // namespace

TEST(QuadraticFitTest, PiecesStayWithinTheToleranceAndEndExactly)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-20000, 20000);
    for (int trial = 0; trial < 300; ++trial)
    {
        const Point p0{coordinate(random), coordinate(random)};
        const Point p1{coordinate(random), coordinate(random)};
        const Point p2{coordinate(random), coordinate(random)};
        const Point p3{coordinate(random), coordinate(random)};
        for (double tolerance : {0.25, 1.0, 10.0})
        {
            std::vector<QuadPiece> pieces;
            CubicToQuadratics(p0, p1, p2, p3, tolerance, pieces);
            ASSERT_FALSE(pieces.empty());
            EXPECT_LE(MaxDeviation(p0, p1, p2, p3, pieces), tolerance * 1.0001);
            EXPECT_EQ(pieces.back().end.x, p3.x);
            EXPECT_EQ(pieces.back().end.y, p3.y);
        }
    }
}

TEST(QuadraticFitTest, TheErrorBoundIsTightAndPiecesAreFew)
{
    // A symmetric S-curve: the bound sqrt(3)/36 |d| is reached, not merely respected.
    const Point p0{0, 0}, p1{0, 1000}, p2{1000, -1000}, p3{1000, 0};
    std::vector<QuadPiece> one;
    CubicToQuadratics(p0, p1, p2, p3, 1e9, one);
    ASSERT_EQ(one.size(), 1u);
    const double bound = SingleQuadraticError(p0, p1, p2, p3);
    EXPECT_GT(MaxDeviation(p0, p1, p2, p3, one), 0.95 * bound);
    EXPECT_LE(MaxDeviation(p0, p1, p2, p3, one), bound * 1.0001);

    // A cubic that is really a quadratic needs one piece, and gives that quadratic back.
    const Point q0{0, 0}, qc{50, 100}, q2{100, 0};
    std::vector<QuadPiece> exact;
    CubicToQuadratics(q0, q0 + (qc - q0) * (2.0 / 3), q2 + (qc - q2) * (2.0 / 3), q2, 0.01, exact);
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_NEAR(exact[0].control.x, 50, 1e-9);
    EXPECT_NEAR(exact[0].control.y, 100, 1e-9);

    // Halving the tolerance grows the count by about the cube root of 2.
    std::vector<QuadPiece> coarse, fine;
    CubicToQuadratics(p0, p1, p2, p3, 1.0, coarse);
    CubicToQuadratics(p0, p1, p2, p3, 0.125, fine);
    EXPECT_EQ(fine.size(), size_t(std::ceil(std::cbrt(bound / 0.125))));
    EXPECT_LE(fine.size(), 2 * coarse.size() + 1);
}
