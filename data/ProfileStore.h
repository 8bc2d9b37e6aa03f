#pragma once

#include <array>
#include <set>
#include <string>

// One player: a name (empty = free slot) and the puzzles solved, each as
// "<set name>/<file name>", sorted in byte order without duplicates.
struct PlayerProfile
{
    std::string name;
    std::set<std::string> completedPuzzles;
};

// The four profile slots and the profile chosen for play. Kept in
// "Data/Profiles.pro"; every change is saved at once.
class ProfileStore
{
  public:
    static constexpr int SlotCount = 4;

    static ProfileStore& Get();
    static void Destroy();

    virtual ~ProfileStore() = default;

    // Names slot i (creating a profile there when it was free), then saves.
    void SetProfileName(int slot, const std::string& name);
    // Frees slot i and forgets its solved puzzles (no profile is current any
    // more if it was), then saves.
    void DeleteProfile(int slot);
    // Records the puzzle at puzzlePath ("Data/Levels/<set>/<file>") as solved
    // by the current profile, then saves. Ignored without a current profile
    // or for a path outside "Data/Levels/".
    void MarkPuzzleCompleted(const std::string& puzzlePath);

    // -1 = no profile chosen; otherwise 0..3.
    void SetCurrentProfile(int index);
    int GetCurrentProfile() const { return currentProfile; }

    // Empty for a free slot or an index outside 0..3.
    const std::string& GetProfileName(int slot) const;
    const PlayerProfile* GetProfile(int slot) const;
    // puzzleName is "<set name>/<file name>".
    bool IsPuzzleCompleted(const std::string& puzzleName) const;

    std::array<PlayerProfile, SlotCount> slots;
    int currentProfile = -1;
};

// Refills the slots from "Data/Profiles.pro" (all free first; the current
// profile index is kept). Missing file: silent, false.
bool LoadProfiles();
// Writes the named slots; on failure shows a warning and keeps the old file.
bool SaveProfiles();

// Length of "Data/Levels/", the prefix a puzzle path loses in a profile.
constexpr size_t LevelsPrefixLength = 12;
