#include "engine/Compositor.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif
#endif

namespace
{

// 1/255 rounded to single precision: the blend factor is (255 - alpha) times
// this float, so results match the rule bit for bit.
constexpr float InverseAlpha = 0.003921569f;

inline uint32_t BlendChannel(uint32_t destination, uint32_t source, float factor)
{
    const float value = static_cast<float>(destination) * factor + static_cast<float>(source);
    const uint32_t result = static_cast<uint32_t>(value);
    return result > 255 ? 255 : result;
}

// Copies the run of opaque source pixels starting at `from`, whose first
// `known` pixels are already known to be opaque, in one move; returns the
// index just past the run.
inline int CopyOpaqueRun(uint32_t* destination, const uint32_t* source, int from, int known, int count)
{
    int end = from + known;
    while (end < count && (source[end] >> 24) == 255)
        ++end;
    std::memcpy(destination + from, source + from, static_cast<size_t>(end - from) * sizeof(uint32_t));
    return end;
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

// The vector path computes the same rule in 16-bit integers. For every alpha
// 1..254 and every channel pair, trunc(d * ((255 - a) * k) + s) in single
// precision equals floor(d * (255 - a) / 255) + s (checked over all 16.7
// million combinations, and again by the tests), and floor(x / 255) equals
// ((x + 1) * 257) >> 16 for every such x (0..65025): the high half of one
// 16-bit multiply. The limit to 255 is the saturation of the final pack.

namespace
{

// Four pixels' worth of blended channels, two pixels per register half.
inline __m128i BlendHalf(__m128i destination, __m128i source)
{
    // Broadcast each pixel's alpha to its four lanes, then take 255 - alpha.
    __m128i alpha = _mm_shufflelo_epi16(source, _MM_SHUFFLE(3, 3, 3, 3));
    alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    const __m128i product = _mm_mullo_epi16(destination, inverse); // at most 65025
    const __m128i quotient = _mm_mulhi_epu16(_mm_add_epi16(product, _mm_set1_epi16(1)), _mm_set1_epi16(257));
    return _mm_add_epi16(quotient, source);
}

void BlendSpanSse2(uint32_t* destination, const uint32_t* source, int count)
{
    const __m128i opaque = _mm_set1_epi32(255);
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    int i = 0;
    while (i + 4 <= count)
    {
        const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i alpha = _mm_srli_epi32(src, 24);
        const __m128i isOpaque = _mm_cmpeq_epi32(alpha, opaque);
        const __m128i isClear = _mm_cmpeq_epi32(alpha, zero);
        if (_mm_movemask_epi8(isOpaque) == 0xFFFF)
        {
            i = CopyOpaqueRun(destination, source, i, 4, count);
            continue;
        }
        if (_mm_movemask_epi8(isClear) == 0xFFFF)
        {
            i += 4;
            continue;
        }
        __m128i* target = reinterpret_cast<__m128i*>(destination + i);
        const __m128i dst = _mm_loadu_si128(target);
        const __m128i low = BlendHalf(_mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(src, zero));
        const __m128i high = BlendHalf(_mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(src, zero));
        const __m128i blended = _mm_and_si128(_mm_packus_epi16(low, high), colourMask);
        const __m128i keep = _mm_or_si128(isOpaque, isClear);
        const __m128i result = _mm_or_si128(_mm_or_si128(_mm_and_si128(isOpaque, src), _mm_and_si128(isClear, dst)),
                                            _mm_andnot_si128(keep, blended));
        _mm_storeu_si128(target, result);
        i += 4;
    }
    for (; i < count; ++i)
        destination[i] = BlendPixel(destination[i], source[i]);
}

} // namespace

#if defined(__GNUC__) && defined(__x86_64__)
#define QUORVO_BLEND_AVX2 1

namespace
{

// The same arithmetic as BlendHalf, eight pixels at a time.
__attribute__((target("avx2"))) inline __m256i BlendHalf8(__m256i destination, __m256i source)
{
    const __m256i alpha =
        _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
    const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    const __m256i product = _mm256_mullo_epi16(destination, inverse);
    const __m256i quotient =
        _mm256_mulhi_epu16(_mm256_add_epi16(product, _mm256_set1_epi16(1)), _mm256_set1_epi16(257));
    return _mm256_add_epi16(quotient, source);
}

__attribute__((target("avx2"))) void BlendSpanAvx2(uint32_t* destination, const uint32_t* source, int count)
{
    const __m256i opaque = _mm256_set1_epi32(255);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colourMask = _mm256_set1_epi32(0x00FFFFFF);
    int i = 0;
    while (i + 8 <= count)
    {
        const __m256i src = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i alpha = _mm256_srli_epi32(src, 24);
        const __m256i isOpaque = _mm256_cmpeq_epi32(alpha, opaque);
        const __m256i isClear = _mm256_cmpeq_epi32(alpha, zero);
        if (_mm256_movemask_epi8(isOpaque) == -1)
        {
            i = CopyOpaqueRun(destination, source, i, 8, count);
            continue;
        }
        if (_mm256_movemask_epi8(isClear) == -1)
        {
            i += 8;
            continue;
        }
        __m256i* target = reinterpret_cast<__m256i*>(destination + i);
        const __m256i dst = _mm256_loadu_si256(target);
        // The unpacks and the pack work within each 128-bit half, so the
        // pixels come back in their own places.
        const __m256i low = BlendHalf8(_mm256_unpacklo_epi8(dst, zero), _mm256_unpacklo_epi8(src, zero));
        const __m256i high = BlendHalf8(_mm256_unpackhi_epi8(dst, zero), _mm256_unpackhi_epi8(src, zero));
        const __m256i blended = _mm256_and_si256(_mm256_packus_epi16(low, high), colourMask);
        const __m256i keep = _mm256_or_si256(isOpaque, isClear);
        const __m256i result =
            _mm256_or_si256(_mm256_or_si256(_mm256_and_si256(isOpaque, src), _mm256_and_si256(isClear, dst)),
                            _mm256_andnot_si256(keep, blended));
        _mm256_storeu_si256(target, result);
        i += 8;
    }
    if (i < count)
        BlendSpanSse2(destination + i, source + i, count - i);
}

} // namespace
#endif

bool IsBlendPathAvailable(BlendPath path)
{
    switch (path)
    {
    case BlendPath::Scalar:
        return true;
    case BlendPath::Sse2:
        return true;
    case BlendPath::Avx2:
#ifdef QUORVO_BLEND_AVX2
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    }
    return false;
}

void BlendSpanWith(BlendPath path, uint32_t* destination, const uint32_t* source, int count)
{
    switch (path)
    {
    case BlendPath::Scalar:
        BlendSpanScalar(destination, source, count);
        return;
    case BlendPath::Sse2:
        BlendSpanSse2(destination, source, count);
        return;
    case BlendPath::Avx2:
#ifdef QUORVO_BLEND_AVX2
        if (IsBlendPathAvailable(BlendPath::Avx2))
        {
            BlendSpanAvx2(destination, source, count);
            return;
        }
#endif
        BlendSpanSse2(destination, source, count);
        return;
    }
}

void BlendSpan(uint32_t* destination, const uint32_t* source, int count)
{
    static const BlendPath best = IsBlendPathAvailable(BlendPath::Avx2) ? BlendPath::Avx2 : BlendPath::Sse2;
    BlendSpanWith(best, destination, source, count);
}

#else

bool IsBlendPathAvailable(BlendPath path)
{
    return path == BlendPath::Scalar;
}

void BlendSpanWith(BlendPath, uint32_t* destination, const uint32_t* source, int count)
{
    BlendSpan(destination, source, count);
}

void BlendSpan(uint32_t* destination, const uint32_t* source, int count)
{
    int i = 0;
    while (i < count)
    {
        if ((source[i] >> 24) == 255)
        {
            i = CopyOpaqueRun(destination, source, i, 1, count);
        }
        else
        {
            destination[i] = BlendPixel(destination[i], source[i]);
            ++i;
        }
    }
}

#endif
