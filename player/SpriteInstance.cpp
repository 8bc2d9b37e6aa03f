#include "player/SpriteInstance.h"

#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/PlayerHooks.h"

#include <algorithm>
#include <cmath>

namespace swf
{

namespace
{

// Frames one advance may run; the rest of a huge time step is dropped rather than spent.
constexpr int MaxFramesPerAdvance = 1000;

void growBounds(Rect& out, bool& any, const Rect& r, const Matrix& m)
{
    float xs[4] = {r.xmin, r.xmax, r.xmin, r.xmax};
    float ys[4] = {r.ymin, r.ymin, r.ymax, r.ymax};
    for (int i = 0; i < 4; ++i)
    {
        float x = xs[i];
        float y = ys[i];
        m.transform(x, y);
        if (!any)
        {
            out = Rect{x, x, y, y};
            any = true;
        }
        out.xmin = std::min(out.xmin, x);
        out.xmax = std::max(out.xmax, x);
        out.ymin = std::min(out.ymin, y);
        out.ymax = std::max(out.ymax, y);
    }
}

} // namespace

SpriteInstance::SpriteInstance(Ref<TimelineDefinition> definition, SpriteInstance* parent, int characterId)
    : DisplayObject(Ref<CharacterDefinition>(definition.get()), parent, characterId), timelineDef(definition),
      ownerMovie(&definition->movie())
{
}

SpriteInstance::~SpriteInstance()
{
    list.clear();
}

int SpriteInstance::frameCount() const
{
    return timelineDef->frameCount();
}

float SpriteInstance::frameTime() const
{
    // Nested sprites run at the rate of the movie they play in.
    float rate = ownerMovie->frameRate();
    if (MovieInstance* movie = movieInstance())
        rate = movie->movieDefinition().frameRate();
    if (!(rate > 0.0f) || !std::isfinite(rate))
        return INFINITY;
    return 1.0f / rate;
}

void SpriteInstance::setPlayState(PlayState s)
{
    if (s != state)
        remainder = 0;
    state = s;
}

void SpriteInstance::restart()
{
    current = 0;
    next = 0;
    remainder = 0;
    updateFrame = true;
    looped = false;
}

void SpriteInstance::executeFrameTags(int frame, bool stateOnly)
{
    // The playlist belongs to the definition, which this sprite keeps alive.
    const TimelineDefinition::Playlist& tags = timelineDef->playlist(frame);
    for (const Ref<ControlTag>& tag : tags)
    {
        if (stateOnly && tag->kind() == ControlTag::Kind::DoAction)
            continue;
        tag->execute(*this);
    }
}

void SpriteInstance::executeRemoveTags(int frame)
{
    for (const Ref<ControlTag>& tag : timelineDef->playlist(frame))
        if (tag->kind() == ControlTag::Kind::RemoveObject)
            tag->execute(*this);
}

void SpriteInstance::load()
{
    Ref<SpriteInstance> keepAlive(this);
    executeFrameTags(0, false);
    doActions();
    onEvent(EventLoad);
}

void SpriteInstance::advance(float seconds)
{
    if (!visible())
        return;
    Ref<SpriteInstance> keepAlive(this);
    if (actionHooks().followMouse)
        actionHooks().followMouse(*this);

    if (std::isfinite(seconds) && seconds > 0)
        remainder += seconds;
    float ft = frameTime();
    if (ft <= remainder)
    {
        updateFrame = true;
        remainder -= ft;
    }

    int framesRun = 0;
    float timeLeft = std::isfinite(seconds) && seconds > 0 ? seconds : 0.0f;
    while (updateFrame)
    {
        current = next;
        ++next;
        updateFrame = false;
        if (state == PlayState::Play)
        {
            // A one-frame sprite did its only frame when it was loaded.
            if (frameCount() != 1)
                executeFrameTags(current, false);
            onEvent(EventEnterFrame);
            doActions();
        }

        list.removeUntouched();
        std::vector<Ref<DisplayObject>> children;
        children.reserve(list.size());
        for (const DisplayList::Entry& entry : list.entries())
            children.push_back(entry.object);
        // Children share this advance's time frame by frame rather than each receiving the whole
        // step once per frame: otherwise nested sprites would run frames^depth frames.
        bool moreFrames = ft <= remainder;
        float share = moreFrames ? std::min(ft, timeLeft) : timeLeft;
        timeLeft -= share;
        for (const Ref<DisplayObject>& child : children)
            if (child->visible() && child->parent() == this)
                child->advance(share);
        doActions();

        if (next >= frameCount())
        {
            next = 0;
            looped = true;
            // What frame 0 does not place again disappears at the next sweep.
            if (frameCount() > 1 && state == PlayState::Play)
                list.clearTouched();
        }
        if (ft <= remainder)
        {
            updateFrame = true;
            remainder -= ft;
        }
        if (++framesRun >= MaxFramesPerAdvance)
        {
            updateFrame = false;
            remainder = 0;
        }
    }
}

void SpriteInstance::gotoFrame(int frame)
{
    int count = frameCount();
    if (count <= 0)
        return;
    Ref<SpriteInstance> keepAlive(this);
    int target = std::clamp(frame, 0, count - 1);
    if (target < current)
    {
        for (int f = current - 1; f > target; --f)
            executeRemoveTags(f);
        list.clearTouched();
        for (int f = 0; f < target; ++f)
            executeFrameTags(f, true);
        executeFrameTags(target, false);
        list.removeUntouched();
    }
    else if (target > current)
    {
        for (int f = current; f < target; ++f)
            executeFrameTags(f, true);
        executeFrameTags(target, false);
        list.removeUntouched();
    }
    current = target;
    // A go-to always stops the sprite; the time remainder stays.
    state = PlayState::Stop;
    next = std::clamp(target + 1, 0, count - 1);
}

bool SpriteInstance::gotoLabeledFrame(const std::string& label)
{
    std::optional<int> frame = timelineDef->frameByLabel(label);
    if (!frame)
        return false;
    gotoFrame(*frame);
    return true;
}

Ref<DisplayObject> SpriteInstance::createChild(int characterId)
{
    CharacterDefinition* character = timelineDef->characterById(characterId);
    if (!character)
        return nullptr;
    // A sprite that places itself (directly or through others) stops at the nesting limit, and a
    // movie that multiplies objects stops at the object budget.
    if (nestingLevel() + 1 > MaxNesting)
        return nullptr;
    if (objectCounter() && *objectCounter() >= MovieInstance::MaxObjects)
        return nullptr;
    return character->createDisplayObject(this, characterId);
}

void SpriteInstance::addDisplayObject(int characterId, const std::string& name, const ClipEventHandlers& handlers,
                                      int depth, const ColorTransform& cxform, const Matrix& matrix, float ratio,
                                      int clipDepth)
{
    if (!timelineDef->characterById(characterId))
        return;
    DisplayObject* existing = list.objectAt(depth);
    if (existing && existing->characterId() == characterId && existing->name() == name)
    {
        moveDisplayObject(depth, true, cxform, true, matrix, ratio, clipDepth);
        return;
    }
    Ref<DisplayObject> object = createChild(characterId);
    if (!object)
        return;
    if (!name.empty())
        object->setName(name);
    object->setEventHandlers(handlers);
    object->setDepth(depth);
    object->setColorTransform(cxform);
    object->setMatrix(matrix);
    object->setRatio(ratio);
    object->setClipDepth(clipDepth);
    list.add(object, true);
    if (SpriteInstance* sprite = object->asSprite())
        sprite->load();
}

void SpriteInstance::moveDisplayObject(int depth, bool hasCxform, const ColorTransform& cxform, bool hasMatrix,
                                       const Matrix& matrix, float ratio, int)
{
    DisplayList::Entry* entry = list.entryAt(depth);
    if (!entry || entry->object->depth() != depth)
        return;
    entry->touched = true;
    DisplayObject& object = *entry->object;
    if (!object.acceptsMoves())
        return;
    if (hasCxform)
        object.setColorTransform(cxform);
    if (hasMatrix)
        object.setMatrix(matrix);
    object.setRatio(ratio);
}

void SpriteInstance::replaceDisplayObject(int characterId, const std::string& name, int depth, bool hasCxform,
                                          const ColorTransform& cxform, bool hasMatrix, const Matrix& matrix,
                                          float ratio, int clipDepth)
{
    if (!timelineDef->characterById(characterId))
        return;
    DisplayList::Entry* entry = list.entryAt(depth);
    if (!entry)
    {
        addDisplayObject(characterId, name, {}, depth, hasCxform ? cxform : ColorTransform(),
                         hasMatrix ? matrix : Matrix(), ratio, clipDepth);
        return;
    }
    Ref<DisplayObject> old = entry->object;
    Ref<DisplayObject> object = createChild(characterId);
    if (!object)
        return;
    if (!name.empty())
        object->setName(name);
    object->setDepth(depth);
    object->setColorTransform(hasCxform ? cxform : old->colorTransform());
    object->setMatrix(hasMatrix ? matrix : old->matrix());
    object->setRatio(ratio);
    object->setClipDepth(clipDepth);
    list.add(object, true);
    if (SpriteInstance* sprite = object->asSprite())
    {
        sprite->load();
        sprite->restart();
    }
}

void SpriteInstance::removeDisplayObject(int depth)
{
    list.markUntouched(depth);
}

void SpriteInstance::queueActions(Ref<ActionRecord> record)
{
    // A script that jumps between frames in a loop queues the frames' actions again on every
    // jump; a real movie never has more than a handful waiting, so the queue is capped and
    // later records are dropped rather than growing without bound.
    if (record && pending.size() < MaxPendingActions)
        pending.push_back(std::move(record));
}

void SpriteInstance::setBackgroundColour(const Rgba& colour)
{
    if (MovieInstance* movie = movieInstance())
        movie->setBackgroundColour(colour);
}

void SpriteInstance::doActions()
{
    if (pending.empty())
        return;
    std::vector<Ref<ActionRecord>> queued;
    queued.swap(pending);
    auto run = actionHooks().runActions;
    if (!run)
        return;
    Ref<SpriteInstance> keepAlive(this);
    for (const Ref<ActionRecord>& record : queued)
        run(*this, *record);
}

void SpriteInstance::display(RenderContext& context)
{
    if (frameCount() <= 0)
        return;
    list.display(context);
}

bool SpriteInstance::pointTest(float x, float y) const
{
    if (!matrix().isInvertible())
        return false;
    Matrix inverse;
    inverse.setInverse(matrix());
    inverse.transform(x, y);
    for (const DisplayList::Entry& entry : list.entries())
        if (entry.object->visible() && entry.object->pointTest(x, y))
            return true;
    return false;
}

Rect SpriteInstance::localBounds() const
{
    Rect out;
    bool any = false;
    for (const DisplayList::Entry& entry : list.entries())
        growBounds(out, any, entry.object->localBounds(), entry.object->matrix());
    return out;
}

} // namespace swf
