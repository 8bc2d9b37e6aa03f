// Scripted games played by the simulator, checked line by line against the
// state lines worked out for each script, and the simulator's refusals.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/TestPaths.h"

namespace fs = std::filesystem;

namespace
{

struct RunResult
{
    int status = -1;
    std::vector<std::string> lines;
    std::string errors;
};

const fs::path ScriptFolder()
{
    return fs::path(QUORVO_SOURCE_DIR) / "tests/game/sim";
}
const fs::path Simulator()
{
    return fs::path(QUORVO_TOOLS_DIR) / "quorvo-sim";
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the simulator in the script folder (its resources are rooted there)
// with the script text on standard input.
RunResult RunSimulator(const std::string& script)
{
    const fs::path temp = fs::temp_directory_path() / ("quorvo-sim-test-" + std::to_string(::getpid()));
    fs::create_directories(temp);
    const fs::path input = temp / "script.txt";
    const fs::path output = temp / "out.txt";
    const fs::path errors = temp / "err.txt";
    std::ofstream(input, std::ios::binary) << script;

    const std::string command = "cd '" + ScriptFolder().string() + "' && '" + Simulator().string() + "' < '" +
                                input.string() + "' > '" + output.string() + "' 2> '" + errors.string() + "'";
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.lines = SplitLines(ReadAll(output));
    result.errors = ReadAll(errors);
    std::error_code ignored;
    fs::remove_all(temp, ignored);
    return result;
}

class SimScriptTest : public ::testing::TestWithParam<std::string>
{
};

} // namespace

TEST_P(SimScriptTest, StateLinesMatchTheRules)
{
    ASSERT_TRUE(fs::exists(Simulator())) << Simulator();
    const fs::path script = ScriptFolder() / (GetParam() + ".txt");
    const std::vector<std::string> expected = SplitLines(ReadAll(ScriptFolder() / (GetParam() + ".expected")));
    ASSERT_FALSE(expected.empty());

    const RunResult run = RunSimulator(ReadAll(script));
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        // Field by field, so a failure names the field that differs.
        std::istringstream want(expected[i]);
        std::istringstream got(run.lines[i]);
        std::string a;
        std::string b;
        while (want >> a)
        {
            ASSERT_TRUE(static_cast<bool>(got >> b)) << "line " << i + 1 << " ends early";
            EXPECT_EQ(b, a) << "line " << i + 1 << " of " << GetParam();
        }
        EXPECT_FALSE(static_cast<bool>(got >> b)) << "line " << i + 1 << " has more fields";
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, SimScriptTest,
                         ::testing::Values("marathon_drop", "marathon_overflow", "marathon_score", "timeattack_clock",
                                           "timeattack_dialog_early", "timeattack_refill", "puzzle_solve",
                                           "marathon_pause_wild", "puzzle_fail", "profile_highscore"));

TEST(SimRefusalTest, BadScriptsEndWithStatusTwoAndOneLine)
{
    const std::array<std::string, 12> scripts = {
        "jump 3\n",                                  // unknown command
        "start 1000\nboard 1 2 3\n",                 // too few codes
        "start 1000\nqueue 0 1 2 3 4 8\n",           // a code outside 0 to 7
        "start 1000\nqueue 0 1 2 3 x 5\n",           // not a number
        "start 2000\nframe 1999\n",                  // the tick goes back
        "start 999\n",                               // too early a start
        "dump\n",                                    // before the first start
        "moves 3\n",                                 // before the first start
        "mode puzzle\nlevel Data/Levels/none.qvl\n", // a level that fails to load
        "mode tetris\n",                             // unknown mode
        "start 1000\nkey pgup\n",                    // unknown key
        "start 1000\nframes 1016 2000 0\n",          // a step that never ends
    };
    for (const std::string& script : scripts)
    {
        const RunResult run = RunSimulator(script);
        EXPECT_EQ(run.status, 2) << script;
        EXPECT_EQ(SplitLines(run.errors).size(), 1u) << script << run.errors;
    }
}

TEST(SimRefusalTest, CommentsBlankLinesAndKeyCodesAreAccepted)
{
    const RunResult run = RunSimulator("# a comment\n\nmode marathon  # trailing\nstart 1000\n"
                                       "key #131   # down by its code\nkey D\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u);
    // Down twice: by its key code, and "D" is not the down arrow.
    EXPECT_NE(run.lines[0].find(" mover=0,1,0 "), std::string::npos) << run.lines[0];
}
