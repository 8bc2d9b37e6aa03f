#include <tuple>
#include <vector>

#include "app/Application.h"
#include "engine/RecordingScreen.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"

namespace
{

class BackBufferTest : public HeadlessApp
{
  protected:
    // Opens the window and clears every tile's dirty flag.
    void OpenClean(int w, int h)
    {
        ASSERT_TRUE(OpenWindow(w, h));
        App().Render();
        ASSERT_TRUE(DirtyIndexes().empty());
    }

    std::vector<int> DirtyIndexes() const
    {
        std::vector<int> out;
        const std::vector<DirtyTile>& tiles = Application::Get().Tiles();
        for (size_t i = 0; i < tiles.size(); ++i)
            if (tiles[i].dirty)
                out.push_back(static_cast<int>(i));
        return out;
    }

    const uint32_t* At(int x, int y) const
    {
        return Application::Get().BackBuffer() + y * Application::Get().Width() + x;
    }
    uint32_t Pixel(int x, int y) const { return *At(x, y); }
    // `count` pixels from (x, y) to the right.
    std::vector<uint32_t> PixelRow(int x, int y, int count) const { return {At(x, y), At(x, y) + count}; }
};

// --- tile grid ---

TEST_F(BackBufferTest, InvalidateMarksOnlyOverlappedTiles)
{
    OpenClean(800, 600); // 5 columns of 160-pixel tiles
    const std::tuple<int, int, int, int, std::vector<int>> cases[] = {
        {150, 150, 20, 20, {0, 1, 5, 6}}, // the corner where four tiles meet
        {0, 0, 160, 160, {0}},            // exactly tile 0: its right and bottom edges only touch
        {160, 0, 0, 50, {}},
        {160, 0, 50, 0, {}},
        {160, 0, -5, 50, {}},
        {-100, -100, 101, 101, {0}},         // only the pixel (0, 0) is inside
        {700, 590, 500, 500, {19}},          // past the buffer: clipped tiles still count
        {2147483000, 0, 2147483000, 10, {}}, // far outside, no overflow
        {-2147483000, 0, 1000, 10, {}},
    };
    for (const auto& [x, y, w, h, dirty] : cases)
    {
        App().Invalidate(x, y, w, h);
        EXPECT_EQ(DirtyIndexes(), dirty) << x << "," << y << " " << w << "x" << h;
        App().Render();
    }

    // IsDirty uses the same overlap rule.
    App().Invalidate(200, 200, 10, 10); // tile (1, 1)
    // The second touches the tile's corner only.
    EXPECT_EQ(std::make_tuple(App().IsDirty(150, 150, 11, 11), App().IsDirty(150, 150, 10, 10),
                              App().IsDirty(200, 200, 0, 10), App().IsDirty(0, 0, 160, 160)),
              std::make_tuple(true, false, false, false));
}

// --- compositing ---

TEST_F(BackBufferTest, DrawBitmapCopiesBlendsOrSkipsEachPixel)
{
    OpenClean(320, 240);
    App().SetBackgroundColour(255, 255, 255);
    const std::vector<uint32_t> bitmap = {
        0xFF102030u, // opaque: replaces exactly, top byte kept
        0x00000000u, // clear: the background shows
        0x80400000u, // alpha 128, premultiplied (64, 0, 0) over white
        0x00FF00FFu, // alpha 0 with colour (not premultiplied): still ignored
    };
    App().DrawBitmap(bitmap.data(), 4, 1, true, 10, 20, 4, 1);
    // From x = 9 to 14; the blend gives red 191, green and blue 127.
    EXPECT_EQ(PixelRow(9, 20, 6),
              (std::vector<uint32_t>{0x00FFFFFFu, 0xFF102030u, 0x00FFFFFFu, 0x00BF7F7Fu, 0x00FFFFFFu, 0x00FFFFFFu}));

    // Without transparency every pixel is copied, alpha or not.
    App().DrawBitmap(bitmap.data(), 4, 1, false, 10, 21, 4, 1);
    EXPECT_EQ(PixelRow(10, 21, 4), bitmap);

    // Only inside dirty tiles and the buffer: 2 x 2 tiles, the bottom row cut at 240.
    App().SetBackgroundColour(0, 0, 0);
    App().Render();
    const std::vector<uint32_t> red(300 * 300, 0xFFFF0000u);
    App().Invalidate(0, 160, 1, 1); // tile (0, 1) only
    App().DrawBitmap(red.data(), 300, 300, false, 100, 100, 300, 300);
    EXPECT_EQ(std::make_pair(Pixel(159, 239), Pixel(100, 160)), std::make_pair(0xFFFF0000u, 0xFFFF0000u));
    // Left of the bitmap; tiles (0, 0) and (1, 1) are clean.
    EXPECT_EQ(std::make_tuple(Pixel(99, 239), Pixel(159, 159), Pixel(160, 200)), std::make_tuple(0u, 0u, 0u));
}

TEST_F(BackBufferTest, DrawBitmapNeverReadsPastTheBitmap)
{
    OpenClean(320, 240);
    App().SetBackgroundColour(0, 0, 0);
    // A 10 x 10 bitmap asked to cover 50 x 50: only its own pixels are drawn.
    std::vector<uint32_t> bitmap(10 * 10, 0xFF00FF00u);
    App().DrawBitmap(bitmap.data(), 10, 10, true, 5, 5, 50, 50);
    App().DrawBitmap(bitmap.data(), 10, 10, false, 100, 5, 50, 50);
    for (int x : {5, 100})
        EXPECT_EQ(
            std::make_tuple(Pixel(x, 5), Pixel(x + 9, 14), Pixel(x + 10, 14), Pixel(x + 9, 15), Pixel(x + 49, 54)),
            std::make_tuple(0xFF00FF00u, 0xFF00FF00u, 0u, 0u, 0u))
            << x;
    // Partly off the buffer's top-left: the source offset follows.
    const std::vector<uint32_t> ramp = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
    App().DrawBitmap(ramp.data(), 2, 2, false, -1, -1, 2, 2);
    EXPECT_EQ(Pixel(0, 0), 0xFF000004u);
    App().DrawBitmap(nullptr, 2, 2, false, 0, 0, 2, 2);
}

// --- frames ---

class Painter : public RecordingControl
{
  public:
    Painter(CallLog& log, int px, int py, uint32_t c) : RecordingControl("p", log, px, py, 20, 20), colour(c) {}
    bool Draw(Application& app) override
    {
        if (!RecordingControl::Draw(app))
            return false;
        std::vector<uint32_t> pixels(400, colour);
        app.DrawBitmap(pixels.data(), 20, 20, false, x, y, 20, 20);
        return true;
    }
    uint32_t colour;
};

TEST_F(BackBufferTest, RenderClearsDrawsAndPresentsOnlyWhenSomethingIsDirty)
{
    CallLog log;
    RecordingScreen screen("S", log);
    Painter painter(log, 10, 10, 0xFF0000FFu);
    screen.onEnter = [&]
    {
        App().SetBackgroundColour(0x12, 0x34, 0x56);
        ScreenManager::Get().AddControl(&painter);
    };
    ASSERT_TRUE(OpenWindow(320, 240));
    ScreenManager::Get().SetScreen(&screen, true);

    App().Render();
    ASSERT_EQ(Platform().Frames().size(), 1u);
    const HeadlessPlatform::Frame& frame = Platform().Frames()[0];
    EXPECT_EQ(std::make_tuple(frame.At(0, 0), frame.At(319, 239), frame.At(10, 10), painter.loads),
              std::make_tuple(0x123456u, 0x123456u, 0xFF0000FFu, 1));

    // Nothing changed: no drawing, no presentation.
    App().Render();
    App().Render();
    EXPECT_EQ(std::make_tuple(Platform().Frames().size(), painter.paints), std::make_tuple(1u, 1));

    // Moving the control repaints its old place with the background.
    painter.SetPosition(200, 10);
    App().Render();
    ASSERT_EQ(Platform().Frames().size(), 2u);
    EXPECT_EQ(std::make_tuple(Platform().Frames()[1].At(10, 10), Platform().Frames()[1].At(200, 10)),
              std::make_tuple(0x123456u, 0xFF0000FFu));

    // A paint message repaints only after a screen exists; it dirties the rectangle.
    App().HandleEvent({PlatformEvent::Type::Paint, 0, PlatformEvent::Button::Left, 0, 0, 5, 5});
    EXPECT_TRUE(App().IsDirty(0, 0, 5, 5));
}

TEST_F(BackBufferTest, PresentCoversExactlyTheDirtyTilesAtMostOncePerRefresh)
{
    using Rects = std::vector<PresentRect>;
    OpenClean(800, 600); // 5 x 4 tiles, the bottom row clipped to 120 rows
    // Column, row pairs of the tiles dirtied, and the rectangles presented.
    const std::pair<std::vector<int>, Rects> cases[] = {
        {{0, 0, 1, 0, 1, 1, 4, 3}, {{0, 0, 320, 160}, {160, 160, 160, 160}, {640, 480, 160, 120}}},
        {{2, 0, 2, 1, 2, 2, 2, 3}, {{320, 0, 160, 600}}},
        {{0, 1, 1, 1, 0, 2, 1, 2, 3, 2}, {{0, 160, 320, 320}, {480, 320, 160, 160}}},
    };
    for (const auto& [tiles, presented] : cases)
    {
        for (size_t i = 0; i < tiles.size(); i += 2)
            App().Invalidate(tiles[i] * 160 + 1, tiles[i + 1] * 160 + 1, 1, 1);
        App().Render();
        EXPECT_EQ(Platform().LastRects(), presented);
    }

    // A 60 Hz display: a change 5 ms after a present waits for the refresh.
    Platform().SetRefreshRate(60);
    const int presents = Platform().PresentCount();
    App().Invalidate(0, 0, 1, 1);
    Platform().AdvanceTicks(5);
    App().Render();
    EXPECT_EQ(std::make_tuple(Platform().PresentCount(), App().IsDirty(0, 0, 1, 1)), std::make_tuple(presents, true));
    Platform().AdvanceTicks(12);
    App().Render();
    EXPECT_EQ(Platform().PresentCount(), presents + 1);
}

TEST_F(BackBufferTest, SetBackgroundColourFillsTheBufferAndDirtiesEverything)
{
    OpenClean(640, 480);
    App().SetBackgroundColour(300, -5, 0x80); // out-of-range channels are limited
    EXPECT_EQ(std::make_tuple(App().BackgroundColour(), Pixel(639, 479), DirtyIndexes().size()),
              std::make_tuple(0xFF0080u, 0xFF0080u, App().Tiles().size()));
}

} // namespace
