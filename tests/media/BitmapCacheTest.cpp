#include <algorithm>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "media/Bitmap.h"
#include "media/BitmapCache.h"

namespace
{

class BitmapCacheTest : public ::testing::Test
{
  protected:
    void TearDown() override { BitmapCache::Destroy(); }

    static Bitmap* Make(uint32_t pixel)
    {
        auto* bitmap = new Bitmap();
        const uint32_t pixels[4] = {pixel, pixel, pixel, pixel};
        bitmap->SetPixels(2, 2, pixels);
        return bitmap;
    }
};

TEST_F(BitmapCacheTest, KeysIgnoreLetterCaseAndTheLastReleaseRemovesTheEntry)
{
    BitmapCache& cache = BitmapCache::Get();
    Bitmap* a = Make(0xFF000000);
    Bitmap* b = Make(0xFFFFFFFF);
    cache.Add("Data/Graphics/MenuButton.swf-160-48-0", a);
    cache.Add("b", b);
    EXPECT_EQ(std::make_pair(cache.Find("DATA/GRAPHICS/menubutton.swf-160-48-0"), a->refCount), std::make_pair(a, 2));
    EXPECT_EQ(cache.Find("data/graphics/menubutton.swf-160-48-1"), nullptr);
    cache.Release(a);
    EXPECT_EQ(cache.Find("data/graphics/menubutton.swf-160-48-0"), a); // still there for the second holder
    cache.Release(a);
    cache.Release(a);
    EXPECT_EQ(std::make_tuple(cache.Size(), cache.Find("data/graphics/menubutton.swf-160-48-0"), cache.Find("b")),
              std::make_tuple(1u, static_cast<Bitmap*>(nullptr), b));
    cache.Release(b);
    cache.Release(b);
    cache.Release(nullptr);
    EXPECT_EQ(cache.Size(), 0u);
}

TEST_F(BitmapCacheTest, ReplacedEntryLivesUntilItsHoldersLetGo)
{
    BitmapCache& cache = BitmapCache::Get();
    Bitmap* old = Make(0xFF0000FF);
    Bitmap* fresh = Make(0xFF00FF00);
    cache.Add("key", old);
    cache.Add("KEY", fresh);
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(old->PixelAt(1, 1), 0xFF0000FFu); // still valid for its holder
    cache.Release(old);                         // deleted although not in the map
    EXPECT_EQ(cache.Find("key"), fresh);
    cache.Release(fresh);
    cache.Release(fresh);
    EXPECT_EQ(cache.Size(), 0u);
}

TEST_F(BitmapCacheTest, SetPixelsCopiesAndNotesTranslucency)
{
    Bitmap bitmap;
    uint32_t opaque[6] = {0xFF000000, 0xFF102030, 0xFFFFFFFF, 0xFF000001, 0xFF808080, 0xFF7F7F7F};
    bitmap.SetPixels(3, 2, opaque);
    opaque[0] = 0; // the bitmap has its own copy
    EXPECT_FALSE(bitmap.HasAlpha());
    EXPECT_EQ(std::make_pair(bitmap.PixelAt(0, 0), bitmap.PixelAt(2, 1)), std::make_pair(0xFF000000u, 0xFF7F7F7Fu));
    EXPECT_EQ(std::make_pair(bitmap.PixelAt(3, 0), bitmap.PixelAt(-1, 0)), std::make_pair(0u, 0u)); // outside: clear

    const uint32_t translucent[2] = {0xFFFFFFFF, 0x80404040};
    bitmap.SetPixels(2, 1, translucent);
    EXPECT_EQ(std::make_tuple(bitmap.HasAlpha(), bitmap.Width(), bitmap.AlphaAt(1, 0)), std::make_tuple(true, 2, 0x80));
}

TEST_F(BitmapCacheTest, LargePicturesGetTheirOwnTransparentPages)
{
    Bitmap bitmap;
    std::vector<uint32_t> opaque(1024 * 512, 0xFF123456u); // 2 MiB
    bitmap.SetPixels(1024, 512, opaque.data());
    EXPECT_FALSE(bitmap.HasAlpha());
    EXPECT_EQ(bitmap.PixelAt(1023, 511), 0xFF123456u);
    const uint32_t* fresh = bitmap.AllocatePixels(512, 1024); // the old pages go back
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(std::all_of(fresh, fresh + opaque.size(), [](uint32_t p) { return p == 0; }));
}

} // namespace
