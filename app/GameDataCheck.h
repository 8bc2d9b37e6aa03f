#pragma once

#include <optional>
#include <string>

// Whether the game's data can be found through the resource file system:
// the pictures, sounds and puzzle folders and the font.
class GameDataCheck
{
  public:
    // Nothing when everything is there; otherwise the message for the
    // player, naming what is missing and where it was looked for.
    [[nodiscard]] static std::optional<std::string> MissingDataMessage();
};
