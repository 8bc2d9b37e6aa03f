#include "player/EditTextDefinition.h"

#include "player/Font.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"
#include "player/TextField.h"
#include "player/TimelineDefinition.h"

namespace swf
{

bool EditTextDefinition::read(SwfStream& stream, TimelineDefinition& owner)
{
    fieldBounds = readRect(stream);
    stream.align();
    fieldFlags = static_cast<std::uint16_t>(stream.readUInt(16));
    if (hasFlag(HasFont))
    {
        fieldFontId = stream.readU16();
        height = static_cast<float>(stream.readU16());
    }
    if (hasFlag(HasColour))
        textColour = readRgba(stream);
    if (hasFlag(HasMaxLength))
        maximumLength = stream.readU16();
    if (hasFlag(HasLayout))
    {
        align = stream.readU8();
        marginLeft = static_cast<float>(stream.readU16());
        marginRight = static_cast<float>(stream.readU16());
        // Indent and leading may pull lines closer or left, so they are signed.
        firstIndent = static_cast<float>(stream.readS16());
        lineLeading = static_cast<float>(stream.readS16());
    }
    variable = stream.readString();
    if (stream.hasOverrun())
        return false;
    // The initial text may run to the very end of the tag without its 0.
    if (hasFlag(HasText))
        initial = stream.readString();
    if (stream.hasFailed())
        return false;

    if (fieldFontId >= 0)
    {
        if (Resource* found = owner.fontResourceById(fieldFontId); found && found->asFont())
            fieldFont = Ref<Resource>(found);
    }
    return true;
}

const Font* EditTextDefinition::font() const
{
    return fieldFont ? fieldFont->asFont() : nullptr;
}

TextLayoutStyle EditTextDefinition::layoutStyle() const
{
    TextLayoutStyle style;
    style.fontId = fieldFontId;
    style.fieldWidth = fieldBounds.xmax - fieldBounds.xmin;
    style.height = height;
    style.colour = textColour;
    style.alignment = align;
    style.leftMargin = marginLeft;
    style.rightMargin = marginRight;
    style.indent = firstIndent;
    style.leading = lineLeading;
    return style;
}

Ref<DisplayObject> EditTextDefinition::createDisplayObject(SpriteInstance* parent, int id)
{
    return makeRef<TextField>(Ref<EditTextDefinition>(this), parent, id);
}

} // namespace swf
