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
            worst = std::max(worst, Length(CubicAt(p0, p1, p2, p3, (double(i) + k / 40.0) / double(n)) -
                                           QuadraticAt(from, pieces[i].control, pieces[i].end, k / 40.0)));
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
            EXPECT_TRUE(pieces.back().end.x == p3.x && pieces.back().end.y == p3.y);
        }
    }
}
