#include "player/ButtonInstance.h"

#include "player/ButtonDefinition.h"
#include "player/MovieInstance.h"
#include "player/SpriteInstance.h"
#include "player/TimelineDefinition.h"

#include <algorithm>

namespace swf
{

ButtonInstance::ButtonInstance(Ref<ButtonDefinition> definition, SpriteInstance* parent, int characterId)
    : DisplayObject(Ref<CharacterDefinition>(definition.get()), parent, characterId), buttonDef(definition)
{
    if (!parent || level + 1 > SpriteInstance::MaxNesting)
        return;
    TimelineDefinition& timeline = parent->timeline();
    std::vector<ButtonDefinition::Record> records = buttonDef->records();
    std::stable_sort(records.begin(), records.end(),
                     [](const ButtonDefinition::Record& a, const ButtonDefinition::Record& b)
                     { return a.depth < b.depth; });
    for (const ButtonDefinition::Record& record : records)
    {
        CharacterDefinition* character = timeline.characterById(record.characterId);
        if (!character)
            continue;
        if (objectCounter() && *objectCounter() >= MovieInstance::MaxObjects)
            break;
        Ref<DisplayObject> object = character->createDisplayObject(nullptr, record.characterId);
        if (!object)
            continue;
        object->setNestingLevel(level + 1);
        object->setObjectCounter(objectCounter());
        object->setDepth(record.depth);
        Child child{record.states, record.matrix, record.cxform, object};
        placeChild(child);
        children.push_back(child);
        if (SpriteInstance* sprite = object->asSprite())
            sprite->load();
    }
}

ButtonInstance::~ButtonInstance() = default;

bool ButtonInstance::shows(const Child& child) const
{
    switch (state)
    {
    case MouseState::Up:
        return child.states & ButtonDefinition::StateUp;
    case MouseState::Down:
        return child.states & ButtonDefinition::StateDown;
    case MouseState::Over:
        return child.states & ButtonDefinition::StateOver;
    }
    return false;
}

void ButtonInstance::placeChild(Child& child)
{
    // Children have no parent link; their matrix and colour carry the button's world placement.
    Matrix m = worldMatrix();
    m.concatenate(child.matrix);
    child.object->setMatrix(m);
    ColorTransform c = child.cxform;
    c.concatenate(worldColorTransform());
    child.object->setColorTransform(c);
}

std::vector<DisplayObject*> ButtonInstance::shownChildren() const
{
    std::vector<DisplayObject*> out;
    for (const Child& child : children)
        if (shows(child))
            out.push_back(child.object.get());
    return out;
}

void ButtonInstance::display(RenderContext& context)
{
    for (Child& child : children)
    {
        if (!shows(child) || !child.object->visible())
            continue;
        placeChild(child);
        child.object->display(context);
    }
}

void ButtonInstance::advance(float seconds)
{
    for (Child& child : children)
        if (shows(child) && child.object->visible())
            child.object->advance(seconds);
}

bool ButtonInstance::pointTest(float x, float y) const
{
    // The hit area is the union of the hit-test records, in the parent's coordinates.
    for (const Child& child : children)
    {
        if (!(child.states & ButtonDefinition::StateHitTest) || !child.object->definition())
            continue;
        Matrix local = matrix();
        local.concatenate(child.matrix);
        if (!local.isInvertible())
            continue;
        Matrix inverse;
        inverse.setInverse(local);
        float lx = x;
        float ly = y;
        inverse.transform(lx, ly);
        if (child.object->definition()->pointTestLocal(lx, ly))
            return true;
    }
    return false;
}

} // namespace swf
