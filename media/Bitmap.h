#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

class Application;

// Frees a bitmap's pixels the way they were allocated.
struct BitmapPixelsFree
{
    size_t mappedBytes = 0; // pages mapped for this picture alone; 0: calloc'd
    void operator()(uint32_t* p) const;
};

// A rendered picture: width x height 32-bit pixels 0xAARRGGBB, rows top to
// bottom without gaps, colour premultiplied by alpha (cairo's ARGB32 layout).
// Shared through the BitmapCache with a reference count.
class Bitmap
{
  public:
    Bitmap() = default;
    virtual ~Bitmap() = default;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Replaces the pixels with a copy of width x height words from source and
    // notes whether any pixel is not fully opaque.
    void SetPixels(int newWidth, int newHeight, const uint32_t* source);
    // Replaces the pixels with width x height transparent ones to be drawn
    // into in place; null (and no pixels) when the memory is not there.
    // FinishPixels then notes whether any pixel is not fully opaque.
    [[nodiscard]] uint32_t* AllocatePixels(int newWidth, int newHeight);
    void FinishPixels();

    [[nodiscard]] int Width() const { return width; }
    [[nodiscard]] int Height() const { return height; }
    [[nodiscard]] bool HasAlpha() const { return hasAlpha; }
    [[nodiscard]] const uint32_t* Pixels() const { return pixels.get(); }
    // The pixel at (px, py); 0 (transparent) outside the bitmap.
    [[nodiscard]] uint32_t PixelAt(int px, int py) const;
    // Alpha of the pixel at (px, py); 0 outside the bitmap.
    [[nodiscard]] int AlphaAt(int px, int py) const { return static_cast<int>(PixelAt(px, py) >> 24); }

    // Composites the top-left w x h part at (x, y) into the back buffer's dirty tiles.
    void Draw(Application& app, int x, int y, int w, int h) const;

    bool hasAlpha = false; // some pixel has alpha below 255: blend instead of copy
    int refCount = 1;      // owners of this bitmap
    int width = -1;        // -1 until pixels are set
    int height = -1;

  private:
    // Zeroed pages, never cleared by hand: calloc'd, or for a large picture
    // mapped with every page present at once (far cheaper than faulting them
    // in one by one while drawing).
    std::unique_ptr<uint32_t[], BitmapPixelsFree> pixels;
};
