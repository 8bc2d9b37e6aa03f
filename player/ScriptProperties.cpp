#include "player/ScriptProperties.h"

namespace swf
{

static const char* const PropertyNames[ScriptPropertyCount] = {
    "_x",          "_y",     "_xscale",      "_yscale",    "_currentframe", "_totalframes",  "_alpha",
    "_visible",    "_width", "_height",      "_rotation",  "_target",       "_framesloaded", "_name",
    "_droptarget", "_url",   "_highquality", "_focusrect", "_soundbuftime", "_quality",      "_xmouse",
    "_ymouse",
};

int scriptPropertyIndex(const std::string& name)
{
    if (name.empty() || name[0] != '_')
        return -1;
    for (int i = 0; i < ScriptPropertyCount; ++i)
    {
        if (name == PropertyNames[i])
            return i;
    }
    return -1;
}

const char* scriptPropertyName(int index)
{
    return index >= 0 && index < ScriptPropertyCount ? PropertyNames[index] : nullptr;
}

const char* scriptEventMethod(int eventId)
{
    static const char* const Methods[] = {
        "onLoad",      "onUnload",  "onEnterFrame", "onMouseDown", "onMouseUp",
        "onMouseMove", "onKeyDown", "onKeyUp",      "onData",
    };
    if (eventId < 10 || eventId > 18)
        return nullptr;
    return Methods[eventId - 10];
}

} // namespace swf
