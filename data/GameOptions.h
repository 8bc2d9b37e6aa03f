#pragma once

// The settings the player can change: display size and mode, and the two
// volumes. Kept in "Data/GameOpts.opt".
class GameOptions
{
  public:
    static GameOptions& Get();
    static void Destroy();

    virtual ~GameOptions() = default;

    // Back to the default display (640 x 480, full screen); volumes unchanged.
    void Reset();

    int width = 640;  // pixels
    int height = 480; // pixels
    bool fullscreen = true;
    float effectsVolume = 1.0f; // 0.0 .. 1.0
    float musicVolume = 1.0f;   // 0.0 .. 1.0
};

// Whether "Data/GameOpts.opt" exists: false on the game's first run.
[[nodiscard]] bool GameOptionsStored();
// Fills GameOptions from "Data/GameOpts.opt". A missing or unreadable file is
// silent and keeps the current values; a malformed one shows a warning.
bool LoadGameOptions();
// Writes GameOptions to "Data/GameOpts.opt"; on failure shows a warning and
// leaves the previous file as it was.
bool SaveGameOptions();
