#pragma once

#include <string>
#include <unordered_map>

class Bitmap;

// Rendered bitmaps shared by key (a movie path in lower case with size and
// frame, or a colour rectangle's description). Every holder owns one
// reference and gives it back with Release; a bitmap is deleted when its last
// reference goes. Nothing is evicted while it is held.
class BitmapCache
{
  public:
    static BitmapCache& Get();
    static void Destroy();

    BitmapCache() = default;
    virtual ~BitmapCache();
    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;

    // The bitmap under the key (compared in lower case) with one more
    // reference for the caller, or null.
    [[nodiscard]] Bitmap* Find(const std::string& key);
    // Stores a bitmap under the key, replacing any entry. The caller keeps the
    // reference the bitmap was created with.
    void Add(const std::string& key, Bitmap* bitmap);
    // Gives back one reference; the last one removes the entry and deletes
    // the bitmap. Null is ignored.
    void Release(Bitmap* bitmap);

    [[nodiscard]] size_t Size() const { return entries.size(); }

  private:
    std::unordered_map<std::string, Bitmap*> entries;
};

// Lower-cases ASCII letters; other bytes are kept.
std::string ToLowerAscii(const std::string& text);
