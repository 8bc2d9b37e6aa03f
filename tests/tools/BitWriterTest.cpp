#include "BitWriter.h"

#include <gtest/gtest.h>

TEST(BitWriterTest, PacksFieldsMostSignificantBitFirstAndPadsBeforeBytes)
{
    BitWriter w;
    w.WriteBits(0b101, 3);
    w.WriteSignedBits(-2, 3); // 110
    w.WriteU8(0xAB);          // pads 00 first
    w.WriteU16(0x1234);
    w.WriteU32(0xDEADBEEF);
    w.WriteBits(1, 1);
    const std::vector<uint8_t>& bytes = w.Bytes();
    const std::vector<uint8_t> expected{0b10111000, 0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0x80};
    EXPECT_EQ(bytes, expected);
}

TEST(BitWriterTest, FieldWidthsHoldTheirValuesExactly)
{
    struct Case
    {
        int64_t value;
        int bits;
    } cases[] = {{0, 1},   {-1, 1}, {1, 2},   {-2, 2},     {2, 3},      {63, 7},
                 {-64, 7}, {64, 8}, {-65, 8}, {65535, 17}, {-65536, 17}};
    for (const Case& c : cases)
        EXPECT_EQ(BitWriter::SignedBitsFor(c.value), c.bits) << c.value;
    EXPECT_EQ(BitWriter::UnsignedBitsFor(0), 0);
    EXPECT_EQ(BitWriter::UnsignedBitsFor(1), 1);
    EXPECT_EQ(BitWriter::UnsignedBitsFor(255), 8);
    EXPECT_EQ(BitWriter::UnsignedBitsFor(256), 9);

    // Every value written in its computed width reads back sign-extended.
    for (int64_t v = -300; v <= 300; ++v)
    {
        BitWriter w;
        const int n = BitWriter::SignedBitsFor(v);
        w.WriteSignedBits(int32_t(v), n);
        const std::vector<uint8_t>& b = w.Bytes();
        uint32_t raw = 0;
        for (int i = 0; i < n; ++i)
            raw = (raw << 1) | ((b[size_t(i / 8)] >> (7 - i % 8)) & 1u);
        int64_t back = raw;
        if (raw & (1u << (n - 1)))
            back -= int64_t(1) << n;
        EXPECT_EQ(back, v);
    }
}

TEST(BitWriterTest, StringsEndWithAZeroByte)
{
    BitWriter w;
    w.WriteBits(1, 2);
    w.WriteString("ab");
    const std::vector<uint8_t> expected{0x40, 'a', 'b', 0};
    EXPECT_EQ(w.Bytes(), expected);
}
