#include <gtest/gtest.h>

#include "engine/Layout.h"

namespace
{

TEST(LayoutTest, FractionsTruncateWithTheSingleFactorRounding)
{
    EXPECT_EQ(FractionOf(800, 0.04f), 31);
    EXPECT_EQ(FractionOf(800, 0.04), 31); // a double literal is narrowed first
    EXPECT_EQ(FractionOf(600, 0.11), 65);
    EXPECT_EQ(FractionOf(600, 0.88f), 527);
    EXPECT_EQ(FractionOfDouble(600, 0.0835), 50);
    EXPECT_EQ(FractionOfDouble(768, 0.0835), 64);
    EXPECT_EQ(FractionOf(640, 0.565625f), 362);
    EXPECT_EQ(FractionOf(0, 0.5f), 0);
    EXPECT_EQ(FractionOf(2048, 1.0f), 2048);
    EXPECT_EQ(FractionOf(640, -0.2f), -128); // positions above the screen truncate toward zero
}

} // namespace
