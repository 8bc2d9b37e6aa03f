#include "data/GameOptions.h"

#include "app/Application.h"
#include "data/DamagedSaveFile.h"
#include "data/SaveFile.h"
#include "data/XmlText.h"
#include "engine/FileSystem.h"

#include <tinyxml.h>

#include <cmath>

namespace
{

GameOptions* instance = nullptr;

const char* const OptionsPath = "Data/GameOpts.opt";

// The volume attribute of a sounds or music element. Absent or non-numeric
// values and NaN/infinity keep the current volume: the mixer needs a finite
// number in 0..1. Finite values out of range are clamped into it.
void ReadVolume(const TiXmlElement& element, float& volume)
{
    double value = 0.0;
    if (ReadDoubleAttribute(element, "volume", value) != AttributeRead::Ok || !std::isfinite(value))
        return;
    volume = static_cast<float>(std::fmin(1.0, std::fmax(0.0, value)));
}

const char* const OptionsKind = "Game Options File";

// A malformed file is kept aside with the reader's own message: the options
// are saved at every exit and would otherwise replace it.
void Warn(const char* text)
{
    DamagedSaveFile::SetAside(OptionsPath, OptionsKind, text, "");
}

} // namespace

GameOptions& GameOptions::Get()
{
    if (!instance)
        instance = new GameOptions();
    return *instance;
}

void GameOptions::Destroy()
{
    delete instance;
    instance = nullptr;
}

void GameOptions::Reset()
{
    width = 640;
    height = 480;
    fullscreen = true;
}

bool GameOptionsStored()
{
    return FileSystem::Get().Exists(OptionsPath);
}

bool LoadGameOptions()
{
    SaveFile::RemoveStaleTemporary(FileSystem::Get().WritePath(OptionsPath));
    TiXmlDocument document;
    const XmlRead read = ReadXmlDocument(OptionsPath, document, MaxOptionsFileBytes);
    if (read.status != XmlRead::Status::Ok)
    {
        if (read.status == XmlRead::Status::Damaged)
            DamagedSaveFile::SetAside(OptionsPath, OptionsKind, "", read.reason);
        return false;
    }
    GameOptions& options = GameOptions::Get();

    TiXmlNode* root = document.FirstChild("opts");
    if (!root)
    {
        Warn("Warning: Malformed Game Options File (#1).");
        return false;
    }
    if (!root->ToElement())
    {
        Warn("Warning: Malformed Game Options File (#2).");
        return false;
    }

    if (TiXmlNode* node = root->FirstChild("display"))
    {
        const TiXmlElement* display = node->ToElement();
        if (!display)
        {
            Warn("Warning: Malformed Game Options File (#3).");
            return false;
        }
        int32_t value = 0;
        options.width = ReadIntAttribute(*display, "width", value) == AttributeRead::Ok ? value : 640;
        options.height = ReadIntAttribute(*display, "height", value) == AttributeRead::Ok ? value : 480;
        options.fullscreen = ReadIntAttribute(*display, "fullscreen", value) == AttributeRead::Ok ? value == 1 : true;
    }

    if (TiXmlNode* node = root->FirstChild("sounds"))
    {
        const TiXmlElement* sounds = node->ToElement();
        if (!sounds)
        {
            Warn("Warning: Malformed Game Options File (#4).");
            return false;
        }
        ReadVolume(*sounds, options.effectsVolume);
    }

    if (TiXmlNode* node = root->FirstChild("music"))
    {
        const TiXmlElement* music = node->ToElement();
        if (!music)
        {
            Warn("Warning: Malformed Game Options File (#5).");
            return false;
        }
        ReadVolume(*music, options.musicVolume);
    }
    return true;
}

bool SaveGameOptions()
{
    const GameOptions& options = GameOptions::Get();
    FileSystem& files = FileSystem::Get();
    std::string dataDirectory = files.WritePath("Data");
    std::string path = files.WritePath(OptionsPath);
    files.MakeDirectory(dataDirectory.c_str());
    files.MakeWritable(path.c_str());

    SaveFile file(path);
    if (file.Open())
    {
        file.Write("<opts>\n");
        file.Write(FormatC("\t<display width=\"%d\" height=\"%d\" fullscreen=\"%d\"/>\n", options.width, options.height,
                           options.fullscreen ? 1 : 0));
        file.Write(FormatC("\t<sounds volume=\"%1.2f\"/>\n", static_cast<double>(options.effectsVolume)));
        file.Write(FormatC("\t<music volume=\"%1.2f\"/>\n", static_cast<double>(options.musicVolume)));
        file.Write("</opts>\n");
        if (file.Commit())
            return true;
    }
    Application::Get().ShowMessage("Warning: Unable to save Game Options File.  Ensure file is writable.");
    return false;
}
