#pragma once

#include "player/CharacterDefinition.h"
#include "player/ControlTags.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace swf
{

// What tag loaders add to: a movie, or a sprite defined inside one.
// Frames hold the control tags that build them; the frame count is the declared one and
// tags beyond it are dropped, so frame numbering always follows the header.
class TimelineDefinition : public CharacterDefinition
{
  public:
    using Playlist = std::vector<Ref<ControlTag>>;

    // Dictionary (answered by the enclosing movie for sprites).
    virtual CharacterDefinition* characterById(int id) const = 0;
    virtual void addCharacter(int id, Ref<CharacterDefinition> character) = 0;
    virtual Resource* fontResourceById(int id) const = 0;
    Font* fontById(int id) const
    {
        Resource* font = fontResourceById(id);
        return font ? font->asFont() : nullptr;
    }
    virtual void addFont(int id, Ref<Resource> font) = 0;
    virtual int version() const = 0;
    virtual float frameRate() const = 0;
    // The movie that owns the dictionary.
    virtual MovieDefinition& movie() = 0;
    virtual bool isSprite() const { return false; }

    int frameCount() const { return declaredFrames; }
    int loadingFrame() const { return loading; }
    void showFrame() { ++loading; }
    // Appends to the frame being loaded; dropped when that frame is past the declared count.
    void addControlTag(Ref<ControlTag> tag);
    // Control tags of frame n (empty for frames without tags or out of range).
    const Playlist& playlist(int frame) const;
    void addFrameLabel(const std::string& label);
    [[nodiscard]] std::optional<int> frameByLabel(const std::string& label) const;
    const std::map<std::string, int>& frameLabels() const { return labels; }

  protected:
    void setFrameCount(int count) { declaredFrames = count < 0 ? 0 : count; }

  private:
    int declaredFrames = 0;
    int loading = 0;
    // Grown only as frames receive tags: a huge declared count costs nothing.
    std::vector<Playlist> frames;
    std::map<std::string, int> labels;
};

} // namespace swf
