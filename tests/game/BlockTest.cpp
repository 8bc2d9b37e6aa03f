#include <gtest/gtest.h>

#include "app/Application.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/TestMovies.h"
#include "game/Block.h"
#include "game/BlockMover.h"

namespace
{

class BlockTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
        App().time = 10.0;
    }

    [[nodiscard]] uint32_t PixelAt(int x, int y) const
    {
        return Application::Get().BackBuffer()[static_cast<size_t>(y * Application::Get().Width() + x)] & 0xFFFFFFu;
    }
};

TEST_F(BlockTest, PicturesFollowTheCodeAndTheQueueLook)
{
    Block block;
    const auto look = [&block] { return block.Picture().GetMovie() + (block.IsPictureShown() ? " shown" : " hidden"); };
    EXPECT_FALSE(block.IsPictureShown()); // Empty
    block.SetType(BlockType::Wild);
    EXPECT_EQ(look(), "Data/Graphics/Blocks/Wild.swf shown");
    // Empty hides the picture (and loads the Red one); a colour shows it again.
    block.SetType(BlockType::Empty);
    EXPECT_EQ(look(), "Data/Graphics/Blocks/Red.swf hidden");
    block.SetType(BlockType::Green);
    // Code 5 has no picture of its own: the last one stays and is shown.
    block.SetType(BlockType::NoPicture);
    EXPECT_EQ(block.GetType(), BlockType::NoPicture);
    EXPECT_EQ(look(), "Data/Graphics/Blocks/Green.swf shown");

    // The queue look shows from the next change of code on.
    block.SetQueueLook(true);
    EXPECT_EQ(look(), "Data/Graphics/Blocks/Green.swf shown");
    block.SetType(BlockType::Purple);
    EXPECT_EQ(look(), "Data/Graphics/Blocks/PurpleQueue.swf shown");
    for (int code : {5, 6, 42, -1}) // no picture, and out of range codes never index a table
        EXPECT_EQ(Block::PicturePath(static_cast<BlockType>(code), code == 6), nullptr) << code;
}

TEST_F(BlockTest, TimedStatesRecordTheClockAndTheWarningBlinksEveryQuarterSecond)
{
    Block block;
    block.SetSize(40, 40);
    block.SetPosition(25, 64);
    block.SetType(BlockType::Red);

    App().time = 12.5;
    block.SetClearing(true);
    EXPECT_EQ(std::make_tuple(block.IsClearing(), block.ClearStart(), block.IsDimShown()),
              std::make_tuple(true, 12.5, true));
    block.SetType(BlockType::Empty);
    EXPECT_FALSE(block.IsDimShown()); // an Empty block is never dimmed

    App().time = 13.0;
    block.SetFalling(true);
    EXPECT_EQ(std::make_tuple(block.FallStart(), block.FallFromX(), block.FallFromY()), std::make_tuple(13.0, 25, 64));

    App().time = 20.0;
    block.SetWarning(true);
    std::string blinks;
    for (double t : {20.0, 20.2, 20.26, 20.4, 20.52, 20.78})
    {
        App().time = t;
        block.Update();
        blinks += block.IsWarningVisible() ? '+' : '-';
    }
    block.SetWarning(false);
    blinks += block.IsWarningVisible() ? '+' : '-';
    App().time = 30.0;
    block.Update();
    blinks += block.IsWarningVisible() ? '+' : '-';
    EXPECT_EQ(blinks, "--++-+--");

    block.SetMarked(true);
    block.ResetStates();
    EXPECT_FALSE(block.IsMarked() || block.IsFalling() || block.IsClearing() || block.IsWarning());
}

TEST_F(BlockTest, DrawsItsPictureDimAndWarningAndNothingWhenEmpty)
{
    swftest::MemoryFiles files;
    files.add("Data/Graphics/Blocks/Red.swf", SolidTestMovie({255, 0, 0, 255}));
    files.add("Data/Graphics/Blocks/Blue.swf", SolidTestMovie({0, 0, 255, 255}));
    files.add("Data/Graphics/Dim.swf", SolidTestMovie({0, 0, 0, 255}));
    files.add("Data/Graphics/PlayGame/Warning.swf", SolidTestMovie({255, 255, 0, 255}));
    files.add("Data/Graphics/BlockCursorHorz.swf", SolidTestMovie({10, 20, 30, 255}));
    files.add("Data/Graphics/BlockCursorVert.swf", SolidTestMovie({40, 50, 60, 255}));
    App().SetBackgroundColour(0, 255, 0);

    std::vector<uint32_t> seen; // the centre of the control after each redraw
    const auto draw = [&](Control& control)
    {
        // Clear the screen to the background, then redraw the control's area the way a frame would.
        App().Invalidate(0, 0, 640, 480);
        App().Render();
        App().Invalidate(control.GetX(), control.GetY(), control.GetWidth(), control.GetHeight());
        control.Draw(App());
        seen.push_back(PixelAt(control.GetX() + 20, control.GetY() + 20));
    };
    Block block;
    block.SetSize(40, 40);
    block.SetPosition(100, 100);
    block.SetType(BlockType::Red);
    draw(block);
    EXPECT_EQ(PixelAt(99, 120), 0x00FF00u); // nothing outside its rectangle
    block.SetType(BlockType::Blue);
    draw(block);
    block.SetClearing(true);
    draw(block); // the opaque test dim covers it
    block.SetClearing(false);
    block.SetWarning(true);
    App().time += 0.3;
    block.Update();
    ASSERT_TRUE(block.IsWarningVisible());
    draw(block);
    block.SetWarning(false);
    block.SetType(BlockType::Empty);
    draw(block);
    // After a release (screen switch) the pictures come back on the next draw.
    block.SetType(BlockType::Red);
    block.Release();
    draw(block);
    EXPECT_EQ(seen, (std::vector<uint32_t>{0xFF0000, 0x0000FF, 0x000000, 0xFFFF00, 0x00FF00, 0xFF0000}));

    // The mover shows the picture of its orientation.
    seen.clear();
    BlockMover mover;
    mover.SetSize(80, 80);
    mover.SetPosition(300, 100);
    draw(mover);
    mover.SetOrientation(BlockMover::Vertical);
    draw(mover);
    EXPECT_EQ(seen, (std::vector<uint32_t>{0x0A141E, 0x28323C}));
    mover.SetOrientation(7); // not an orientation: ignored
    EXPECT_EQ(mover.GetOrientation(), BlockMover::Vertical);
}

} // namespace
