#include "engine/Compositor.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// 1/255 rounded to single precision, as the blend rule specifies.
constexpr float InverseAlpha = 0.003921569f;

inline uint32_t BlendChannel(uint32_t destination, uint32_t source, float factor)
{
    const float value = static_cast<float>(destination) * factor + static_cast<float>(source);
    const uint32_t result = static_cast<uint32_t>(value);
    return result > 255 ? 255 : result;
}

} // namespace

uint32_t BlendPixel(uint32_t destination, uint32_t source)
{
    const uint32_t alpha = source >> 24;
    if (alpha == 255)
        return source;
    if (alpha == 0)
        return destination;
    const float factor = static_cast<float>(255 - alpha) * InverseAlpha;
    const uint32_t red = BlendChannel((destination >> 16) & 0xFF, (source >> 16) & 0xFF, factor);
    const uint32_t green = BlendChannel((destination >> 8) & 0xFF, (source >> 8) & 0xFF, factor);
    const uint32_t blue = BlendChannel(destination & 0xFF, source & 0xFF, factor);
    return (red << 16) | (green << 8) | blue;
}

void BlendSpanScalar(uint32_t* destination, const uint32_t* source, int count)
{
    for (int i = 0; i < count; ++i)
        destination[i] = BlendPixel(destination[i], source[i]);
}

#if defined(__SSE2__)

namespace {

// One colour channel of four pixels: trunc(d * f + s), limited to 255. The
// multiply and the add round separately, exactly as the scalar rule does.
inline __m128i BlendChannels4(__m128i destination, __m128i source, int shift, __m128 factor)
{
    const __m128i mask = _mm_set1_epi32(0xFF);
    const __m128 d = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(destination, shift), mask));
    const __m128 s = _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(source, shift), mask));
    const __m128i value = _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(d, factor), s));
    // Values are 0..510, so a 16-bit minimum clamps each 32-bit lane.
    return _mm_slli_epi32(_mm_min_epi16(value, mask), shift);
}

} // namespace

void BlendSpan(uint32_t* destination, const uint32_t* source, int count)
{
    const __m128i opaque = _mm_set1_epi32(255);
    const __m128i zero = _mm_setzero_si128();
    const __m128 inverse = _mm_set1_ps(InverseAlpha);
    int i = 0;
    while (i + 4 <= count) {
        const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i alpha = _mm_srli_epi32(src, 24);
        const __m128i isOpaque = _mm_cmpeq_epi32(alpha, opaque);
        const __m128i isClear = _mm_cmpeq_epi32(alpha, zero);
        const int opaqueMask = _mm_movemask_epi8(isOpaque);
        if (opaqueMask == 0xFFFF) {
            // A run of opaque pixels is copied in one move.
            int run = i + 4;
            while (run < count && (source[run] >> 24) == 255)
                ++run;
            std::memcpy(destination + i, source + i, static_cast<size_t>(run - i) * sizeof(uint32_t));
            i = run;
            continue;
        }
        if (_mm_movemask_epi8(isClear) == 0xFFFF) {
            i += 4;
            continue;
        }
        __m128i* target = reinterpret_cast<__m128i*>(destination + i);
        const __m128i dst = _mm_loadu_si128(target);
        const __m128 factor = _mm_mul_ps(_mm_cvtepi32_ps(_mm_sub_epi32(opaque, alpha)), inverse);
        const __m128i blended = _mm_or_si128(
            _mm_or_si128(BlendChannels4(dst, src, 16, factor), BlendChannels4(dst, src, 8, factor)),
            BlendChannels4(dst, src, 0, factor));
        const __m128i keep = _mm_or_si128(isOpaque, isClear);
        const __m128i result = _mm_or_si128(
            _mm_or_si128(_mm_and_si128(isOpaque, src), _mm_and_si128(isClear, dst)),
            _mm_andnot_si128(keep, blended));
        _mm_storeu_si128(target, result);
        i += 4;
    }
    for (; i < count; ++i)
        destination[i] = BlendPixel(destination[i], source[i]);
}

#else

void BlendSpan(uint32_t* destination, const uint32_t* source, int count)
{
    int i = 0;
    while (i < count) {
        if ((source[i] >> 24) == 255) {
            int run = i + 1;
            while (run < count && (source[run] >> 24) == 255)
                ++run;
            std::memcpy(destination + i, source + i, static_cast<size_t>(run - i) * sizeof(uint32_t));
            i = run;
        } else {
            destination[i] = BlendPixel(destination[i], source[i]);
            ++i;
        }
    }
}

#endif
