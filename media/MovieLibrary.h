#pragma once

#include <string>
#include <unordered_map>

#include "player/MovieDefinition.h"

class Bitmap;

// The engine's door to the movie player: each movie is read and parsed once
// and its definition kept, shared by every frame and size rendered from it;
// frame counts and rates come from it, and single frames are rendered at a
// given size into bitmaps shared through the BitmapCache.
class MovieLibrary
{
  public:
    static MovieLibrary& Get();
    static void Destroy();

    MovieLibrary() = default;
    virtual ~MovieLibrary() = default;
    MovieLibrary(const MovieLibrary&) = delete;
    MovieLibrary& operator=(const MovieLibrary&) = delete;

    // Frames of the movie; 0 (after a warning) when it cannot be loaded.
    int GetFrameCount(const char* path);
    // Whole frames per second (the movie's rate truncated); 0 on failure.
    float GetFrameRate(const char* path);
    // Frame `frame` of the movie stretched to width x height, with one
    // reference for the caller; null (after a message) on failure.
    [[nodiscard]] Bitmap* RenderFrame(const char* path, int width, int height, int frame);

    // Key of a rendered frame in the BitmapCache.
    static std::string FrameKey(const std::string& path, int width, int height, int frame);

    // Movie files read and parsed so far; for tests and benchmarks.
    [[nodiscard]] int DefinitionLoads() const { return definitionLoads; }
    // Frames rendered so far (renders the BitmapCache did not serve).
    [[nodiscard]] int FramesRendered() const { return framesRendered; }

  private:
    bool CacheInfo(const std::string& path);
    // The parsed movie, read on first use; null (after a warning) when it
    // cannot be loaded, and tried again on the next call.
    swf::Ref<swf::MovieDefinition> Definition(const std::string& path);

    std::unordered_map<std::string, swf::Ref<swf::MovieDefinition>> definitions; // by lower-cased path
    std::unordered_map<std::string, int> frameCounts;
    std::unordered_map<std::string, int> frameRates;
    int definitionLoads = 0;
    int framesRendered = 0;
};
