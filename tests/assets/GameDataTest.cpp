// The built game folder against the inventory of what the game needs: every
// file present through the engine's own file system (inside Quorvo.VKR),
// every movie playable and drawn inside its frame with its bodies opaque,
// every sound decodable in the format the mixer takes, music loops seamless.
#include "tools/MovieRender.h"

#include "engine/FileSystem.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/OggWriter.h"
#include "fixtures/TestPaths.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

struct Entry
{
    std::string kind; // graphic, effect, music, font
    std::string path;
    int width = 0, height = 0;
    std::vector<std::pair<double, double>> opaque; // fractions of the frame
};

std::vector<Entry> Inventory()
{
    std::vector<Entry> out;
    std::ifstream in(SourcePath("assets/inventory.txt"));
    std::string line;
    while (std::getline(in, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        Entry e;
        words >> e.kind >> e.path;
        if (e.kind == "graphic")
        {
            words >> e.width >> e.height;
            std::string point;
            while (words >> point)
            {
                const size_t comma = point.find(',');
                e.opaque.emplace_back(std::strtod(point.substr(0, comma).c_str(), nullptr),
                                      std::strtod(point.substr(comma + 1).c_str(), nullptr));
            }
        }
        out.push_back(e);
    }
    return out;
}

// The game folder's archive mounted in a fresh program folder, as the game
// would see it from its own folder.
class GameDataTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        const fs::path archive = fs::path(QUORVO_GAME_DIR) / "Quorvo.VKR";
        ASSERT_TRUE(fs::exists(archive)) << "build the game_data target first";
        fs::create_symlink(archive, PathOf("Quorvo.VKR"));
        ASSERT_TRUE(FileSystem::Get().Init("."));
    }

    std::vector<uint8_t> Read(const std::string& path)
    {
        auto bytes = FileSystem::Get().ReadWholeFile(path);
        return bytes ? std::vector<uint8_t>(bytes->begin(), bytes->end()) : std::vector<uint8_t>{};
    }
};

} // namespace

// Lists every missing path at once. Fails until every picture of the
// inventory has its source under assets/graphics.
TEST_F(GameDataTest, EveryInventoryPathIsInTheGameFolder)
{
    std::vector<std::string> missing;
    for (const Entry& e : Inventory())
        if (!FileSystem::Get().Exists(e.path))
            missing.push_back(e.path);
    std::string list;
    for (const std::string& m : missing)
        list += "\n  " + m;
    EXPECT_TRUE(missing.empty()) << missing.size() << " missing:" << list;

    // Nothing but levels in a set folder, and the licence beside the game.
    for (const std::string& set : FileSystem::Get().ListDirectories("Data/Levels"))
    {
        std::vector<std::string> files;
        FileSystem::Get().ListFiles("Data/Levels/" + set, files);
        for (const std::string& f : files)
            EXPECT_EQ(fs::path(f).extension(), ".qvl") << set << "/" << f;
    }
    EXPECT_TRUE(fs::exists(fs::path(QUORVO_GAME_DIR) / "Licences" / "Overload-OFL.txt"));
}

