#include "NoteRenderer.h"

#include <algorithm>
#include <cmath>

namespace
{

// Correction that removes most aliasing at a saw or square's jump (polyBLEP).
double PolyBlep(double phase, double dt)
{
    if (phase < dt)
    {
        const double t = phase / dt;
        return t + t - t * t - 1;
    }
    if (phase > 1 - dt)
    {
        const double t = (phase - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

double Oscillator(Instrument::Wave wave, double phase, double dt, double duty, uint32_t& noise)
{
    switch (wave)
    {
    case Instrument::Wave::Sine:
        return std::sin(2 * M_PI * phase);
    case Instrument::Wave::Triangle:
        return 4 * std::fabs(phase - 0.5) - 1;
    case Instrument::Wave::Saw:
        return 2 * phase - 1 - PolyBlep(phase, dt);
    case Instrument::Wave::Square:
        duty = 0.5;
        [[fallthrough]];
    case Instrument::Wave::Pulse:
    {
        double v = phase < duty ? 1 : -1;
        v += PolyBlep(phase, dt);
        v -= PolyBlep(std::fmod(phase + 1 - duty, 1.0), dt);
        return v;
    }
    case Instrument::Wave::Noise:
        noise = noise * 1664525u + 1013904223u;
        return (noise >> 8) / double(1 << 23) - 1;
    }
    return 0;
}

// Two-pole state-variable filter in the trapezoidal form, stable under fast
// cutoff changes.
struct StateVariableFilter
{
    double ic1 = 0, ic2 = 0;
    double a1 = 0, a2 = 0, a3 = 0, k = 1;

    void Set(double cutoff, double q, int rate)
    {
        cutoff = std::clamp(cutoff, 20.0, 0.45 * rate);
        const double g = std::tan(M_PI * cutoff / rate);
        k = 1 / q;
        a1 = 1 / (1 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    double Process(double x, Instrument::Filter mode)
    {
        const double v3 = x - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2 * v1 - ic1;
        ic2 = 2 * v2 - ic2;
        switch (mode)
        {
        case Instrument::Filter::LowPass:
            return v2;
        case Instrument::Filter::HighPass:
            return x - k * v1 - v2;
        case Instrument::Filter::BandPass:
            return v1;
        case Instrument::Filter::None:
            break;
        }
        return x;
    }
};

// Level reached after a decay of the given time: the curve is exponential and
// has gone 99 % of the way at that time.
double Approach(double from, double to, double elapsed, double time)
{
    if (time <= 0)
        return to;
    return to + (from - to) * std::exp(-4.6 * elapsed / time);
}

} // namespace

double NoteRenderer::Duration(const Instrument& in, double gateSeconds)
{
    return std::max(0.0, gateSeconds) + in.release;
}

double NoteRenderer::Envelope(const Instrument& in, double t, double gateSeconds)
{
    auto held = [&](double time)
    {
        if (time < in.attack)
            return in.attack > 0 ? time / in.attack : 1.0;
        return Approach(1.0, in.sustain, time - in.attack, in.decay);
    };
    if (t < 0)
        return 0;
    if (t < gateSeconds)
        return held(t);
    const double level = held(gateSeconds);
    if (in.release <= 0)
        return 0;
    const double r = t - gateSeconds;
    if (r >= in.release)
        return 0;
    // Exponential fall (-60 dB over the release), pulled to exact silence at its end.
    return level * std::exp(-6.9 * r / in.release) * (1 - r / in.release);
}

void NoteRenderer::Render(const Instrument& in, double midiNote, double velocity, double gateSeconds, uint32_t seed,
                          std::vector<float>& out) const
{
    // (The small allowance keeps 0.1 + 0.2 seconds from rounding up a sample.)
    const size_t count = size_t(std::ceil(Duration(in, gateSeconds) * rate - 1e-6));
    out.assign(count, 0.0f);
    const double baseFrequency = 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
    const double detuneRatio = std::pow(2.0, in.detuneCents / 1200.0);
    double phase = 0, phase2 = 0.31, subPhase = 0;
    std::vector<double> partialPhase(in.harmonics.size(), 0.0);
    uint32_t noise = seed * 2654435761u + 12345u;
    StateVariableFilter filter;
    const double nyquist = rate / 2.0;

    for (size_t i = 0; i < count; ++i)
    {
        const double t = double(i) / rate;
        double semitones = in.sweepSemitones * std::exp(-t / in.sweepTime);
        if (in.vibratoDepth > 0 && t > in.vibratoDelay)
        {
            const double fadeIn = std::min(1.0, (t - in.vibratoDelay) / 0.2);
            semitones += in.vibratoDepth * fadeIn * std::sin(2 * M_PI * in.vibratoRate * (t - in.vibratoDelay));
        }
        const double f = baseFrequency * std::pow(2.0, semitones / 12.0);
        const double dt = std::min(f / rate, 0.5);

        double v = 0;
        if (!in.harmonics.empty())
        {
            for (size_t k = 0; k < in.harmonics.size(); ++k)
            {
                const double fk = f * double(k + 1);
                if (fk >= nyquist * 0.9)
                    break;
                const double decay = std::exp(-in.partialDecay * double(k) * t);
                v += in.harmonics[k] * decay * std::sin(2 * M_PI * partialPhase[k]);
                partialPhase[k] = std::fmod(partialPhase[k] + fk / rate, 1.0);
            }
        }
        else
        {
            v = Oscillator(in.wave, phase, dt, in.duty, noise);
            if (in.detuneMix > 0)
                v += in.detuneMix * Oscillator(in.wave, phase2, std::min(dt * detuneRatio, 0.5), in.duty, noise);
        }
        if (in.subMix > 0)
            v += in.subMix * std::sin(2 * M_PI * subPhase);
        if (in.noiseMix > 0)
            v += in.noiseMix * Oscillator(Instrument::Wave::Noise, 0, 0, 0, noise);
        phase = std::fmod(phase + dt, 1.0);
        phase2 = std::fmod(phase2 + std::min(dt * detuneRatio, 0.5), 1.0);
        subPhase = std::fmod(subPhase + dt / 2, 1.0);

        if (in.filter != Instrument::Filter::None)
        {
            if (i % 16 == 0)
            {
                const double ratio = std::exp(-t / in.cutoffTime);
                filter.Set(in.cutoffEnd + (in.cutoffStart - in.cutoffEnd) * ratio, in.resonance, rate);
            }
            v = filter.Process(v, in.filter);
        }
        out[i] = float(v * Envelope(in, t, gateSeconds) * velocity * in.gain);
    }
}
