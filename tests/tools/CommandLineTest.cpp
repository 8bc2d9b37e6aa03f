// The tools as the build runs them: exit status, output files, options.
#include "fixtures/MovieFixtures.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace
{

class CommandLineTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quorvo-tools-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const std::string& name) const { return folder + "/" + name; }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
    std::string Read(const std::string& name) const { return ReadText(Path(name)); }
    // Exit status of the tool; its standard output goes to out.txt.
    int Run(const std::string& tool, const std::string& arguments) const
    {
        const std::string command = std::string(QUORVO_TOOLS_DIR) + "/" + tool + " " + arguments + " >" +
                                    Path("out.txt") + " 2>" + Path("err.txt");
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The pixel at (x, y) of frame `frame` of `movie` as swfrender draws it at w x h; 1 when it failed.
    uint32_t RenderedPixel(const swftest::Bytes& movie, int frame, int w, int h, int x, int y) const
    {
        Write("movie.swf", std::string(movie.begin(), movie.end()));
        const std::string size = " --size " + std::to_string(w) + "x" + std::to_string(h);
        if (Run("swfrender", Path("movie.swf") + " --frame " + std::to_string(frame) + size + " -o " + Path("f.png")))
            return 1;
        cairo_surface_t* image = cairo_image_surface_create_from_png(Path("f.png").c_str());
        uint32_t value = 1;
        if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_width(image) == w &&
            cairo_image_surface_get_height(image) == h)
            value = *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) +
                                                       y * cairo_image_surface_get_stride(image) + x * 4);
        cairo_surface_destroy(image);
        return value;
    }

    std::string folder;
};

} // namespace

// The movie inspector renders frames exactly as the engine does, frame actions included.
TEST_F(CommandLineTest, MovieInspectorRendersTheFrameTheScriptsChooseAndRefusesBadInput)
{
    using swftest::ActionBuilder;
    EXPECT_EQ(0xFF00FF00u, RenderedPixel(swftest::threeColourMovie(ActionBuilder()), 1, 40, 10, 20, 5));
    // No script: frame 0 shows red; gotoAndStop("blue"); a computed frame number (3 - 2 is
    // frame 1, green); a script that never ends is cut off and the frame still renders.
    const std::pair<ActionBuilder, uint32_t> scripts[] = {
        {ActionBuilder(), 0xFFFF0000u},
        {ActionBuilder().pushString("blue").action(0x9F, {0}), 0xFF0000FFu},
        {ActionBuilder().pushInt(3).pushInt(2).op(0x0B).action(0x9F, {0}), 0xFF00FF00u},
        {ActionBuilder().jump(-5), 0xFFFF0000u},
    };
    for (const auto& [script, shown] : scripts)
        EXPECT_EQ(shown, RenderedPixel(swftest::threeColourMovie(script), 0, 20, 20, 10, 10));

    EXPECT_NE(Run("swfrender", Path("missing.swf") + " --frame 0 --size 10x10 -o " + Path("a.png")), 0);
    Write("junk.swf", "nope");
    EXPECT_NE(Run("swfrender", "--info " + Path("junk.swf")), 0);
    const std::string error = Read("err.txt");
    EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1); // one line
    EXPECT_NE(Run("swfrender", Path("movie.swf") + " --frame 0 --size 0x10 -o " + Path("b.png")), 0);
}

TEST_F(CommandLineTest, PictureCompilerWritesPlainOrCompressedMoviesAndListsFrames)
{
    Write("a.svg",
          "<svg width='20' height='10'><rect width='20' height='10' fill='red'/>"
          "<g data-frame=''><circle cx='5' cy='5' r='4'/></g><g data-frame='' data-hold='3'/><g data-frame=''/></svg>");
    // Plain by default, compressed above 10 bytes, plain under 100000.
    std::string signatures;
    for (const std::string options : {"", " --compress-above 10", " --compress-above 100000"})
        signatures += Run("svg2swf", Path("a.svg") + " -o " + Path("a.swf") + options) == 0 ? Read("a.swf").substr(0, 3)
                                                                                            : "(failed)";
    EXPECT_EQ(signatures, "FWSCWSFWS");
    ASSERT_EQ(Run("svg2swf", Path("a.svg") + " --list-frames"), 0);
    EXPECT_EQ(Read("out.txt"), "0\n1\n4\n");
}

TEST_F(CommandLineTest, FailuresLeaveNoFileBehind)
{
    Write("bad.svg", "<svg width='20' height='10'><rect></svg>");
    Write("old.swf", "previous");
    EXPECT_EQ(Run("svg2swf", Path("bad.svg") + " -o " + Path("old.swf")), 1);
    EXPECT_EQ(Read("old.swf"), "previous");
    EXPECT_NE(Read("err.txt").find("error"), std::string::npos);
    EXPECT_EQ(Run("svg2swf", Path("missing.svg") + " -o " + Path("x.swf")), 1);
    EXPECT_FALSE(fs::exists(Path("x.swf")));
    EXPECT_EQ(Run("svg2swf", "--frobnicate"), 2);

    Write("bad.sound", "tempo 60\ntrack nothing\nend\n");
    EXPECT_EQ(Run("synth", Path("bad.sound") + " -o " + Path("x.ogg")), 1);
    EXPECT_FALSE(fs::exists(Path("x.ogg")) || fs::exists(Path("x.ogg.part")));
}

TEST_F(CommandLineTest, SynthesizerWritesOggAndWave)
{
    Write(
        "s.sound",
        "tempo 60\ninstrument a\n envelope 0.01 0.05 0.5 0.05\nend\npattern p\n A4:0.2\nend\ntrack a\n play p\nend\n");
    ASSERT_EQ(Run("synth", Path("s.sound") + " -o " + Path("s.ogg") + " --wav " + Path("s.wav")), 0);
    EXPECT_EQ(Read("s.ogg").substr(0, 4), "OggS");
    const std::string wave = Read("s.wav");
    ASSERT_GT(wave.size(), 44u);
    EXPECT_EQ(wave.substr(0, 4) + wave.substr(8, 4), "RIFFWAVE");
}
