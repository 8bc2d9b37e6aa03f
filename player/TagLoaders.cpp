#include "player/TagLoaders.h"

#include "player/ActionRecord.h"
#include "player/ButtonDefinition.h"
#include "player/ControlTags.h"
#include "player/MovieDefinition.h"
#include "player/Player.h"
#include "player/ShapeDefinition.h"
#include "player/SpriteDefinition.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"

#include <array>

// The text and action parts of the player plug in here when they are built
// (SWF_CORE_ONLY builds the core alone).
#if !defined(SWF_CORE_ONLY) && __has_include("player/TextInstall.h")
#include "player/TextInstall.h"
#define SWF_HAVE_TEXT_SUPPORT 1
#endif
#if !defined(SWF_CORE_ONLY) && __has_include("player/ActionInstall.h")
#include "player/ActionInstall.h"
#define SWF_HAVE_ACTION_SUPPORT 1
#endif

namespace swf
{

namespace
{

constexpr int TagCodeCount = 1024; // tag codes are 10 bits

std::array<TagLoader, TagCodeCount>& loaderTable()
{
    static std::array<TagLoader, TagCodeCount> table{};
    return table;
}

void loadShape(SwfStream& stream, int code, TimelineDefinition& definition)
{
    int id = stream.readU16();
    Ref<ShapeDefinition> shape = makeRef<ShapeDefinition>();
    shape->read(stream, code);
    definition.addCharacter(id, shape);
}

void loadMorphShape(SwfStream& stream, int, TimelineDefinition& definition)
{
    int id = stream.readU16();
    definition.addCharacter(id, makeRef<MorphShapeDefinition>());
}

void loadPlaceObject(SwfStream& stream, int code, TimelineDefinition& definition)
{
    Ref<PlaceObjectTag> tag = makeRef<PlaceObjectTag>();
    tag->read(stream, code, definition.version());
    definition.addControlTag(tag);
}

void loadRemoveObject2(SwfStream& stream, int, TimelineDefinition& definition)
{
    int depth = stream.readU16();
    definition.addControlTag(makeRef<RemoveObjectTag>(depth));
}

void loadSetBackgroundColor(SwfStream& stream, int, TimelineDefinition& definition)
{
    definition.addControlTag(makeRef<SetBackgroundColorTag>(readRgb(stream)));
}

void loadDoAction(SwfStream& stream, int, TimelineDefinition& definition)
{
    definition.addControlTag(makeRef<DoActionTag>(ActionRecord::read(stream, stream.tagEnd())));
}

void loadButton(SwfStream& stream, int code, TimelineDefinition& definition)
{
    int id = stream.readU16();
    Ref<ButtonDefinition> button = makeRef<ButtonDefinition>();
    button->read(stream, code);
    definition.addCharacter(id, button);
}

void loadButtonSound(SwfStream& stream, int, TimelineDefinition& definition)
{
    int id = stream.readU16();
    if (auto* button = dynamic_cast<ButtonDefinition*>(definition.characterById(id)))
        button->readSounds(stream);
}

void loadSprite(SwfStream& stream, int, TimelineDefinition& definition)
{
    // A sprite inside a sprite would be ignored anyway; not reading it also keeps hostile
    // files from nesting sprites without limit.
    if (definition.isSprite())
        return;
    int id = stream.readU16();
    Ref<SpriteDefinition> sprite = makeRef<SpriteDefinition>(definition.movie());
    sprite->read(stream);
    definition.addCharacter(id, sprite);
}

void loadFrameLabel(SwfStream& stream, int, TimelineDefinition& definition)
{
    definition.addFrameLabel(stream.readString());
}

void loadExportAssets(SwfStream& stream, int, TimelineDefinition& definition)
{
    int count = stream.readU16();
    MovieDefinition& movie = definition.movie();
    for (int i = 0; i < count && !stream.exhausted(); ++i)
    {
        int id = stream.readU16();
        std::string name = stream.readString();
        if (stream.exhausted())
            break;
        if (Resource* font = definition.fontResourceById(id))
            movie.exportResource(name, font);
        else if (CharacterDefinition* character = definition.characterById(id))
            movie.exportResource(name, character);
    }
}

void loadImportAssets(SwfStream& stream, int, TimelineDefinition& definition)
{
    std::string path = stream.readString();
    int count = stream.readU16();
    if (stream.exhausted())
        return;
    Ref<MovieDefinition> source = loadLibraryMovie(path);
    if (!source)
        return;
    for (int i = 0; i < count && !stream.exhausted(); ++i)
    {
        int id = stream.readU16();
        std::string symbol = stream.readString();
        if (stream.exhausted())
            break;
        Resource* resource = source->exportedResource(symbol);
        if (!resource)
            continue;
        if (resource->asFont())
            definition.addFont(id, resource);
        else if (CharacterDefinition* character = resource->asCharacter())
            definition.addCharacter(id, character);
    }
    definition.movie().addImportSource(source);
}

void registerBuiltInLoaders()
{
    registerTagLoader(0, [](SwfStream&, int, TimelineDefinition&) {}); // End
    registerTagLoader(2, loadShape);
    registerTagLoader(22, loadShape);
    registerTagLoader(32, loadShape);
    registerTagLoader(4, loadPlaceObject);
    registerTagLoader(26, loadPlaceObject);
    registerTagLoader(7, loadButton);
    registerTagLoader(34, loadButton);
    registerTagLoader(9, loadSetBackgroundColor);
    registerTagLoader(12, loadDoAction);
    registerTagLoader(17, loadButtonSound);
    registerTagLoader(24, [](SwfStream&, int, TimelineDefinition&) {}); // Protect
    registerTagLoader(28, loadRemoveObject2);
    registerTagLoader(39, loadSprite);
    registerTagLoader(43, loadFrameLabel);
    registerTagLoader(46, loadMorphShape);
    registerTagLoader(56, loadExportAssets);
    registerTagLoader(57, loadImportAssets);
}

} // namespace

void registerTagLoader(int code, TagLoader loader)
{
    if (code >= 0 && code < TagCodeCount)
        loaderTable()[static_cast<size_t>(code)] = loader;
}

TagLoader tagLoader(int code)
{
    if (code < 0 || code >= TagCodeCount)
        return nullptr;
    return loaderTable()[static_cast<size_t>(code)];
}

void ensurePlayerInitialised()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerBuiltInLoaders();
#ifdef SWF_HAVE_TEXT_SUPPORT
    installTextSupport();
#endif
#ifdef SWF_HAVE_ACTION_SUPPORT
    installActionSupport();
#endif
}

void readTagStream(SwfStream& stream, int64_t end, TimelineDefinition& definition)
{
    while (stream.position() < end && !stream.hasFailed())
    {
        int code = stream.openTag();
        if (stream.hasFailed())
        {
            stream.closeTag();
            break;
        }
        if (code == 1)
            definition.showFrame();
        else if (TagLoader loader = tagLoader(code))
            loader(stream, code, definition);
        stream.closeTag();
        if (code == 0 && stream.position() != end)
            break;
    }
}

} // namespace swf
