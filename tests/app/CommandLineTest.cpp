#include <tuple>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace
{

using Action = CommandLine::Action;

TEST(CommandLineTest, EveryErrorIsOneLineNamingTheCulprit)
{
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--fulscreen"}, "quorvo: unknown option '--fulscreen'"},
        {{"-w"}, "quorvo: unknown option '-w'"},
        {{"level.qvl"}, "quorvo: unexpected argument 'level.qvl'"},
        {{"--size"}, "quorvo: --size needs a display size such as 1024x768"},
        {{"--size="}, "quorvo: --size needs a display size such as 1024x768"},
        {{"--size", "1000x700"}, "quorvo: '1000x700' is not a display size the game offers"},
        {{"--size=800x600x2"}, "quorvo: '800x600x2' is not a display size the game offers"},
        {{"--size", "x600"}, "quorvo: 'x600' is not a display size the game offers"},
        {{"--size", "+800x600"}, "quorvo: '+800x600' is not a display size the game offers"},
        {{"--help", "--bogus"}, "quorvo: unknown option '--bogus'"},
    };
    for (const auto& [arguments, error] : cases)
    {
        const CommandLine parsed = CommandLine::Parse(arguments);
        EXPECT_EQ(parsed.action, Action::Error) << error;
        EXPECT_TRUE(parsed.error.rfind(error, 0) == 0 && parsed.error.find('\n') == std::string::npos) << parsed.error;
    }
}

TEST(CommandLineTest, ChoicesOverrideAndTheLastOneWins)
{
    const CommandLine parsed =
        CommandLine::Parse({"--fullscreen", "--size", "800x600", "--windowed", "--size=1024x768"});
    EXPECT_EQ(std::make_tuple(parsed.action, parsed.fullscreen, parsed.size),
              std::make_tuple(Action::Play, std::optional<bool>(false), std::optional<DisplaySize>({1024, 768})));
    EXPECT_FALSE(CommandLine::Parse({}).fullscreen.has_value());
    EXPECT_EQ(std::make_pair(CommandLine::Parse({"--windowed", "--version"}).action,
                             CommandLine::Parse({"--version", "--help"}).action),
              std::make_pair(Action::Version, Action::Help));
    EXPECT_NE(CommandLine::Usage().find("2048x1536"), std::string::npos);
}

} // namespace
