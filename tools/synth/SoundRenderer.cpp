#include "SoundRenderer.h"

#include "Loudness.h"
#include "NoteRenderer.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int Rate = RenderedSound::Rate;

// A stateful effect run over a buffer: for a loop, warm-up passes over the
// same buffer come first so its tail is already sounding at the start.
template <typename Effect>
std::vector<float> RunEffect(Effect& effect, const std::vector<float>& input, bool loop, double settleSeconds)
{
    std::vector<float> output(input.size());
    int warmups = 0;
    if (loop && !input.empty())
        warmups = int(std::ceil(settleSeconds * Rate / double(input.size())));
    for (int pass = 0; pass <= warmups; ++pass)
        for (size_t i = 0; i < input.size(); ++i)
            output[i] = effect.Process(input[i]);
    return output;
}

// Feedback delay: each repeat fainter by the feedback factor; returns only the repeats.
struct Echo
{
    std::vector<float> line;
    size_t pos = 0;
    double feedback = 0;
    float Process(float x)
    {
        const float delayed = line[pos];
        line[pos] = float(x + feedback * delayed);
        pos = (pos + 1) % line.size();
        return delayed;
    }
};

// Schroeder reverberator: four damped combs in parallel, two all-passes in series.
struct Reverb
{
    struct Comb
    {
        std::vector<float> line;
        size_t pos = 0;
        double feedback = 0, damping = 0, store = 0;
        float Process(float x)
        {
            const float y = line[pos];
            store = y * (1 - damping) + store * damping;
            line[pos] = float(x + store * feedback);
            pos = (pos + 1) % line.size();
            return y;
        }
    };
    struct AllPass
    {
        std::vector<float> line;
        size_t pos = 0;
        float Process(float x)
        {
            const float b = line[pos];
            line[pos] = x + b * 0.5f;
            pos = (pos + 1) % line.size();
            return b - x;
        }
    };
    Comb combs[4];
    AllPass passes[2];

    Reverb(double seconds, double damping, int spread)
    {
        static const int CombLengths[] = {1116, 1188, 1277, 1356}; // at 44.1 kHz
        static const int PassLengths[] = {556, 441};
        for (int i = 0; i < 4; ++i)
        {
            const size_t length = size_t((CombLengths[i] + spread) / 2);
            combs[i].line.assign(length, 0.0f);
            // Feedback that falls 60 dB in the requested time.
            combs[i].feedback = std::pow(10.0, -3.0 * double(length) / Rate / seconds);
            combs[i].damping = damping;
        }
        for (int i = 0; i < 2; ++i)
            passes[i].line.assign(size_t((PassLengths[i] + spread) / 2), 0.0f);
    }
    float Process(float x)
    {
        float sum = 0;
        for (Comb& c : combs)
            sum += c.Process(x * 0.25f);
        for (AllPass& a : passes)
            sum = a.Process(sum);
        return sum;
    }
};

double TrackBeats(const SoundScript& script, const Track& t)
{
    double beats = 0;
    for (const std::string& p : t.patterns)
        beats += script.patterns.at(p).beats;
    return beats;
}

} // namespace

size_t LoopFrames(const SoundScript& script)
{
    const double seconds = script.bars * script.meter * 60.0 / script.tempo;
    return size_t(std::llround(seconds * Rate));
}

