#include <tuple>

#include "app/Application.h"
#include "engine/RecordingScreen.h"
#include "fixtures/HeadlessApp.h"

namespace
{

class ControlTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
        App().Render(); // every tile clean
    }

    int DirtyCount() const
    {
        int count = 0;
        for (const DirtyTile& tile : Application::Get().Tiles())
            count += tile.dirty;
        return count;
    }

    CallLog log;
};

TEST_F(ControlTest, ResizingReloadsOnTheNextDrawAndAMoveRepaintsBothPlaces)
{
    RecordingControl control("c", log, 0, 0, 20, 20);
    EXPECT_TRUE(control.Draw(App())); // first draw: loads and invalidates itself
    App().Render();
    EXPECT_EQ(std::make_pair(control.Draw(App()), control.loads), std::make_pair(false, 1));

    control.SetSize(20, 20);
    EXPECT_EQ(DirtyCount(), 0);
    control.SetSize(200, 20); // old rectangle now, new one when it reloads
    EXPECT_EQ(DirtyCount(), 1);
    EXPECT_EQ(std::make_pair(control.Draw(App()), control.loads), std::make_pair(true, 2));
    EXPECT_TRUE(App().IsDirty(190, 0, 1, 1));

    App().Render();
    control.Release();
    EXPECT_EQ(std::make_pair(control.Draw(App()), control.loads), std::make_pair(true, 3));

    // A move along one axis alone repaints where it was and where it goes.
    App().Render();
    control.SetPosition(300, 0);
    EXPECT_EQ(std::make_tuple(control.GetX(), App().IsDirty(0, 0, 1, 1), App().IsDirty(300, 0, 1, 1)),
              std::make_tuple(300, true, true));
}

TEST_F(ControlTest, HiddenControlLoadsNothingUntilShownAndAClipHeightDirtiesOnlyItsRows)
{
    RecordingControl hidden("h", log, 0, 0, 20, 20);
    hidden.Hide();
    EXPECT_EQ(std::make_pair(hidden.Draw(App()), hidden.loads), std::make_pair(false, 0));
    hidden.Show();
    EXPECT_EQ(std::make_pair(hidden.Draw(App()), hidden.loads), std::make_pair(true, 1));

    RecordingControl bar("b", log, 0, 100, 20, 300); // tile rows 0 to 2
    bar.SetClipSize(20, 250);
    App().Render();
    bar.SetClipHeight(200); // rows 300 to 350: tile rows 1 and 2
    EXPECT_EQ(DirtyCount(), 2);
    EXPECT_FALSE(App().IsDirty(0, 100, 20, 60));
}

TEST_F(ControlTest, HiddenControlsAreNeitherHitNorDrawn)
{
    RecordingControl control("c", log, 100, 100, 20, 10);
    // Right and bottom edges included.
    for (const auto& [x, y, hit] :
         {std::tuple{100, 100, true}, {120, 110, true}, {121, 110, false}, {120, 111, false}, {99, 100, false}})
        EXPECT_EQ(control.HitTest(x, y), hit) << x << "," << y;

    control.Draw(App());
    App().Render();
    control.Hide();
    EXPECT_TRUE(App().IsDirty(100, 100, 1, 1)); // the place it leaves is repainted
    EXPECT_FALSE(control.HitTest(110, 105) || control.Draw(App()));
    App().Render();
    control.Hide();
    EXPECT_EQ(DirtyCount(), 0);
    control.Show();
    EXPECT_TRUE(control.Draw(App()) && !control.IsHidden());

    // Hover invalidates the whole rectangle (a clip does too: SpriteTest).
    App().Render();
    RecordingControl hovered("c", log, 150, 150, 20, 20); // across four tiles
    hovered.OnMouseEnter();
    EXPECT_EQ(std::make_pair(hovered.IsMouseOver(), DirtyCount()), std::make_pair(true, 4));
    App().Render();
    hovered.OnMouseLeave();
    EXPECT_EQ(std::make_pair(hovered.IsMouseOver(), DirtyCount()), std::make_pair(false, 4));
}

} // namespace
