#pragma once

#include "player/Forward.h"

namespace swf
{

// Entry points of the action interpreter. Unset hooks mean movies run no scripts:
// queued actions are dropped and events report "not handled".
struct ActionHooks
{
    // Runs one action record with `target` as the target sprite.
    void (*runActions)(SpriteInstance& target, const ActionRecord& record) = nullptr;
    // Runs the clip event handler or event method for `eventId`; returns whether something ran.
    bool (*dispatchEvent)(DisplayObject& object, int eventId) = nullptr;
    // Moves a dragged sprite to follow the mouse (first step of its advance).
    void (*followMouse)(SpriteInstance& sprite) = nullptr;
};

void setActionHooks(const ActionHooks& hooks);
const ActionHooks& actionHooks();

// Event ids. 0..9 are the button and key events; 10 and up have method names.
enum EventId : int
{
    EventPress = 0,
    EventRelease = 1,
    EventReleaseOutside = 2,
    EventRollOver = 3,
    EventRollOut = 4,
    EventDragOver = 5,
    EventDragOut = 6,
    EventKeyPress = 7,
    EventInitialize = 8,
    EventConstruct = 9,
    EventLoad = 10,
    EventUnload = 11,
    EventEnterFrame = 12,
    EventMouseDown = 13,
    EventMouseUp = 14,
    EventMouseMove = 15,
    EventKeyDown = 16,
    EventKeyUp = 17,
    EventData = 18,
};

} // namespace swf