std::optional<RenderedSound> RenderSound(const SoundScript& script, std::string& error)
{
    const double secondsPerBeat = 60.0 / script.tempo;
    const double framesPerBeat = secondsPerBeat * Rate;

    // Length: the loop, or until the last note (and its echoes) has faded.
    size_t frames = 0;
    if (script.loop)
    {
        frames = LoopFrames(script);
        const double loopBeats = double(script.bars) * script.meter;
        for (const Track& t : script.tracks)
        {
            const double beats = TrackBeats(script, t);
            if (std::fabs(beats - loopBeats) > 1e-6)
            {
                error = "a track of " + t.instrument + " lasts " + std::to_string(beats) + " beats; the loop has " +
                        std::to_string(loopBeats);
                return std::nullopt;
            }
        }
    }
    else
    {
        double end = 0;
        for (const Track& t : script.tracks)
        {
            const Instrument& in = script.instruments.at(t.instrument);
            double offset = 0;
            for (const std::string& name : t.patterns)
            {
                const Pattern& p = script.patterns.at(name);
                for (const NoteEvent& n : p.notes)
                {
                    const double gate = n.length * t.legato * secondsPerBeat;
                    end = std::max(end, (offset + n.beat) * secondsPerBeat + NoteRenderer::Duration(in, gate));
                }
                offset += p.beats;
            }
            end = std::max(end, offset * secondsPerBeat);
        }
        if (script.bars > 0)
            end = std::max(end, script.bars * script.meter * secondsPerBeat);
        frames = size_t(std::ceil((end + script.tail) * Rate));
    }
    if (frames == 0 || frames > size_t(Rate) * 600)
    {
        error = "the sound would be empty or longer than ten minutes";
        return std::nullopt;
    }

    const int channels = script.channels;
    std::vector<float> mix(frames * size_t(channels), 0.0f);
    std::vector<float> reverbBus(frames, 0.0f);
    NoteRenderer notes(Rate);
    uint32_t seed = 1;
    std::vector<float> note;

    for (const Track& t : script.tracks)
    {
        const Instrument& in = script.instruments.at(t.instrument);
        std::vector<float> dry(frames, 0.0f);
        double offset = 0;
        for (const std::string& name : t.patterns)
        {
            const Pattern& p = script.patterns.at(name);
            for (const NoteEvent& n : p.notes)
            {
                const double gate = n.length * t.legato * secondsPerBeat;
                const size_t start = size_t(std::llround((offset + n.beat) * framesPerBeat));
                for (double pitch : n.pitches)
                {
                    notes.Render(in, pitch < 0 ? in.basePitch : pitch, n.velocity, gate, seed++, note);
                    for (size_t i = 0; i < note.size(); ++i)
                    {
                        size_t at = start + i;
                        if (script.loop)
                            at %= frames;
                        else if (at >= frames)
                            break;
                        dry[at] += note[i];
                    }
                }
            }
            offset += p.beats;
        }
        if (t.echoMix > 0 && t.echoFeedback >= 0)
        {
            Echo echo;
            echo.line.assign(std::max<size_t>(1, size_t(std::llround(t.echoBeats * framesPerBeat))), 0.0f);
            echo.feedback = t.echoFeedback;
            const double settle =
                t.echoBeats * secondsPerBeat * (1 + std::log(1e-4) / std::log(std::max(t.echoFeedback, 0.01)));
            const std::vector<float> repeats = RunEffect(echo, dry, script.loop, settle);
            for (size_t i = 0; i < frames; ++i)
                dry[i] += float(t.echoMix * repeats[i]);
        }
        // Equal-power panning.
        const double angle = (t.pan + 1) * M_PI / 4;
        const double gains[2] = {std::cos(angle) * std::sqrt(2.0), std::sin(angle) * std::sqrt(2.0)};
        for (size_t i = 0; i < frames; ++i)
        {
            const double v = dry[i] * t.volume;
            if (channels == 1)
                mix[i] += float(v);
            else
                for (int c = 0; c < 2; ++c)
                    mix[i * 2 + size_t(c)] += float(v * gains[c]);
            reverbBus[i] += float(v * t.reverbSend);
        }
    }

    bool anyReverb = false;
    for (const Track& t : script.tracks)
        anyReverb = anyReverb || t.reverbSend > 0;
    if (anyReverb)
    {
        for (int c = 0; c < channels; ++c)
        {
            // Slightly different rooms left and right give width.
            Reverb room(script.reverbTime, script.reverbDamping, c * 23);
            const std::vector<float> wet = RunEffect(room, reverbBus, script.loop, script.reverbTime * 1.5);
            for (size_t i = 0; i < frames; ++i)
                mix[i * size_t(channels) + size_t(c)] += wet[i];
        }
    }

    if (!script.loop)
    {
        // A short fade keeps a truncated tail from clicking.
        const size_t fade = std::min<size_t>(frames, Rate / 200);
        for (size_t i = 0; i < fade; ++i)
            for (int c = 0; c < channels; ++c)
                mix[(frames - 1 - i) * size_t(channels) + size_t(c)] *= float(i) / float(fade);
    }

    float peak = 0;
    for (float v : mix)
        peak = std::max(peak, std::fabs(v));
    if (peak <= 0)
    {
        error = "the sound is silent";
        return std::nullopt;
    }
    if (script.limit < 1)
    {
        // Soft limiting: above the threshold, samples bend smoothly towards the
        // peak instead of rising straight, so a few loud hits do not set the
        // level of everything else. Sample by sample, so a loop stays seamless.
        const double threshold = script.limit;
        const double room = 1 - threshold;
        float squeezed = 0;
        for (float& v : mix)
        {
            const double x = std::fabs(v) / peak;
            if (x > threshold)
            {
                const double y = threshold + room * std::tanh((x - threshold) / room);
                v = float(std::copysign(y * peak, v));
            }
            squeezed = std::max(squeezed, std::fabs(v));
        }
        peak = squeezed;
    }
    float scale = float(script.peak / peak);
    if (script.loudness < 0)
    {
        // Mastered to a loudness instead, so that tunes played one after
        // another sound equally loud; the peak is then only a ceiling.
        const double measured = IntegratedLoudness(mix, channels, Rate);
        scale = float(std::pow(10.0, (script.loudness - measured) / 20));
        if (peak * scale > script.peak)
        {
            error = "at loudness " + std::to_string(script.loudness) + " LUFS the peak would be " +
                    std::to_string(peak * scale) + ", above " + std::to_string(script.peak) +
                    ": lower the limit or the loudness";
            return std::nullopt;
        }
    }
    for (float& v : mix)
        v *= scale;

    RenderedSound out;
    out.channels = channels;
    out.loop = script.loop;
    out.samples = std::move(mix);
    return out;
}
