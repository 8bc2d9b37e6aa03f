// iconmake: the game's desktop icon, four blocks in a 2 x 2 square.
//
//   iconmake --png SIZE OUT.png A.swf B.swf C.swf D.swf   one icon size, drawn by the player
//   iconmake --svg OUT.svg A.svg B.svg C.svg D.svg        the scalable icon from the sources
//
// Blocks go left to right, then top to bottom.
#include "FrameRender.h"
#include "player/MemoryStream.h"
#include "player/MovieDefinition.h"
#include "player/Player.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace
{

std::optional<std::string> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Each block at half the icon's size, the four quarters filled.
int makePng(int size, const std::string& output, const std::vector<std::string>& movies)
{
    swf::setFileOpener(
        [](const std::string& path) -> std::unique_ptr<swf::FileStream>
        {
            std::optional<std::string> bytes = readFile(path);
            if (!bytes)
                return nullptr;
            return std::make_unique<swf::MemoryStream>(bytes->data(), bytes->size());
        });
    swfrender::Picture icon;
    icon.width = icon.height = size;
    icon.pixels.assign(static_cast<size_t>(size) * static_cast<size_t>(size), 0u);
    const int half = size / 2;
    int status = 0;
    for (size_t i = 0; i < movies.size() && status == 0; ++i)
    {
        swf::Ref<swf::MovieDefinition> movie = swf::loadMovieDefinition(movies[i]);
        if (!movie || !movie->isValid())
        {
            std::fprintf(stderr, "iconmake: %s is not a movie file\n", movies[i].c_str());
            status = 1;
            break;
        }
        const swfrender::Picture block = swfrender::renderFrame(*movie, 0, half, half);
        const int left = static_cast<int>(i % 2) * (size - half);
        const int top = static_cast<int>(i / 2) * (size - half);
        for (int y = 0; y < block.height; ++y)
        {
            for (int x = 0; x < block.width; ++x)
                icon.pixels[static_cast<size_t>(top + y) * static_cast<size_t>(size) + static_cast<size_t>(left + x)] =
                    block.at(x, y);
        }
    }
    if (status == 0 && !icon.writePng(output))
    {
        std::fprintf(stderr, "iconmake: cannot write %s\n", output.c_str());
        status = 1;
    }
    swf::shutdownPlayer();
    return status;
}

// Value of attribute name inside the element text, or empty.
std::string attribute(const std::string& element, const std::string& name)
{
    const size_t at = element.find(" " + name + "=\"");
    if (at == std::string::npos)
        return {};
    const size_t start = at + name.size() + 3;
    const size_t end = element.find('"', start);
    return end == std::string::npos ? std::string() : element.substr(start, end - start);
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The drawing inside a block's <svg> element, its ids made unique with prefix,
// scaled into a 64 x 64 square at (x, y).
std::optional<std::string> blockGroup(const std::string& source, const std::string& prefix, int x, int y)
{
    const size_t open = source.find("<svg");
    const size_t openEnd = open == std::string::npos ? open : source.find('>', open);
    const size_t close = source.rfind("</svg>");
    if (openEnd == std::string::npos || close == std::string::npos || close < openEnd)
        return std::nullopt;
    const std::string root = source.substr(open, openEnd - open);
    std::istringstream viewBox(attribute(root, "viewBox"));
    double minX = 0, minY = 0, width = 0, height = 0;
    if (!(viewBox >> minX >> minY >> width >> height) || width <= 0 || height <= 0)
        return std::nullopt;
    std::string body = source.substr(openEnd + 1, close - openEnd - 1);
    // Gradients and clips are referred to by id; four blocks share names.
    std::vector<std::string> ids;
    for (size_t at = body.find(" id=\""); at != std::string::npos; at = body.find(" id=\"", at + 1))
    {
        const size_t end = body.find('"', at + 5);
        if (end != std::string::npos)
            ids.push_back(body.substr(at + 5, end - at - 5));
    }
    for (const std::string& id : ids)
    {
        replaceAll(body, " id=\"" + id + "\"", " id=\"" + prefix + id + "\"");
        replaceAll(body, "url(#" + id + ")", "url(#" + prefix + id + ")");
        replaceAll(body, "href=\"#" + id + "\"", "href=\"#" + prefix + id + "\"");
    }
    std::ostringstream group;
    group << "  <g fill-rule=\"" << (attribute(root, "fill-rule").empty() ? "nonzero" : attribute(root, "fill-rule"))
          << "\" transform=\"translate(" << x << ' ' << y << ") scale(" << 64.0 / width << ' ' << 64.0 / height
          << ") translate(" << -minX << ' ' << -minY << ")\">" << body << "</g>\n";
    return group.str();
}

int makeSvg(const std::string& output, const std::vector<std::string>& sources)
{
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                      "width=\"128\" height=\"128\" viewBox=\"0 0 128 128\">\n";
    for (size_t i = 0; i < sources.size(); ++i)
    {
        const std::optional<std::string> source = readFile(sources[i]);
        const std::optional<std::string> group =
            source ? blockGroup(*source, "b" + std::to_string(i) + "-", static_cast<int>(i % 2) * 64,
                                static_cast<int>(i / 2) * 64)
                   : std::nullopt;
        if (!group)
        {
            std::fprintf(stderr, "iconmake: %s is not a picture source\n", sources[i].c_str());
            return 1;
        }
        svg += *group;
    }
    svg += "</svg>\n";
    std::ofstream out(output, std::ios::binary);
    if (!(out << svg) || !out.flush())
    {
        std::fprintf(stderr, "iconmake: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: iconmake --png SIZE OUT.png A.swf B.swf C.swf D.swf\n"
                         "       iconmake --svg OUT.svg A.svg B.svg C.svg D.svg\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 7 && args[0] == "--png")
    {
        int size = 0;
        const char* end = args[1].data() + args[1].size();
        const auto parsed = std::from_chars(args[1].data(), end, size);
        if (parsed.ec != std::errc() || parsed.ptr != end || size < 2 || size > 4096)
            return usage();
        return makePng(size, args[2], {args.begin() + 3, args.end()});
    }
    if (args.size() == 6 && args[0] == "--svg")
        return makeSvg(args[1], {args.begin() + 2, args.end()});
    return usage();
}
