#pragma once

#include "player/ScriptValue.h"

#include <string>

namespace swf
{

class ScriptObject;

// The global object of the movie scripts, registered under the name "_global" and holding the
// Math object as its member "math". Created on first use; dropped by releaseScriptGlobals.
ScriptObject& scriptGlobalObject();
void releaseScriptGlobals();

// Members of string values: "length" and the methods "charCodeAt", "indexOf", "substring".
bool stringMember(const std::string& text, const std::string& name, ScriptValue& out);

} // namespace swf
