#pragma once

#include <cstdint>

#include "engine/platform/AudioBackend.h"

// Sound output through SDL's audio device. SDL calls back on its audio
// thread; the callback hands the request to the mixer's pull function, which
// mixes under the device's own lock.
class SdlAudioBackend : public AudioBackend
{
  public:
    SdlAudioBackend() = default;
    ~SdlAudioBackend() override;
    SdlAudioBackend(const SdlAudioBackend&) = delete;
    SdlAudioBackend& operator=(const SdlAudioBackend&) = delete;

    bool Open(const AudioOutputFormat& format, Pull pull, std::string& error) override;
    void Close() override;
    std::string DeviceName() const override { return deviceName; }

  private:
    static void Callback(void* user, uint8_t* stream, int length);

    uint32_t device = 0; // SDL_AudioDeviceID, 0 when closed
    bool subsystemStarted = false;
    Pull pull;
    std::string deviceName;
};
