#include "player/ActionSpriteObject.h"

#include "player/ControlTags.h"
#include "player/MovieInstance.h"
#include "player/Player.h"
#include "player/TimelineDefinition.h"

namespace swf
{

SpriteScript::SpriteScript(SpriteInstance& sprite) : self(makeRef<SpriteScriptObject>(sprite)) {}

SpriteScript::~SpriteScript()
{
    // Values held by scripts elsewhere may outlive the sprite; cut them loose and drop what
    // the sprite's scripts left, which breaks any cycle through this object's members.
    self->detach();
}

ScriptEnvironment& SpriteScript::environment()
{
    return self->environment();
}

SpriteScript& spriteScript(SpriteInstance& sprite)
{
    std::unique_ptr<SpriteScriptState>& state = sprite.scriptState();
    if (!state)
        state = std::make_unique<SpriteScript>(sprite);
    return static_cast<SpriteScript&>(*state);
}

Ref<ScriptObject> scriptObjectFor(DisplayObject* object)
{
    if (!object)
        return nullptr;
    if (SpriteInstance* sprite = object->asSprite())
        return Ref<ScriptObject>(&spriteScript(*sprite).object());
    return makeRef<DisplayScriptObject>(Ref<DisplayObject>(object));
}

void SpriteScriptObject::detach()
{
    sprite = nullptr;
    env.clear();
    clearMembers();
}

bool SpriteScriptObject::getMember(const std::string& name, ScriptValue& out)
{
    if (sprite && getDisplayMember(*sprite, name, out))
        return true;
    return ScriptObject::getMember(name, out);
}

void SpriteScriptObject::setMember(const std::string& name, const ScriptValue& value)
{
    if (sprite && setDisplayMember(*sprite, name, value))
        return;
    ScriptObject::setMember(name, value);
}

int SpriteScriptObject::currentFrame()
{
    return sprite ? sprite->currentFrame() : 0;
}

int SpriteScriptObject::frameCount()
{
    return sprite ? sprite->frameCount() : 0;
}

void SpriteScriptObject::gotoFrame(int frame)
{
    if (sprite)
        sprite->gotoFrame(frame);
}

bool SpriteScriptObject::gotoLabeledFrame(const std::string& label)
{
    return sprite && sprite->gotoLabeledFrame(label);
}

bool SpriteScriptObject::frameByLabel(const std::string& label, int& frame)
{
    if (!sprite)
        return false;
    std::optional<int> found = sprite->timeline().frameByLabel(label);
    if (!found)
        return false;
    frame = *found;
    return true;
}

void SpriteScriptObject::setPlaying(bool play)
{
    if (sprite)
        sprite->setPlayState(play ? PlayState::Play : PlayState::Stop);
}

bool SpriteScriptObject::isPlaying()
{
    return sprite && sprite->playState() == PlayState::Play;
}

void SpriteScriptObject::frameActions(int frame, std::vector<Ref<const ActionRecord>>& out)
{
    if (!sprite || frame < 0 || frame >= sprite->frameCount())
        return;
    for (const Ref<ControlTag>& tag : sprite->timeline().playlist(frame))
    {
        if (tag->kind() == ControlTag::Kind::DoAction)
        {
            const auto& action = static_cast<const DoActionTag&>(*tag);
            if (action.record)
                out.emplace_back(action.record.get());
        }
    }
}

ScriptTarget* SpriteScriptObject::parentTarget()
{
    if (!sprite || !sprite->parent())
        return nullptr;
    return &spriteScript(*sprite->parent()).object();
}

ScriptTarget* SpriteScriptObject::rootTarget()
{
    SpriteInstance* root = sprite ? sprite->root() : nullptr;
    return root ? &spriteScript(*root).object() : nullptr;
}

Ref<ScriptObject> SpriteScriptObject::childByName(const std::string& name)
{
    if (!sprite)
        return nullptr;
    return scriptObjectFor(sprite->displayList().findByName(name));
}

bool SpriteScriptObject::getProperty(int index, ScriptValue& out)
{
    return sprite && getDisplayProperty(*sprite, index, out);
}

bool SpriteScriptObject::setProperty(int index, const ScriptValue& value)
{
    return sprite && setDisplayProperty(*sprite, index, value);
}

bool SpriteScriptObject::cloneSprite(const std::string& newName, int depth)
{
    SpriteInstance* parent = sprite ? sprite->parent() : nullptr;
    if (!parent || newName.empty())
        return false;
    // The copy is a new placement of the same character beside the original, with the
    // original's transforms and clip events; it loads (and runs its first frame) at once.
    Ref<SpriteInstance> keep(sprite);
    parent->addDisplayObject(sprite->characterId(), newName, sprite->eventHandlers(), depth, sprite->colorTransform(),
                             sprite->matrix(), sprite->ratio(), sprite->clipDepth());
    return true;
}

void SpriteScriptObject::removeSprite()
{
    SpriteInstance* parent = sprite ? sprite->parent() : nullptr;
    // Only the object standing at the sprite's depth, so a stale name cannot remove another.
    if (parent && parent->displayList().objectAt(sprite->depth()) == sprite)
        parent->removeDisplayObject(sprite->depth());
}

void SpriteScriptObject::startDrag(bool lockCenter, const ScriptDragBounds& bounds)
{
    SpriteInstance* root = sprite ? sprite->root() : nullptr;
    if (!root)
        return;
    ActionDragState& drag = spriteScript(*root).drag;
    drag.dragged = Ref<ScriptObject>(this);
    drag.lockCenter = lockCenter;
    drag.bounds = bounds;
    drag.offsetX = drag.offsetY = 0;
    float mx, my;
    if (!lockCenter && mousePosition(*sprite, true, mx, my))
    {
        drag.offsetX = sprite->matrix().m02 * 0.05f - mx;
        drag.offsetY = sprite->matrix().m12 * 0.05f - my;
    }
}

void SpriteScriptObject::endDrag()
{
    SpriteInstance* root = sprite ? sprite->root() : nullptr;
    if (root)
        spriteScript(*root).drag = ActionDragState();
}

void SpriteScriptObject::fsCommand(const std::string& command, const std::string& argument)
{
    const CommandHandler& handler = commandHandler();
    if (sprite && handler)
        handler(sprite->movieInstance(), command, argument);
}

double SpriteScriptObject::movieTimeSeconds()
{
    MovieInstance* movie = sprite ? sprite->movieInstance() : nullptr;
    return movie ? movie->time() : 0.0;
}

bool DisplayScriptObject::getMember(const std::string& name, ScriptValue& out)
{
    if (getDisplayMember(*display, name, out))
        return true;
    return ScriptObject::getMember(name, out);
}

void DisplayScriptObject::setMember(const std::string& name, const ScriptValue& value)
{
    if (setDisplayMember(*display, name, value))
        return;
    ScriptObject::setMember(name, value);
}

} // namespace swf
