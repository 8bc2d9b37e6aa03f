#pragma once

#include <string>

namespace swf
{

// The numbered sprite properties of GetProperty/SetProperty, also accepted by name as members.
enum class ScriptProperty : int
{
    X = 0,
    Y,
    XScale,
    YScale,
    CurrentFrame,
    TotalFrames,
    Alpha,
    Visible,
    Width,
    Height,
    Rotation,
    Target,
    FramesLoaded,
    Name,
    DropTarget,
    Url,
    HighQuality,
    FocusRect,
    SoundBufTime,
    Quality,
    XMouse,
    YMouse,
};
constexpr int ScriptPropertyCount = 22;

// Index of a property name ("_x" -> 0), or -1.
int scriptPropertyIndex(const std::string& name);
const char* scriptPropertyName(int index);

// Event ids of clip events and their method names ("onLoad" for 10); null for ids 0 to 9,
// the button and key-press events, which have no method.
enum class ScriptEvent : int
{
    Load = 10,
    Unload,
    EnterFrame,
    MouseDown,
    MouseUp,
    MouseMove,
    KeyDown,
    KeyUp,
    Data,
};
const char* scriptEventMethod(int eventId);

} // namespace swf
