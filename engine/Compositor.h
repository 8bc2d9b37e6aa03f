#pragma once

#include <cstdint>

// Source-over compositing of premultiplied 0xAARRGGBB pixels into the
// 0x00RRGGBB back buffer. For alpha a:
//   a = 255  the source pixel is copied unchanged (its top byte included);
//   a = 0    the destination is left unchanged;
//   else     each colour channel becomes trunc(dst * ((255 - a) * k) + src)
//            in single precision with k = 1/255 as a float (0.003921569),
//            limited to 255; the top byte becomes 0.
// The vector and scalar paths give identical results for every input.

// One pixel, the reference rule.
uint32_t BlendPixel(uint32_t destination, uint32_t source);

// count pixels of a row; destination and source must not overlap.
void BlendSpan(uint32_t* destination, const uint32_t* source, int count);

// The same rule, one pixel at a time (kept for tests and measurements).
void BlendSpanScalar(uint32_t* destination, const uint32_t* source, int count);

// The implementations BlendSpan chooses from (the widest the processor has).
enum class BlendPath
{
    Scalar,
    Sse2,
    Avx2
};
[[nodiscard]] bool IsBlendPathAvailable(BlendPath path);
// BlendSpan through one given implementation; an unavailable one falls back.
void BlendSpanWith(BlendPath path, uint32_t* destination, const uint32_t* source, int count);
