#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/TestMovies.h"
#include "media/Bitmap.h"
#include "media/BitmapCache.h"
#include "media/ColourRect.h"
#include "media/MovieLibrary.h"
#include "media/PictureAhead.h"
#include "media/Sprite.h"

namespace
{

const swftest::Colour Red{255, 0, 0, 255};
const swftest::Colour Green{0, 255, 0, 255};
const swftest::Colour Blue{0, 0, 255, 255};

class SpriteTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
        files.add("Data/Graphics/Five.swf",
                  MakeTestMovie({{{10, 0, 0, 255}, {20, 0, 0, 255}, {30, 0, 0, 255}, {40, 0, 0, 255}, {50, 0, 0, 255}},
                                 5,
                                 12.0,
                                 0,
                                 false,
                                 0}));
        files.add("Data/Graphics/Still.swf", SolidTestMovie(Green));
        // Three frames at 0 and at half a frame per second (the header's 8.8 rate).
        files.add("Data/Graphics/ZeroRate.swf", MakeTestMovie({{Red, Green, Blue}, 3, 12.0, 0, true, 0}));
        files.add("Data/Graphics/HalfRate.swf", MakeTestMovie({{Red, Green, Blue}, 3, 12.0, 0, true, 0x0080}));
    }

    // A sprite with its frames rendered (the first draw does that).
    void Prepare(Sprite& sprite, const std::string& path, int w = 100, int h = 50, int x = 0, int y = 0)
    {
        sprite.SetMovie(path);
        sprite.SetSize(w, h);
        sprite.SetPosition(x, y);
        App().Invalidate(0, 0, 640, 480);
        sprite.Draw(App());
    }

    // Frames shown by successive updates, the clock moving by step each time.
    std::vector<int> Play(Sprite& sprite, int updates, double step)
    {
        std::vector<int> shown;
        for (int i = 0; i < updates; ++i)
        {
            App().time += step;
            sprite.Update();
            shown.push_back(sprite.GetCurrentFrame());
        }
        return shown;
    }

    // Steps through every frame, drawing each (frames render when shown).
    void ShowEveryFrame(Sprite& sprite)
    {
        for (int i = 0; i < sprite.GetFrameCount(); ++i)
        {
            App().Invalidate(0, 0, 640, 480);
            sprite.Draw(App());
            Play(sprite, 1, 0.1);
        }
    }

    bool AnyTileDirty() const
    {
        const auto& tiles = Application::Get().Tiles();
        return std::any_of(tiles.begin(), tiles.end(), [](const DirtyTile& t) { return t.dirty; });
    }

    swftest::MemoryFiles files;
};

TEST_F(SpriteTest, SameMovieAndSizeShareBitmapsUntilTheLastHolderGoes)
{
    auto first = std::make_unique<Sprite>();
    Sprite second;
    Prepare(*first, "Data/Graphics/Five.swf");
    Prepare(second, "Data/Graphics/Five.swf");
    ShowEveryFrame(*first);
    ShowEveryFrame(second);
    ASSERT_EQ(first->Animation().Frames().size(), 5u);
    EXPECT_EQ(first->Animation().Frames(), second.Animation().Frames());
    for (const Bitmap* frame : second.Animation().Frames())
        EXPECT_EQ(frame->refCount, 2);
    EXPECT_EQ(BitmapCache::Get().Size(), 5u);

    first.reset(); // releases its references
    for (const Bitmap* frame : second.Animation().Frames())
    {
        EXPECT_EQ(frame->refCount, 1);
        EXPECT_EQ(frame->PixelAt(50, 25) >> 24, 0xFFu); // still intact
    }
    second.Release();
    EXPECT_EQ(BitmapCache::Get().Size(), 0u);
    EXPECT_TRUE(second.Animation().Empty());
}