TEST_F(GameDataTest, EveryMovieRendersInsideItsFrameWithItsBodiesOpaque)
{
    int checked = 0;
    for (const Entry& e : Inventory())
    {
        if (e.kind != "graphic" || !FileSystem::Get().Exists(e.path))
            continue;
        SCOPED_TRACE(e.path);
        const std::vector<uint8_t> bytes = Read(e.path);
        ASSERT_FALSE(bytes.empty());
        auto movie = ReadMovie(bytes);
        ASSERT_TRUE(movie->isValid());
        ASSERT_GE(movie->frameCount(), 1);
        EXPECT_GE(movie->frameRate(), 1.0f);
        EXPECT_EQ(movie->frameRate(), std::floor(movie->frameRate()));
        // The frame rectangle has the aspect the game shows it at.
        const swf::Rect& r = movie->frameRect();
        EXPECT_NEAR((r.xmax - r.xmin) / (r.ymax - r.ymin), double(e.width) / e.height, 0.02 * e.width / e.height);

        // Drawn into a canvas twice the size with the frame in the middle,
        // nothing may land outside the frame.
        const int w = e.width, h = e.height;
        for (int frame = 0; frame < movie->frameCount(); ++frame)
        {
            swf::Ref<swf::MovieInstance> instance = movie->createInstance();
            if (frame == 0)
            {
                instance->restart();
                instance->advance(0.0001f);
            }
            else
            {
                instance->gotoFrame(frame);
            }
            const int cw = 2 * w, ch = 2 * h;
            std::vector<uint32_t> px(size_t(cw) * size_t(ch), 0u);
            cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(px.data()),
                                                                           CAIRO_FORMAT_ARGB32, cw, ch, cw * 4);
            cairo_t* cr = cairo_create(surface);
            instance->setViewport(w / 2, h / 2, w, h);
            instance->display(cr);
            cairo_destroy(cr);
            cairo_surface_destroy(surface);
            int outside = 0;
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x)
                {
                    const bool in = x >= w / 2 - 1 && x <= w / 2 + w && y >= h / 2 - 1 && y <= h / 2 + h;
                    if (!in && (px[size_t(y) * size_t(cw) + size_t(x)] >> 24) != 0)
                        ++outside;
                }
            EXPECT_EQ(outside, 0) << "frame " << frame << " draws outside its frame";

            // Bodies stay solid at the 1024x768 size and at the smallest, 640x480.
            for (double scale : {1.0, 0.625})
            {
                const int sw = std::max(1, int(w * scale)), sh = std::max(1, int(h * scale));
                const std::vector<uint32_t> shown = RenderFrame(*movie, frame, sw, sh);
                for (auto [fx, fy] : e.opaque)
                {
                    const int x = std::min(sw - 1, int(fx * sw)), y = std::min(sh - 1, int(fy * sh));
                    EXPECT_EQ(AlphaAt(shown, sw, x, y), 255)
                        << "frame " << frame << " at " << sw << "x" << sh << " not opaque at " << fx << "," << fy;
                }
            }
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(GameDataTest, SoundsDecodeInTheMixersFormatAndMusicLoopsSeamlessly)
{
    int checked = 0;
    for (const Entry& e : Inventory())
    {
        if ((e.kind != "effect" && e.kind != "music") || !FileSystem::Get().Exists(e.path))
            continue;
        SCOPED_TRACE(e.path);
        DecodedSound d;
        ASSERT_TRUE(DecodeOggVorbisFloat(Read(e.path), d));
        EXPECT_EQ(d.rate, 22050);
        ASSERT_FALSE(d.samples.empty());
        float peak = 0;
        for (float v : d.samples)
            peak = std::max(peak, std::fabs(v));
        const double seconds = double(d.samples.size()) / d.channels / 22050;
        if (e.kind == "music")
        {
            // The mixer refuses music that is not stereo.
            EXPECT_EQ(d.channels, 2);
            EXPECT_GE(seconds, 20.0);
            EXPECT_LE(seconds, 90.0);
            EXPECT_LE(peak, 0.35f);
            // The step from the last frame to the first is no larger than the
            // largest step inside the track.
            const size_t frames = d.samples.size() / 2;
            float inside = 0, seam = 0;
            for (int c = 0; c < 2; ++c)
            {
                for (size_t i = 1; i < frames; ++i)
                    inside = std::max(inside, std::fabs(d.samples[i * 2 + c] - d.samples[(i - 1) * 2 + c]));
                seam = std::max(seam, std::fabs(d.samples[size_t(c)] - d.samples[(frames - 1) * 2 + c]));
            }
            EXPECT_LE(seam, inside);
        }
        else
        {
            EXPECT_TRUE(d.channels == 1 || d.channels == 2);
            EXPECT_LE(seconds, 4.0);
            // Room for four effects over the music without clipping.
            EXPECT_LE(peak, 0.5f);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 10);
}

// The face must hold every printable character and be narrow enough for the
// fixed layout: texts measured at the sizes the screens use at 1024x768.
TEST_F(GameDataTest, TheFontHasEveryCharacterAndFitsTheLayout)
{
    const std::vector<uint8_t> font = Read("Data/Fonts/Overload");
    ASSERT_GT(font.size(), 1000u);
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Memory_Face(library, font.data(), FT_Long(font.size()), 0, &face), 0);
    for (int c = 0x21; c <= 0x7E; ++c)
        EXPECT_NE(FT_Get_Char_Index(face, FT_ULong(c)), 0u) << "no glyph for '" << char(c) << "'";

    auto width = [&](const std::string& text, double pixelsPerEm)
    {
        double units = 0;
        for (char c : text)
        {
            if (FT_Load_Glyph(face, FT_Get_Char_Index(face, FT_ULong(static_cast<unsigned char>(c))),
                              FT_LOAD_NO_SCALE) == 0)
                units += face->glyph->advance.x;
        }
        return units * pixelsPerEm / face->units_per_EM;
    };
    const double w = 1024;
    EXPECT_LE(width("Display Size:  2048 x 1536", 0.06 * w), 700);
    EXPECT_LE(width("Time Attack (Medium)", 0.06 * w), 598);
    EXPECT_LE(0.05 * w + width("SoundFx Volume", 0.06 * w), 537);
    EXPECT_LE(0.129 * w + width("Music Volume", 0.06 * w), 537);
    EXPECT_LE(width("Very Good!", 0.024 * w), 129);
    EXPECT_LE(width("wwwwwwwwwwww", 0.125 * w), 1040); // a full-length name just fits the screen
    EXPECT_LE(0.591 * w + width("High Score: 123456", 0.035 * w), 992);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
