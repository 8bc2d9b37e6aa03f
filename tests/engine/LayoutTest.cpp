#include <gtest/gtest.h>

#include "engine/Layout.h"

namespace {

// Every pixel value the screen layouts give as an example.
TEST(LayoutTest, FractionsMatchTheLayoutExamples)
{
    // The board at 800 x 600 and 1024 x 768.
    EXPECT_EQ(FractionOf(800, 0.04f), 31);
    EXPECT_EQ(FractionOf(800, 0.0625f), 50);
    EXPECT_EQ(FractionOfDouble(600, 0.0835), 50);
    EXPECT_EQ(FractionOf(600, 0.025f), 15);
    EXPECT_EQ(FractionOf(600, 0.025f) + FractionOf(600, 0.11f), 80);
    EXPECT_EQ(FractionOf(1024, 0.0625f), 64);
    EXPECT_EQ(FractionOfDouble(768, 0.0835), 64);
    EXPECT_EQ(FractionOf(1024, 0.04f), 40);
    EXPECT_EQ(FractionOf(768, 0.025f), 19);
    EXPECT_EQ(FractionOf(768, 0.025f) + FractionOf(768, 0.11f), 103);

    // The play screen's texts at 800 x 600.
    EXPECT_EQ(FractionOf(800, 0.591f), 472);
    EXPECT_EQ(FractionOf(600, 0.055f), 32);
    EXPECT_EQ(FractionOf(600, 0.115f), 69);
    EXPECT_EQ(FractionOf(600, 0.175f), 104);

    // The play screen's three buttons at 800 x 600.
    EXPECT_EQ(FractionOf(600, 0.698f), 418);
    EXPECT_EQ(FractionOf(600, 0.789f), 473);
    EXPECT_EQ(FractionOf(600, 0.88f), 527);

    // The main menu at 640 x 480: the Play Game button, centred, and the logo.
    const int buttonWidth = FractionOf(640, 0.565625f);
    EXPECT_EQ(buttonWidth, 362);
    EXPECT_EQ(FractionOf(480, 0.09166f), 43);
    EXPECT_EQ(640 / 2 - buttonWidth / 2, 139);
    EXPECT_EQ(FractionOf(480, 0.298658f), 143);
    EXPECT_EQ(FractionOf(640, 0.8125f), 520);
    EXPECT_EQ(FractionOf(480, 0.2083f), 99);
}

TEST(LayoutTest, DoubleLiteralsKeepTheSingleFactorRounding)
{
    // The same numbers written without the f suffix are narrowed first.
    EXPECT_EQ(FractionOf(800, 0.04), 31);
    EXPECT_EQ(FractionOf(600, 0.88), 527);
    EXPECT_EQ(FractionOf(600, 0.11), 65);
    EXPECT_EQ(FractionOf(0, 0.5f), 0);
    EXPECT_EQ(FractionOf(2048, 1.0f), 2048);
    EXPECT_EQ(FractionOf(640, -0.2f), -128);  // positions above the screen truncate toward zero
}

} // namespace
