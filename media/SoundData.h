#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// One voice of the mixer: which sound it plays and where it stands.
struct Voice
{
    std::shared_ptr<class SoundData> data; // null when the voice is free
    int64_t position = 0;                  // samples for decoded sounds, frames for streamed music
    uint16_t volume = 0;                   // 65535 = full
    int16_t pan = 0;
    int64_t loopStart = 0;  // where a loop continues
    int64_t end = 0;        // where a loop ends (0 = no end)
    int loopsRemaining = 0; // -1 = forever
};

// Sound samples shared by a Sound and the voices playing it. Read fills a
// piece of 16-bit stereo output for a voice and advances it; it runs under
// the audio device's lock, on the mixing thread.
class SoundData
{
  public:
    virtual ~SoundData() = default;
    // Writes at most count samples into out; returns how many were written.
    // ended is set when the voice has finished (it is then freed).
    virtual int Read(Voice& voice, int16_t* out, int count, bool& ended) = 0;
    // Number of 16-bit samples; 0 for streamed sounds, which have no end.
    [[nodiscard]] virtual int64_t Length() const = 0;
};

// A sound decoded completely into interleaved left/right samples.
class DecodedSoundData : public SoundData
{
  public:
    explicit DecodedSoundData(std::vector<int16_t> decoded) : samples(std::move(decoded)) {}
    int Read(Voice& voice, int16_t* out, int count, bool& ended) override;
    int64_t Length() const override { return static_cast<int64_t>(samples.size()); }
    [[nodiscard]] const std::vector<int16_t>& Samples() const { return samples; }

  private:
    std::vector<int16_t> samples;
};

// The facts of an Ogg Vorbis stream the mixer checks before it plays one.
struct StreamInfo
{
    int channels = 0;
    int rate = 0;
};

// Music kept as its compressed file and decoded while it plays, seamlessly
// from its end back to its first sample. Null when the bytes are not an Ogg
// Vorbis stream.
[[nodiscard]] std::shared_ptr<SoundData> MakeStreamedSoundData(const uint8_t* bytes, size_t size, StreamInfo& info);
