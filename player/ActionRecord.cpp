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
    if (count > 0)
    {
        code.resize(static_cast<size_t>(count));
        size_t real = stream.readBytes(code.data(), code.size());
        code.resize(real);
    }
    return makeRef<ActionRecord>(std::move(code));
}

} // namespace swf
