// The movie inspector: JSON facts about a movie, and frames rendered to PNG exactly as the engine
// renders them, frame actions included.
#include "fixtures/MovieFixtures.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace swftest;

namespace
{

class SwfRenderToolTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(tool))
            GTEST_SKIP() << "swfrender is not built";
    }
    void TearDown() override
    {
        for (const std::string& path : written)
            std::remove(path.c_str());
    }

    std::string file(const std::string& name, const Bytes& bytes = {})
    {
        written.push_back(std::string(QUORVO_BINARY_DIR) + "/swfrender-test-" + std::to_string(getpid()) + "-" + name);
        std::ofstream(written.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return written.back();
    }

    // Exit status; the output (both streams) in `out`.
    int run(const std::string& args)
    {
        out.clear();
        FILE* p = popen((tool + " " + args + " 2>&1").c_str(), "r");
        char buf[4096];
        for (size_t n; p && (n = fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        const int status = p ? pclose(p) : -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The pixel at (x, y) of frame `frame` rendered at w x h, or 1 when the tool failed.
    uint32_t pixel(const Bytes& movie, int frame, int w, int h, int x, int y)
    {
        const std::string png = file("frame.png");
        if (run(file("movie.swf", movie) + " --frame " + std::to_string(frame) + " --size " + std::to_string(w) + "x" +
                std::to_string(h) + " -o " + png) != 0)
            return 1;
        cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
        uint32_t value = 1;
        if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_width(image) == w &&
            cairo_image_surface_get_height(image) == h)
            value = *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) +
                                                       y * cairo_image_surface_get_stride(image) + x * 4);
        cairo_surface_destroy(image);
        return value;
    }

    const std::string tool = std::string(QUORVO_TOOLS_DIR) + "/swfrender";
    std::vector<std::string> written;
    std::string out;
};

// Frame 0 red, frame 1 green, frame 2 (labelled "blue") blue; frame 0 carries `script`.
Bytes threeColourMovie(const ActionBuilder& script)
{
    MovieBuilder mb(3, 2000, 2000);
    mb.tag(2, square(1, {255, 0, 0, 255})).tag(2, square(2, {0, 255, 0, 255})).tag(2, square(3, {0, 0, 255, 255}));
    mb.tag(26, place(1, 1)).tag(12, script.bytes).showFrame();
    mb.tag(26, place(2, 1, 0, 0, "", true)).showFrame();
    mb.tag(43, frameLabel("blue")).tag(26, place(3, 1, 0, 0, "", true)).showFrame().end();
    return mb.fws();
}

} // namespace

TEST_F(SwfRenderToolTest, InfoPrintsHeaderDictionaryLabelsAndExports)
{
    MovieBuilder m(2, 2000, 1000, 24.0, 6);
    m.tag(2, square(1, {0, 0, 255, 255}, 1000)).tag(39, emptySprite(4, 1)).tag(26, place(1, 1));
    m.tag(43, frameLabel("go \"here\"")).tag(56, exportAssets({{4, "Clip"}})).showFrame().showFrame().end();
    EXPECT_EQ(run("--info " + file("info.swf", m.cws())), 0) << out;
    for (const char* fact : {"\"version\": 6", "\"compressed\": true", "\"xmax\": 2000", "\"frameRate\": 24",
                             "\"frameCount\": 2", "{\"id\": 1, \"kind\": \"shape\"}, {\"id\": 4, \"kind\": \"sprite\"}",
                             "\"go \\\"here\\\"\": 0", "\"Clip\": \"sprite\""})
        EXPECT_NE(out.find(fact), std::string::npos) << fact << " in " << out;
}

TEST_F(SwfRenderToolTest, RendersTheFrameTheScriptsChoose)
{
    EXPECT_EQ(0xFF00FF00u, pixel(threeColourMovie(ActionBuilder()), 1, 40, 10, 20, 5));
    // No script: frame 0 shows red; gotoAndStop("blue"); a computed frame number (3 - 2 is
    // frame 1, green); a script that never ends is cut off and the frame still renders.
    const std::pair<ActionBuilder, uint32_t> scripts[] = {
        {ActionBuilder(), 0xFFFF0000u},
        {ActionBuilder().pushString("blue").action(0x9F, {0}), 0xFF0000FFu},
        {ActionBuilder().pushInt(3).pushInt(2).op(0x0B).action(0x9F, {0}), 0xFF00FF00u},
        {ActionBuilder().jump(-5), 0xFFFF0000u},
    };
    for (const auto& [script, shown] : scripts)
        EXPECT_EQ(shown, pixel(threeColourMovie(script), 0, 20, 20, 10, 10));
}

TEST_F(SwfRenderToolTest, RefusesBadInput)
{
    const std::string movie = file("good.swf", threeColourMovie(ActionBuilder()));
    EXPECT_NE(run(movie + ".missing --frame 0 --size 10x10 -o " + file("a.png")), 0);
    EXPECT_NE(run("--info " + file("junk.swf", Bytes{'n', 'o', 'p', 'e'})), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1); // one line
    EXPECT_NE(run(movie + " --frame 0 --size 0x10 -o " + file("b.png")), 0);
}
