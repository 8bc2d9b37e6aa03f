#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "fixtures/HeadlessApp.h"
#include "media/Bitmap.h"
#include "media/TextLabel.h"

namespace {

const char* const Font = "Data/Fonts/Overload";

// The game's face: the copy the build puts in the game folder, else the
// system's copy of the same font.
std::string FontFile()
{
    for (const std::string& candidate :
         {std::string(QUORVO_GAME_DIR) + "/Data/Fonts/Overload", std::string("/usr/share/fonts/opentype/dosis/Dosis-Medium.otf")}) {
        if (std::filesystem::exists(candidate)) {
            return candidate;
        }
    }
    return {};
}

class TextLabelTest : public HeadlessApp {
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        const std::string source = FontFile();
        if (source.empty()) {
            GTEST_SKIP() << "no copy of the game font";
        }
        std::ifstream in(source, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        WriteFile(Font, bytes.str());
        ASSERT_TRUE(FileSystem::Get().Init("."));
        ASSERT_TRUE(OpenWindow(640, 480));
    }

    static void Configure(TextLabel& label, const std::string& text, int size = 24)
    {
        label.SetFont(Font, size);
        label.SetText(text);
    }
};

TEST_F(TextLabelTest, EveryTextOfOneFontAndSizeHasTheSameHeight)
{
    TextLabel small;
    TextLabel tall;
    TextLabel other;
    Configure(small, "ace");
    Configure(tall, "JQy|{g}");
    Configure(other, "ace", 40);
    EXPECT_GT(small.GetHeight(), 20);
    EXPECT_EQ(small.GetHeight(), tall.GetHeight());
    EXPECT_NE(small.GetWidth(), tall.GetWidth());
    EXPECT_GT(other.GetHeight(), small.GetHeight());
    // The bitmap has exactly the label's size.
    ASSERT_NE(tall.GetBitmap(), nullptr);
    EXPECT_EQ(tall.GetBitmap()->Width(), tall.GetWidth());
    EXPECT_EQ(tall.GetBitmap()->Height(), tall.GetHeight());
}

TEST_F(TextLabelTest, SizeFollowsTheTextAtOnceAndIgnoresSetSize)
{
    TextLabel label;
    Configure(label, "a");
    const int one = label.GetWidth();
    label.SetText("aaaa");
    const int four = label.GetWidth();  // rendered on demand
    EXPECT_GT(four, 3 * one);
    label.SetSize(5, 5);
    EXPECT_EQ(label.GetWidth(), four);

    // Empty text: no picture, and the label keeps its last size.
    const int height = label.GetHeight();
    label.SetText("");
    EXPECT_EQ(label.GetWidth(), four);
    EXPECT_EQ(label.GetHeight(), height);
    EXPECT_EQ(label.GetBitmap(), nullptr);
}

TEST_F(TextLabelTest, LongerTextAskedForItsWidthRepaintsItsWholeNewRectangle)
{
    TextLabel label;
    Configure(label, "a");
    label.SetPosition(10, 10);
    const int narrow = label.GetWidth();
    App().Render();  // everything clean
    label.SetText("a much longer line of text");
    const int wide = label.GetWidth();  // renders before any draw
    ASSERT_GT(wide, narrow + 170);
    EXPECT_TRUE(App().IsDirty(10 + wide - 2, 12, 1, 1));
}

TEST_F(TextLabelTest, MeasureTextMatchesTheRenderedWidth)
{
    TextLabel label;
    Configure(label, "Score: 12345");
    TextLabel probe;
    Configure(probe, "wwwwwwwwwwww");
    EXPECT_EQ(label.MeasureText("wwwwwwwwwwww"), probe.GetWidth());
    EXPECT_EQ(label.MeasureText(""), label.GetWidth());

    TextLabel unset;  // no font: its own width
    EXPECT_EQ(unset.MeasureText("abc"), 0);
}

TEST_F(TextLabelTest, InkStartsAtTheFirstColumnAndSitsOnTheSharedBaseline)
{
    TextLabel label;
    Configure(label, "H", 40);
    ASSERT_GT(label.GetWidth(), 0);
    const Bitmap* bitmap = label.GetBitmap();
    ASSERT_NE(bitmap, nullptr);
    int firstColumnInk = 0;
    for (int y = 0; y < bitmap->Height(); ++y) {
        firstColumnInk += bitmap->AlphaAt(0, y);
    }
    EXPECT_GT(firstColumnInk, 0);
    // "H" has no descender: the rows below its baseline are empty, while the
    // label still reserves them for letters that have one.
    int bottomRowInk = 0;
    for (int x = 0; x < bitmap->Width(); ++x) {
        bottomRowInk += bitmap->AlphaAt(x, bitmap->Height() - 1);
    }
    EXPECT_EQ(bottomRowInk, 0);
}

TEST_F(TextLabelTest, TranslucentTextIsPremultiplied)
{
    TextLabel label;
    label.SetColour(Colour(255, 40, 0, 128));
    Configure(label, "Wall", 32);
    ASSERT_GT(label.GetWidth(), 0);
    const Bitmap* bitmap = label.GetBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(bitmap->HasAlpha());
    int maxAlpha = 0;
    for (int y = 0; y < bitmap->Height(); ++y) {
        for (int x = 0; x < bitmap->Width(); ++x) {
            const uint32_t p = bitmap->PixelAt(x, y);
            const int a = static_cast<int>(p >> 24);
            const int r = static_cast<int>((p >> 16) & 0xFF);
            const int g = static_cast<int>((p >> 8) & 0xFF);
            const int b = static_cast<int>(p & 0xFF);
            ASSERT_LE(r, a);
            ASSERT_LE(g, r);
            ASSERT_EQ(b, 0);
            maxAlpha = std::max(maxAlpha, a);
        }
    }
    EXPECT_GE(maxAlpha, 126);
    EXPECT_LE(maxAlpha, 128);
}

TEST_F(TextLabelTest, TextThatIsNotUtf8StillShowsWithReplacementMarks)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"Caf\xC3\xA9", "Caf\xC3\xA9"},       // valid two-byte sequence kept
        {"Caf\xE9", "Caf?"},                  // Latin-1 byte
        {"\xC0\xAF", "??"},                   // overlong form
        {"\xED\xA0\x80", "???"},              // surrogate
        {"a\xE2\x82", "a??"},                 // cut short at the end
        {"\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextLabel::ValidUtf8(c.in), c.out) << c.in;
    }

    TextLabel latin;
    Configure(latin, "Set \xE9t\xE9");
    TextLabel marked;
    Configure(marked, "Set ?t?");
    EXPECT_GT(latin.GetWidth(), 0);
    EXPECT_EQ(latin.GetWidth(), marked.GetWidth());
    EXPECT_EQ(latin.GetText(), "Set \xE9t\xE9");  // the text itself is kept
}

TEST_F(TextLabelTest, MissingFontShowsNothingWithoutAMessage)
{
    TextLabel label;
    label.SetFont("Data/Fonts/Nowhere", 24);
    label.SetText("Hello");
    EXPECT_EQ(label.GetWidth(), 0);
    EXPECT_EQ(label.GetBitmap(), nullptr);
    EXPECT_TRUE(Platform().Messages().empty());
    RunFrames(1);
}

} // namespace
