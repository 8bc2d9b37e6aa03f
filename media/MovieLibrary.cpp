#include "media/MovieLibrary.h"

#include <cairo.h>
#include <cmath>
#include <memory>
#include <new>

#include "app/Application.h"
#include "media/Bitmap.h"
#include "media/BitmapCache.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/Player.h"

namespace
{
std::unique_ptr<MovieLibrary> instance;

// Largest picture rendered from a movie: beyond this a damaged size is
// refused rather than allocated.
constexpr int64_t MaxFramePixels = int64_t{8192} * 8192;
} // namespace

MovieLibrary& MovieLibrary::Get()
{
    if (!instance)
    {
        instance = std::make_unique<MovieLibrary>();
    }
    return *instance;
}

void MovieLibrary::Destroy()
{
    instance.reset();
}

std::string MovieLibrary::FrameKey(const std::string& path, int width, int height, int frame)
{
    return ToLowerAscii(path) + "-" + std::to_string(width) + "-" + std::to_string(height) + "-" +
           std::to_string(frame);
}

swf::Ref<swf::MovieDefinition> MovieLibrary::Definition(const std::string& path)
{
    const std::string key = ToLowerAscii(path);
    const auto found = definitions.find(key);
    if (found != definitions.end())
    {
        return found->second;
    }
    swf::Ref<swf::MovieDefinition> definition = swf::loadMovieDefinition(path);
    ++definitionLoads;
    if (!definition)
    {
        Application::Get().ShowMessage("Warning: Unable to load SWF movie definition.");
        return nullptr;
    }
    definitions.emplace(key, definition);
    return definition;
}

bool MovieLibrary::CacheInfo(const std::string& path)
{
    const std::string key = ToLowerAscii(path);
    if (frameCounts.count(key) != 0)
    {
        return true;
    }
    swf::Ref<swf::MovieDefinition> definition = Definition(path);
    if (!definition)
    {
        return false;
    }
    const float rate = definition->frameRate();
    // Truncated to whole frames per second; a rate that is not a number or
    // below 1 becomes 0, which makes sprites hold their first frame.
    const int wholeRate = (std::isfinite(rate) && rate >= 1.0f && rate < 1000000.0f) ? static_cast<int>(rate) : 0;
    frameCounts[key] = definition->frameCount() < 0 ? 0 : definition->frameCount();
    frameRates[key] = wholeRate;
    return true;
}

int MovieLibrary::GetFrameCount(const char* path)
{
    if (path == nullptr || !CacheInfo(path))
    {
        return 0;
    }
    return frameCounts[ToLowerAscii(path)];
}

float MovieLibrary::GetFrameRate(const char* path)
{
    if (path == nullptr || !CacheInfo(path))
    {
        return 0.0f;
    }
    return static_cast<float>(frameRates[ToLowerAscii(path)]);
}

Bitmap* MovieLibrary::RenderFrame(const char* path, int width, int height, int frame)
{
    if (path == nullptr)
    {
        return nullptr;
    }
    const std::string key = FrameKey(path, width, height, frame);
    if (Bitmap* cached = BitmapCache::Get().Find(key))
    {
        return cached;
    }
    if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > MaxFramePixels)
    {
        return nullptr;
    }

    swf::Ref<swf::MovieDefinition> definition = Definition(path);
    if (!definition)
    {
        return nullptr;
    }
    swf::Ref<swf::MovieInstance> movie = definition->createInstance();
    if (!movie)
    {
        Application::Get().ShowMessage("Warning: Unable to create SWF movie interface.");
        return nullptr;
    }
    if (frame == 0)
    {
        // Runs frame 0's tags and actions without reaching frame 1.
        movie->restart();
        movie->advance(0.0001f);
    }
    else
    {
        movie->gotoFrame(frame);
    }
    movie->setViewport(0, 0, width, height);
    ++framesRendered;

    std::unique_ptr<Bitmap> bitmap(new (std::nothrow) Bitmap());
    if (!bitmap)
    {
        Application::Get().ShowMessage("Unable to allocate bitmap for swf movie.");
        return nullptr;
    }
    // The movie draws straight into the bitmap's own transparent pixels.
    uint32_t* pixels = bitmap->AllocatePixels(width, height);
    if (pixels == nullptr)
    {
        Application::Get().ShowMessage("Unable to allocate bitmap bits for swf movie.");
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                                   CAIRO_FORMAT_ARGB32, width, height, width * 4);
    cairo_t* cr = cairo_create(surface);
    // The movie's background colour is not painted: uncovered pixels stay
    // transparent, so pictures compose over the screen behind them.
    movie->display(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    bitmap->FinishPixels();
    BitmapCache::Get().Add(key, bitmap.get());
    return bitmap.release();
}
