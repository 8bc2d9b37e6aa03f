#include "app/CommandLine.h"

#include <algorithm>
#include <charconv>

#include "app/Application.h"

#ifndef QUORVO_VERSION
#define QUORVO_VERSION "0"
#endif

namespace
{

std::string SizeText(const DisplaySize& size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

std::string OfferedSizesText()
{
    std::string text;
    for (const DisplaySize& size : Application::OfferedSizes())
        text += (text.empty() ? "" : " ") + SizeText(size);
    return text;
}

// "WxH" with two plain decimal numbers; nothing for anything else.
std::optional<DisplaySize> ReadSize(const std::string& text)
{
    const size_t x = text.find('x');
    if (x == std::string::npos || x == 0 || x + 1 == text.size())
        return std::nullopt;
    DisplaySize size;
    const char* end = text.data() + text.size();
    const auto w = std::from_chars(text.data(), text.data() + x, size.width);
    const auto h = std::from_chars(text.data() + x + 1, end, size.height);
    if (w.ec != std::errc() || w.ptr != text.data() + x || h.ec != std::errc() || h.ptr != end)
        return std::nullopt;
    return size;
}

CommandLine Failure(const std::string& text)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = "quorvo: " + text;
    return result;
}

} // namespace

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments)
{
    CommandLine result;
    bool help = false;
    bool version = false;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h")
            help = true;
        else if (argument == "--version")
            version = true;
        else if (argument == "--windowed")
            result.fullscreen = false;
        else if (argument == "--fullscreen")
            result.fullscreen = true;
        else if (argument == "--size" || argument.rfind("--size=", 0) == 0)
        {
            std::string value;
            if (argument != "--size")
                value = argument.substr(7);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            if (value.empty())
                return Failure("--size needs a display size such as 1024x768");
            const std::optional<DisplaySize> size = ReadSize(value);
            const auto& offered = Application::OfferedSizes();
            if (!size || std::find(offered.begin(), offered.end(), *size) == offered.end())
                return Failure("'" + value + "' is not a display size the game offers (" + OfferedSizesText() + ")");
            result.size = size;
        }
        else if (argument.rfind("-", 0) == 0)
            return Failure("unknown option '" + argument + "'");
        else
            return Failure("unexpected argument '" + argument + "'");
    }
    if (help)
        result.action = Action::Help;
    else if (version)
        result.action = Action::Version;
    return result;
}

std::string CommandLine::Usage()
{
    return "Usage: quorvo [--windowed | --fullscreen] [--size WxH]\n"
           "       quorvo --help | --version\n"
           "Plays Quorvo. The options below apply to this run only; the game's own\n"
           "options screen changes what is kept.\n"
           "  --windowed     play in a window\n"
           "  --fullscreen   play on the whole screen\n"
           "  --size WxH     display size, one of:\n"
           "                 " +
           OfferedSizesText() +
           "\n"
           "  --help         show this help and end\n"
           "  --version      show the version and end\n";
}

std::string CommandLine::VersionLine()
{
    return std::string("Quorvo ") + QUORVO_VERSION;
}
