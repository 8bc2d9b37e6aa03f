#include "player/SwfStream.h"

#include "player/FileStream.h"

#include <algorithm>
#include <cstring>

namespace swf
{

SwfStream::SwfStream(FileStream& stream) : file(&stream)
{
    pos = stream.tell();
    bufferStart = pos;
}

void SwfStream::setStream(FileStream& stream)
{
    file = &stream;
    pos = stream.tell();
    bufferStart = pos;
    bufferSize = 0;
    bitsLeft = 0;
}

bool SwfStream::fill()
{
    if (failed)
        return false;
    if (file->tell() != pos)
        file->seek(pos);
    bufferStart = file->tell();
    int n = file->read(buffer, BufferCapacity);
    bufferSize = n > 0 ? n : 0;
    return bufferStart == pos && bufferSize > 0;
}

bool SwfStream::nextByte(uint8_t& out)
{
    out = 0;
    if (failed)
        return false;
    if (!tagEnds.empty() && pos >= tagEnds.back())
    {
        overrun = true;
        return false;
    }
    if (pos < bufferStart || pos >= bufferStart + bufferSize)
    {
        if (!fill())
        {
            failed = true;
            return false;
        }
    }
    out = buffer[pos - bufferStart];
    ++pos;
    return true;
}

uint32_t SwfStream::readUInt(int bits)
{
    if (bits < 1)
        return 0;
    if (bits > 32)
        bits = 32;
    uint32_t value = 0;
    while (bits > 0)
    {
        if (bitsLeft == 0)
        {
            nextByte(currentByte);
            bitsLeft = 8;
        }
        int take = std::min(bits, bitsLeft);
        uint32_t chunk = (currentByte >> (bitsLeft - take)) & ((1u << take) - 1);
        value = (take == 32 ? 0 : (value << take)) | chunk;
        bitsLeft -= take;
        bits -= take;
    }
    return value;
}

int32_t SwfStream::readSInt(int bits)
{
    if (bits < 1)
        return 0;
    if (bits > 32)
        bits = 32;
    uint32_t value = readUInt(bits);
    if (bits < 32 && (value & (1u << (bits - 1))))
        value |= ~0u << bits;
    return static_cast<int32_t>(value);
}

uint8_t SwfStream::readU8()
{
    align();
    uint8_t b;
    nextByte(b);
    return b;
}

uint16_t SwfStream::readU16()
{
    align();
    uint8_t lo, hi;
    nextByte(lo);
    nextByte(hi);
    return static_cast<uint16_t>(lo | (hi << 8));
}

uint32_t SwfStream::readU32()
{
    align();
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
    {
        uint8_t b;
        nextByte(b);
        v |= uint32_t(b) << (8 * i);
    }
    return v;
}

size_t SwfStream::readBytes(uint8_t* out, size_t count)
{
    align();
    size_t real = 0;
    for (size_t i = 0; i < count; ++i)
    {
        if (nextByte(out[i]))
            ++real;
        else
        {
            std::memset(out + i, 0, count - i);
            break;
        }
    }
    return real;
}

std::string SwfStream::readString()
{
    align();
    std::string s;
    uint8_t b;
    while (nextByte(b) && b != 0)
        s.push_back(static_cast<char>(b));
    return s;
}

std::string SwfStream::readLengthString()
{
    int length = readU8();
    std::string s;
    for (int i = 0; i < length; ++i)
    {
        uint8_t b;
        if (!nextByte(b))
            break;
        s.push_back(static_cast<char>(b));
    }
    return s;
}

void SwfStream::setPosition(int64_t position)
{
    pos = position;
    bitsLeft = 0;
}

int SwfStream::openTag()
{
    uint16_t header = readU16();
    int code = header >> 6;
    int64_t length = header & 0x3F;
    if (length == 0x3F)
        length = readU32();
    int64_t end = pos + length;
    if (!tagEnds.empty())
        end = std::min(end, tagEnds.back());
    tagEnds.push_back(end);
    overrun = false;
    return code;
}

void SwfStream::closeTag()
{
    if (tagEnds.empty())
        return;
    int64_t end = tagEnds.back();
    tagEnds.pop_back();
    setPosition(end);
    overrun = false;
}

int64_t SwfStream::tagEnd() const
{
    return tagEnds.empty() ? INT64_MAX : tagEnds.back();
}

int64_t SwfStream::bytesLeftInTag() const
{
    if (failed)
        return 0;
    if (tagEnds.empty())
        return INT64_MAX;
    return std::max<int64_t>(0, tagEnds.back() - pos);
}

} // namespace swf
