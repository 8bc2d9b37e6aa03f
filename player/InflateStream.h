#pragma once

#include "player/FileStream.h"

#include <cstdint>
#include <memory>

namespace swf
{

// Read stream that inflates the zlib data of a compressed ("CWS") movie from the stream under it.
// Positions count inflated bytes from 0. Once inflation fails every read delivers nothing.
class InflateStream : public FileStream
{
  public:
    // The compressed data starts at the underlying stream's current position.
    explicit InflateStream(FileStream& underlying);
    ~InflateStream() override;

    int read(void* buffer, int count) override;
    int64_t seek(int64_t position) override;
    void seekToEnd() override;
    int64_t tell() const override { return logicalPos; }
    bool atEnd() const override { return ended; }
    // Leaves the underlying stream just after the compressed data; returns 5 if zlib failed to end.
    int close() override;

  private:
    bool restart();
    void discard(int64_t count);

    struct State;
    std::unique_ptr<State> state;
    FileStream& source;
    int64_t sourceStart = 0;
    int64_t logicalPos = 0;
    bool ended = false;
    bool failed = false;
    bool closed = false;
};

} // namespace swf
