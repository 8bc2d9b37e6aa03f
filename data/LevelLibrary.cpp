#include "data/LevelLibrary.h"

#include "app/Application.h"
#include "engine/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <sys/stat.h>

namespace
{

// The leading digits of a file name; 0 when it starts with none.
int NumberOfFile(const std::string& file)
{
    int number = 0;
    for (size_t i = 0; i < file.size() && std::isdigit(static_cast<unsigned char>(file[i])) && number <= MaxLevelNumber;
         ++i)
        number = number * 10 + (file[i] - '0');
    return number;
}

bool MakeDirectory(const std::string& path)
{
    struct stat st;
    return (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::vector<LevelSetFiles> ListLevelLibrary()
{
    std::vector<LevelSetFiles> library;
    for (const std::string& set : ListPuzzleSets())
    {
        LevelSetFiles entry{set, ListPuzzleFiles(set)};
        if (entry.files.empty())
            continue;
        std::sort(entry.files.begin(), entry.files.end());
        library.push_back(std::move(entry));
    }
    std::sort(library.begin(), library.end(),
              [](const LevelSetFiles& a, const LevelSetFiles& b) { return a.name < b.name; });
    return library;
}

std::string SetNameProblem(const std::string& name)
{
    if (name.empty())
        return "Please type a name for the set.";
    if (name.size() > MaxSetNameBytes)
        return "Set names have at most 40 letters.";
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return "Set names cannot hold \"/\" or \"\\\".";
    if (name.find("..") != std::string::npos || name.find_first_not_of('.') == std::string::npos)
        return "Set names cannot hold \"..\".";
    for (unsigned char c : name)
    {
        if (c < 0x20 || c == 0x7F)
            return "Set names cannot hold control characters.";
    }
    return std::string();
}

std::string LevelPathOf(const std::string& setName, int number)
{
    return PuzzlePath(setName, PuzzleFileName(number));
}

bool SplitLevelPath(const std::string& path, std::string& setName, int& number)
{
    const std::string prefix = "Data/Levels/";
    const size_t slash = path.rfind('/');
    if (path.compare(0, prefix.size(), prefix) != 0 || slash < prefix.size() + 1)
        return false;
    const std::string set = path.substr(prefix.size(), slash - prefix.size());
    const int found = NumberOfFile(path.substr(slash + 1));
    if (found < 1 || found > MaxLevelNumber || !SetNameProblem(set).empty() || LevelPathOf(set, found) != path)
        return false;
    setName = set;
    number = found;
    return true;
}

bool LevelFileExists(const std::string& path)
{
    return FileSystem::Get().Exists(path);
}

int NextFreeLevelNumber(const std::string& setName)
{
    if (!SetNameProblem(setName).empty())
        return 1;
    int highest = 0;
    for (const std::string& file : ListPuzzleFiles(setName))
        highest = std::max(highest, NumberOfFile(file));
    return std::min(highest + 1, MaxLevelNumber);
}

bool WriteLevelFile(const std::string& setName, int number, const PuzzleCells& cells, int moves)
{
    const FileSystem& files = FileSystem::Get();
    const std::string directory = files.WritePath("Data/Levels/" + setName);
    if (!SetNameProblem(setName).empty() || number < 1 || number > MaxLevelNumber ||
        !MakeDirectory(files.WritePath("Data")) || !MakeDirectory(files.WritePath("Data/Levels")) ||
        !MakeDirectory(directory))
    {
        Application::Get().ShowMessage("Warning: Unable to save Puzzle Level File.");
        return false;
    }
    return SavePuzzleLevel(files.WritePath(LevelPathOf(setName, number)), cells, moves);
}
