#pragma once

#include <cstdint>
#include <string>

namespace swf
{

class ScriptEnvironment;
class ScriptValue;

// The actions that only work on the value stack: arithmetic, comparisons, logic, strings,
// bit operations, conversions, stack shuffles and object members. Returns false for a code
// that is not one of them.
bool runStackOperator(uint8_t code, ScriptEnvironment& env);

// Loose equality (Equals, Equals2) and strict equality (StrictEquals).
bool looseEquals(const ScriptValue& a, const ScriptValue& b);
bool strictEquals(const ScriptValue& a, const ScriptValue& b);

// Member read of any value: object members, string "length" and string methods.
ScriptValue memberOf(const ScriptValue& owner, const std::string& name);

} // namespace swf
