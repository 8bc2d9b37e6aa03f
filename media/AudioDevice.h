#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/SoundData.h"

class AudioBackend;

// Result numbers of the audio device's operations.
enum class AudioError : int
{
    None = 0,
    BadArgument = 1,
    WrongRecordSize = 2,
    OutOfMemory = 3,
    DeviceFailure = 4,
    DataInUse = 6,      // only one reference was released
    FormatMismatch = 7, // music whose channels or rate differ from the device's
    NoFreeVoice = 257,
    MissingDevice = 65535,
};

// The output format of an open device, as GetFormat reports it. The record
// carries its own size so that callers built against another layout are
// refused.
struct AudioFormatRecord
{
    uint32_t size = sizeof(AudioFormatRecord);
    int32_t channels = 0;
    int32_t bits = 0;
    int32_t rate = 0;
    int32_t bytesPerSample = 0;
    int32_t bytesPerFrame = 0;
    char description[256] = {};
};
static_assert(sizeof(AudioFormatRecord) == 280, "the format record is 280 bytes");

// A small software mixer: a fixed number of voices mixed into 16-bit PCM and
// handed to the platform's sound output through 8 rotating buffers. Each
// buffer the output has consumed is mixed again at once, so the output always
// has 8 buffers (the latency) of sound ahead of it. One lock guards voices,
// format and mixing; every operation takes it.
class AudioDevice
{
  public:
    static constexpr int BufferCount = 8;
    static constexpr int ChunkBytes = 512; // the mixer's working piece

    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the output (null backend: MissingDevice) with the total latency in
    // milliseconds shared by the 8 buffers. 0 for latency, channels, bits or
    // rate picks 50 ms, 2, 16 and 44,100.
    [[nodiscard]] AudioError Open(std::unique_ptr<AudioBackend> backend, int latencyMs, int channels, int bits,
                                  int rate, int voiceCount);
    // Stops every voice, stops the output and frees the buffers.
    void Close();
    [[nodiscard]] bool IsOpen() const { return backend != nullptr; }

    [[nodiscard]] AudioError GetFormat(AudioFormatRecord& record);
    // Starts data on a free voice. end 0 plays to the end of the data; loops
    // -1 repeats forever, n > 0 plays n times.
    [[nodiscard]] AudioError Play(const std::shared_ptr<SoundData>& data, int& voice, uint16_t volume, int16_t pan,
                                  int64_t loopStart, int64_t end, int loops);
    // Stop and SetVolume act only while the voice still plays the given data:
    // a voice freed by the mixer and taken by another sound is left alone.
    [[nodiscard]] AudioError Stop(int voice, const SoundData* data);
    [[nodiscard]] AudioError SetVolume(int voice, const SoundData* data, uint16_t volume);
    [[nodiscard]] bool IsPlaying(int voice, const SoundData* data);
    void StopAllVoices();

    [[nodiscard]] AudioError CreateDecodedSound(std::shared_ptr<SoundData>& data, std::vector<int16_t> samples);
    // Music from a copy of a whole Ogg Vorbis file; refused unless its
    // channels and rate are the device's.
    [[nodiscard]] AudioError CreateStreamedSound(std::shared_ptr<SoundData>& data, const uint8_t* fileBytes,
                                                 size_t size);
    // Drops the caller's reference; DataInUse when a voice still holds one.
    AudioError ReleaseData(std::shared_ptr<SoundData>& data);

    // Fills count bytes of output from the rotating buffers, mixing each
    // buffer again as soon as it has been consumed. Called by the backend.
    void ReadOutput(uint8_t* bytes, int count);

    [[nodiscard]] int VoiceCount() const { return static_cast<int>(voices.size()); }
    [[nodiscard]] int BufferBytes() const { return bufferBytes; }
    [[nodiscard]] int BusyVoices();

  private:
    void MixBuffer(std::vector<uint8_t>& buffer);
    // The voice with that number if it plays `data`, else null; the caller
    // holds the mutex.
    Voice* VoicePlaying(int voice, const SoundData* data);
    void Log(const std::string& text) const;

    std::mutex mutex;
    std::unique_ptr<AudioBackend> backend;
    AudioFormatRecord format;
    std::vector<Voice> voices;
    std::vector<std::vector<uint8_t>> buffers;
    int readBuffer = 0; // the buffer the output is consuming
    int readOffset = 0; // bytes of it already consumed
    int bufferMs = 0;
    int bufferBytes = 0;
};
