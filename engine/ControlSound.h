#pragma once

#include <string>

class Sound;

// One reference to a sound effect a control plays when the mouse comes over
// it or presses it. The reference is given back when the control goes, unless
// the sound manager (and with it every sound) is already gone.
class ControlSound
{
  public:
    ControlSound() = default;
    ~ControlSound();
    ControlSound(const ControlSound&) = delete;
    ControlSound& operator=(const ControlSound&) = delete;

    // Takes a reference to the effect `name` (a file that cannot be read gives
    // a silent sound) and gives back the previous one.
    bool Set(const std::string& name);
    void Play() const;
    [[nodiscard]] bool IsLoaded() const { return sound != nullptr; }

  private:
    void Clear();

    Sound* sound = nullptr;
};
