#include "FrameRender.h"

#include <cairo.h>

namespace swfrender
{

namespace
{

cairo_surface_t* surfaceOver(const Picture& picture)
{
    auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(picture.pixels.data()));
    return cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, picture.width, picture.height,
                                               picture.width * 4);
}

} // namespace

int Picture::countNonTransparent() const
{
    int n = 0;
    for (uint32_t p : pixels)
        n += (p >> 24) != 0;
    return n;
}

bool Picture::writePng(const std::string& path) const
{
    cairo_surface_t* surface = surfaceOver(*this);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

Picture renderInstance(swf::MovieInstance& instance, int width, int height, int margin)
{
    Picture picture;
    picture.width = width + 2 * margin;
    picture.height = height + 2 * margin;
    picture.pixels.assign(size_t(picture.width) * size_t(picture.height), 0);
    cairo_surface_t* surface = surfaceOver(picture);
    cairo_t* cr = cairo_create(surface);
    instance.setViewport(margin, margin, width, height);
    instance.display(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return picture;
}

Picture renderFrame(swf::MovieDefinition& movie, int frame, int width, int height, int margin)
{
    swf::Ref<swf::MovieInstance> instance = movie.createInstance();
    if (frame == 0)
    {
        instance->restart();
        instance->advance(0.0001f);
    }
    else
        instance->gotoFrame(frame);
    return renderInstance(*instance, width, height, margin);
}

} // namespace swfrender