TEST_F(SpriteTest, SetMovieWithTheSamePathKeepsTheFramesAndOtherCaseReusesTheCache)
{
    Sprite sprite;
    Prepare(sprite, "Data/Graphics/Still.swf");
    const Bitmap* before = sprite.Animation().Current();
    sprite.SetMovie("Data/Graphics/Still.swf");
    App().Invalidate(0, 0, 640, 480);
    sprite.Draw(App());
    EXPECT_EQ(std::make_tuple(sprite.Animation().Current(), before->refCount), std::make_tuple(before, 1));

    files.add("data/graphics/still.swf", SolidTestMovie(Green));
    const int loads = MovieLibrary::Get().DefinitionLoads();
    sprite.SetMovie("data/graphics/still.swf");
    sprite.Draw(App()); // count and rate known, frame cached
    EXPECT_EQ(std::make_tuple(sprite.Animation().Current(), MovieLibrary::Get().DefinitionLoads()),
              std::make_tuple(before, loads));
}

TEST_F(SpriteTest, FramesRenderWhenFirstShownAndHiddenSpritesRenderNothing)
{
    Sprite sprite;
    sprite.Hide();
    Prepare(sprite, "Data/Graphics/Five.swf");
    EXPECT_EQ(BitmapCache::Get().Size(), 0u);
    sprite.Show();
    sprite.Draw(App());
    EXPECT_EQ(BitmapCache::Get().Size(), 1u); // frame 0 only
    Play(sprite, 3, 0.1);
    sprite.Draw(App());
    const auto& frames = sprite.Animation().Frames();
    ASSERT_NE(frames[3], nullptr);
    EXPECT_EQ(std::make_pair(BitmapCache::Get().Size(), frames[1]),
              (std::make_pair<size_t, Bitmap*>(2, nullptr)));            // 1 and 2 never shown
    EXPECT_EQ(App().BackBuffer()[25 * 640 + 50] & 0xFFFFFFu, 0x280000u); // frame 3's red of 40
}

TEST_F(SpriteTest, PlaysOnceAndHoldsTheLastFrameOrLoopsBackToTheLoopFrame)
{
    Sprite once;
    Prepare(once, "Data/Graphics/Five.swf");
    EXPECT_EQ(Play(once, 7, 0.1), (std::vector<int>{1, 2, 3, 4, 4, 4, 4}));

    Sprite looping;
    looping.SetLoopFrame(2);
    Prepare(looping, "Data/Graphics/Five.swf");
    EXPECT_EQ(Play(looping, 9, 0.1), (std::vector<int>{1, 2, 3, 4, 2, 3, 4, 2, 3}));

    // At most one frame per update (12 per second): a long stall advances one
    // frame, and the next period counts from it.
    Sprite stalled;
    Prepare(stalled, "Data/Graphics/Five.swf");
    EXPECT_EQ(Play(stalled, 1, 1.0 / 24), (std::vector<int>{0}));
    EXPECT_EQ(Play(stalled, 1, 2.0), (std::vector<int>{1}));
    EXPECT_EQ(Play(stalled, 2, 0.05), (std::vector<int>{1, 2}));
}

TEST_F(SpriteTest, OneFrameMovieNeverInvalidatesItself)
{
    Sprite sprite;
    Prepare(sprite, "Data/Graphics/Still.swf");
    App().Render();
    ASSERT_FALSE(AnyTileDirty());
    Play(sprite, 20, 0.5);
    EXPECT_FALSE(AnyTileDirty());

    Sprite moving;
    Prepare(moving, "Data/Graphics/Five.swf", 100, 50, 300, 300);
    App().Render();
    Play(moving, 1, 0.2);
    EXPECT_TRUE(App().IsDirty(300, 300, 100, 50));
}

TEST_F(SpriteTest, MovieSlowerThanOneFramePerSecondHoldsItsFirstFrame)
{
    for (const char* path : {"Data/Graphics/ZeroRate.swf", "Data/Graphics/HalfRate.swf"})
    {
        Sprite sprite;
        Prepare(sprite, path);
        ASSERT_EQ(sprite.GetFrameCount(), 3) << path;
        EXPECT_EQ(Play(sprite, 50, 0.1), std::vector<int>(50, 0)) << path;
        EXPECT_EQ(MovieLibrary::Get().GetFrameRate(path), 0.0f);
    }
}

