#include "player/ControlTags.h"

#include "player/PlayerHooks.h"
#include "player/SpriteInstance.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"

namespace swf
{

namespace
{

// Clip event flag bits (as read little-endian) and the event ids they stand for.
struct EventBit
{
    uint32_t bit;
    int eventId;
};

constexpr EventBit EventBits[] = {
    {1u << 0, EventLoad},
    {1u << 1, EventEnterFrame},
    {1u << 2, EventUnload},
    {1u << 3, EventMouseMove},
    {1u << 4, EventMouseDown},
    {1u << 5, EventMouseUp},
    {1u << 6, EventKeyDown},
    {1u << 7, EventKeyUp},
    {1u << 8, EventData},
    {1u << 9, EventInitialize},
    {1u << 10, EventPress},
    {1u << 11, EventRelease},
    {1u << 12, EventReleaseOutside},
    {1u << 13, EventRollOver},
    {1u << 14, EventRollOut},
    {1u << 15, EventDragOver},
    {1u << 16, EventDragOut},
    {1u << 17, EventKeyPress},
    {1u << 18, EventConstruct},
};

constexpr uint32_t KeyPressFlag = 1u << 17;

} // namespace

void PlaceObjectTag::read(SwfStream& stream, int code, int version)
{
    if (code == 4)
    {
        characterId = stream.readU16();
        depth = stream.readU16();
        matrix = readMatrix(stream);
        hasMatrix = true;
        if (stream.bytesLeftInTag() > 0)
        {
            colorTransform = readColorTransform(stream, false);
            hasColorTransform = true;
        }
        placement = Placement::Place;
        return;
    }

    stream.align();
    bool hasClipActions = stream.readUInt(1) != 0;
    bool hasClipDepth = stream.readUInt(1) != 0;
    bool hasName = stream.readUInt(1) != 0;
    bool hasRatio = stream.readUInt(1) != 0;
    hasColorTransform = stream.readUInt(1) != 0;
    hasMatrix = stream.readUInt(1) != 0;
    bool hasCharacter = stream.readUInt(1) != 0;
    bool move = stream.readUInt(1) != 0;
    depth = stream.readU16();
    if (hasCharacter)
        characterId = stream.readU16();
    if (hasMatrix)
        matrix = readMatrix(stream);
    if (hasColorTransform)
        colorTransform = readColorTransform(stream, true);
    if (hasRatio)
        ratio = stream.readU16() * (1.0f / 65535.0f);
    if (hasName)
        name = stream.readString();
    if (hasClipDepth)
        clipDepth = stream.readU16();
    if (hasClipActions)
        readClipActions(stream, version);
    if (hasCharacter && move)
        placement = Placement::Replace;
    else if (hasCharacter)
        placement = Placement::Place;
    else
        placement = Placement::Move;
}

void PlaceObjectTag::readClipActions(SwfStream& stream, int version)
{
    bool wide = version >= 6;
    stream.readU16(); // reserved
    if (wide)
        stream.readU32();
    else
        stream.readU16();
    while (!stream.exhausted())
    {
        uint32_t flags = wide ? stream.readU32() : stream.readU16();
        if (flags == 0 || stream.exhausted())
            break;
        uint32_t size = stream.readU32();
        int64_t end = stream.position() + size;
        if (wide && (flags & KeyPressFlag))
            stream.readU8(); // key code
        Ref<ActionRecord> record = ActionRecord::read(stream, end);
        if (stream.exhausted())
            break;
        for (const EventBit& e : EventBits)
            if (flags & e.bit)
                eventHandlers.emplace_back(e.eventId, record);
        stream.setPosition(std::min(end, stream.tagEnd()));
    }
}

void PlaceObjectTag::execute(SpriteInstance& sprite)
{
    switch (placement)
    {
    case Placement::Place:
        sprite.addDisplayObject(characterId, name, eventHandlers, depth, colorTransform, matrix, ratio, clipDepth);
        break;
    case Placement::Move:
        sprite.moveDisplayObject(depth, hasColorTransform, colorTransform, hasMatrix, matrix, ratio, clipDepth);
        break;
    case Placement::Replace:
        sprite.replaceDisplayObject(characterId, name, depth, hasColorTransform, colorTransform, hasMatrix, matrix,
                                    ratio, clipDepth);
        break;
    }
}

void RemoveObjectTag::execute(SpriteInstance& sprite)
{
    sprite.removeDisplayObject(depth);
}

void SetBackgroundColorTag::execute(SpriteInstance& sprite)
{
    sprite.setBackgroundColour(colour);
}

void DoActionTag::execute(SpriteInstance& sprite)
{
    sprite.queueActions(record);
}

} // namespace swf
