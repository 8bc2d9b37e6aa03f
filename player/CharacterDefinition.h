#pragma once

#include "player/Forward.h"
#include "player/RefCounted.h"

namespace swf
{

// Anything a movie can store by id and export by name: a character or a font.
class Resource : public RefCounted
{
  public:
    virtual CharacterDefinition* asCharacter() { return nullptr; }
    virtual Font* asFont() { return nullptr; }
};

// Shared definition of one dictionary entry (shape, sprite, button, text ...).
// Subclasses override what their kind needs; the defaults make a character that draws nothing.
class CharacterDefinition : public Resource
{
  public:
    CharacterDefinition* asCharacter() override { return this; }

    // Makes the live object placed on a display list. The default is a plain instance that
    // draws this definition through display().
    [[nodiscard]] virtual Ref<DisplayObject> createDisplayObject(SpriteInstance* parent, int id);
    // Draws the definition for one placed object (world matrix and colour transform come from it).
    virtual void display(DisplayObject& object, RenderContext& context);
    // Point in the character's own twips; used by hit tests.
    virtual bool pointTestLocal(float x, float y) const;
    // Bounds in the character's own twips (empty when unknown).
    virtual Rect bounds() const;
    // Short kind name for diagnostics and the movie inspector ("shape", "sprite", ...).
    virtual const char* kindName() const { return "character"; }
};

} // namespace swf
