#pragma once

#include <string>
#include <unordered_map>

class Bitmap;

// The engine's door to the movie player: frame counts and rates per movie
// (read once per path and kept), and single frames rendered at a given size
// into bitmaps shared through the BitmapCache.
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

    // Movie definitions loaded so far (frame information cached, renders
    // that missed the cache); for tests and benchmarks.
    [[nodiscard]] int DefinitionLoads() const { return definitionLoads; }

  private:
    bool CacheInfo(const std::string& path);

    std::unordered_map<std::string, int> frameCounts;
    std::unordered_map<std::string, int> frameRates;
    int definitionLoads = 0;
};
