#pragma once

#include "player/Forward.h"
#include "player/RefCounted.h"

#include <cstdint>
#include <vector>

namespace swf
{

// The bytes of one action program: a DoAction tag, a clip event handler or a button action.
class ActionRecord : public RefCounted
{
public:
    explicit ActionRecord(std::vector<uint8_t> code) : code(std::move(code)) {}

    // Reads the bytes from the stream's position up to `endPos` (never past the open tag).
    [[nodiscard]] static Ref<ActionRecord> read(SwfStream& stream, int64_t endPos);

    const std::vector<uint8_t>& bytes() const { return code; }

private:
    std::vector<uint8_t> code;
};

} // namespace swf
