#pragma once

#include "player/MemoryStream.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"

#include <cairo.h>

#include <cstdint>
#include <vector>

// Reads movie bytes with the game's player and renders frames the way the
// game's sprites do: frame 0 by one tiny step, later frames by gotoFrame on a
// fresh instance, stretched over width x height, background left transparent.
inline swf::Ref<swf::MovieDefinition> ReadMovie(const std::vector<uint8_t>& bytes)
{
    swf::MemoryStream stream(bytes);
    swf::Ref<swf::MovieDefinition> movie(new swf::MovieDefinition());
    movie->read(stream);
    return movie;
}

// Premultiplied 0xAARRGGBB pixels, row by row.
inline std::vector<uint32_t> RenderFrame(swf::MovieDefinition& movie, int frame, int width, int height)
{
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0u);
    swf::Ref<swf::MovieInstance> instance = movie.createInstance();
    if (frame == 0) {
        instance->restart();
        instance->advance(0.0001f);
    } else {
        instance->gotoFrame(frame);
    }
    instance->setViewport(0, 0, width, height);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                                                   CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_t* cr = cairo_create(surface);
    instance->display(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return pixels;
}

inline uint8_t AlphaAt(const std::vector<uint32_t>& pixels, int width, int x, int y)
{
    return uint8_t(pixels[size_t(y) * size_t(width) + size_t(x)] >> 24);
}
