#pragma once

#include "SoundScript.h"

#include <optional>
#include <string>
#include <vector>

// Plays a sound description into samples: every track's notes, its echo, the
// shared reverb, panning, and normalising to the requested peak.
//
// A loop is rendered round a circle: notes that run past the end continue at
// the start, and the echo and reverb run over the loop until they settle
// before the kept pass, so their tails fold into the head and the last
// sample flows into the first.
struct RenderedSound
{
    static constexpr int Rate = 22050; // the rate the synthesizer renders at
    int rate = Rate;                   // frames per second of these samples
    int channels = 1;
    bool loop = false;
    std::vector<float> samples; // interleaved, channels per frame
    size_t Frames() const { return channels ? samples.size() / size_t(channels) : 0; }
};

[[nodiscard]] std::optional<RenderedSound> RenderSound(const SoundScript& script, std::string& error);

// Samples per frame of the loop, the exact count for tempo, meter and bars.
size_t LoopFrames(const SoundScript& script);
