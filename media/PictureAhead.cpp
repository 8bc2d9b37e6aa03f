#include "media/PictureAhead.h"

#include <memory>

#include "media/BitmapCache.h"
#include "media/MovieLibrary.h"

namespace
{
std::unique_ptr<PictureAhead> instance;
}

PictureAhead& PictureAhead::Get()
{
    if (!instance)
        instance = std::make_unique<PictureAhead>();
    return *instance;
}

void PictureAhead::Destroy()
{
    instance.reset();
}

PictureAhead::~PictureAhead()
{
    ReleaseAll(held);
    ReleaseAll(retired);
}

void PictureAhead::ReleaseAll(std::vector<Bitmap*>& bitmaps)
{
    for (Bitmap* bitmap : bitmaps)
        BitmapCache::Get().Release(bitmap);
    bitmaps.clear();
}

void PictureAhead::Request(const std::string& path, int width, int height, int frame)
{
    if (path.empty() || width < 1 || height < 1)
        return;
    queue.push_back({path, width, height, frame});
}

bool PictureAhead::Step()
{
    if (queue.empty())
        return false;
    const Picture picture = queue.front();
    queue.pop_front();
    // A picture already in the cache only gains a reference here.
    if (Bitmap* bitmap =
            MovieLibrary::Get().RenderFrame(picture.path.c_str(), picture.width, picture.height, picture.frame))
        held.push_back(bitmap);
    return true;
}

void PictureAhead::Retire()
{
    queue.clear();
    ReleaseAll(retired);
    retired.swap(held);
}

void PictureAhead::ReleaseRetired()
{
    ReleaseAll(retired);
}
