#include "BitWriter.h"

void BitWriter::WriteBits(uint32_t value, int count)
{
    for (int bit = count - 1; bit >= 0; --bit)
    {
        current = uint8_t((current << 1) | ((value >> bit) & 1u));
        if (++used == 8)
        {
            bytes.push_back(current);
            current = 0;
            used = 0;
        }
    }
}

void BitWriter::WriteSignedBits(int32_t value, int count)
{
    // Two's complement truncated to count bits.
    WriteBits(uint32_t(value), count);
}

void BitWriter::Align()
{
    if (used > 0)
        WriteBits(0, 8 - used);
}

void BitWriter::WriteU8(uint8_t value)
{
    Align();
    bytes.push_back(value);
}

void BitWriter::WriteU16(uint16_t value)
{
    WriteU8(uint8_t(value & 0xFF));
    WriteU8(uint8_t(value >> 8));
}

void BitWriter::WriteU32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        WriteU8(uint8_t((value >> (8 * i)) & 0xFF));
}

void BitWriter::WriteBytes(const std::vector<uint8_t>& data)
{
    Align();
    bytes.insert(bytes.end(), data.begin(), data.end());
}

void BitWriter::WriteString(const std::string& text)
{
    for (char c : text)
        WriteU8(uint8_t(c));
    WriteU8(0);
}

const std::vector<uint8_t>& BitWriter::Bytes()
{
    Align();
    return bytes;
}

int BitWriter::SignedBitsFor(int64_t value)
{
    // A negative number needs as many bits as its complement, plus the sign.
    uint64_t magnitude = value < 0 ? uint64_t(~value) : uint64_t(value);
    return UnsignedBitsFor(magnitude) + 1;
}

int BitWriter::UnsignedBitsFor(uint64_t value)
{
    int bits = 0;
    while (value != 0)
    {
        ++bits;
        value >>= 1;
    }
    return bits;
}
