// Scripted games played by the simulator, checked line by line against the
// state lines worked out for each script, and the simulator's refusals.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "fixtures/TestPaths.h"

namespace
{

const std::string ScriptFolder = SourcePath("tests/game/sim");

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs the simulator in the script folder (its resources are rooted there)
// with the script on standard input; its exit status, state lines and errors.
int RunSimulator(const std::string& script, std::vector<std::string>& lines, std::string& errors)
{
    char input[] = "/tmp/quorvo-sim-XXXXXX";
    const int fd = mkstemp(input);
    if (fd < 0 || write(fd, script.data(), script.size()) != static_cast<ssize_t>(script.size()))
        return -1;
    close(fd);
    const std::string errorFile = std::string(input) + ".err";
    std::string output;
    const int status = RunCommand("cd '" + ScriptFolder + "' && '" + std::string(QUORVO_TOOLS_DIR) +
                                      "/quorvo-sim' < '" + input + "' 2> '" + errorFile + "'",
                                  output);
    lines = SplitLines(output);
    errors = ReadText(errorFile);
    std::remove(input);
    std::remove(errorFile.c_str());
    return status;
}

using SimScriptTest = ::testing::TestWithParam<std::string>;

} // namespace

TEST_P(SimScriptTest, StateLinesMatchTheRules)
{
    const std::vector<std::string> expected = SplitLines(ReadText(ScriptFolder + "/" + GetParam() + ".expected"));
    ASSERT_FALSE(expected.empty());
    std::vector<std::string> lines;
    std::string errors;
    ASSERT_EQ(RunSimulator(ReadText(ScriptFolder + "/" + GetParam() + ".txt"), lines, errors), 0) << errors;
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1 << " of " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Scripts, SimScriptTest,
                         ::testing::Values("marathon_drop", "marathon_overflow", "marathon_score", "timeattack_clock",
                                           "timeattack_dialog_early", "timeattack_refill", "puzzle_solve",
                                           "marathon_pause_wild", "puzzle_fail", "profile_highscore",
                                           "timeattack_focus", "timeattack_pause_early", "marathon_clock_wrap",
                                           "timeattack_pads", "puzzle_undo_grace", "puzzle_hint", "puzzle_undo",
                                           "marathon_swap_holds", "marathon_bubble"));

TEST(SimRefusalTest, BadScriptsEndWithStatusTwoAndOneLineAndGoodOnesMayHaveComments)
{
    const char* const scripts[] = {
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
        "start 1000\nfocus lost\n",                  // focus is on or off
        "start 1000\npad 1 z down\n",                // no such button
    };
    std::vector<std::string> lines;
    std::string errors;
    for (const char* script : scripts)
    {
        EXPECT_EQ(RunSimulator(script, lines, errors), 2) << script;
        EXPECT_EQ(SplitLines(errors).size(), 1u) << script << errors;
    }
    const std::string good = "# a comment\n\nmode marathon  # trailing\nstart 1000\n"
                             "key #131   # down by its code\nkey D\ndump\n";
    ASSERT_EQ(RunSimulator(good, lines, errors), 0) << errors;
    ASSERT_EQ(lines.size(), 1u);
    // Down twice: by its key code, and "D" is not the down arrow.
    EXPECT_NE(lines[0].find(" mover=0,1,0 "), std::string::npos) << lines[0];
}
