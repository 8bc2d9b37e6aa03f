#include "player/ButtonDefinition.h"

#include "player/ActionRecord.h"
#include "player/ButtonInstance.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"

namespace swf
{

ButtonDefinition::~ButtonDefinition() = default;

void ButtonDefinition::read(SwfStream& stream, int code)
{
    bool extended = code == 34;
    int actionOffset = 0;
    if (extended)
    {
        stream.readU8(); // track-as-menu flag
        actionOffset = stream.readU16();
    }
    while (!stream.exhausted())
    {
        uint8_t flags = stream.readU8();
        if (flags == 0 || stream.exhausted())
            break;
        Record record;
        record.states = flags & 0x0F;
        record.characterId = stream.readU16();
        record.depth = stream.readU16();
        record.matrix = readMatrix(stream);
        if (extended)
            record.cxform = readColorTransform(stream, true);
        if (stream.exhausted())
            break;
        buttonRecords.push_back(record);
    }
    if (stream.exhausted())
        return;

    if (!extended)
    {
        buttonActions.push_back(Action{0, ActionRecord::read(stream, stream.tagEnd())});
        return;
    }
    if (actionOffset == 0)
        return;
    // BUTTONCONDACTION list: a size (0 for the last) and a condition word before each program.
    while (!stream.exhausted() && stream.bytesLeftInTag() > 0)
    {
        int64_t start = stream.position();
        int size = stream.readU16();
        int conditions = stream.readU16();
        int64_t end = size == 0 ? stream.tagEnd() : start + size;
        if (stream.exhausted() || end <= stream.position())
            break;
        buttonActions.push_back(Action{conditions, ActionRecord::read(stream, end)});
        if (size == 0)
            break;
        stream.setPosition(std::min(end, stream.tagEnd()));
    }
}

void ButtonDefinition::readSounds(SwfStream& stream)
{
    for (int i = 0; i < 4 && !stream.exhausted(); ++i)
    {
        sounds[i] = stream.readU16();
        if (sounds[i] == 0)
            continue;
        // SOUNDINFO, read only to reach the next entry.
        uint8_t flags = stream.readU8();
        if (flags & 0x01)
            stream.readU32(); // in point
        if (flags & 0x02)
            stream.readU32(); // out point
        if (flags & 0x04)
            stream.readU16(); // loops
        if (flags & 0x08)
        {
            int points = stream.readU8();
            for (int p = 0; p < points && !stream.exhausted(); ++p)
            {
                stream.readU32();
                stream.readU16();
                stream.readU16();
            }
        }
    }
}

Ref<DisplayObject> ButtonDefinition::createDisplayObject(SpriteInstance* parent, int id)
{
    return makeRef<ButtonInstance>(Ref<ButtonDefinition>(this), parent, id);
}

} // namespace swf
