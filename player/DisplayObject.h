#pragma once

#include "player/ControlTags.h"
#include "player/Forward.h"
#include "player/RefCounted.h"
#include "player/SwfTypes.h"

#include <memory>
#include <string>

namespace swf
{

// A live character on a display list: position, colour, name and depth of one placement.
// Base of plain instances (shapes, static texts), sprites, buttons and text fields.
class DisplayObject : public RefCounted
{
  public:
    DisplayObject(Ref<CharacterDefinition> definition, SpriteInstance* parent, int characterId);
    ~DisplayObject() override;

    virtual void display(RenderContext& context);
    virtual void advance(float seconds);
    // Point in the parent's twips.
    virtual bool pointTest(float x, float y) const;
    // Runs the handler or method for an event; returns whether something ran.
    virtual bool onEvent(int eventId);
    // Whether a MOVE placement may change this object's matrix and colour transform.
    virtual bool acceptsMoves() const { return true; }
    // Called when the object takes the place of another through a REPLACE placement.
    virtual void restartTimeline() {}
    virtual SpriteInstance* asSprite() { return nullptr; }

    Matrix worldMatrix() const;
    ColorTransform worldColorTransform() const;
    // Bounds in the object's own twips (empty when unknown).
    virtual Rect localBounds() const;

    CharacterDefinition* definition() const { return def.get(); }
    int characterId() const { return id; }
    // The parent is a weak link: it is cleared when the parent goes away.
    SpriteInstance* parent() const { return parentSprite; }
    void clearParent() { parentSprite = nullptr; }
    // The movie instance this object belongs to (null once detached).
    MovieInstance* movieInstance() const;
    SpriteInstance* root();
    // Display-object nesting level: 0 for a movie's root.
    int nestingLevel() const { return level; }
    void setNestingLevel(int nesting) { level = nesting; }
    // Count of live objects of the movie this object was made for (shared with the movie).
    const std::shared_ptr<int>& objectCounter() const { return counter; }
    void setObjectCounter(std::shared_ptr<int> liveObjects);

    const std::string& name() const { return objectName; }
    void setName(const std::string& n) { objectName = n; }
    int depth() const { return objectDepth; }
    void setDepth(int d) { objectDepth = d; }
    const Matrix& matrix() const { return objectMatrix; }
    void setMatrix(const Matrix& m) { objectMatrix = m; }
    const ColorTransform& colorTransform() const { return cxform; }
    void setColorTransform(const ColorTransform& c) { cxform = c; }
    float ratio() const { return objectRatio; }
    void setRatio(float r) { objectRatio = r; }
    int clipDepth() const { return objectClipDepth; }
    void setClipDepth(int d) { objectClipDepth = d; }
    bool visible() const { return isVisible; }
    void setVisible(bool v) { isVisible = v; }
    const ClipEventHandlers& eventHandlers() const { return handlers; }
    void setEventHandlers(const ClipEventHandlers& h) { handlers = h; }

  protected:
    Ref<CharacterDefinition> def;
    SpriteInstance* parentSprite;
    int level = 0;

  private:
    std::shared_ptr<int> counter;
    int id;
    std::string objectName;
    int objectDepth = 0;
    ColorTransform cxform;
    Matrix objectMatrix;
    float objectRatio = 0;
    int objectClipDepth = 0;
    bool isVisible = true;
    ClipEventHandlers handlers;
};

} // namespace swf
