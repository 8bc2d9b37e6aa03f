#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swf
{

class FileStream;

// Bit reader over a movie file stream, with a stack of open tags.
//
// Reads never go past the end of the innermost open tag: what lies beyond reads as zeros and
// marks the tag overrun, so a loader that misreads one tag cannot disturb the next. A read the
// underlying stream cannot satisfy (a truncated file, a failed inflation) sets the failed flag;
// from then on every read yields 0 and the tag loops end.
class SwfStream
{
  public:
    explicit SwfStream(FileStream& stream);

    // The stream reads come from (the file, or the inflating stream over it).
    void setStream(FileStream& stream);

    uint32_t readUInt(int bits);
    int32_t readSInt(int bits);
    uint8_t readU8();
    uint16_t readU16();
    uint32_t readU32();
    int16_t readS16() { return static_cast<int16_t>(readU16()); }
    float readFixed8() { return readS16() / 256.0f; }
    // Copies `count` bytes; returns how many were real (the rest are zeros).
    size_t readBytes(uint8_t* out, size_t count);
    void align() { bitsLeft = 0; }
    // Bytes up to a 0 byte (not included), never past the tag's end.
    std::string readString();
    // An 8-bit length then that many bytes.
    std::string readLengthString();

    int64_t position() const { return pos; }
    void setPosition(int64_t position);

    // Opens a tag and returns its code; its end is clamped to the enclosing tag's end.
    int openTag();
    void closeTag();
    int64_t tagEnd() const;
    bool inTag() const { return !tagEnds.empty(); }
    // Bytes left before the innermost tag's end (or the whole stream when no tag is open).
    int64_t bytesLeftInTag() const;
    // True once the innermost tag has been read to its end or beyond.
    bool atTagEnd() const { return failed || (inTag() && pos >= tagEnd()); }

    // A read came back short: the file or its inflation ended early.
    bool hasFailed() const { return failed; }
    // A read went past the end of the innermost tag (reset by openTag/closeTag).
    bool hasOverrun() const { return overrun; }
    // Anything that should end a loop reading records of the current tag.
    bool exhausted() const { return failed || overrun; }

  private:
    bool nextByte(uint8_t& out);
    bool fill();

    FileStream* file;
    int64_t pos = 0;         // logical position of the next unread byte
    uint8_t currentByte = 0; // partly used byte
    int bitsLeft = 0;        // its bits not yet consumed
    std::vector<int64_t> tagEnds;
    bool failed = false;
    bool overrun = false;

    // Read-ahead buffer: bytes [bufferStart, bufferStart + bufferSize) of the stream.
    static constexpr int BufferCapacity = 4096;
    uint8_t buffer[BufferCapacity];
    int64_t bufferStart = 0;
    int bufferSize = 0;
};

} // namespace swf
