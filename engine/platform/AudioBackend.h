#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What the mixer asks of the sound output, and what it got.
struct AudioOutputFormat
{
    int rate = 22050; // frames per second
    int channels = 2;
    int bits = 16;       // signed little-endian samples
    int latencyMs = 175; // total buffering the mixer keeps ahead of the output
};

// The sound output of the platform layer. The backend calls the pull
// function whenever the output needs more sound (from a thread of its own);
// the function fills the given bytes in the opened format. SdlAudioBackend is
// the real output; HeadlessAudioBackend is pulled by the test that owns it.
class AudioBackend
{
  public:
    using Pull = std::function<void(uint8_t* bytes, int count)>;

    virtual ~AudioBackend() = default;

    // Opens the output in exactly the given format and starts pulling. On
    // failure returns false and sets error to a short description.
    [[nodiscard]] virtual bool Open(const AudioOutputFormat& format, Pull pull, std::string& error) = 0;
    // Stops pulling; when it returns the pull function is never called again.
    virtual void Close() = 0;
    // A name for the output device (for the format description).
    [[nodiscard]] virtual std::string DeviceName() const = 0;

    // The backend a new audio device uses: the installed factory's, else SDL.
    [[nodiscard]] static std::unique_ptr<AudioBackend> Create();
    // Tests install a factory that hands out headless backends; an empty
    // function restores the SDL default.
    static void SetFactory(std::function<std::unique_ptr<AudioBackend>()> factory);
};
