#pragma once

#include "player/FileStream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf
{

// File stream over bytes held in memory (a copy of the caller's bytes).
class MemoryStream : public FileStream
{
  public:
    explicit MemoryStream(std::vector<uint8_t> bytes);
    MemoryStream(const void* data, size_t size);

    int read(void* buffer, int count) override;
    int64_t seek(int64_t position) override;
    void seekToEnd() override;
    int64_t tell() const override { return static_cast<int64_t>(pos); }
    bool atEnd() const override { return pos >= data.size(); }

  private:
    std::vector<uint8_t> data;
    size_t pos = 0;
};

} // namespace swf
