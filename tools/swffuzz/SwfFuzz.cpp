// Fuzz entry: the input is a movie file. It is loaded (any import names the same bytes, so
// import cycles are exercised too), frame 0 is rendered as the engine renders it, and a later
// frame is reached by a go-to and rendered again.
#include "player/MemoryStream.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/Player.h"

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace
{

const uint8_t* currentData = nullptr;
size_t currentSize = 0;

void render(swf::MovieInstance& instance)
{
    constexpr int Width = 48;
    constexpr int Height = 36;
    std::vector<uint32_t> pixels(Width * Height, 0);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                                                   CAIRO_FORMAT_ARGB32, Width, Height, Width * 4);
    cairo_t* cr = cairo_create(surface);
    instance.setViewport(0, 0, Width, Height);
    instance.display(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool installed = []
    {
        swf::setFileOpener([](const std::string&) -> std::unique_ptr<swf::FileStream>
                           { return std::make_unique<swf::MemoryStream>(currentData, currentSize); });
        // Script commands reach a handler, as they do in the game.
        swf::setCommandHandler([](swf::MovieInstance*, const std::string&, const std::string&) {});
        return true;
    }();
    (void)installed;
    currentData = data;
    currentSize = size;

    swf::Ref<swf::MovieDefinition> movie = swf::loadMovieDefinition("fuzz.swf");
    if (movie)
    {
        swf::Ref<swf::MovieInstance> instance = movie->createInstance();
        instance->restart();
        instance->advance(0.0001f);
        render(*instance);
        instance->advance(0.25f);
        // A few frames with the mouse held: enter-frame events, drags and queued actions run.
        instance->setMouseState(20, 10, 1);
        instance->advance(0.1f);
        instance->advance(0.1f);
        instance->gotoFrame(3);
        render(*instance);
        instance->gotoFrame(1);
        render(*instance);
    }
    swf::shutdownPlayer();
    return 0;
}
