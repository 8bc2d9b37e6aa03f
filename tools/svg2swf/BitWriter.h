#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the bit-packed and byte-aligned fields of a movie file: unsigned and
// signed bit fields most significant bit first, little-endian whole numbers.
// Every byte-sized write first pads the partly written byte with zero bits.
class BitWriter
{
  public:
    void WriteBits(uint32_t value, int count);
    void WriteSignedBits(int32_t value, int count);
    void Align();

    void WriteU8(uint8_t value);
    void WriteU16(uint16_t value);
    void WriteU32(uint32_t value);
    void WriteBytes(const std::vector<uint8_t>& bytes);
    // The characters and a terminating zero byte.
    void WriteString(const std::string& text);

    // Aligns, then hands over the bytes written so far.
    const std::vector<uint8_t>& Bytes();

    // Bits a signed field needs to hold value (the sign bit included); 1 for 0.
    static int SignedBitsFor(int64_t value);
    // Bits an unsigned field needs to hold value; 0 for 0.
    static int UnsignedBitsFor(uint64_t value);

  private:
    std::vector<uint8_t> bytes;
    uint8_t current = 0;
    int used = 0; // bits of current already filled
};
