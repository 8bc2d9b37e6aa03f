#pragma once

// Movie bytes read and frames rendered with the movie inspector's frame rendering, as plain
// pixel rows.
#include "FrameRender.h"
#include "fixtures/MovieFiles.h"

#include <cairo.h>

inline swf::Ref<swf::MovieDefinition> ReadMovie(const std::vector<uint8_t>& bytes)
{
    return swftest::readMovie(bytes);
}

inline std::vector<uint32_t> RenderFrame(swf::MovieDefinition& movie, int frame, int width, int height)
{
    return swfrender::renderFrame(movie, frame, width, height).pixels;
}

inline uint8_t AlphaAt(const std::vector<uint32_t>& pixels, int width, int x, int y)
{
    return uint8_t(pixels[size_t(y) * size_t(width) + size_t(x)] >> 24);
}
