#pragma once

#include "MovieModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writes a movie model as an SWF file: a DefineShape3 per distinct shape, the
// root timeline placing each shape at its own depth with PlaceObject2 (the
// background at the lowest depths), RemoveObject2 for what a frame drops,
// FrameLabel and ShowFrame per frame, End. Compressed movies ("CWS") hold the
// same bytes after the 8-byte header, deflated with zlib.
class MovieWriter
{
  public:
    static constexpr uint8_t Version = 7;

    // The file's bytes; nullopt when compression fails or the movie needs
    // more than 65535 characters or depths.
    [[nodiscard]] static std::optional<std::vector<uint8_t>> Write(const Movie& movie, std::string& error);

    // A tag header and body: the short form for bodies under 63 bytes, else the
    // long form (0x3F and a 32-bit length).
    static void AppendTag(std::vector<uint8_t>& out, uint16_t code, const std::vector<uint8_t>& body);

    enum TagCode : uint16_t
    {
        End = 0,
        ShowFrame = 1,
        PlaceObject2 = 26,
        RemoveObject2 = 28,
        DefineShape3 = 32,
        FrameLabel = 43,
    };
};
