// synth: renders a sound description (assets/sounds/*.sound) to Ogg Vorbis.
//
//   synth INPUT.sound -o OUTPUT.ogg [--wav OUTPUT.wav]
//
// --wav also writes the samples before encoding, for listening and checking.
#include "Loudness.h"
#include "OggEncoder.h"
#include "SoundRenderer.h"
#include "SoundScript.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace
{

int Usage()
{
    std::fprintf(stderr, "usage: synth INPUT.sound -o OUTPUT.ogg [--wav OUTPUT.wav]\n");
    return 2;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    // Written beside the target and renamed, so a failed run leaves no half file.
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.close();
        if (!out)
        {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::vector<uint8_t> WaveFile(const RenderedSound& sound)
{
    std::vector<uint8_t> out;
    auto u32 = [&](uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(v >> (8 * i)));
    };
    auto u16 = [&](uint16_t v)
    {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    const uint32_t dataBytes = uint32_t(sound.samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    u32(36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    u32(16);
    u16(1);
    u16(uint16_t(sound.channels));
    u32(uint32_t(sound.rate));
    u32(uint32_t(sound.rate * sound.channels * 2));
    u16(uint16_t(sound.channels * 2));
    u16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    u32(dataBytes);
    for (float v : sound.samples)
    {
        const float clamped = v > 1 ? 1 : (v < -1 ? -1 : v);
        u16(uint16_t(int16_t(clamped * 32767)));
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    std::string input, output, wave;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc)
            output = argv[++i];
        else if (arg == "--wav" && i + 1 < argc)
            wave = argv[++i];
        else if (!arg.empty() && arg[0] != '-' && input.empty())
            input = arg;
        else
            return Usage();
    }
    if (input.empty() || output.empty())
        return Usage();
    std::ifstream in(input, std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "synth: cannot read %s\n", input.c_str());
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    std::string error;
    auto script = ParseSoundScript(text.str(), error);
    if (!script)
    {
        std::fprintf(stderr, "%s: error: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    auto sound = RenderSound(*script, error);
    if (!sound)
    {
        std::fprintf(stderr, "%s: error: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    std::string title = input.substr(input.find_last_of('/') + 1);
    title = title.substr(0, title.find('.'));
    auto bytes = EncodeOggVorbis(*sound, script->quality, title, error);
    if (!bytes)
    {
        std::fprintf(stderr, "%s: error: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    if (!WriteFile(output, *bytes) || (!wave.empty() && !WriteFile(wave, WaveFile(*sound))))
    {
        std::fprintf(stderr, "synth: cannot write %s\n", output.c_str());
        return 1;
    }
    // The figures a mix is judged by, for the build log.
    float peak = 0;
    for (float v : sound->samples)
        peak = std::max(peak, std::fabs(v));
    const double loudness = IntegratedLoudness(sound->samples, sound->channels, RenderedSound::Rate);
    std::printf("%s: %.1f s, peak %.3f", title.c_str(), double(sound->Frames()) / RenderedSound::Rate, double(peak));
    if (loudness > -70) // shorter than one 400 ms block has none
        std::printf(", %.1f LUFS", loudness);
    std::printf("\n");
    return 0;
}
