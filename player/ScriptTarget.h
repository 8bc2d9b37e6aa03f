#pragma once

#include "player/RefCounted.h"

#include <string>
#include <vector>

namespace swf
{

class ActionRecord;
class ScriptEnvironment;
class ScriptObject;
class ScriptValue;

// Rectangle a dragged sprite is kept in, in its parent's pixels.
struct ScriptDragBounds
{
    bool constrained = false;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

// What the interpreter asks of a sprite: its timeline, its place in the display tree, its
// numbered properties and the services of the movie it plays in. Scripts reach sprites only
// through this interface.
class ScriptTarget
{
  public:
    virtual ~ScriptTarget() = default;

    virtual ScriptObject& scriptObject() = 0;
    // The object whose life keeps the sprite (and its environment) in existence; running
    // scripts hold it so that a script removing its own sprite finishes safely.
    virtual const RefCounted* lifetimeOwner() = 0;
    // The environment that runs this sprite's own actions.
    virtual ScriptEnvironment& environment() = 0;

    // Timeline: frames are 0-based; going to a frame stops the sprite.
    virtual int currentFrame() = 0;
    virtual int frameCount() = 0;
    virtual void gotoFrame(int frame) = 0;
    virtual bool gotoLabeledFrame(const std::string& label) = 0;
    virtual bool frameByLabel(const std::string& label, int& frame) = 0;
    virtual void setPlaying(bool play) = 0;
    virtual bool isPlaying() = 0;
    // The action records of a frame, for the Call action.
    virtual void frameActions(int frame, std::vector<Ref<const ActionRecord>>& out) = 0;

    // Display tree. Children are display objects named exactly `name`.
    virtual ScriptTarget* parentTarget() = 0;
    virtual ScriptTarget* rootTarget() = 0;
    virtual Ref<ScriptObject> childByName(const std::string& name) = 0;

    // Numbered properties (0 "_x" .. 21 "_ymouse"); false for an index the sprite lacks.
    virtual bool getProperty(int index, ScriptValue& out) = 0;
    virtual bool setProperty(int index, const ScriptValue& value) = 0;

    // CloneSprite and RemoveSprite.
    virtual bool cloneSprite(const std::string& newName, int depth) = 0;
    virtual void removeSprite() = 0;

    // Services of the movie instance the sprite plays in.
    virtual void startDrag(bool lockCenter, const ScriptDragBounds& bounds) = 0;
    virtual void endDrag() = 0;
    virtual void fsCommand(const std::string& command, const std::string& argument) = 0;
    virtual double movieTimeSeconds() = 0;
};

} // namespace swf
