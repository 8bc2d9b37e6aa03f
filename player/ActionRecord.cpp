#include "player/ActionRecord.h"

#include "player/SwfStream.h"

#include <algorithm>

namespace swf
{

Ref<ActionRecord> ActionRecord::read(SwfStream& stream, int64_t endPos)
{
    stream.align();
    int64_t count = std::min(endPos, stream.tagEnd()) - stream.position();
    count = std::min(count, stream.bytesLeftInTag());
    std::vector<uint8_t> code;
    // Grow with what is really read: a tag length from a damaged file may claim gigabytes.
    uint8_t chunk[4096];
    while (count > 0)
    {
        size_t want = static_cast<size_t>(std::min<int64_t>(count, sizeof chunk));
        size_t real = stream.readBytes(chunk, want);
        code.insert(code.end(), chunk, chunk + real);
        if (real < want)
            break;
        count -= static_cast<int64_t>(real);
    }
    return makeRef<ActionRecord>(std::move(code));
}

} // namespace swf
