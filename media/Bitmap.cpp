#include "media/Bitmap.h"

#include <algorithm>
#include <cstring>

#include <sys/mman.h>

#include "app/Application.h"

namespace
{
// From this size on a picture gets pages of its own.
constexpr size_t MappedFromBytes = size_t{1} << 20;
} // namespace

void BitmapPixelsFree::operator()(uint32_t* p) const
{
    if (mappedBytes > 0)
        munmap(p, mappedBytes);
    else
        std::free(p);
}

uint32_t* Bitmap::AllocatePixels(int newWidth, int newHeight)
{
    pixels.reset();
    width = std::max(newWidth, 0);
    height = std::max(newHeight, 0);
    hasAlpha = false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t bytes = count * sizeof(uint32_t);
    if (bytes >= MappedFromBytes)
    {
        void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (mapped != MAP_FAILED)
            pixels =
                std::unique_ptr<uint32_t[], BitmapPixelsFree>(static_cast<uint32_t*>(mapped), BitmapPixelsFree{bytes});
    }
    else if (count > 0)
    {
        pixels.reset(static_cast<uint32_t*>(std::calloc(count, sizeof(uint32_t))));
    }
    if (!pixels)
    {
        width = 0;
        height = 0;
    }
    return pixels.get();
}

void Bitmap::FinishPixels()
{
    const uint32_t* first = pixels.get();
    const uint32_t* last = first ? first + static_cast<size_t>(width) * static_cast<size_t>(height) : first;
    hasAlpha = std::any_of(first, last, [](uint32_t p) { return (p >> 24) != 0xFFu; });
}

void Bitmap::SetPixels(int newWidth, int newHeight, const uint32_t* source)
{
    uint32_t* target = source ? AllocatePixels(newWidth, newHeight) : nullptr;
    if (target == nullptr)
    {
        pixels.reset();
        width = std::max(newWidth, 0);
        height = std::max(newHeight, 0);
        hasAlpha = false;
        return;
    }
    std::memcpy(target, source, static_cast<size_t>(width) * static_cast<size_t>(height) * sizeof(uint32_t));
    FinishPixels();
}

uint32_t Bitmap::PixelAt(int px, int py) const
{
    if (px < 0 || py < 0 || px >= width || py >= height || !pixels)
    {
        return 0;
    }
    return pixels[static_cast<size_t>(py) * static_cast<size_t>(width) + static_cast<size_t>(px)];
}

void Bitmap::Draw(Application& app, int x, int y, int w, int h) const
{
    if (!pixels)
    {
        return;
    }
    app.DrawBitmap(pixels.get(), width, height, hasAlpha, x, y, w, h);
}
