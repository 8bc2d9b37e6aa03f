#include "media/BitmapCache.h"

#include <memory>

#include "media/Bitmap.h"

namespace
{
std::unique_ptr<BitmapCache> instance;
}

BitmapCache& BitmapCache::Get()
{
    if (!instance)
    {
        instance = std::make_unique<BitmapCache>();
    }
    return *instance;
}

void BitmapCache::Destroy()
{
    instance.reset();
}

// Bitmaps belong to their holders' references, not to the cache: a control
// that outlives the cache still frees its bitmaps with its last Release
// (which then finds no entry), so nothing is deleted here.
BitmapCache::~BitmapCache() = default;

std::string ToLowerAscii(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
    {
        if (c >= 'A' && c <= 'Z')
        {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

Bitmap* BitmapCache::Find(const std::string& key)
{
    auto it = entries.find(ToLowerAscii(key));
    if (it == entries.end())
    {
        return nullptr;
    }
    it->second->refCount += 1;
    return it->second;
}

void BitmapCache::Add(const std::string& key, Bitmap* bitmap)
{
    if (bitmap == nullptr)
    {
        return;
    }
    // A replaced bitmap stays alive for its holders and is deleted by their
    // last Release, which no longer finds it in the map.
    entries[ToLowerAscii(key)] = bitmap;
}

void BitmapCache::Release(Bitmap* bitmap)
{
    if (bitmap == nullptr)
    {
        return;
    }
    bitmap->refCount -= 1;
    if (bitmap->refCount > 0)
    {
        return;
    }
    for (auto it = entries.begin(); it != entries.end(); ++it)
    {
        if (it->second == bitmap)
        {
            entries.erase(it);
            break;
        }
    }
    delete bitmap;
}
