#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/platform/Platform.h"

// What the player asked for on the command line. The display choices apply
// to this run only: the options file keeps its own.
struct CommandLine
{
    enum class Action
    {
        Play,    // start the game
        Help,    // print the usage and end
        Version, // print the version and end
        Error    // print error and the usage, end with status 2
    };

    Action action = Action::Play;
    std::optional<bool> fullscreen;  // --windowed / --fullscreen
    std::optional<DisplaySize> size; // --size WxH, one of the offered sizes
    std::string error;               // one line, for Action::Error

    // Reads the arguments after the program name. The last of --windowed and
    // --fullscreen wins, as does the last --size.
    [[nodiscard]] static CommandLine Parse(const std::vector<std::string>& arguments);
    // The usage text, ending in a newline.
    [[nodiscard]] static std::string Usage();
    // "Quorvo <version>".
    [[nodiscard]] static std::string VersionLine();
};
