#include "media/SoundManager.h"

#include <cmath>

#include "app/Application.h"
#include "engine/platform/AudioBackend.h"
#include "media/AudioDevice.h"
#include "media/BitmapCache.h"
#include "media/Sound.h"

namespace
{
std::unique_ptr<SoundManager> instance;

constexpr int LatencyMs = 175;
constexpr int Channels = 2;
constexpr int Bits = 16;
constexpr int Rate = 22050;
constexpr int Voices = 5;

float LimitVolume(float value, float current)
{
    if (!std::isfinite(value))
    {
        return current;
    }
    return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
}
} // namespace

SoundManager& SoundManager::Get()
{
    if (!instance)
    {
        instance = std::make_unique<SoundManager>();
    }
    return *instance;
}

SoundManager* SoundManager::Existing()
{
    return instance.get();
}

void SoundManager::Destroy()
{
    instance.reset();
}

SoundManager::~SoundManager()
{
    if (device)
    {
        device->Close();
    }
    // The sounds go while the device pointer is still valid (their
    // destructors look at it), then the device.
    effects.clear();
    music.clear();
    device.reset();
}

bool SoundManager::Open()
{
    return Open(nullptr);
}

bool SoundManager::Open(std::unique_ptr<AudioBackend> backend)
{
    if (device)
    {
        return true;
    }
    if (!backend)
    {
        backend = AudioBackend::Create();
    }
    auto opened = std::make_unique<AudioDevice>();
    if (opened->Open(std::move(backend), LatencyMs, Channels, Bits, Rate, Voices) != AudioError::None)
    {
        Application::Get().ShowMessage("Unable to access audio device.");
        return false;
    }
    device = std::move(opened);
    return true;
}

Sound* SoundManager::Load(std::map<std::string, std::unique_ptr<Sound>>& sounds, const std::string& name, bool isMusic)
{
    const std::string key = ToLowerAscii(name);
    auto it = sounds.find(key);
    if (it != sounds.end())
    {
        it->second->refCount += 1;
        return it->second.get();
    }
    // The file is opened by the name as written: only the map key is
    // lower-cased, since the file system is case-sensitive.
    auto sound = std::make_unique<Sound>(isMusic ? Sound::Kind::Music : Sound::Kind::Effect, name);
    Sound* raw = sound.get();
    sounds.emplace(key, std::move(sound));
    if (device)
    {
        if (isMusic)
        {
            raw->LoadMusicFile();
        }
        else
        {
            raw->LoadEffectFile();
        }
    }
    return raw;
}

Sound* SoundManager::LoadEffect(const std::string& name)
{
    return Load(effects, name, false);
}

Sound* SoundManager::LoadMusic(const std::string& name)
{
    return Load(music, name, true);
}

void SoundManager::SetMusicVolume(float value)
{
    musicVolume = LimitVolume(value, musicVolume);
    for (auto& entry : music)
    {
        entry.second->SetVolume(musicVolume);
    }
}

void SoundManager::SetEffectsVolume(float value)
{
    effectsVolume = LimitVolume(value, effectsVolume);
    for (auto& entry : effects)
    {
        entry.second->SetVolume(effectsVolume);
    }
}

void SoundManager::StopAll()
{
    for (auto& entry : music)
    {
        entry.second->Stop();
    }
    for (auto& entry : effects)
    {
        entry.second->Stop();
    }
}

void SoundManager::Remove(Sound* sound)
{
    auto& sounds = sound->GetKind() == Sound::Kind::Music ? music : effects;
    for (auto it = sounds.begin(); it != sounds.end(); ++it)
    {
        if (it->second.get() == sound)
        {
            sounds.erase(it);
            return;
        }
    }
}
