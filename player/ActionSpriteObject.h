#pragma once

#include "player/ScriptEnvironment.h"
#include "player/ScriptObject.h"
#include "player/ScriptTarget.h"
#include "player/SpriteInstance.h"

#include <string>

namespace swf
{

class SpriteScriptObject;

// Where a dragged sprite goes: kept by the root sprite of a movie for the whole movie.
struct ActionDragState
{
    Ref<ScriptObject> dragged; // a SpriteScriptObject; empty when nothing is dragged
    bool lockCenter = false;
    ScriptDragBounds bounds;
    float offsetX = 0, offsetY = 0; // sprite position minus mouse, in parent pixels
};

// The script state a sprite owns: its environment and the script object that stands for it.
class SpriteScript : public SpriteScriptState
{
  public:
    explicit SpriteScript(SpriteInstance& sprite);
    ~SpriteScript() override;

    SpriteScriptObject& object() { return *self; }
    ScriptEnvironment& environment();
    ActionDragState drag;

  private:
    Ref<SpriteScriptObject> self;
};

// A sprite as scripts see it. The link to the sprite is weak: scripts never keep a sprite (or
// its movie) alive, and once the sprite is gone its properties read undefined and writes do
// nothing. Members set by scripts live here.
class SpriteScriptObject : public ScriptObject, public ScriptTarget
{
  public:
    explicit SpriteScriptObject(SpriteInstance& owner) : sprite(&owner), env(this) {}

    SpriteInstance* liveSprite() const { return sprite; }
    void detach();

    bool getMember(const std::string& name, ScriptValue& out) override;
    void setMember(const std::string& name, const ScriptValue& value) override;
    ScriptTarget* scriptTarget() override { return sprite ? this : nullptr; }
    const void* identity() const override { return this; }

    ScriptObject& scriptObject() override { return *this; }
    const RefCounted* lifetimeOwner() override { return sprite; }
    ScriptEnvironment& environment() override { return env; }
    int currentFrame() override;
    int frameCount() override;
    void gotoFrame(int frame) override;
    bool gotoLabeledFrame(const std::string& label) override;
    bool frameByLabel(const std::string& label, int& frame) override;
    void setPlaying(bool play) override;
    bool isPlaying() override;
    void frameActions(int frame, std::vector<Ref<const ActionRecord>>& out) override;
    ScriptTarget* parentTarget() override;
    ScriptTarget* rootTarget() override;
    Ref<ScriptObject> childByName(const std::string& name) override;
    bool getProperty(int index, ScriptValue& out) override;
    bool setProperty(int index, const ScriptValue& value) override;
    bool cloneSprite(const std::string& newName, int depth) override;
    void removeSprite() override;
    void startDrag(bool lockCenter, const ScriptDragBounds& bounds) override;
    void endDrag() override;
    void fsCommand(const std::string& command, const std::string& argument) override;
    double movieTimeSeconds() override;

  private:
    SpriteInstance* sprite;
    ScriptEnvironment env;
};

// A display object that is not a sprite (a text field, a shape, a button) as scripts see it.
// It holds the object: such objects own no scripts, so no cycle can form through them.
class DisplayScriptObject : public ScriptObject
{
  public:
    explicit DisplayScriptObject(Ref<DisplayObject> object) : display(std::move(object)) {}

    bool getMember(const std::string& name, ScriptValue& out) override;
    void setMember(const std::string& name, const ScriptValue& value) override;
    bool textValue(std::string& out) const override;
    const void* identity() const override { return display.get(); }

  private:
    Ref<DisplayObject> display;
};

// The script state of a sprite, made on first use.
SpriteScript& spriteScript(SpriteInstance& sprite);
// The script object standing for a display object (null for null).
Ref<ScriptObject> scriptObjectFor(DisplayObject* object);

// Properties by index (0 "_x" .. 21 "_ymouse") of any display object, in pixels, percent and
// degrees; false for an index the object has not.
bool getDisplayProperty(DisplayObject& object, int index, ScriptValue& out);
bool setDisplayProperty(DisplayObject& object, int index, const ScriptValue& value);
// Members by name of a display object: property names, "_parent" and the text field members.
bool getDisplayMember(DisplayObject& object, const std::string& name, ScriptValue& out);
bool setDisplayMember(DisplayObject& object, const std::string& name, const ScriptValue& value);
// The mouse position in the coordinates of `space` (its parent's if `parentSpace`), pixels.
bool mousePosition(DisplayObject& space, bool parentSpace, float& x, float& y);

} // namespace swf
