#include "data/PuzzleLevel.h"

#include "app/Application.h"
#include "data/SaveFile.h"
#include "data/XmlText.h"
#include "engine/FileSystem.h"

#include <tinyxml.h>

#include <algorithm>
#include <cctype>

namespace
{

const char* const LevelsDirectory = "Data/Levels";

// Colours a level may place: the five colours, Wild, and the picture-less
// code 5. Empty (6) is what an absent entry means and is never stored.
bool StorableColour(int32_t code)
{
    return (code >= 0 && code <= 5) || code == static_cast<int32_t>(BlockType::Wild);
}

} // namespace

bool LoadPuzzleLevel(const std::string& path, PuzzleCells& cells, int& moves)
{
    return LoadPuzzleLevel(path, cells, moves, nullptr);
}

bool LoadPuzzleLevel(const std::string& path, PuzzleCells& cells, int& moves, std::string* warning)
{
    std::string resourcePath = path;
    std::replace(resourcePath.begin(), resourcePath.end(), '\\', '/');
    std::string reason;
    // Every refusal names the file, and why when the message does not say.
    auto warn = [&](const char* text)
    {
        std::string full = std::string(text) + "\n\n" + resourcePath + (reason.empty() ? "" : ": " + reason + ".");
        if (warning)
            *warning = full;
        else
            Application::Get().ShowMessage(full);
    };

    TiXmlDocument document;
    const XmlRead read = ReadXmlDocument(resourcePath, document, MaxLevelFileBytes);
    if (read.status != XmlRead::Status::Ok)
    {
        reason = read.status == XmlRead::Status::Missing ? std::string("no such file") : read.reason;
        warn("Warning: Unable to load Puzzle Level.");
        return false;
    }
    TiXmlNode* root = document.FirstChild("qvl");
    if (!root)
    {
        warn("Warning: Malformed Puzzle Level File (#1).");
        return false;
    }
    const TiXmlElement* rootElement = root->ToElement();
    if (!rootElement)
    {
        warn("Warning: Malformed Puzzle Level File (#2).");
        return false;
    }
    int32_t moveCount = 0;
    switch (ReadIntAttribute(*rootElement, "moves", moveCount))
    {
    case AttributeRead::Absent:
        warn("Warning: Malformed Puzzle Level File (#3 -- Unable to locate Moves count).");
        return false;
    case AttributeRead::NotANumber:
        break; // moves keeps what the caller put there
    case AttributeRead::Ok:
        moves = std::clamp<int32_t>(moveCount, 0, MaxPuzzleMoves);
        break;
    }

    for (TiXmlNode* node = root->FirstChild("block"); node; node = node->NextSibling("block"))
    {
        const TiXmlElement* block = node->ToElement();
        if (!block)
        {
            warn("Warning: Malformed Puzzle Level File (#4).");
            return false;
        }
        // -1 is outside every range, so an attribute that is not a number
        // can never reuse the previous entry's value.
        int32_t x = -1;
        int32_t y = -1;
        int32_t colour = -1;
        AttributeRead readX = ReadIntAttribute(*block, "x", x);
        AttributeRead readY = ReadIntAttribute(*block, "y", y);
        AttributeRead readColour = ReadIntAttribute(*block, "color", colour);
        if (readX == AttributeRead::Absent)
        {
            warn("Warning: Malformed Puzzle Level File (#5 - Unable to locate block attribute x).");
            return false;
        }
        if (readY == AttributeRead::Absent)
        {
            warn("Warning: Malformed Puzzle Level File (#5 - Unable to locate block attribute y).");
            return false;
        }
        if (readColour == AttributeRead::Absent)
        {
            warn("Warning: Malformed Puzzle Level File (#5 - Unable to locate block attribute color).");
            return false;
        }
        if (x < 0 || x >= PuzzleColumns || y < 0 || y >= PuzzleRows || !StorableColour(colour))
            continue;
        cells[static_cast<size_t>(y * PuzzleColumns + x)] = static_cast<BlockType>(colour);
    }
    return true;
}

bool SavePuzzleLevel(const std::string& path, const PuzzleCells& cells, int moves)
{
    SaveFile file(path);
    if (file.Open())
    {
        file.Write(FormatC("<qvl moves=\"%d\">\n", moves));
        for (int y = 0; y < PuzzleRows; ++y)
        {
            for (int x = 0; x < PuzzleColumns; ++x)
            {
                BlockType type = cells[static_cast<size_t>(y * PuzzleColumns + x)];
                if (type == BlockType::Empty)
                    continue;
                file.Write(FormatC("   <block x=\"%d\" y=\"%d\" color=\"%d\"/>\n", x, y, static_cast<int>(type)));
            }
        }
        file.Write("</qvl>\n");
        if (file.Commit())
            return true;
    }
    Application::Get().ShowMessage("Warning: Unable to save Puzzle Level File.");
    return false;
}

bool PuzzleExists(const std::string& path)
{
    TiXmlDocument document;
    return LoadXmlDocument(path, document);
}

std::string PuzzlePath(const std::string& setName, const std::string& fileName)
{
    return std::string(LevelsDirectory) + "/" + setName + "/" + fileName;
}

std::string PuzzleFileName(long long number)
{
    return FormatC("%03lld.qvl", number);
}

std::vector<std::string> ListPuzzleSets()
{
    return FileSystem::Get().ListDirectories(LevelsDirectory);
}

std::vector<std::string> ListPuzzleFiles(const std::string& setName)
{
    std::vector<std::string> names;
    FileSystem::Get().ListFiles(std::string(LevelsDirectory) + "/" + setName, names);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& name)
                               { return name.size() < 4 || name.compare(name.size() - 4, 4, ".qvl") != 0; }),
                names.end());
    return names;
}

std::string NextPuzzlePath(const std::string& path)
{
    size_t lastSlash = path.rfind('/');
    if (lastSlash == std::string::npos)
        return std::string();

    // The number is the file name's leading digits ("015.qvl" is 15); a name
    // without digits counts as 0, so the next one is "001.qvl".
    std::string fileName = path.substr(lastSlash + 1);
    fileName = fileName.substr(0, fileName.find('.'));
    long long number = 0;
    for (size_t i = 0; i < fileName.size() && std::isdigit(static_cast<unsigned char>(fileName[i])); ++i)
        number = std::min(number * 10 + (fileName[i] - '0'), 1000000000LL);

    size_t setStart = lastSlash == 0 ? std::string::npos : path.rfind('/', lastSlash - 1);
    setStart = setStart == std::string::npos ? 0 : setStart + 1;
    std::string setName = path.substr(setStart, lastSlash - setStart);

    std::string candidate = PuzzlePath(setName, PuzzleFileName(number + 1));
    if (PuzzleExists(candidate))
        return candidate;

    // Go on with the first puzzle of a later set, skipping sets whose first
    // puzzle is missing or unreadable (they could not be played anyway).
    std::vector<std::string> sets = ListPuzzleSets();
    auto current = std::find(sets.begin(), sets.end(), setName);
    if (current == sets.end())
        return std::string();
    for (auto next = current + 1; next != sets.end(); ++next)
    {
        std::string first = PuzzlePath(*next, PuzzleFileName(1));
        if (PuzzleExists(first))
            return first;
    }
    return std::string();
}
