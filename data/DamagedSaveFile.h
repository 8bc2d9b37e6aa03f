#pragma once

#include <optional>
#include <string>

// A save file that exists but cannot be used is never lost: before the next
// save replaces it, it is moved aside under a name no earlier copy holds
// ("Profiles.pro.damaged", then "Profiles.pro.damaged-2", ...) and the player
// is told once which file it was and where the copy is.
class DamagedSaveFile
{
  public:
    // resourcePath: the file as read ("Data/Profiles.pro"); kind: what it
    // holds, for the message ("Player Profiles File"); warning: the reader's
    // own message, shown first, or empty; reason: why it was refused, or empty.
    static void SetAside(const std::string& resourcePath, const char* kind, const std::string& warning,
                         const std::string& reason);

    // Moves the operating-system file at path to the first free name of
    // path.damaged, path.damaged-2, ...; when it cannot be moved (a read-only
    // folder), copies it the same way beside fallbackPath instead. Where the
    // copy is, or nothing when neither worked.
    [[nodiscard]] static std::optional<std::string> MoveAside(const std::string& path, const std::string& fallbackPath);
};
