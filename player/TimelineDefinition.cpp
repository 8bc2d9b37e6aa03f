#include "player/TimelineDefinition.h"

namespace swf
{

void TimelineDefinition::addControlTag(Ref<ControlTag> tag)
{
    if (!tag || loading < 0 || loading >= declaredFrames)
        return;
    if (static_cast<size_t>(loading) >= frames.size())
        frames.resize(static_cast<size_t>(loading) + 1);
    frames[static_cast<size_t>(loading)].push_back(std::move(tag));
}

const TimelineDefinition::Playlist& TimelineDefinition::playlist(int frame) const
{
    static const Playlist empty;
    if (frame < 0 || static_cast<size_t>(frame) >= frames.size())
        return empty;
    return frames[static_cast<size_t>(frame)];
}

void TimelineDefinition::addFrameLabel(const std::string& label)
{
    if (loading < 0 || loading >= declaredFrames)
        return;
    labels[label] = loading;
}

std::optional<int> TimelineDefinition::frameByLabel(const std::string& label) const
{
    auto it = labels.find(label);
    if (it == labels.end())
        return std::nullopt;
    return it->second;
}

} // namespace swf
