#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "game/GameModes.h"

class HeadlessPlatform;
class PlayScreen;

// Runs the play screen on the headless platform from a script, one command
// per line, with a clock the script sets (the window opened at tick 0, so
// the application clock is tick x 0.001 s). See Usage() for the commands.
class Simulator
{
  public:
    // Opens the 640 x 480 headless window with the resources rooted at the
    // current directory and the game archive mounted after it; save files go
    // to saveFolder/Data.
    [[nodiscard]] bool Open(const std::string& gameArchive, const std::string& saveFolder, std::string& error);
    // Runs a whole script; 0 on success, 2 on the first bad command (the
    // message then holds one line naming it).
    int Run(std::istream& script, std::ostream& out, std::string& error);

    static const char* Usage();

  private:
    // One command split into words; false with a message when it is bad.
    bool Execute(const std::vector<std::string>& words, std::ostream& out, std::string& error);
    bool SetTick(int64_t ms, std::string& error);
    // Makes the profile called name current, creating it in the first free
    // slot when no slot holds it.
    bool UseProfile(const std::string& name, std::string& error);
    void Frame();
    bool RequireStarted(const std::string& command, std::string& error) const;
    [[nodiscard]] std::string StateLine();

    HeadlessPlatform* platform = nullptr;
    int64_t tick = 0;
    bool started = false;
    GameType nextType = GameType::Marathon;
    int nextDifficulty = 1;
};
