#pragma once

#include "player/ActionRecord.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace swf
{

// A function made by DefineFunction: a slice of its action record, its parameter names and
// the constant pool that was in force where it was defined.
class ScriptFunction : public RefCounted
{
  public:
    ScriptFunction(Ref<const ActionRecord> record, std::size_t bodyStart, std::size_t bodyEnd,
                   std::vector<std::string> parameters, std::shared_ptr<const std::vector<std::string>> constants)
        : code(std::move(record)), start(bodyStart), end(bodyEnd), params(std::move(parameters)),
          pool(std::move(constants))
    {
    }

    const ActionRecord& record() const { return *code; }
    std::size_t bodyStart() const { return start; }
    std::size_t bodyEnd() const { return end; }
    const std::vector<std::string>& parameters() const { return params; }
    const std::shared_ptr<const std::vector<std::string>>& constantPool() const { return pool; }

  private:
    Ref<const ActionRecord> code;
    std::size_t start;
    std::size_t end; // one past the body, never beyond the record
    std::vector<std::string> params;
    std::shared_ptr<const std::vector<std::string>> pool;
};

} // namespace swf