TEST_F(SpriteTest, ClipShowsTheLeftPartButChangesInvalidateTheWholeRectangle)
{
    App().SetBackgroundColour(0, 0, 0);
    Sprite sprite;
    sprite.SetMovie("Data/Graphics/Still.swf");
    sprite.SetSize(200, 40);
    sprite.SetPosition(10, 10);
    sprite.SetClipSize(50, -1);
    ScreenManager::Get().AddControl(&sprite);
    App().Render();
    ASSERT_FALSE(Platform().Frames().empty());
    const auto& frame = Platform().Frames().back();
    for (const auto& [x, y, colour] : {std::tuple{10, 20, 0x00FF00u}, {59, 49, 0x00FF00u}, {60, 20, 0u}, {200, 20, 0u}})
        EXPECT_EQ(frame.At(x, y) & 0xFFFFFF, colour) << x << "," << y;

    sprite.SetClipSize(20, 20);
    EXPECT_TRUE(App().IsDirty(209, 49, 1, 1)); // the far corner of the full rectangle
    ScreenManager::Get().RemoveControl(&sprite);
}

TEST_F(SpriteTest, MissingMovieWarnsOnceAndDrawsNothing)
{
    Sprite sprite;
    Prepare(sprite, "Data/Graphics/Nowhere.swf");
    // Two identical failures at once are one message.
    ASSERT_EQ(Platform().Messages().size(), 1u);
    EXPECT_EQ(Platform().Messages()[0].text, "Warning: Unable to load SWF movie definition.");
    EXPECT_TRUE(sprite.Animation().Empty() && !sprite.Draw(App()));
    Play(sprite, 3, 1.0);
    EXPECT_EQ(sprite.GetCurrentFrame(), 0);
}

TEST_F(SpriteTest, ColourRectangleIsPremultipliedAndShared)
{
    ColourRect a, b;
    for (ColourRect* rect : {&a, &b})
    {
        rect->SetSize(30, 20);
        rect->SetColour(Colour(255, 255, 255, 128));
        rect->Draw(App());
    }
    ASSERT_NE(a.GetBitmap(), nullptr);
    EXPECT_EQ(std::make_tuple(b.GetBitmap(), a.GetBitmap()->refCount, a.GetBitmap()->PixelAt(29, 19)),
              std::make_tuple(a.GetBitmap(), 2, 0x80808080u));
    EXPECT_EQ(std::make_pair(ColourRect::PremultipliedPixel(Colour(255, 0, 0, 255)),
                             ColourRect::PremultipliedPixel(Colour(0, 0, 0, 0))),
              std::make_pair(0xFFFF0000u, 0u));

    b.SetColour(Colour(255, 255, 255, 255));
    b.Draw(App());
    EXPECT_NE(a.GetBitmap(), b.GetBitmap());
    EXPECT_EQ(std::make_pair(b.GetBitmap()->HasAlpha(), a.GetBitmap()->refCount), std::make_pair(false, 1));
}

// --- pictures rendered ahead ---

TEST_F(SpriteTest, PicturesRenderedAheadInSpareTimeAreShownAndGivenBackOnceTheNextScreenDrew)
{
    Sprite sprite;
    sprite.SetMovie("Data/Graphics/Five.swf");
    sprite.SetSize(100, 50);
    sprite.RenderAhead();
    // The first frame presents; the next would wait, and renders ahead instead.
    Platform().SetRefreshRate(60);
    ASSERT_TRUE(App().RunFrame() && App().RunFrame());
    EXPECT_FALSE(PictureAhead::Get().Pending());
    const int rendered = MovieLibrary::Get().FramesRendered();
    Prepare(sprite, "Data/Graphics/Five.swf");
    EXPECT_EQ(MovieLibrary::Get().FramesRendered(), rendered);
    EXPECT_EQ(sprite.Animation().Current()->PixelAt(50, 25), 0xFF0A0000u);

    PictureAhead::Get().Retire();
    PictureAhead::Get().ReleaseRetired();
    EXPECT_EQ(sprite.Animation().Current()->refCount, 1);
    // A request the switch overtakes is dropped unrendered; nothing stays held.
    sprite.Release();
    sprite.RenderAhead();
    PictureAhead::Get().Retire();
    EXPECT_FALSE(PictureAhead::Get().Step());
    PictureAhead::Get().ReleaseRetired();
    EXPECT_EQ(MovieLibrary::Get().FramesRendered(), rendered);
    EXPECT_EQ(BitmapCache::Get().Size(), 0u);
}

} // namespace
