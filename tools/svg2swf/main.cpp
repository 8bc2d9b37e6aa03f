// svg2swf: compiles a picture source (SVG subset) into an SWF movie.
//
//   svg2swf INPUT.svg -o OUTPUT.swf [--font FONTFILE] [--quiet]
//   svg2swf INPUT.svg --list-frames [--font FONTFILE]
//
// --compress-above BYTES writes a compressed movie ("CWS") whenever the plain
// one would be larger than BYTES, as well as when the picture asks for it.
// --list-frames prints, instead of writing a movie, the movie frame at which
// each frame group of the picture starts, one per line (for contact sheets).
// The font is the game's font file, used for <text> lettering. Warnings about
// ignored content go to standard error; the exit status is 0 on success.
#include "GlyphOutliner.h"
#include "MovieWriter.h"
#include "SvgCompiler.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace
{

int Usage()
{
    std::fprintf(stderr, "usage: svg2swf INPUT.svg (-o OUTPUT.swf | --list-frames) [--font FONTFILE] [--compress-above "
                         "BYTES] [--quiet]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string input, output, fontPath;
    bool quiet = false;
    bool listFrames = false;
    long compressAbove = -1;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "--font" && i + 1 < argc)
            fontPath = argv[++i];
        else if (arg == "--compress-above" && i + 1 < argc)
        {
            char* end = nullptr;
            compressAbove = std::strtol(argv[++i], &end, 10);
            if (*end != 0 || compressAbove < 0)
                return Usage();
        }
        else if (arg == "--list-frames")
            listFrames = true;
        else if (arg == "--quiet")
            quiet = true;
        else if (!arg.empty() && arg[0] != '-' && input.empty())
            input = arg;
        else
            return Usage();
    }
    if (input.empty() || (output.empty() && !listFrames))
        return Usage();

    std::ifstream in(input, std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "svg2swf: cannot read %s\n", input.c_str());
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    GlyphOutliner font;
    if (!fontPath.empty())
    {
        std::string error;
        if (!font.Load(fontPath, error))
        {
            std::fprintf(stderr, "svg2swf: %s\n", error.c_str());
            return 1;
        }
    }
    SvgCompiler compiler(fontPath.empty() ? nullptr : &font);
    Movie movie;
    std::string error;
    const bool ok = compiler.Compile(text.str(), movie, error);
    if (!quiet)
        for (const std::string& w : compiler.Warnings())
            std::fprintf(stderr, "%s: warning: %s\n", input.c_str(), w.c_str());
    if (!ok)
    {
        std::fprintf(stderr, "%s: error: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    if (listFrames)
    {
        int frame = 0;
        for (const MovieFrame& f : movie.frames)
        {
            std::printf("%d\n", frame);
            frame += f.hold;
        }
        return 0;
    }
    auto bytes = MovieWriter::Write(movie, error);
    if (bytes && !movie.compressed && compressAbove >= 0 && long(bytes->size()) > compressAbove)
    {
        movie.compressed = true;
        bytes = MovieWriter::Write(movie, error);
    }
    if (!bytes)
    {
        std::fprintf(stderr, "%s: error: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    // Write beside the target, then rename, so a failed run leaves no half file.
    const std::string temporary = output + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes->data()), std::streamsize(bytes->size()));
        out.close();
        if (!out)
        {
            std::remove(temporary.c_str());
            std::fprintf(stderr, "svg2swf: cannot write %s\n", output.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), output.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "svg2swf: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
