// swfrender: inspect or render a movie file with the game's own player.
//
//   swfrender --info FILE.swf
//   swfrender FILE.swf --frame N --size WxH [--margin M] -o OUT.png
//
// A margin draws M transparent pixels around the frame, to show what a movie draws outside it.
#include "FrameRender.h"
#include "player/CharacterDefinition.h"
#include "player/FileStream.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/Player.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{

// Plain file on disk, opened for reading.
class DiskFileStream : public swf::FileStream
{
  public:
    explicit DiskFileStream(const std::string& path) : file(std::fopen(path.c_str(), "rb"))
    {
        if (!file)
            error = 1;
    }
    ~DiskFileStream() override { close(); }

    int read(void* buffer, int count) override
    {
        if (!file || count <= 0)
            return 0;
        return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(count), file));
    }
    int64_t seek(int64_t position) override
    {
        if (file)
            std::fseek(file, static_cast<long>(position), SEEK_SET);
        return tell();
    }
    void seekToEnd() override
    {
        if (file)
            std::fseek(file, 0, SEEK_END);
    }
    int64_t tell() const override { return file ? std::ftell(file) : 0; }
    bool atEnd() const override { return !file || std::feof(file); }
    int close() override
    {
        int rc = file ? std::fclose(file) : 0;
        file = nullptr;
        return rc;
    }

  private:
    FILE* file;
};

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s)
    {
        switch (c)
        {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20)
            {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            }
            else
                out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string number(float v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

void printInfo(const swf::MovieDefinition& movie)
{
    const swf::Rect& r = movie.frameRect();
    std::string out = "{";
    out += "\"version\": " + std::to_string(movie.version());
    out += ", \"compressed\": " + std::string(movie.isCompressed() ? "true" : "false");
    out += ", \"frameRect\": {\"xmin\": " + number(r.xmin) + ", \"xmax\": " + number(r.xmax) +
           ", \"ymin\": " + number(r.ymin) + ", \"ymax\": " + number(r.ymax) + "}";
    out += ", \"widthPixels\": " + std::to_string(movie.widthPixels());
    out += ", \"heightPixels\": " + std::to_string(movie.heightPixels());
    out += ", \"frameRate\": " + number(movie.frameRate());
    out += ", \"frameCount\": " + std::to_string(movie.frameCount());
    out += ", \"dictionary\": [";
    bool first = true;
    for (const auto& [id, character] : movie.dictionary())
    {
        out += first ? "" : ", ";
        first = false;
        out += "{\"id\": " + std::to_string(id) + ", \"kind\": " + jsonString(character->kindName()) + "}";
    }
    for (const auto& [id, font] : movie.fonts())
    {
        (void)font;
        out += first ? "" : ", ";
        first = false;
        out += "{\"id\": " + std::to_string(id) + ", \"kind\": \"font\"}";
    }
    out += "], \"frameLabels\": {";
    first = true;
    for (const auto& [label, frame] : movie.frameLabels())
    {
        out += first ? "" : ", ";
        first = false;
        out += jsonString(label) + ": " + std::to_string(frame);
    }
    out += "}, \"exports\": {";
    first = true;
    for (const auto& [name, resource] : movie.exports())
    {
        out += first ? "" : ", ";
        first = false;
        swf::CharacterDefinition* character = resource->asCharacter();
        out += jsonString(name) + ": " + jsonString(character ? character->kindName() : "font");
    }
    out += "}}";
    std::printf("%s\n", out.c_str());
}

bool parseInt(const char* text, int& out)
{
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, out);
    return ec == std::errc() && ptr == end;
}

bool parseSize(const std::string& text, int& w, int& h)
{
    size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    std::string a = text.substr(0, x);
    std::string b = text.substr(x + 1);
    return parseInt(a.c_str(), w) && parseInt(b.c_str(), h) && w > 0 && h > 0 && w <= 16384 && h <= 16384;
}

int usage()
{
    std::fprintf(
        stderr, "usage: swfrender --info FILE.swf | swfrender FILE.swf --frame N --size WxH [--margin M] -o OUT.png\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool info = false;
    std::string input, output;
    int frame = 0, width = 0, height = 0, margin = 0;
    bool haveSize = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        const std::string& a = args[i];
        bool hasValue = i + 1 < args.size();
        if (a == "--info")
            info = true;
        else if (a == "--frame" && hasValue)
        {
            if (!parseInt(args[++i].c_str(), frame) || frame < 0)
                return usage();
        }
        else if (a == "--size" && hasValue)
        {
            if (!parseSize(args[++i], width, height))
                return usage();
            haveSize = true;
        }
        else if (a == "--margin" && hasValue)
        {
            if (!parseInt(args[++i].c_str(), margin) || margin < 0 || margin > 16384)
                return usage();
        }
        else if (a == "-o" && hasValue)
            output = args[++i];
        else if (!a.empty() && a[0] != '-' && input.empty())
            input = a;
        else
            return usage();
    }
    if (input.empty() || (!info && (!haveSize || output.empty())))
        return usage();

    swf::setFileOpener(
        [](const std::string& path) -> std::unique_ptr<swf::FileStream>
        {
            auto stream = std::make_unique<DiskFileStream>(path);
            if (stream->error != 0)
                return nullptr;
            return stream;
        });
    int status = 0;
    {
        swf::Ref<swf::MovieDefinition> movie = swf::loadMovieDefinition(input);
        if (!movie)
        {
            std::fprintf(stderr, "swfrender: cannot open %s\n", input.c_str());
            status = 1;
        }
        else if (!movie->isValid())
        {
            std::fprintf(stderr, "swfrender: %s is not a movie file\n", input.c_str());
            status = 1;
        }
        else if (info)
            printInfo(*movie);
        else if (!swfrender::renderFrame(*movie, frame, width, height, margin).writePng(output))
        {
            std::fprintf(stderr, "swfrender: cannot write %s\n", output.c_str());
            status = 1;
        }
    }
    swf::shutdownPlayer();
    return status;
}
