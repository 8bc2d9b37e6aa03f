#include <vector>

#include <gtest/gtest.h>

#include "engine/Compositor.h"

namespace
{

TEST(CompositorTest, VectorPathMatchesTheScalarRuleForEveryAlphaAndChannel)
{
    // Every (alpha, destination, source) channel combination, the alpha
    // varying within each group of four pixels; then runs of four and of
    // eight clear pixels, each followed by a visible one.
    std::vector<uint32_t> source, destination;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t d = 0; d < 256; ++d)
            for (uint32_t s = 0; s < 256; s += 1)
            {
                const uint32_t alpha = (s & 2) ? (a + s) & 0xFF : a;
                source.push_back((alpha << 24) | (s << 16) | (((s * 7) & 0xFF) << 8) | (255 - s));
                destination.push_back(((d ^ 0x55) << 24) | (d << 16) | (((d * 3) & 0xFF) << 8) | (255 - d));
            }
    for (uint32_t j = 0; j < 8192; ++j)
    {
        const bool clear = j < 4096 ? (j & 4) == 0 : (j & 8) == 0;
        source.push_back(clear ? 0u : ((1 + (j * 53) % 255) << 24) | (j & 0xFF));
        destination.push_back(0xFF000000u | (j * 2654435761u >> 8));
    }
    std::vector<uint32_t> scalar = destination;
    BlendSpanScalar(scalar.data(), source.data(), static_cast<int>(source.size()));
    for (BlendPath path : {BlendPath::Sse2, BlendPath::Avx2})
    {
        if (!IsBlendPathAvailable(path))
            continue;
        // An odd length, so the tail after the last full vector is used too.
        std::vector<uint32_t> vector = destination;
        BlendSpanWith(path, vector.data(), source.data(), static_cast<int>(source.size()) - 3);
        size_t mismatches = 0;
        for (size_t i = 0; i + 3 < vector.size(); ++i)
            mismatches += vector[i] != scalar[i];
        EXPECT_EQ(mismatches, 0u) << "path " << static_cast<int>(path);
        EXPECT_EQ(vector.back(), destination.back());
    }
    std::vector<uint32_t> best = destination;
    BlendSpan(best.data(), source.data(), static_cast<int>(source.size()));
    EXPECT_EQ(best, scalar);
}

TEST(CompositorTest, BlendRuleResults)
{
    // Destination, source, result: half, opaque and clear sources; alpha 1 and 254, at both ends of the
    // blended range; a source that is not premultiplied cannot wrap past 255.
    const uint32_t rule[][3] = {{0x00FFFFFFu, 0x80400000u, 0x00BF7F7Fu}, {0x00123456u, 0xFFABCDEFu, 0xFFABCDEFu},
                                {0xAA123456u, 0x00FFFFFFu, 0xAA123456u}, {0x00FFFFFFu, 0x01010101u, 0x00FFFFFFu},
                                {0x00FFFFFFu, 0x01000000u, 0x00FEFEFEu}, {0x00FFFFFFu, 0xFE000000u, 0x00010101u},
                                {0x00FFFFFFu, 0x80FFFFFFu, 0x00FFFFFFu}};
    for (const auto& [destination, source, result] : rule)
        EXPECT_EQ(BlendPixel(destination, source), result) << std::hex << destination << " " << source;
    // A pixel of a span shorter than the vector width, and a run of opaque ones.
    std::vector<uint32_t> dst(7, 0x00FFFFFFu),
        src = {0xFF010203u, 0xFF010203u, 0xFF010203u, 0xFF010203u, 0xFF010203u, 0x80400000u, 0x00000000u};
    BlendSpan(dst.data(), src.data(), 7);
    EXPECT_EQ(std::vector<uint32_t>(dst.begin() + 4, dst.end()),
              (std::vector<uint32_t>{0xFF010203u, 0x00BF7F7Fu, 0x00FFFFFFu}));
}

} // namespace
