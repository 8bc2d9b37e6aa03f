#include "media/Sound.h"

#include <cmath>
#include <cstring>
#include <new>

#include <vorbis/vorbisfile.h>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "media/AudioDevice.h"
#include "media/SoundManager.h"

namespace
{

uint16_t VoiceVolume(float value)
{
    return static_cast<uint16_t>(std::floor(static_cast<double>(value) * 65535.0));
}

// Consecutive holes in a damaged stream tolerated before decoding gives up.
constexpr int MaxHolesInARow = 32;
// Longest effect decoded whole (10 minutes of 22,050 Hz stereo); anything
// longer is treated as an allocation failure rather than tried.
constexpr int64_t MaxEffectFrames = int64_t{22050} * 600;

} // namespace

Sound::Sound(Kind soundKind, std::string soundName) : name(std::move(soundName)), kind(soundKind) {}

// The manager stops every voice before it deletes its sounds, and Release
// stops a sound before deleting it, so no voice outlives its sound here.
Sound::~Sound() = default;

bool Sound::Play(bool loop)
{
    AudioDevice* device = SoundManager::Get().Device();
    if (!data || device == nullptr)
    {
        return false;
    }
    int voice = -1;
    if (device->Play(data, voice, VoiceVolume(volume), 0, 0, 0, loop ? -1 : 1) != AudioError::None)
    {
        return false;
    }
    channel = voice;
    playing = true;
    return true;
}

bool Sound::Stop()
{
    playing = false;
    if (channel == -1)
    {
        return false;
    }
    AudioDevice* device = SoundManager::Get().Device();
    const bool stopped = device != nullptr && data && device->Stop(channel, data.get()) == AudioError::None;
    // Either the voice was stopped, or it no longer plays this sound (it
    // ended and may belong to another sound now): in both cases it is not ours.
    channel = -1;
    return stopped;
}

void Sound::SetVolume(float value)
{
    if (!std::isfinite(value))
    {
        return;
    }
    volume = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    if (channel == -1 || !data)
    {
        return;
    }
    AudioDevice* device = SoundManager::Get().Device();
    if (device == nullptr || device->SetVolume(channel, data.get(), VoiceVolume(volume)) != AudioError::None)
    {
        channel = -1;
        playing = false;
    }
}

bool Sound::IsPlaying()
{
    if (!playing || channel == -1 || !data)
    {
        return false;
    }
    AudioDevice* device = SoundManager::Get().Device();
    if (device == nullptr || !device->IsPlaying(channel, data.get()))
    {
        playing = false;
        channel = -1;
    }
    return playing;
}

void Sound::Release()
{
    Stop();
    refCount -= 1;
    if (refCount <= 0)
    {
        SoundManager::Get().Remove(this); // deletes this sound
    }
}

void Sound::LoadEffectFile()
{
    FileSystem& files = FileSystem::Get();
    PHYSFS_File* file = files.OpenRead(name + ".ogg");
    if (file == nullptr)
    {
        Application::Get().ShowMessage("Unable to load sound file.");
        return;
    }
    ov_callbacks callbacks{};
    callbacks.read_func = OggReadCallback;
    callbacks.seek_func = OggSeekCallback;
    callbacks.close_func = OggCloseCallback;
    callbacks.tell_func = OggTellCallback;
    OggVorbis_File decoder{};
    if (ov_open_callbacks(file, &decoder, nullptr, 0, callbacks) != 0)
    {
        // The decoder did not take the file, so it is closed here.
        files.Close(file);
        Application::Get().ShowMessage("Unable to load sound file.");
        return;
    }
    const vorbis_info* info = ov_info(&decoder, -1);
    const int channels = info != nullptr ? info->channels : 0;
    const ogg_int64_t frames = ov_pcm_total(&decoder, -1);
    if (channels < 1 || channels > 2 || frames <= 0)
    {
        ov_clear(&decoder);
        Application::Get().ShowMessage("Unable to load sound file.");
        return;
    }
    const size_t capacity = static_cast<size_t>(frames) * static_cast<size_t>(channels) * 2;
    std::unique_ptr<char[]> decoded(frames > MaxEffectFrames ? nullptr : new (std::nothrow) char[capacity]);
    if (!decoded)
    {
        ov_clear(&decoder);
        Application::Get().ShowMessage("Unable to allocate memory for sound file.");
        return;
    }

    // Decode in small pieces, never past the buffer (the stream may hold
    // more than its header promised); retry a bounded number of holes and
    // stop at any other error.
    size_t filled = 0;
    int holes = 0;
    while (filled < capacity)
    {
        int bitstream = 0;
        const int want = static_cast<int>(std::min<size_t>(1024, capacity - filled));
        const long got = ov_read(&decoder, decoded.get() + filled, want, 0, 2, 1, &bitstream);
        if (got > 0)
        {
            filled += static_cast<size_t>(got);
            holes = 0;
        }
        else if (got == OV_HOLE && ++holes <= MaxHolesInARow)
        {
            continue;
        }
        else
        {
            break;
        }
    }
    ov_clear(&decoder); // closes the file

    const size_t framesDecoded = filled / (static_cast<size_t>(channels) * 2);
    if (framesDecoded == 0)
    {
        Application::Get().ShowMessage("Unable to load sound file.");
        return;
    }
    std::vector<int16_t> stereo(framesDecoded * 2);
    for (size_t f = 0; f < framesDecoded; ++f)
    {
        int16_t left = 0;
        int16_t right = 0;
        std::memcpy(&left, decoded.get() + f * channels * 2, 2);
        right = left;
        if (channels == 2)
        {
            std::memcpy(&right, decoded.get() + f * 4 + 2, 2);
        }
        stereo[f * 2] = left;
        stereo[f * 2 + 1] = right;
    }
    AudioDevice* device = SoundManager::Get().Device();
    if (device == nullptr || device->CreateDecodedSound(data, std::move(stereo)) != AudioError::None)
    {
        data.reset();
        return;
    }
    SetVolume(SoundManager::Get().GetEffectsVolume());
}

void Sound::LoadMusicFile()
{
    // Missing, unreadable or refused music stays silent without a message.
    std::optional<std::string> bytes = FileSystem::Get().ReadWholeFile(name + ".ogg");
    AudioDevice* device = SoundManager::Get().Device();
    if (!bytes || bytes->empty() || device == nullptr)
    {
        return;
    }
    if (device->CreateStreamedSound(data, reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()) !=
        AudioError::None)
    {
        data.reset();
        return;
    }
    SetVolume(SoundManager::Get().GetMusicVolume());
}
