#include "player/ActionInstall.h"

#include "player/ActionInterpreter.h"
#include "player/ActionSpriteObject.h"
#include "player/Player.h"
#include "player/PlayerHooks.h"
#include "player/ScriptGlobals.h"
#include "player/ScriptProperties.h"

#include <algorithm>
#include <cmath>

namespace swf
{

namespace
{

void runActions(SpriteInstance& sprite, const ActionRecord& record)
{
    executeActions(record, spriteScript(sprite).environment());
}

// The clip event handler for the id if the object has one; otherwise the event's method
// ("onLoad", "onEnterFrame", ...) if the sprite has a function of that name.
bool dispatchEvent(DisplayObject& object, int eventId)
{
    Ref<DisplayObject> keep(&object);
    // Handlers run with the object as target; an object that is not a sprite lends its parent.
    SpriteInstance* where = object.asSprite() ? object.asSprite() : object.parent();
    bool ran = false;
    ClipEventHandlers handlers = object.eventHandlers();
    for (const auto& [id, record] : handlers)
    {
        if (id == eventId && record && where)
        {
            executeActions(*record, spriteScript(*where).environment());
            ran = true;
        }
    }
    if (ran)
        return true;
    const char* method = scriptEventMethod(eventId);
    SpriteInstance* sprite = object.asSprite();
    if (!method || !sprite)
        return false;
    SpriteScript& script = spriteScript(*sprite);
    ScriptValue function;
    if (!script.object().getOwnMember(method, function) || !function.isFunction())
        return false;
    callFunction(function, script.environment(), &script.object(), {});
    return true;
}

double clampAxis(double value, double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return value;
    return std::clamp(value, std::min(a, b), std::max(a, b));
}

// First step of a sprite's advance: the dragged sprite moves with the mouse of its movie.
void followMouse(SpriteInstance& sprite)
{
    SpriteInstance* root = sprite.root();
    if (!root || !root->scriptState())
        return;
    ActionDragState& drag = static_cast<SpriteScript&>(*root->scriptState()).drag;
    if (!drag.dragged || static_cast<SpriteScriptObject*>(drag.dragged.get())->liveSprite() != &sprite)
        return;
    float mx, my;
    if (!mousePosition(sprite, true, mx, my))
        return;
    double x = drag.lockCenter ? mx : mx + drag.offsetX;
    double y = drag.lockCenter ? my : my + drag.offsetY;
    if (drag.bounds.constrained)
    {
        x = clampAxis(x, drag.bounds.left, drag.bounds.right);
        y = clampAxis(y, drag.bounds.top, drag.bounds.bottom);
    }
    constexpr double Limit = 1.0e7;
    Matrix m = sprite.matrix();
    m.m02 = static_cast<float>(std::clamp(x, -Limit, Limit) * 20.0);
    m.m12 = static_cast<float>(std::clamp(y, -Limit, Limit) * 20.0);
    sprite.setMatrix(m);
}

} // namespace

void installActionSupport()
{
    ActionHooks hooks;
    hooks.runActions = &runActions;
    hooks.dispatchEvent = &dispatchEvent;
    hooks.followMouse = &followMouse;
    setActionHooks(hooks);
    addShutdownHook(&releaseScriptGlobals);
}

} // namespace swf
