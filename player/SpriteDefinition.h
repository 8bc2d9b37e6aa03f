#pragma once

#include "player/TimelineDefinition.h"

namespace swf
{

// A DefineSprite character: its own frames and labels; every dictionary lookup goes to the
// enclosing movie, and definitions met inside the sprite are ignored.
class SpriteDefinition : public TimelineDefinition
{
  public:
    explicit SpriteDefinition(MovieDefinition& owner) : owner(&owner) {}

    // Reads the frame count and the nested tag stream up to the end of the DefineSprite tag.
    void read(SwfStream& stream);

    CharacterDefinition* characterById(int id) const override;
    void addCharacter(int, Ref<CharacterDefinition>) override {}
    Resource* fontResourceById(int id) const override;
    void addFont(int, Ref<Resource>) override {}
    int version() const override;
    float frameRate() const override;
    MovieDefinition& movie() override { return *owner; }
    bool isSprite() const override { return true; }

    [[nodiscard]] Ref<DisplayObject> createDisplayObject(SpriteInstance* parent, int id) override;
    const char* kindName() const override { return "sprite"; }

  private:
    // Not a counted reference: the movie owns this sprite through its dictionary.
    MovieDefinition* owner;
};

} // namespace swf
