#pragma once

#include "player/ScriptValue.h"

#include <cstdint>
#include <string>
#include <vector>

namespace swf
{

class ActionRecord;
class ScriptEnvironment;
class ScriptObject;

// Upper bound of actions one outermost execute may run, including every function, Call and
// nested sprite script it starts; a movie that loops forever is abandoned instead of freezing
// the game. Action records nest at most MaxNesting deep (function calls, Call, clip events).
constexpr int64_t ActionBudget = 250000;
constexpr int MaxNesting = 256;

// Runs an action record in an environment, from its first byte to its end (or to an End
// action, a Return, the end of the budget, or the first read that would leave the record).
void executeActions(const ActionRecord& record, ScriptEnvironment& env);

// Calls a function value with its arguments (first argument first). `self` is the object a
// method is called on (null for a plain call). Anything that is not a function, or a call
// nested too deep, gives undefined.
ScriptValue callFunction(const ScriptValue& function, ScriptEnvironment& env, ScriptObject* self,
                         const std::vector<ScriptValue>& args);

// Trace output: the player writes no log, but a host may watch what scripts trace.
using TraceHandler = void (*)(const std::string& text, void* context);
void setTraceHandler(TraceHandler handler, void* context);

// How many action records are running right now (0 outside any script).
int runningActionNesting();

} // namespace swf
