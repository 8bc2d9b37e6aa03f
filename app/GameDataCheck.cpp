#include "app/GameDataCheck.h"

#include "engine/FileSystem.h"

#include <vector>

namespace
{

struct Required
{
    const char* path;
    bool folder;
};

constexpr Required RequiredData[] = {
    {"Data/Graphics", true},
    {"Data/Sounds", true},
    {"Data/Fonts/Overload", false},
    {"Data/Levels", true},
};

std::string JoinList(const std::vector<std::string>& items)
{
    std::string out;
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (i > 0)
            out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

} // namespace

std::optional<std::string> GameDataCheck::MissingDataMessage()
{
    FileSystem& files = FileSystem::Get();
    std::vector<std::string> missing;
    for (const Required& item : RequiredData)
    {
        const bool found = item.folder ? files.IsDirectory(item.path) : files.Exists(item.path);
        if (!found)
            missing.emplace_back(item.path);
    }
    if (missing.empty())
        return std::nullopt;

    const std::string programFolder = files.ProgramDirectory();
    std::vector<std::string> archives;
    for (const std::string& entry : files.SearchPath())
    {
        if (entry != programFolder && entry != files.WriteDirectory())
            archives.push_back(entry);
    }
    std::string text = "The game's data could not be found: " + JoinList(missing) +
                       (missing.size() == 1 ? " is" : " are") + " missing.\n\nLooked in the game folder " +
                       programFolder + " and ";
    text += archives.empty()
                ? "found no data archive (*.VKR) there."
                : "in its data archive" + std::string(archives.size() == 1 ? " " : "s ") + JoinList(archives) + ".";
    text += "\n\nReinstalling the game brings its data back.";
    return text;
}
