#pragma once

#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"

#include <cstdint>
#include <string>
#include <vector>

// One movie frame rendered the way the game's sprites render it: a fresh instance, frame 0 by
// restart and a tiny advance (so its actions run), other frames by a go-to, the viewport
// stretched over width x height, into a transparent buffer.
namespace swfrender
{

struct Picture
{
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // premultiplied 0xAARRGGBB, row by row
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t alpha(int x, int y) const { return uint8_t(at(x, y) >> 24); }
    int countNonTransparent() const;
    [[nodiscard]] bool writePng(const std::string& path) const;
};

// A margin leaves that many transparent pixels around the viewport on every side (what
// lands there draws outside the movie's frame).
Picture renderFrame(swf::MovieDefinition& movie, int frame, int width, int height, int margin = 0);
// Draws an instance as it stands (no timeline calls).
Picture renderInstance(swf::MovieInstance& instance, int width, int height, int margin = 0);

} // namespace swfrender
