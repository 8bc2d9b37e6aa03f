#include "player/SpriteDefinition.h"

#include "player/MovieDefinition.h"
#include "player/SpriteInstance.h"
#include "player/SwfStream.h"
#include "player/TagLoaders.h"

namespace swf
{

void SpriteDefinition::read(SwfStream& stream)
{
    setFrameCount(stream.readU16());
    readTagStream(stream, stream.tagEnd(), *this);
}

CharacterDefinition* SpriteDefinition::characterById(int id) const
{
    return owner->characterById(id);
}

Resource* SpriteDefinition::fontResourceById(int id) const
{
    return owner->fontResourceById(id);
}

int SpriteDefinition::version() const
{
    return owner->version();
}

float SpriteDefinition::frameRate() const
{
    return owner->frameRate();
}

Ref<DisplayObject> SpriteDefinition::createDisplayObject(SpriteInstance* parent, int id)
{
    return makeRef<SpriteInstance>(Ref<TimelineDefinition>(this), parent, id);
}

} // namespace swf
