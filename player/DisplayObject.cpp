#include "player/DisplayObject.h"

#include "player/CharacterDefinition.h"
#include "player/MovieInstance.h"
#include "player/PlayerHooks.h"
#include "player/SpriteInstance.h"

namespace swf
{

DisplayObject::DisplayObject(Ref<CharacterDefinition> definition, SpriteInstance* parent, int characterId)
    : def(std::move(definition)), parentSprite(parent), id(characterId)
{
    level = parent ? parent->nestingLevel() + 1 : 0;
    if (parent)
        setObjectCounter(parent->objectCounter());
}

DisplayObject::~DisplayObject()
{
    if (counter)
        --*counter;
}

void DisplayObject::setObjectCounter(std::shared_ptr<int> liveObjects)
{
    if (counter)
        --*counter;
    counter = std::move(liveObjects);
    if (counter)
        ++*counter;
}

void DisplayObject::display(RenderContext& context)
{
    if (def)
        def->display(*this, context);
}

void DisplayObject::advance(float) {}

bool DisplayObject::pointTest(float x, float y) const
{
    if (!def)
        return false;
    Matrix inverse;
    if (!objectMatrix.isInvertible())
        return false;
    inverse.setInverse(objectMatrix);
    inverse.transform(x, y);
    return def->pointTestLocal(x, y);
}

bool DisplayObject::onEvent(int eventId)
{
    const ActionHooks& hooks = actionHooks();
    return hooks.dispatchEvent ? hooks.dispatchEvent(*this, eventId) : false;
}

Matrix DisplayObject::worldMatrix() const
{
    if (!parentSprite)
        return objectMatrix;
    Matrix m = parentSprite->worldMatrix();
    m.concatenate(objectMatrix);
    return m;
}

ColorTransform DisplayObject::worldColorTransform() const
{
    ColorTransform c = cxform;
    if (parentSprite)
        c.concatenate(parentSprite->worldColorTransform());
    return c;
}

Rect DisplayObject::localBounds() const
{
    return def ? def->bounds() : Rect();
}

MovieInstance* DisplayObject::movieInstance() const
{
    const DisplayObject* object = this;
    while (object->parentSprite)
        object = object->parentSprite;
    // Only a root sprite knows its movie instance; a detached object has none.
    if (auto* sprite = dynamic_cast<const SpriteInstance*>(object))
        return sprite->ownMovieInstance();
    return nullptr;
}

SpriteInstance* DisplayObject::root()
{
    DisplayObject* object = this;
    while (object->parentSprite)
        object = object->parentSprite;
    return object->asSprite();
}

Ref<DisplayObject> CharacterDefinition::createDisplayObject(SpriteInstance* parent, int id)
{
    return makeRef<DisplayObject>(Ref<CharacterDefinition>(this), parent, id);
}

void CharacterDefinition::display(DisplayObject&, RenderContext&) {}

bool CharacterDefinition::pointTestLocal(float x, float y) const
{
    Rect r = bounds();
    return r.xmin <= x && x <= r.xmax && r.ymin <= y && y <= r.ymax;
}

Rect CharacterDefinition::bounds() const
{
    return Rect();
}

} // namespace swf
