#pragma once

#include "SoundScript.h"

#include <cstdint>
#include <vector>

// Renders single notes of an instrument: oscillators (band-limited saw and
// square), additive partials, noise, a pitch glide and vibrato, a resonant
// filter with a cutoff sweep, and an attack-decay-sustain-release envelope.
class NoteRenderer
{
  public:
    explicit NoteRenderer(int rate) : rate(rate) {}

    // Seconds a note sounds for when held gateSeconds: the gate plus the release.
    static double Duration(const Instrument& in, double gateSeconds);

    // Mono samples of one note; out receives Duration() * rate samples. The
    // note starts and ends at silence. seed makes its noise repeatable.
    void Render(const Instrument& in, double midiNote, double velocity, double gateSeconds, uint32_t seed,
                std::vector<float>& out) const;

    // The envelope's level at t seconds for a note held gateSeconds.
    static double Envelope(const Instrument& in, double t, double gateSeconds);

  private:
    int rate;
};
