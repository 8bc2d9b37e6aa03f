#pragma once

#include <cstdint>

namespace swf
{

// Read stream over one opened file, handed to the player by the file opener.
// Whoever opens a file subclasses this; the subclass closes its handle when destroyed.
// The player only reads and seeks.
class FileStream
{
  public:
    virtual ~FileStream() = default;

    // Reads up to `count` bytes into `buffer`; returns the number of bytes read.
    virtual int read(void* buffer, int count) = 0;
    // Writing is not needed by the player; streams may refuse (return 0).
    virtual int write(const void* buffer, int count)
    {
        (void)buffer;
        (void)count;
        return 0;
    }
    // Seeks to an absolute position; returns the position reached.
    virtual int64_t seek(int64_t position) = 0;
    virtual void seekToEnd() = 0;
    virtual int64_t tell() const = 0;
    virtual bool atEnd() const = 0;
    // Returns 0, or an error code when closing failed.
    virtual int close() { return 0; }

    // 0 while the stream is usable; a stream whose error is not 0 counts as not opened.
    int32_t error = 0;
};

} // namespace swf
