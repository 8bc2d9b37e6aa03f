#pragma once

#include <memory>
#include <string>

class SoundData;
class SoundManager;

// One loaded sound, shared by name through the SoundManager: an effect decoded
// whole at load, or music kept compressed and decoded while it plays. A sound
// whose file could not be loaded (or loaded without an audio device) has no
// data and never plays.
class Sound
{
  public:
    enum class Kind
    {
        Effect,
        Music
    };

    Sound(Kind kind, std::string name);
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Plays on a free voice at the sound's volume, once or looping. Playing a
    // sound that already plays takes another voice; channel names the newer.
    [[nodiscard]] bool Play(bool loop);
    bool Stop();
    // Stores the volume (limited to 0..1; not-a-number keeps the old one) and
    // applies it to the voice the sound plays on.
    void SetVolume(float value);
    [[nodiscard]] float GetVolume() const { return volume; }
    // Stops the sound and gives back the caller's reference; the last one
    // removes it from the manager and deletes it.
    void Release();
    // Whether the voice last started still plays this sound (a finished
    // effect's voice may already belong to another sound).
    [[nodiscard]] bool IsPlaying();

    [[nodiscard]] bool HasData() const { return data != nullptr; }
    [[nodiscard]] const std::string& Name() const { return name; }
    [[nodiscard]] Kind GetKind() const { return kind; }
    [[nodiscard]] int RefCount() const { return refCount; }
    [[nodiscard]] int Channel() const { return channel; }

  private:
    friend class SoundManager;
    // Loading, done by the manager: name + ".ogg" through the file system.
    void LoadEffectFile();
    void LoadMusicFile();

    int refCount = 1; // one per LoadEffect / LoadMusic caller
    int channel = -1; // voice of the latest Play, -1 when none is recorded
    bool playing = false;
    float volume = 1.0f;
    std::string name;
    std::shared_ptr<SoundData> data;
    Kind kind;
};
