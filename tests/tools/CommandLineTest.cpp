// The tools as the build runs them: exit status, output files, options.
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    std::string Read(const std::string& name) const
    {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Exit status of the tool; its standard output goes to out.txt.
    int Run(const std::string& tool, const std::string& arguments) const
    {
        const std::string command = std::string(QUORVO_TOOLS_DIR) + "/" + tool + " " + arguments + " >" +
                                    Path("out.txt") + " 2>" + Path("err.txt");
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string folder;
};

} // namespace

TEST_F(CommandLineTest, PictureCompilerWritesPlainOrCompressedMoviesAndListsFrames)
{
    Write("a.svg",
          "<svg width='20' height='10'><rect width='20' height='10' fill='red'/>"
          "<g data-frame=''><circle cx='5' cy='5' r='4'/></g><g data-frame='' data-hold='3'/><g data-frame=''/></svg>");
    ASSERT_EQ(Run("svg2swf", Path("a.svg") + " -o " + Path("a.swf")), 0);
    EXPECT_EQ(Read("a.swf").substr(0, 3), "FWS");
    ASSERT_EQ(Run("svg2swf", Path("a.svg") + " -o " + Path("b.swf") + " --compress-above 10"), 0);
    EXPECT_EQ(Read("b.swf").substr(0, 3), "CWS");
    ASSERT_EQ(Run("svg2swf", Path("a.svg") + " -o " + Path("c.swf") + " --compress-above 100000"), 0);
    EXPECT_EQ(Read("c.swf").substr(0, 3), "FWS");
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
    EXPECT_FALSE(fs::exists(Path("x.ogg")));
    EXPECT_FALSE(fs::exists(Path("x.ogg.part")));
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
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(wave.substr(8, 4), "WAVE");
}
