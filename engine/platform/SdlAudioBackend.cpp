#include "engine/platform/SdlAudioBackend.h"

#include <SDL.h>

SdlAudioBackend::~SdlAudioBackend()
{
    Close();
}

void SdlAudioBackend::Callback(void* user, uint8_t* stream, int length)
{
    auto* self = static_cast<SdlAudioBackend*>(user);
    self->pull(stream, length);
}

bool SdlAudioBackend::Open(const AudioOutputFormat& format, Pull pullFunction, std::string& error)
{
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        error = SDL_GetError();
        return false;
    }
    subsystemStarted = true;
    pull = std::move(pullFunction);

    SDL_AudioSpec want{};
    want.freq = format.rate;
    want.format = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(format.channels);
    // A small request: the mixer keeps its own rotating buffers ahead, so
    // SDL only needs to ask often enough to keep them flowing.
    want.samples = 512;
    want.callback = &SdlAudioBackend::Callback;
    want.userdata = this;

    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to whatever the hardware wants, so the
    // mixer always works in the format it asked for.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0)
    {
        error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
        pull = nullptr;
        return false;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    deviceName = driver != nullptr ? driver : "unknown";
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioBackend::Close()
{
    if (device != 0)
    {
        // Waits for a running callback to return.
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    if (subsystemStarted)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystemStarted = false;
    }
    pull = nullptr;
}
