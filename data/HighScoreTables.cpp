#include "data/HighScoreTables.h"

#include "app/Application.h"
#include "data/DamagedSaveFile.h"
#include "data/ProfileStore.h"
#include "data/SaveFile.h"
#include "data/XmlText.h"
#include "engine/FileSystem.h"

#include <tinyxml.h>

#include <algorithm>

namespace
{

HighScoreTables* instance = nullptr;

const char* const HighScoresPath = "Data/HighScores.hsc";

bool ValidTable(int table)
{
    return table >= 0 && table < HighScoreTables::TableCount;
}

// Reads every child called elementName into tables firstTable .. firstTable+2
// by its level (0 Easy, 1 Medium, anything else Hard), ten rows per table at
// most. Children without a name or with a non-numeric level or score are
// skipped.
void ReadRows(TiXmlNode& root, const char* elementName, int firstTable)
{
    HighScoreTables& scores = HighScoreTables::Get();
    int filled[3] = {0, 0, 0};
    for (TiXmlNode* node = root.FirstChild(elementName); node; node = node->NextSibling(elementName))
    {
        const TiXmlElement* element = node->ToElement();
        if (!element)
            continue;
        int32_t level = 0;
        int32_t score = 0;
        const char* name = element->Attribute("name");
        if (!name || ReadIntAttribute(*element, "level", level) != AttributeRead::Ok ||
            ReadIntAttribute(*element, "score", score) != AttributeRead::Ok)
            continue;
        int difficulty = level == 0 ? 0 : level == 1 ? 1 : 2;
        if (filled[difficulty] == HighScoreTables::RowCount)
            continue;
        HighScoreEntry& row = scores.tables[firstTable + difficulty][filled[difficulty]++];
        row.name = name;
        row.score = score;
    }
}

} // namespace

HighScoreTables& HighScoreTables::Get()
{
    if (!instance)
        instance = new HighScoreTables();
    return *instance;
}

void HighScoreTables::Destroy()
{
    delete instance;
    instance = nullptr;
}

void HighScoreTables::SortTable(int table)
{
    if (!ValidTable(table))
        return;
    auto& rows = tables[table];
    std::stable_sort(rows.begin(), rows.end(),
                     [](const HighScoreEntry& a, const HighScoreEntry& b) { return a.score < b.score; });
    std::reverse(rows.begin(), rows.end());
}

void HighScoreTables::InsertHighScore(int table, const std::string& name, int32_t score)
{
    // A score belongs to the current player; without one there is no name.
    if (!ValidTable(table) || ProfileStore::Get().GetCurrentProfile() < 0)
        return;
    HighScoreEntry& last = tables[table][RowCount - 1];
    if (score > last.score)
    {
        last.name = name;
        last.score = score;
    }
    SortTable(table);
    SaveHighScores();
}

const HighScoreEntry& HighScoreTables::GetEntry(int table, int row) const
{
    static const HighScoreEntry none;
    if (!ValidTable(table) || row < 0 || row >= RowCount)
        return none;
    return tables[table][row];
}

bool LoadHighScores()
{
    SaveFile::RemoveStaleTemporary(FileSystem::Get().WritePath(HighScoresPath));
    TiXmlDocument document;
    const XmlRead read = ReadXmlDocument(HighScoresPath, document, MaxHighScoresFileBytes);
    if (read.status == XmlRead::Status::Missing)
        return false;
    TiXmlNode* root = read.status == XmlRead::Status::Ok ? document.FirstChild("highscores") : nullptr;
    if (!root || !root->ToElement())
    {
        // The next score saves the tables: a damaged file goes aside first.
        DamagedSaveFile::SetAside(HighScoresPath, "High Scores File", "",
                                  read.reason.empty() ? std::string("no high-score table in it") : read.reason);
        return false;
    }

    ReadRows(*root, "marathonscore", 0);
    ReadRows(*root, "timeattackscore", 3);
    HighScoreTables& scores = HighScoreTables::Get();
    for (int table = 0; table < HighScoreTables::TableCount; ++table)
        scores.SortTable(table);
    return true;
}

bool SaveHighScores()
{
    const HighScoreTables& scores = HighScoreTables::Get();
    FileSystem& files = FileSystem::Get();
    std::string dataDirectory = files.WritePath("Data");
    std::string path = files.WritePath(HighScoresPath);
    files.MakeDirectory(dataDirectory.c_str());
    files.MakeWritable(path.c_str());

    SaveFile file(path);
    if (file.Open())
    {
        file.Write("<highscores>\n");
        for (int table = 0; table < HighScoreTables::TableCount; ++table)
        {
            const char* element = table < 3 ? "marathonscore" : "timeattackscore";
            // Lowest row first: the reader's sort (ascending, then reversed)
            // turns this back into exactly the order held now, equal scores
            // included.
            for (int row = HighScoreTables::RowCount - 1; row >= 0; --row)
            {
                const HighScoreEntry& entry = scores.tables[table][row];
                if (entry.name.empty() && entry.score == 0)
                    continue;
                file.Write(FormatC("\t<%s name=\"%s\" score=\"%d\" level=\"%d\"/>\n", element,
                                   EscapeXml(entry.name).c_str(), entry.score, table % 3));
            }
        }
        file.Write("</highscores>\n");
        if (file.Commit())
            return true;
    }
    Application::Get().ShowMessage("Warning: Unable to save High Scores File.");
    return false;
}
