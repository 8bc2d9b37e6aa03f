// The built game folder against the inventory of what the game needs: every
// file present through the engine's own file system (inside Quorvo.VKR),
// every movie playable and drawn inside its frame with its bodies opaque,
// every sound decodable in the format the mixer takes, music loops seamless
// and equally loud. Then the pictures as a player sees them: block bodies far
// apart in CIEDE2000 for normal vision and under Machado et al. (2009)
// deuteranopia and protanopia, and in grey (L*); emblems that still differ
// at the preview size; a mover whose light core or dark outline stands out
// (3:1) on every block and the empty well; HUD lines with room and contrast
// (4.5:1) inside the score window.
#include "tools/MovieRender.h"

#include "Loudness.h"

#include "engine/FileSystem.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/OggWriter.h"
#include "fixtures/TestPaths.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace
{

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<Vec3, 3>;
constexpr double Pi = 3.14159265358979323846;

double ToLinear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Linear sRGB (D65) to CIE L*a*b*.
Vec3 Lab(const Vec3& rgb)
{
    const double x = (0.4124564 * rgb[0] + 0.3575761 * rgb[1] + 0.1804375 * rgb[2]) / 0.95047;
    const double y = 0.2126729 * rgb[0] + 0.7151522 * rgb[1] + 0.0721750 * rgb[2];
    const double z = (0.0193339 * rgb[0] + 0.1191920 * rgb[1] + 0.9503041 * rgb[2]) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double Luminance(const Vec3& rgb)
{
    return 0.2126729 * rgb[0] + 0.7151522 * rgb[1] + 0.0721750 * rgb[2];
}

double Contrast(const Vec3& a, const Vec3& b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Machado, Oliveira and Fernandes 2009, severity 1.0, on linear RGB.
constexpr Mat3 Deuteranopia{
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Mat3 Protanopia{
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};

Vec3 Simulate(const Mat3& m, const Vec3& rgb)
{
    Vec3 out{};
    for (int i = 0; i < 3; ++i)
        out[size_t(i)] =
            std::clamp(m[size_t(i)][0] * rgb[0] + m[size_t(i)][1] * rgb[1] + m[size_t(i)][2] * rgb[2], 0.0, 1.0);
    return out;
}

// CIEDE2000 (Sharma, Wu and Dalal 2005), kL = kC = kH = 1.
double DeltaE00(const Vec3& p, const Vec3& q)
{
    auto deg = [](double r) { return r * 180 / Pi; };
    auto rad = [](double d) { return d * Pi / 180; };
    const double c7 = std::pow((std::hypot(p[1], p[2]) + std::hypot(q[1], q[2])) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * p[1], a2 = (1 + g) * q[1];
    const double c1 = std::hypot(a1, p[2]), c2 = std::hypot(a2, q[2]);
    auto hue = [&](double b, double a) { return a == 0 && b == 0 ? 0.0 : std::fmod(deg(std::atan2(b, a)) + 360, 360); };
    const double h1 = hue(p[2], a1), h2 = hue(q[2], a2);
    double dh = c1 * c2 == 0 ? 0 : h2 - h1;
    dh += dh > 180 ? -360 : dh < -180 ? 360 : 0;
    const double dH = 2 * std::sqrt(c1 * c2) * std::sin(rad(dh / 2));
    const double lMean = (p[0] + q[0]) / 2, cMean = (c1 + c2) / 2;
    double hMean = h1 + h2;
    if (c1 * c2 != 0)
        hMean = std::fabs(h1 - h2) <= 180 ? hMean / 2 : (hMean + (hMean < 360 ? 360 : -360)) / 2;
    const double t = 1 - 0.17 * std::cos(rad(hMean - 30)) + 0.24 * std::cos(rad(2 * hMean)) +
                     0.32 * std::cos(rad(3 * hMean + 6)) - 0.20 * std::cos(rad(4 * hMean - 63));
    const double sl = 1 + 0.015 * (lMean - 50) * (lMean - 50) / std::sqrt(20 + (lMean - 50) * (lMean - 50));
    const double sc = 1 + 0.045 * cMean, sh = 1 + 0.015 * cMean * t;
    const double cm7 = std::pow(cMean, 7);
    const double rt = -2 * std::sqrt(cm7 / (cm7 + std::pow(25.0, 7))) *
                      std::sin(rad(60 * std::exp(-std::pow((hMean - 275) / 25, 2))));
    const double l = (q[0] - p[0]) / sl, c = (c2 - c1) / sc, h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

Vec3 PixelRgb(uint32_t argb)
{
    const double a = double(argb >> 24);
    auto channel = [&](int shift) { return a == 0 ? 0.0 : ToLinear(double((argb >> shift) & 0xFF) / a); };
    return {channel(16), channel(8), channel(0)};
}

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

    std::vector<uint32_t> Render(const std::string& path, int w, int h)
    {
        auto bytes = FileSystem::Get().ReadWholeFile(path);
        if (!bytes)
            return {};
        auto movie = ReadMovie(std::vector<uint8_t>(bytes->begin(), bytes->end()));
        return RenderFrame(*movie, 0, w, h);
    }

    // A block's body: the mean colour of the band of face under its emblem.
    Vec3 Body(const std::string& name)
    {
        const std::vector<uint32_t> px = Render("Data/Graphics/Blocks/" + name + ".swf", 64, 64);
        Vec3 sum{};
        int n = 0;
        for (int y = 52; y < 56 && !px.empty(); ++y)
            for (int x = 12; x < 52; ++x, ++n)
                for (size_t i = 0; i < 3; ++i)
                    sum[i] += PixelRgb(px[size_t(y * 64 + x)])[i];
        for (double& v : sum)
            v /= std::max(n, 1);
        return sum;
    }
};

const std::array<const char*, 5> Blocks{"Red", "Orange", "Blue", "Purple", "Green"};

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

        // Drawn with a margin of half its size around it, nothing may land
        // outside the frame.
        const int w = e.width, h = e.height, m = std::max(w, h) / 2;
        for (int frame = 0; frame < movie->frameCount(); ++frame)
        {
            const swfrender::Picture canvas = swfrender::renderFrame(*movie, frame, w, h, m);
            int outside = 0;
            for (int y = 0; y < canvas.height; ++y)
                for (int x = 0; x < canvas.width; ++x)
                    outside += (x < m - 1 || x > m + w || y < m - 1 || y > m + h) && canvas.alpha(x, y) != 0;
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
    std::vector<double> musicLoudness, effectLoudness;
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
            // The play tune lasts a minute and a half or more before it
            // repeats, as a ten-minute game needs.
            EXPECT_GE(seconds, e.path == "Data/Sounds/Siberia.ogg" ? 90.0 : 20.0);
            EXPECT_LE(seconds, 120.0);
            EXPECT_LE(peak, 0.35f);
            musicLoudness.push_back(IntegratedLoudness(d.samples, 2, 22050));
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
            if (seconds >= 0.4) // long enough for a loudness: the chords and jingles
                effectLoudness.push_back(IntegratedLoudness(d.samples, d.channels, 22050));
        }
        ++checked;
    }
    EXPECT_EQ(checked, 10);
    // Both tunes equally loud, so the level holds from menu to game, and the
    // longer effects above them (the peaks above leave room for overlaps).
    ASSERT_EQ(musicLoudness.size(), 2u);
    EXPECT_NEAR(musicLoudness[0], musicLoudness[1], 1.0);
    EXPECT_EQ(effectLoudness.size(), 3u);
    for (double effect : effectLoudness)
        EXPECT_GT(effect, std::max(musicLoudness[0], musicLoudness[1]));
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

TEST_F(GameDataTest, BlockBodiesAndEmblemsStayApart)
{
    std::array<Vec3, 5> body{};
    for (size_t i = 0; i < Blocks.size(); ++i)
        body[i] = Body(Blocks[i]);
    for (size_t i = 0; i < Blocks.size(); ++i)
        for (size_t j = i + 1; j < Blocks.size(); ++j)
        {
            const double normal = DeltaE00(Lab(body[i]), Lab(body[j]));
            const double deutan = DeltaE00(Lab(Simulate(Deuteranopia, body[i])), Lab(Simulate(Deuteranopia, body[j])));
            const double protan = DeltaE00(Lab(Simulate(Protanopia, body[i])), Lab(Simulate(Protanopia, body[j])));
            const double grey = std::fabs(Lab(body[i])[0] - Lab(body[j])[0]);
            SCOPED_TRACE(std::string(Blocks[i]) + "-" + Blocks[j] + ": normal " + std::to_string(normal) +
                         ", deuteranopia " + std::to_string(deutan) + ", protanopia " + std::to_string(protan) +
                         ", L* " + std::to_string(grey));
            EXPECT_GE(normal, 20);
            EXPECT_GE(deutan, 10);
            EXPECT_GE(protan, 10);
            EXPECT_GE(grey, 8);
        }

    // At the 17 x 18 preview size each emblem, the pixels that stand off the
    // body in grey, covers a shape of its own.
    std::array<std::vector<bool>, 5> emblem;
    for (size_t i = 0; i < Blocks.size(); ++i)
    {
        const std::vector<uint32_t> px = Render(std::string("Data/Graphics/Blocks/") + Blocks[i] + ".swf", 17, 18);
        ASSERT_EQ(px.size(), 17u * 18u);
        for (uint32_t p : px)
            emblem[i].push_back(std::fabs(Lab(PixelRgb(p))[0] - Lab(body[i])[0]) > 20);
    }
    for (size_t i = 0; i < Blocks.size(); ++i)
        for (size_t j = i + 1; j < Blocks.size(); ++j)
        {
            int differ = 0;
            for (size_t k = 0; k < emblem[i].size(); ++k)
                differ += emblem[i][k] != emblem[j][k];
            EXPECT_GE(differ, 12) << Blocks[i] << "-" << Blocks[j] << " emblems at 17 x 18";
        }
}

TEST_F(GameDataTest, TheMoverStandsOutOnEveryBlockAndTheEmptyWell)
{
    std::vector<Vec3> behind;
    for (const char* name : Blocks)
        behind.push_back(Body(name));
    const std::vector<uint32_t> well = Render("Data/Graphics/PlayGame/GameWell.swf", 404, 745);
    ASSERT_FALSE(well.empty());
    behind.push_back(PixelRgb(well[size_t(450 * 404 + 170)])); // an empty cell of the pit

    // Across each side of both pictures (128 x 128, cells of 64): outer
    // outline, light core, inner outline, at least a tenth of a cell thick.
    const std::vector<uint32_t> horz = Render("Data/Graphics/BlockCursorHorz.swf", 128, 128);
    const std::vector<uint32_t> vert = Render("Data/Graphics/BlockCursorVert.swf", 128, 128);
    ASSERT_FALSE(horz.empty() || vert.empty());
    double lightest = 1, darkest = 0; // the dimmest core and the brightest outline of any side
    for (auto [px, x0, y0, dx, dy] :
         {std::tuple{&horz, 0, 32, 1, 0}, std::tuple{&horz, 127, 32, -1, 0}, std::tuple{&horz, 32, 0, 0, 1},
          std::tuple{&horz, 32, 63, 0, -1}, std::tuple{&vert, 0, 32, 1, 0}, std::tuple{&vert, 63, 96, -1, 0},
          std::tuple{&vert, 32, 0, 0, 1}, std::tuple{&vert, 32, 127, 0, -1}})
    {
        int thickness = 0, core = 0;
        double light = 0, dark = 1;
        for (int x = x0, y = y0; (*px)[size_t(y * 128 + x)] >> 24 == 255; x += dx, y += dy, ++thickness)
        {
            const double l = Luminance(PixelRgb((*px)[size_t(y * 128 + x)]));
            light = std::max(light, l);
            dark = std::min(dark, l);
            core += l > 0.5;
        }
        EXPECT_GE(thickness, 7) << "side from " << x0 << "," << y0;
        EXPECT_GE(core, 3) << "side from " << x0 << "," << y0;
        lightest = std::min(lightest, light);
        darkest = std::max(darkest, dark);
    }
    for (const Vec3& colour : behind)
        EXPECT_GE(
            std::max(Contrast({lightest, lightest, lightest}, colour), Contrast({darkest, darkest, darkest}, colour)),
            3.0);
}

// The three HUD lines in the info panel as placed at 1024 x 768 (panel at
// 588, 11): left edge 17, tops 31, 77 and 123, about 42 pixels high, with
// 6 pixels of window around them.
TEST_F(GameDataTest, HudLinesHaveRoomAndContrastInTheScoreWindow)
{
    const std::vector<uint32_t> panel = Render("Data/Graphics/PlayGame/InfoBox.swf", 404, 745);
    ASSERT_FALSE(panel.empty());
    const Vec3 text{ToLinear(51 / 255.0), ToLinear(51 / 255.0), ToLinear(51 / 255.0)};
    double worst = 100;
    for (int top : {31, 77, 123})
        for (int y = top - 6; y < top + 48; ++y)
            for (int x = 17 - 6; x < 300; ++x)
                worst = std::min(worst, Contrast(text, PixelRgb(panel[size_t(y * 404 + x)])));
    EXPECT_GE(worst, 4.5);
}
