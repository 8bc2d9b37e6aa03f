#include "engine/ControlSound.h"

#include "media/Sound.h"
#include "media/SoundManager.h"

ControlSound::~ControlSound()
{
    Clear();
}

bool ControlSound::Set(const std::string& name)
{
    // Loaded before the old one is let go, so setting the same sound again
    // keeps it loaded instead of decoding it anew.
    Sound* next = SoundManager::Get().LoadEffect(name);
    Clear();
    sound = next;
    return sound != nullptr;
}

void ControlSound::Play() const
{
    if (sound != nullptr)
        (void)sound->Play(false);
}

void ControlSound::Clear()
{
    // During teardown the sound manager (and its sounds) may already be gone.
    if (sound != nullptr && SoundManager::Existing() != nullptr)
        sound->Release();
    sound = nullptr;
}
