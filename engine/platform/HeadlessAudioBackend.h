#pragma once

#include <cstdint>
#include <vector>

#include "engine/platform/AudioBackend.h"

// Sound output for tests: nothing is played and no thread runs. The test
// pulls the mixer by hand and inspects every byte it produced.
class HeadlessAudioBackend : public AudioBackend
{
  public:
    HeadlessAudioBackend() = default;
    explicit HeadlessAudioBackend(bool refuse) : refuseOpen(refuse) {}

    bool Open(const AudioOutputFormat& format, Pull pull, std::string& error) override;
    void Close() override;
    std::string DeviceName() const override { return "headless"; }

    [[nodiscard]] bool IsOpen() const { return open; }
    // Pulls frames of sound and appends them to the captured output.
    void Pump(int frames);
    // Captured 16-bit samples (interleaved channels) since the last Clear.
    [[nodiscard]] const std::vector<int16_t>& Samples() const { return samples; }
    void ClearSamples() { samples.clear(); }
    [[nodiscard]] const AudioOutputFormat& Format() const { return format; }

  private:
    bool refuseOpen = false;
    bool open = false;
    AudioOutputFormat format;
    Pull pull;
    std::vector<int16_t> samples;
};
