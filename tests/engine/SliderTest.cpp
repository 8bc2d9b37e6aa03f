#include <cmath>
#include <tuple>

#include "engine/KeyCode.h"
#include "engine/Slider.h"
#include "engine/SliderListener.h"
#include "engine/WidgetFixture.h"

namespace
{

struct SliderLog : SliderListener
{
    void OnSliderChanged(Slider* slider) override { changes.push_back(slider->GetValue()); }
    void OnSliderReleased(Slider* slider) override { releases.push_back(slider->GetValue()); }
    std::vector<float> changes;
    std::vector<float> releases;
};

// A 200 x 20 track at (100, 100) and a 20 x 30 shuttle whose left edge
// travels from 100 to 280.
class SliderTest : public WidgetFixture
{
  protected:
    void SetUp() override
    {
        WidgetFixture::SetUp();
        files.add("Data/Graphics/Track.swf", SolidTestMovie({90, 90, 90, 255}));
        files.add("Data/Graphics/Shuttle.swf", SolidTestMovie({250, 250, 250, 255}));
        slider.SetTrackMovie("Data/Graphics/Track.swf");
        slider.SetShuttleMovie("Data/Graphics/Shuttle.swf");
        slider.SetSize(200, 20);
        slider.SetPosition(100, 100);
        slider.SetShuttleSize(20, 30);
        slider.SetRange(100, 280);
        slider.SetListener(&log);
        slider.SetPressSound("Data/Sounds/ButtonPress");
        ScreenManager::Get().AddControl(&slider);
        DrawAll();
    }

    Slider slider;
    SliderLog log;
};

TEST_F(SliderTest, ShuttlePositionFollowsTheValue)
{
    EXPECT_EQ(std::make_pair(slider.GetShuttleX(), slider.GetShuttleY()), std::make_pair(100, 95));
    slider.SetValue(0.5f, false);
    EXPECT_EQ(slider.GetShuttleX(), 190);
    slider.SetValue(1.0f, true);
    EXPECT_EQ(slider.GetShuttleX(), 280);
    EXPECT_EQ(std::make_pair(log.changes, log.releases),
              std::make_pair(std::vector<float>{0.5f, 1.0f}, std::vector<float>{1.0f}));

    for (const auto& [asked, kept] : {std::pair{3.0f, 1.0f}, {-1.0f, 0.0f}, {std::nanf(""), 0.0f}})
    {
        slider.SetValue(asked, false);
        EXPECT_EQ(slider.GetValue(), kept) << asked;
    }
}

TEST_F(SliderTest, DraggedPastEitherEndTheValueStaysWithin0And1)
{
    Move(110, 110);
    Down(110, 110); // on the shuttle
    EXPECT_EQ(std::make_pair(ScreenManager::Get().GetCapture(), slider.GetState()),
              (std::pair<Control*, int>(&slider, 2)));
    Move(200, 110);
    EXPECT_FLOAT_EQ(slider.GetValue(), 90.0f / 180.0f);
    Move(600, 110); // leaves the slider
    Move(620, 400); // far off: still dragging
    EXPECT_EQ(slider.GetValue(), 1.0f);
    Move(-50, 110);
    EXPECT_EQ(slider.GetValue(), 0.0f);
    Up(-50, 110); // away from the slider: the capture still delivers it
    EXPECT_FALSE(slider.IsDragging() || ScreenManager::Get().GetCapture());
    EXPECT_EQ(log.releases, std::vector<float>{0.0f});
    // Moves after the release change nothing.
    Move(200, 110);
    EXPECT_EQ(slider.GetValue(), 0.0f);

    // A press on the track jumps the shuttle there and starts a drag.
    log.changes.clear();
    Move(250, 110);
    Down(250, 110);
    EXPECT_TRUE(slider.IsDragging());
    EXPECT_FLOAT_EQ(slider.GetValue(), 140.0f / 180.0f); // shuttle left at 240
    EXPECT_EQ(std::make_tuple(slider.GetShuttleX(), log.changes.size(), IsPlaying("Data/Sounds/ButtonPress")),
              std::make_tuple(240, 1u, true));
    Move(260, 110);
    EXPECT_EQ(slider.GetShuttleX(), 250);
    Up(260, 110);
    EXPECT_EQ(slider.GetState(), 1); // released over it
}

TEST_F(SliderTest, SliderWithoutTravelKeepsItsValue)
{
    // The fixture's slider with a track no longer than its shuttle.
    slider.SetSize(50, 20);
    slider.SetPosition(100, 300);
    slider.SetRange(100, 100);
    DrawAll();
    slider.SetValue(0.25f, false);
    Move(130, 310);
    Down(130, 310);
    Move(140, 310);
    Up(140, 310);
    EXPECT_EQ(std::make_pair(slider.GetValue(), slider.GetShuttleX()), std::make_pair(0.25f, 100));
    slider.SetPosition(100, 100);
    log.changes.clear();

    // Hidden, it ignores the mouse.
    slider.Hide();
    Move(110, 110);
    Down(110, 110);
    EXPECT_FALSE(slider.IsDragging());
    EXPECT_FALSE(slider.HitTest(110, 110));
    EXPECT_TRUE(log.changes.empty());
}

// Left and Right, as keys or on the d-pad, step the focused slider to the
// next whole step, stopping at the ends; pressing it reports a release.
TEST_F(SliderTest, FocusedSliderStepsWithLeftAndRight)
{
    ScreenManager& screens = ScreenManager::Get();
    slider.SetValue(0.93f, false);
    screens.OnKeyDown(KeyCode::Right, false); // not focused: ignored
    ASSERT_TRUE(screens.MoveFocusInOrder(false));
    screens.OnKeyDown(KeyCode::Left, false);
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.9f);
    for (int i = 0; i < 3; ++i)
        screens.OnPadButton(PadButton::DPadRight, i > 0);
    EXPECT_EQ(slider.GetShuttleX(), 280);
    for (int i = 0; i < 25; ++i)
        screens.OnPadButton(PadButton::DPadLeft);
    EXPECT_EQ(slider.GetShuttleX(), 100);
    EXPECT_TRUE(screens.PressFocus());
    EXPECT_EQ(log.releases.size(), 24u); // one a step, none at the ends, and the press
}

} // namespace
