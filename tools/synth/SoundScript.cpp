#include "SoundScript.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{

std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}

std::optional<double> Number(const std::string& text)
{
    // Fractions such as 1/4 are common for note lengths.
    const size_t slash = text.find('/');
    if (slash != std::string::npos)
    {
        auto a = Number(text.substr(0, slash));
        auto b = Number(text.substr(slash + 1));
        if (!a || !b || *b == 0)
            return std::nullopt;
        return *a / *b;
    }
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != 0 || !std::isfinite(v))
        return std::nullopt;
    return v;
}

class Parser
{
  public:
    explicit Parser(std::string& error) : error(error) {}

    std::optional<SoundScript> Run(const std::string& text)
    {
        std::istringstream in(text);
        std::string raw;
        while (std::getline(in, raw))
        {
            ++line;
            // "#" starts a comment at the start of a word; inside one it is a sharp (F#3).
            for (size_t i = 0; i < raw.size(); ++i)
            {
                if (raw[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(raw[i - 1]))))
                {
                    raw.erase(i);
                    break;
                }
            }
            const std::vector<std::string> w = Words(raw);
            if (w.empty())
                continue;
            if (!Line(w))
                return std::nullopt;
        }
        if (block != Block::None)
            return Fail("the last block has no \"end\""), std::nullopt;
        for (const Track& t : script.tracks)
        {
            if (!script.instruments.count(t.instrument))
                return Fail("track plays the unknown instrument " + t.instrument), std::nullopt;
            for (const std::string& p : t.patterns)
                if (!script.patterns.count(p))
                    return Fail("track plays the unknown pattern " + p), std::nullopt;
        }
        if (script.tracks.empty())
            return Fail("no tracks"), std::nullopt;
        if (script.loop && script.bars <= 0)
            return Fail("a loop needs \"bars\""), std::nullopt;
        return script;
    }

  private:
    enum class Block
    {
        None,
        Instrument,
        Pattern,
        Track
    };

    bool Fail(const std::string& what)
    {
        error = "line " + std::to_string(line) + ": " + what;
        return false;
    }

    bool Get(const std::vector<std::string>& w, size_t i, double& out, double min, double max)
    {
        if (i >= w.size())
            return Fail(w[0] + " needs more values");
        auto v = Number(w[i]);
        if (!v || *v < min || *v > max)
            return Fail("bad value \"" + w[i] + "\" for " + w[0]);
        out = *v;
        return true;
    }

    bool Line(const std::vector<std::string>& w)
    {
        if (w[0] == "end")
        {
            if (block == Block::None)
                return Fail("\"end\" outside a block");
            block = Block::None;
            return true;
        }
        switch (block)
        {
        case Block::None:
            return Global(w);
        case Block::Instrument:
            return InstrumentLine(w);
        case Block::Pattern:
            return PatternLine(w);
        case Block::Track:
            return TrackLine(w);
        }
        return false;
    }

    bool Global(const std::vector<std::string>& w)
    {
        const std::string& k = w[0];
        double v = 0;
        if (k == "channels")
        {
            if (!Get(w, 1, v, 1, 2) || (v != 1 && v != 2))
                return error.empty() ? Fail("channels is 1 or 2") : false;
            script.channels = int(v);
        }
        else if (k == "loop")
        {
            script.loop = true;
        }
        else if (k == "tempo")
        {
            if (!Get(w, 1, script.tempo, 20, 400))
                return false;
        }
        else if (k == "meter")
        {
            if (!Get(w, 1, v, 1, 16))
                return false;
            script.meter = int(v);
        }
        else if (k == "bars")
        {
            if (!Get(w, 1, v, 1, 512))
                return false;
            script.bars = int(v);
        }
        else if (k == "tail")
        {
            if (!Get(w, 1, script.tail, 0, 10))
                return false;
        }
        else if (k == "peak")
        {
            if (!Get(w, 1, script.peak, 0.01, 1))
                return false;
        }
        else if (k == "loudness")
        {
            if (!Get(w, 1, script.loudness, -60, -6))
                return false;
        }
        else if (k == "limit")
        {
            if (!Get(w, 1, script.limit, 0.1, 1))
                return false;
        }
        else if (k == "quality")
        {
            if (!Get(w, 1, script.quality, -0.1, 1))
                return false;
        }
        else if (k == "reverb")
        {
            if (!Get(w, 1, script.reverbTime, 0.05, 10) || !Get(w, 2, script.reverbDamping, 0, 1))
                return false;
        }
        else if (k == "instrument" || k == "pattern")
        {
            if (w.size() != 2)
                return Fail(k + " needs a name");
            name = w[1];
            if (k == "instrument")
            {
                script.instruments[name] = Instrument{};
                block = Block::Instrument;
            }
            else
            {
                script.patterns[name] = Pattern{};
                block = Block::Pattern;
            }
        }
        else if (k == "track")
        {
            if (w.size() != 2)
                return Fail("track needs an instrument");
            script.tracks.emplace_back();
            script.tracks.back().instrument = w[1];
            block = Block::Track;
        }
        else
        {
            return Fail("unknown setting " + k);
        }
        return true;
    }

    bool InstrumentLine(const std::vector<std::string>& w)
    {
        Instrument& in = script.instruments[name];
        const std::string& k = w[0];
        if (k == "wave")
        {
            static const std::map<std::string, Instrument::Wave> Waves = {
                {"sine", Instrument::Wave::Sine},     {"triangle", Instrument::Wave::Triangle},
                {"square", Instrument::Wave::Square}, {"saw", Instrument::Wave::Saw},
                {"pulse", Instrument::Wave::Pulse},   {"noise", Instrument::Wave::Noise}};
            if (w.size() < 2 || !Waves.count(w[1]))
                return Fail("unknown wave");
            in.wave = Waves.at(w[1]);
            if (in.wave == Instrument::Wave::Pulse && w.size() > 2)
                return Get(w, 2, in.duty, 0.01, 0.99);
            return true;
        }
        if (k == "harmonics")
        {
            in.harmonics.clear();
            for (size_t i = 1; i < w.size(); ++i)
            {
                double v = 0;
                if (!Get(w, i, v, 0, 4))
                    return false;
                in.harmonics.push_back(v);
            }
            return !in.harmonics.empty() || Fail("harmonics needs levels");
        }
        if (k == "partialdecay")
            return Get(w, 1, in.partialDecay, 0, 200);
        if (k == "detune")
            return Get(w, 1, in.detuneCents, -1200, 1200) && Get(w, 2, in.detuneMix, 0, 2);
        if (k == "sub")
            return Get(w, 1, in.subMix, 0, 2);
        if (k == "noise")
            return Get(w, 1, in.noiseMix, 0, 2);
        if (k == "envelope")
            return Get(w, 1, in.attack, 0, 10) && Get(w, 2, in.decay, 0, 10) && Get(w, 3, in.sustain, 0, 1) &&
                   Get(w, 4, in.release, 0, 10);
        if (k == "sweep")
            return Get(w, 1, in.sweepSemitones, -96, 96) && Get(w, 2, in.sweepTime, 0.0001, 10);
        if (k == "vibrato")
        {
            if (!Get(w, 1, in.vibratoRate, 0, 40) || !Get(w, 2, in.vibratoDepth, 0, 12))
                return false;
            return w.size() < 4 || Get(w, 3, in.vibratoDelay, 0, 10);
        }
        if (k == "lowpass" || k == "highpass" || k == "bandpass")
        {
            in.filter = k == "lowpass"    ? Instrument::Filter::LowPass
                        : k == "highpass" ? Instrument::Filter::HighPass
                                          : Instrument::Filter::BandPass;
            if (!Get(w, 1, in.cutoffStart, 20, 20000))
                return false;
            in.cutoffEnd = in.cutoffStart;
            if (w.size() > 2 && (!Get(w, 2, in.cutoffEnd, 20, 20000) || !Get(w, 3, in.cutoffTime, 0.0001, 20)))
                return false;
            return w.size() < 5 || Get(w, 4, in.resonance, 0.3, 20);
        }
        if (k == "gain")
            return Get(w, 1, in.gain, 0, 10);
        if (k == "pitch")
        {
            if (w.size() < 2)
                return Fail("pitch needs a note");
            auto n = ParseNoteName(w[1]);
            if (!n)
                return Fail("bad note " + w[1]);
            in.basePitch = *n;
            return true;
        }
        return Fail("unknown instrument setting " + k);
    }

    // Notes: NAME[+NAME...]:LENGTH[@VELOCITY], "r:LENGTH" a rest, "x:LENGTH" a
    // hit at the instrument's pitch; "|" marks bars for the reader only.
    bool PatternLine(const std::vector<std::string>& w)
    {
        Pattern& p = script.patterns[name];
        for (const std::string& token : w)
        {
            if (token == "|")
                continue;
            const size_t colon = token.find(':');
            if (colon == std::string::npos)
                return Fail("note \"" + token + "\" has no length (NOTE:BEATS)");
            std::string lengthText = token.substr(colon + 1);
            double velocity = 1;
            const size_t at = lengthText.find('@');
            if (at != std::string::npos)
            {
                auto v = Number(lengthText.substr(at + 1));
                if (!v || *v < 0 || *v > 2)
                    return Fail("bad velocity in \"" + token + "\"");
                velocity = *v;
                lengthText.erase(at);
            }
            auto length = Number(lengthText);
            if (!length || *length <= 0 || *length > 1024)
                return Fail("bad length in \"" + token + "\"");
            const std::string pitchText = token.substr(0, colon);
            if (pitchText != "r")
            {
                NoteEvent e;
                e.beat = p.beats;
                e.length = *length;
                e.velocity = velocity;
                size_t start = 0;
                for (;;)
                {
                    const size_t plus = pitchText.find('+', start);
                    const std::string one =
                        pitchText.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
                    if (one == "x")
                    {
                        e.pitches.push_back(-1); // the instrument's own pitch
                    }
                    else
                    {
                        auto n = ParseNoteName(one);
                        if (!n)
                            return Fail("bad note \"" + one + "\"");
                        e.pitches.push_back(*n);
                    }
                    if (plus == std::string::npos)
                        break;
                    start = plus + 1;
                }
                p.notes.push_back(e);
            }
            p.beats += *length;
        }
        return true;
    }

    bool TrackLine(const std::vector<std::string>& w)
    {
        Track& t = script.tracks.back();
        const std::string& k = w[0];
        if (k == "volume")
            return Get(w, 1, t.volume, 0, 10);
        if (k == "pan")
            return Get(w, 1, t.pan, -1, 1);
        if (k == "reverb")
            return Get(w, 1, t.reverbSend, 0, 2);
        if (k == "echo")
            return Get(w, 1, t.echoBeats, 0.01, 16) && Get(w, 2, t.echoFeedback, 0, 0.95) && Get(w, 3, t.echoMix, 0, 2);
        if (k == "legato")
            return Get(w, 1, t.legato, 0.05, 4);
        if (k == "play")
        {
            // Pattern names, NAME*N repeats.
            for (size_t i = 1; i < w.size(); ++i)
            {
                std::string pattern = w[i];
                int times = 1;
                const size_t star = pattern.find('*');
                if (star != std::string::npos)
                {
                    auto n = Number(pattern.substr(star + 1));
                    if (!n || *n < 1 || *n > 256 || *n != std::floor(*n))
                        return Fail("bad repeat in \"" + w[i] + "\"");
                    times = int(*n);
                    pattern.erase(star);
                }
                for (int r = 0; r < times; ++r)
                    t.patterns.push_back(pattern);
            }
            return true;
        }
        return Fail("unknown track setting " + k);
    }

    std::string& error;
    SoundScript script;
    Block block = Block::None;
    std::string name;
    int line = 0;
};

} // namespace

std::optional<int> ParseNoteName(const std::string& text)
{
    if (text.size() < 2)
        return std::nullopt;
    static const int Steps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    const char letter = char(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter < 'A' || letter > 'G')
        return std::nullopt;
    int semitone = Steps[letter - 'A'];
    size_t i = 1;
    if (text[i] == '#')
    {
        ++semitone;
        ++i;
    }
    else if (text[i] == 'b')
    {
        --semitone;
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (negative)
        ++i;
    if (i + 1 != text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return std::nullopt;
    const int octave = (text[i] - '0') * (negative ? -1 : 1);
    return (octave + 1) * 12 + semitone;
}

std::optional<SoundScript> ParseSoundScript(const std::string& text, std::string& error)
{
    error.clear();
    Parser parser(error);
    return parser.Run(text);
}
