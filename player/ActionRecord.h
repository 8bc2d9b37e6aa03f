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

    // A record that once ran out of the interpreter's action budget is never run again: a
    // movie whose frame loops forever costs one budget, not one per frame or per clone.
    void markRunaway() const { runaway = true; }
    bool isRunaway() const { return runaway; }

  private:
    std::vector<uint8_t> code;
    mutable bool runaway = false;
};

} // namespace swf
