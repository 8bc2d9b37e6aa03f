// Loaders of the font and text tags: each reads the id of what it defines,
// then hands the rest of the tag to the reader of that kind. What a reader
// refuses (a tag cut short) is simply not added to the movie.

#include "player/EditTextDefinition.h"
#include "player/Font.h"
#include "player/FontReader.h"
#include "player/StaticText.h"
#include "player/SwfStream.h"
#include "player/TagLoaders.h"
#include "player/TextInstall.h"
#include "player/TimelineDefinition.h"

namespace swf
{

namespace
{

constexpr int DefineFontCode = 10;
constexpr int DefineTextCode = 11;
constexpr int DefineFontInfoCode = 13;
constexpr int DefineText2Code = 33;
constexpr int DefineEditTextCode = 37;
constexpr int DefineFont2Code = 48;

void loadFont(SwfStream& stream, int code, TimelineDefinition& definition)
{
    const int id = stream.readU16();
    if (stream.hasOverrun())
        return;
    Ref<Font> font = code == DefineFont2Code ? FontReader::readDefineFont2(stream) : FontReader::readDefineFont(stream);
    if (font)
        definition.addFont(id, Ref<Resource>(font.get()));
}

void loadFontInfo(SwfStream& stream, int, TimelineDefinition& definition)
{
    const int id = stream.readU16();
    if (stream.hasOverrun())
        return;
    if (Font* font = definition.fontById(id))
        (void)FontReader::readFontInfo(stream, *font);
}

void loadText(SwfStream& stream, int code, TimelineDefinition& definition)
{
    const int id = stream.readU16();
    if (stream.hasOverrun())
        return;
    Ref<StaticText> text = makeRef<StaticText>();
    if (text->read(stream, code, definition))
        definition.addCharacter(id, Ref<CharacterDefinition>(text.get()));
}

void loadEditText(SwfStream& stream, int, TimelineDefinition& definition)
{
    const int id = stream.readU16();
    if (stream.hasOverrun())
        return;
    Ref<EditTextDefinition> field = makeRef<EditTextDefinition>();
    if (field->read(stream, definition))
        definition.addCharacter(id, Ref<CharacterDefinition>(field.get()));
}

} // namespace

void installTextSupport()
{
    registerTagLoader(DefineFontCode, loadFont);
    registerTagLoader(DefineFont2Code, loadFont);
    registerTagLoader(DefineFontInfoCode, loadFontInfo);
    registerTagLoader(DefineTextCode, loadText);
    registerTagLoader(DefineText2Code, loadText);
    registerTagLoader(DefineEditTextCode, loadEditText);
}

} // namespace swf
