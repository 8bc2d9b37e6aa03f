#pragma once

#include "player/ActionRecord.h"
#include "player/Forward.h"
#include "player/RefCounted.h"
#include "player/SwfTypes.h"

#include <string>
#include <utility>
#include <vector>

namespace swf
{

// Clip event handlers of a placed object: event id -> action record.
using ClipEventHandlers = std::vector<std::pair<int, Ref<ActionRecord>>>;

// One entry of a frame's playlist, executed on the sprite that plays the frame.
class ControlTag : public RefCounted
{
  public:
    enum class Kind
    {
        PlaceObject,
        RemoveObject,
        SetBackgroundColor,
        DoAction,
    };

    virtual Kind kind() const = 0;
    virtual void execute(SpriteInstance& sprite) = 0;
};

// PlaceObject / PlaceObject2.
class PlaceObjectTag : public ControlTag
{
  public:
    enum class Placement
    {
        Place = 0,
        Move = 1,
        Replace = 2,
    };

    // Tag code 4 or 26, read after the tag header; `version` is the movie's version.
    void read(SwfStream& stream, int code, int version);
    Kind kind() const override { return Kind::PlaceObject; }
    void execute(SpriteInstance& sprite) override;

    int characterId = 0;
    std::string name;
    int depth = 0;
    ColorTransform colorTransform;
    bool hasColorTransform = false;
    Matrix matrix;
    bool hasMatrix = false;
    float ratio = 0;
    int clipDepth = 0;
    ClipEventHandlers eventHandlers;
    Placement placement = Placement::Place;

  private:
    void readClipActions(SwfStream& stream, int version);
};

// RemoveObject2: removes the object at a depth at the next sweep.
class RemoveObjectTag : public ControlTag
{
  public:
    explicit RemoveObjectTag(int depth) : depth(depth) {}
    Kind kind() const override { return Kind::RemoveObject; }
    void execute(SpriteInstance& sprite) override;
    int depth;
};

class SetBackgroundColorTag : public ControlTag
{
  public:
    explicit SetBackgroundColorTag(Rgba colour) : colour(colour) {}
    Kind kind() const override { return Kind::SetBackgroundColor; }
    void execute(SpriteInstance& sprite) override;
    Rgba colour;
};

// DoAction: queues its action record on the sprite.
class DoActionTag : public ControlTag
{
  public:
    explicit DoActionTag(Ref<ActionRecord> record) : record(std::move(record)) {}
    Kind kind() const override { return Kind::DoAction; }
    void execute(SpriteInstance& sprite) override;
    Ref<ActionRecord> record;
};

} // namespace swf
