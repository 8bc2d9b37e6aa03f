#pragma once

#include <map>
#include <memory>
#include <string>

class AudioBackend;
class AudioDevice;
class Sound;

// Loads and shares sounds by name (without ".ogg"), keeps effects and music
// apart, each with its own volume, and owns the audio device. Without a
// device every sound is silent and the game carries on.
class SoundManager
{
  public:
    static SoundManager& Get();
    // The manager if it exists, else null (for releases during teardown).
    static SoundManager* Existing();
    static void Destroy();

    SoundManager() = default;
    virtual ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Opens the audio device: 22,050 Hz, 16-bit stereo, 5 voices, 175 ms.
    // The first form takes the platform's default output.
    [[nodiscard]] bool Open();
    [[nodiscard]] bool Open(std::unique_ptr<AudioBackend> backend);
    [[nodiscard]] AudioDevice* Device() const { return device.get(); }

    // The shared sound of that name (one more reference), loaded if needed.
    // Never null: a sound that failed to load is returned all the same.
    Sound* LoadEffect(const std::string& name);
    Sound* LoadMusic(const std::string& name);

    // Volumes 0..1, applied to every sound of the kind and to later loads.
    void SetMusicVolume(float value);
    void SetEffectsVolume(float value);
    [[nodiscard]] float GetMusicVolume() const { return musicVolume; }
    [[nodiscard]] float GetEffectsVolume() const { return effectsVolume; }
    void StopAll();

    // Deletes a sound whose last reference went (called by Sound::Release).
    void Remove(Sound* sound);
    [[nodiscard]] size_t EffectCount() const { return effects.size(); }
    [[nodiscard]] size_t MusicCount() const { return music.size(); }

  private:
    Sound* Load(std::map<std::string, std::unique_ptr<Sound>>& sounds, const std::string& name, bool isMusic);

    std::unique_ptr<AudioDevice> device;
    std::map<std::string, std::unique_ptr<Sound>> effects;
    std::map<std::string, std::unique_ptr<Sound>> music;
    float musicVolume = 1.0f;
    float effectsVolume = 1.0f;
};
