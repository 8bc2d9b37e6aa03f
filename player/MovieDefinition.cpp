#include "player/MovieDefinition.h"

#include "player/FileStream.h"
#include "player/InflateStream.h"
#include "player/MovieInstance.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"
#include "player/TagLoaders.h"

#include <cmath>
#include <memory>

namespace swf
{

void MovieDefinition::read(FileStream& file)
{
    ensurePlayerInitialised();
    SwfStream stream(file);
    int64_t start = stream.position();
    uint8_t header[4];
    stream.readBytes(header, 4);
    uint32_t fileLength = stream.readU32();
    if (stream.hasFailed())
        return;
    fileVersion = header[3];
    bool plain = header[0] == 'F' && header[1] == 'W' && header[2] == 'S';
    bool packed = header[0] == 'C' && header[1] == 'W' && header[2] == 'S';
    if (!plain && !packed)
        return;

    int64_t end = start + fileLength;
    std::unique_ptr<InflateStream> inflater;
    if (packed)
    {
        compressed = true;
        // The bit reader reads ahead: put the file back where the compressed data starts.
        file.seek(stream.position());
        inflater = std::make_unique<InflateStream>(file);
        if (inflater->error != 0)
            return;
        stream.setStream(*inflater);
        end = static_cast<int64_t>(fileLength) - 8;
    }

    rect = readRect(stream);
    rate = stream.readU16() * 0.00390625f;
    setFrameCount(stream.readU16());
    if (stream.hasFailed())
        return;
    valid = true;
    readTagStream(stream, end, *this);
}

int MovieDefinition::widthPixels() const
{
    return static_cast<int>(std::ceil((rect.xmax - rect.xmin) * 0.05f));
}

int MovieDefinition::heightPixels() const
{
    return static_cast<int>(std::ceil((rect.ymax - rect.ymin) * 0.05f));
}

Ref<MovieInstance> MovieDefinition::createInstance()
{
    ensurePlayerInitialised();
    return makeRef<MovieInstance>(Ref<MovieDefinition>(this));
}

CharacterDefinition* MovieDefinition::characterById(int id) const
{
    auto it = characters.find(id);
    return it == characters.end() ? nullptr : it->second.get();
}

void MovieDefinition::addCharacter(int id, Ref<CharacterDefinition> character)
{
    if (character)
        characters[id] = std::move(character);
}

Resource* MovieDefinition::fontResourceById(int id) const
{
    auto it = fontDictionary.find(id);
    return it == fontDictionary.end() ? nullptr : it->second.get();
}

void MovieDefinition::addFont(int id, Ref<Resource> font)
{
    if (font)
        fontDictionary[id] = std::move(font);
}

void MovieDefinition::exportResource(const std::string& name, Ref<Resource> resource)
{
    if (resource)
        exported[name] = std::move(resource);
}

Resource* MovieDefinition::exportedResource(const std::string& name) const
{
    auto it = exported.find(name);
    return it == exported.end() ? nullptr : it->second.get();
}

void MovieDefinition::addImportSource(Ref<MovieDefinition> source)
{
    if (!source || source.get() == this)
        return;
    for (const auto& existing : importSources)
        if (existing == source)
            return;
    importSources.push_back(std::move(source));
}

std::map<int, Ref<CharacterDefinition>> MovieDefinition::dictionary() const
{
    return std::map<int, Ref<CharacterDefinition>>(characters.begin(), characters.end());
}

} // namespace swf
