#include <algorithm>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"
#include "media/Bitmap.h"
#include "media/TextLabel.h"

namespace
{

const char* const Font = "Data/Fonts/Overload";

class TextLabelTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        if (!InstallGameFont())
            GTEST_SKIP() << "no copy of the game font";
        ASSERT_TRUE(FileSystem::Get().Init("."));
        ASSERT_TRUE(OpenWindow(640, 480));
    }

    static void Configure(TextLabel& label, const std::string& text, int size = 24)
    {
        label.SetFont(Font, size);
        label.SetText(text);
    }

    // Renders the whole window and returns the brightest red and green
    // channels found inside the label's rectangle.
    std::pair<int, int> Shown(TextLabel& label)
    {
        App().Invalidate(0, 0, App().Width(), App().Height());
        App().Render();
        int red = 0, green = 0;
        for (int y = label.GetY(); y < label.GetY() + label.GetHeight(); ++y)
            for (int x = label.GetX(); x < label.GetX() + label.GetWidth(); ++x)
            {
                const uint32_t p = App().BackBuffer()[y * App().Width() + x];
                red = std::max(red, static_cast<int>((p >> 16) & 0xFF));
                green = std::max(green, static_cast<int>((p >> 8) & 0xFF));
            }
        return {red, green};
    }
};

TEST_F(TextLabelTest, SizeFollowsTheTextAtOnceAndRepaintsTheWholeNewRectangle)
{
    TextLabel label;
    Configure(label, "a");
    label.SetPosition(10, 10);
    const int one = label.GetWidth();
    App().Render(); // everything clean
    label.SetText("a much longer line of text");
    const int wide = label.GetWidth(); // rendered on demand, before any draw
    ASSERT_GT(wide, one + 170);
    EXPECT_TRUE(App().IsDirty(10 + wide - 2, 12, 1, 1));
    label.SetSize(5, 5);
    EXPECT_EQ(label.GetWidth(), wide);

    // Empty text: no picture, and the label keeps its last size.
    const std::pair<int, int> size{label.GetWidth(), label.GetHeight()};
    label.SetText("");
    EXPECT_EQ(std::make_pair(label.GetWidth(), label.GetHeight()), size);
    EXPECT_EQ(label.GetBitmap(), nullptr);
}

TEST_F(TextLabelTest, InkStartsAtTheFirstColumnAndSitsOnTheSharedBaseline)
{
    TextLabel label;
    Configure(label, "H", 40);
    ASSERT_GT(label.GetWidth(), 0);
    const Bitmap* bitmap = label.GetBitmap();
    // "H" has no descender: the rows reserved below its baseline stay empty.
    int firstColumnInk = 0, bottomRowInk = 0;
    for (int y = 0; y < bitmap->Height(); ++y)
        firstColumnInk += bitmap->AlphaAt(0, y);
    for (int x = 0; x < bitmap->Width(); ++x)
        bottomRowInk += bitmap->AlphaAt(x, bitmap->Height() - 1);
    EXPECT_TRUE(firstColumnInk > 0 && bottomRowInk == 0) << firstColumnInk << " " << bottomRowInk;
}

TEST_F(TextLabelTest, TranslucentTextIsPremultiplied)
{
    TextLabel label;
    label.SetColour(Colour(255, 40, 0, 128));
    Configure(label, "Wall", 32);
    ASSERT_GT(label.GetWidth(), 0);
    const Bitmap* bitmap = label.GetBitmap();
    EXPECT_TRUE(bitmap->HasAlpha());
    int maxAlpha = 0;
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
        {
            const uint32_t p = bitmap->PixelAt(x, y);
            const int a = static_cast<int>(p >> 24), r = static_cast<int>((p >> 16) & 0xFF);
            ASSERT_LE(r, a);
            ASSERT_LE(static_cast<int>((p >> 8) & 0xFF), r);
            ASSERT_EQ(p & 0xFF, 0u);
            maxAlpha = std::max(maxAlpha, a);
        }
    EXPECT_NEAR(maxAlpha, 127, 1);
}

TEST_F(TextLabelTest, AShownLabelReachesTheScreenInItsCurrentColour)
{
    TextLabel label;
    Configure(label, "Hello", 32);
    label.SetPosition(20, 30);
    label.SetColour(Colour(255, 255, 255));
    ScreenManager::Get().AddControl(&label);
    EXPECT_EQ(Shown(label), std::make_pair(255, 255));
    label.SetColour(Colour(255, 0, 0));
    EXPECT_EQ(Shown(label), std::make_pair(255, 0));
    label.Hide();
    EXPECT_EQ(Shown(label), std::make_pair(0, 0));
    ScreenManager::Get().RemoveControl(&label);
}

TEST_F(TextLabelTest, TextThatIsNotUtf8StillShowsWithReplacementMarks)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"\xC2\xA9 \xC2\xA3 \xC2\xB0", "\xC2\xA9 \xC2\xA3 \xC2\xB0"}, // the lowest lead byte
        {"Caf\xC3\xA9", "Caf\xC3\xA9"},
        {"Caf\xE9", "Caf?"},     // Latin-1 byte
        {"\xC0\xAF", "??"},      // overlong form
        {"\xED\xA0\x80", "???"}, // surrogate
        {"a\xE2\x82", "a??"},    // cut short at the end
        {"\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextLabel::ValidUtf8(c.first), c.second) << c.first;

    TextLabel latin, marked;
    Configure(latin, "Set \xE9t\xE9");
    Configure(marked, "Set ?t?");
    EXPECT_GT(latin.GetWidth(), 0);
    EXPECT_EQ(std::make_pair(latin.GetWidth(), latin.GetText()),
              std::make_pair(marked.GetWidth(), std::string("Set \xE9t\xE9")));
}

TEST_F(TextLabelTest, MissingFontShowsNothingWithoutAMessage)
{
    TextLabel label;
    label.SetFont("Data/Fonts/Nowhere", 24);
    label.SetText("Hello");
    EXPECT_EQ(label.GetWidth(), 0);
    TextLabel unset; // no font at all: measures nothing
    EXPECT_EQ(unset.MeasureText("abc"), 0);
    EXPECT_TRUE(label.GetBitmap() == nullptr && Platform().Messages().empty());
}

} // namespace

// Over any picture the text stands on its halo: every dark pixel of the ink
// has opaque neighbours, and the halo is the light colour asked for.
TEST_F(TextLabelTest, AHaloSurroundsTheInkWithItsOwnOpaqueColour)
{
    TextLabel plain, haloed;
    for (TextLabel* label : {&plain, &haloed})
    {
        label->SetColour(Colour(21, 21, 21, 255));
        Configure(*label, "x12", 32);
    }
    haloed.SetHalo(Colour(255, 248, 226, 255), 3);
    EXPECT_EQ(std::make_pair(haloed.GetWidth(), haloed.GetHeight()),
              std::make_pair(plain.GetWidth() + 6, plain.GetHeight() + 6));
    const Bitmap* bitmap = haloed.GetBitmap();
    ASSERT_NE(bitmap, nullptr);
    int ink = 0;
    for (int y = 1; y + 1 < bitmap->Height(); ++y)
        for (int x = 1; x + 1 < bitmap->Width(); ++x)
        {
            const uint32_t p = bitmap->PixelAt(x, y);
            if (p >> 24 != 255 || (p & 0xFF) > 0x40)
                continue;
            ++ink;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                EXPECT_EQ(bitmap->PixelAt(x + dx, y + dy) >> 24, 255u) << x << "," << y;
        }
    EXPECT_GT(ink, 20);
}
