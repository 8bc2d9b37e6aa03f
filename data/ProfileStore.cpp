#include "data/ProfileStore.h"

#include "app/Application.h"
#include "data/DamagedSaveFile.h"
#include "data/SaveFile.h"
#include "data/XmlText.h"
#include "engine/FileSystem.h"

#include <tinyxml.h>

namespace
{

ProfileStore* instance = nullptr;

const char* const ProfilesPath = "Data/Profiles.pro";
const char* const LevelsPrefix = "Data/Levels/";
const char* const ProfilesKind = "Player Profiles File";

bool ValidSlot(int slot)
{
    return slot >= 0 && slot < ProfileStore::SlotCount;
}

} // namespace

ProfileStore& ProfileStore::Get()
{
    if (!instance)
        instance = new ProfileStore();
    return *instance;
}

void ProfileStore::Destroy()
{
    delete instance;
    instance = nullptr;
}

void ProfileStore::SetProfileName(int slot, const std::string& name)
{
    if (!ValidSlot(slot))
        return;
    PlayerProfile& profile = slots[slot];
    // A free slot may still carry solved puzzles from a file that named a
    // profile ""; a new player must not inherit them.
    if (profile.name.empty())
        profile.completedPuzzles.clear();
    profile.name = name;
    SaveProfiles();
}

void ProfileStore::DeleteProfile(int slot)
{
    if (!ValidSlot(slot))
        return;
    slots[slot].name.clear();
    slots[slot].completedPuzzles.clear();
    // Nobody plays under a deleted profile.
    if (slot == currentProfile)
        currentProfile = -1;
    SaveProfiles();
}

void ProfileStore::MarkPuzzleCompleted(const std::string& puzzlePath)
{
    if (!ValidSlot(currentProfile))
        return;
    if (puzzlePath.size() <= LevelsPrefixLength || puzzlePath.compare(0, LevelsPrefixLength, LevelsPrefix) != 0)
        return;
    slots[currentProfile].completedPuzzles.insert(puzzlePath.substr(LevelsPrefixLength));
    SaveProfiles();
}

void ProfileStore::SetCurrentProfile(int index)
{
    currentProfile = ValidSlot(index) ? index : -1;
}

const std::string& ProfileStore::GetProfileName(int slot) const
{
    static const std::string none;
    return ValidSlot(slot) ? slots[slot].name : none;
}

const PlayerProfile* ProfileStore::GetProfile(int slot) const
{
    return ValidSlot(slot) ? &slots[slot] : nullptr;
}

bool ProfileStore::IsPuzzleCompleted(const std::string& puzzleName) const
{
    if (!ValidSlot(currentProfile))
        return false;
    return slots[currentProfile].completedPuzzles.count(puzzleName) != 0;
}

bool LoadProfiles()
{
    ProfileStore& store = ProfileStore::Get();
    for (PlayerProfile& profile : store.slots)
    {
        profile.name.clear();
        profile.completedPuzzles.clear();
    }

    SaveFile::RemoveStaleTemporary(FileSystem::Get().WritePath(ProfilesPath));
    TiXmlDocument document;
    const XmlRead read = ReadXmlDocument(ProfilesPath, document, MaxProfilesFileBytes);
    if (read.status != XmlRead::Status::Ok)
    {
        // Every profile change saves at once: a damaged file goes aside first.
        if (read.status == XmlRead::Status::Damaged)
            DamagedSaveFile::SetAside(ProfilesPath, ProfilesKind, "", read.reason);
        return false;
    }

    TiXmlNode* root = document.FirstChild("profiles");
    if (!root)
    {
        DamagedSaveFile::SetAside(ProfilesPath, ProfilesKind, "Warning: Malformed Player Profiles File (#1).", "");
        return false;
    }
    if (!root->ToElement())
    {
        DamagedSaveFile::SetAside(ProfilesPath, ProfilesKind, "Warning: Malformed Player Profiles File (#2).", "");
        return false;
    }

    for (TiXmlNode* node = root->FirstChild("profile"); node; node = node->NextSibling("profile"))
    {
        const TiXmlElement* element = node->ToElement();
        if (!element)
            continue;
        int32_t index = -1;
        const char* name = element->Attribute("name");
        if (ReadIntAttribute(*element, "index", index) != AttributeRead::Ok || !ValidSlot(index) || !name)
            continue;
        PlayerProfile& profile = store.slots[index];
        profile.name = name;
        for (TiXmlNode* child = node->FirstChild("puzzle"); child; child = child->NextSibling("puzzle"))
        {
            const TiXmlElement* puzzle = child->ToElement();
            if (const char* puzzleName = puzzle ? puzzle->Attribute("name") : nullptr)
                profile.completedPuzzles.insert(puzzleName);
        }
    }
    return true;
}

bool SaveProfiles()
{
    const ProfileStore& store = ProfileStore::Get();
    FileSystem& files = FileSystem::Get();
    std::string dataDirectory = files.WritePath("Data");
    std::string path = files.WritePath(ProfilesPath);
    files.MakeDirectory(dataDirectory.c_str());
    files.MakeWritable(path.c_str());

    SaveFile file(path);
    if (file.Open())
    {
        file.Write("<profiles>\n");
        for (int slot = 0; slot < ProfileStore::SlotCount; ++slot)
        {
            const PlayerProfile& profile = store.slots[slot];
            if (profile.name.empty())
                continue;
            file.Write(FormatC("\t<profile name=\"%s\" index=\"%d\">\n", EscapeXml(profile.name).c_str(), slot));
            for (const std::string& puzzle : profile.completedPuzzles)
                file.Write(FormatC("\t\t<puzzle name=\"%s\"/>\n", EscapeXml(puzzle).c_str()));
            file.Write("\t</profile>\n");
        }
        file.Write("</profiles>\n");
        if (file.Commit())
            return true;
    }
    Application::Get().ShowMessage("Warning: Unable to save Player Profiles File.");
    return false;
}
