#include "engine/Checkbox.h"
#include "engine/WidgetFixture.h"

namespace
{

// A 40 x 40 box at (200, 200) with transparent corners and a 20 x 20 mark.
class CheckboxTest : public WidgetFixture
{
  protected:
    void SetUp() override
    {
        WidgetFixture::SetUp();
        App().SetBackgroundColour(0, 0, 0);
        files.add("Data/Graphics/Box.swf", SolidTestMovie({200, 200, 200, 255}, 10));
        files.add("Data/Graphics/BoxOver.swf", SolidTestMovie({250, 250, 100, 255}, 10));
        files.add("Data/Graphics/Mark.swf", SolidTestMovie({0, 160, 0, 255}));

        box.SetBoxMovie("Data/Graphics/Box.swf");
        box.SetMarkMovie("Data/Graphics/Mark.swf");
        box.SetSize(40, 40);
        box.SetPosition(200, 200);
        box.SetMarkSize(20, 20);
        box.SetHighlightSound("Data/Sounds/ButtonHighlight");
        box.SetPressSound("Data/Sounds/ButtonPress");
        ScreenManager::Get().AddControl(&box);
        DrawAll();
    }

    uint32_t PixelAt(int x, int y)
    {
        App().Render();
        return Platform().Frames().back().At(x, y) & 0xFFFFFF;
    }

    Checkbox box;
};

TEST_F(CheckboxTest, TogglesOnPressNotOnRelease)
{
    Move(220, 220);
    EXPECT_EQ(box.GetState(), 1);
    Down(220, 220);
    EXPECT_TRUE(box.IsChecked() && IsPlaying("Data/Sounds/ButtonPress"));
    Up(220, 220);
    EXPECT_TRUE(box.IsChecked());
    Down(220, 220);
    EXPECT_FALSE(box.IsChecked());
    Up(220, 220);
    EXPECT_FALSE(box.IsChecked());

    // A press on the transparent corner does nothing.
    Down(201, 201);
    EXPECT_FALSE(box.IsChecked());
}

TEST_F(CheckboxTest, MarkIsCentredAndShownOnlyWhileChecked)
{
    EXPECT_EQ(std::make_pair(box.GetMarkX(), box.GetMarkY()), std::make_pair(210, 210));
    EXPECT_EQ(PixelAt(220, 220), 0xC8C8C8u);
    box.SetChecked(true);
    EXPECT_EQ(PixelAt(220, 220), 0x00A000u);
    EXPECT_EQ(PixelAt(206, 220), 0xC8C8C8u); // the box around the mark

    // Hovered without a mouse-over picture it shows the normal box.
    Move(220, 220);
    EXPECT_EQ(PixelAt(205, 230), 0xC8C8C8u);
    box.SetMouseOverMovie("Data/Graphics/BoxOver.swf");
    DrawAll();
    EXPECT_EQ(PixelAt(205, 230), 0xFAFA64u);
    Move(400, 400);
    EXPECT_EQ(std::make_pair(box.GetState(), PixelAt(205, 230)), std::make_pair(0, 0xC8C8C8u));
    box.SetPosition(300, 300);
    EXPECT_EQ(box.GetMarkX(), 310);
}

} // namespace
