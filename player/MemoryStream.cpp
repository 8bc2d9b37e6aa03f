#include "player/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace swf
{

MemoryStream::MemoryStream(std::vector<uint8_t> bytes) : data(std::move(bytes)) {}

MemoryStream::MemoryStream(const void* bytes, size_t size)
    : data(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size)
{
}

int MemoryStream::read(void* buffer, int count)
{
    if (count <= 0 || pos >= data.size())
        return 0;
    size_t n = std::min(static_cast<size_t>(count), data.size() - pos);
    std::memcpy(buffer, data.data() + pos, n);
    pos += n;
    return static_cast<int>(n);
}

int64_t MemoryStream::seek(int64_t position)
{
    pos = static_cast<size_t>(std::clamp<int64_t>(position, 0, static_cast<int64_t>(data.size())));
    return static_cast<int64_t>(pos);
}

void MemoryStream::seekToEnd()
{
    pos = data.size();
}

} // namespace swf
