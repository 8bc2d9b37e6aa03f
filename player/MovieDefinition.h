#pragma once

#include "player/SwfTypes.h"
#include "player/TimelineDefinition.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace swf
{

// The immutable, shared contents of one movie file: header values, dictionary, frames,
// labels and exports. Shared by every instance made from it and by the library cache.
class MovieDefinition : public TimelineDefinition
{
  public:
    MovieDefinition() = default;

    // Reads a movie from the stream's current position (header, then the tag stream).
    // A bad header leaves the definition empty; damaged tags end the reading early.
    void read(FileStream& stream);

    int widthPixels() const;
    int heightPixels() const;
    const Rect& frameRect() const { return rect; }
    float frameRate() const override { return rate; }
    int version() const override { return fileVersion; }
    bool isCompressed() const { return compressed; }
    // Whether the header was recognised.
    bool isValid() const { return valid; }

    [[nodiscard]] Ref<MovieInstance> createInstance();

    CharacterDefinition* characterById(int id) const override;
    void addCharacter(int id, Ref<CharacterDefinition> character) override;
    Resource* fontResourceById(int id) const override;
    void addFont(int id, Ref<Resource> font) override;
    MovieDefinition& movie() override { return *this; }
    const char* kindName() const override { return "movie"; }

    void exportResource(const std::string& name, Ref<Resource> resource);
    Resource* exportedResource(const std::string& name) const;
    const std::map<std::string, Ref<Resource>>& exports() const { return exported; }
    void addImportSource(Ref<MovieDefinition> source);

    // Sorted by id, for inspection.
    std::map<int, Ref<CharacterDefinition>> dictionary() const;
    const std::unordered_map<int, Ref<Resource>>& fonts() const { return fontDictionary; }

  private:
    Rect rect;
    float rate = 30.0f;
    int fileVersion = 0;
    bool compressed = false;
    bool valid = false;
    std::unordered_map<int, Ref<CharacterDefinition>> characters;
    std::unordered_map<int, Ref<Resource>> fontDictionary;
    std::map<std::string, Ref<Resource>> exported;
    std::vector<Ref<MovieDefinition>> importSources;
};

} // namespace swf
