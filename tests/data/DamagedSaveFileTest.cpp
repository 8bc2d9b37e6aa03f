#include "SaveDataFixture.h"

#include "data/PuzzleLevel.h"
#include "data/XmlText.h"

#include <tinyxml.h>

namespace
{

struct SaveKind
{
    const char* path;
    bool (*load)();
    bool (*save)();
    const char* damaged; // well-formed, but not this file's kind
};

const SaveKind Kinds[] = {
    {"Data/GameOpts.opt", LoadGameOptions, SaveGameOptions, "<options/>"},
    {"Data/Profiles.pro", LoadProfiles, SaveProfiles, "<players/>"},
    {"Data/HighScores.hsc", LoadHighScores, SaveHighScores, "<scores/>"},
};

class DamagedSaveFileTest : public SaveDataFixture
{
  protected:
    // One message naming the file and its kept copy.
    void ExpectKeptAs(const SaveKind& kind, const std::string& copy)
    {
        const std::vector<std::string> shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find("The damaged file " + PathOf(kind.path) + " was kept as " + PathOf(copy) + "."),
                  std::string::npos)
            << shown[0];
    }
};

TEST_F(DamagedSaveFileTest, EachSaveFileIsKeptAsideBeforeASaveReplacesIt)
{
    for (const SaveKind& kind : Kinds)
    {
        SCOPED_TRACE(kind.path);
        const std::string path = kind.path;
        EXPECT_FALSE(kind.load()) << "a missing file";
        EXPECT_TRUE(Messages().empty());

        WriteFile(path + ".tmp", "left by a kill");
        WriteFile(path, "<broken");
        EXPECT_FALSE(kind.load());
        ExpectKeptAs(kind, path + ".damaged");
        EXPECT_EQ(ReadFile(path + ".damaged"), "<broken");
        EXPECT_EQ(ReadFile(path + ".tmp"), "") << "a stale temporary file is removed";

        // A second damaged file never replaces the first copy.
        WriteFile(path, kind.damaged);
        EXPECT_FALSE(kind.load());
        ExpectKeptAs(kind, path + ".damaged-2");
        EXPECT_EQ(ReadFile(path + ".damaged"), "<broken");
        EXPECT_EQ(ReadFile(path + ".damaged-2"), kind.damaged);

        EXPECT_FALSE(kind.load()) << "told once: the file is gone now";
        EXPECT_TRUE(kind.save());
        EXPECT_TRUE(kind.load());
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_F(DamagedSaveFileTest, SizeAndAttributeLimits)
{
    struct Case
    {
        const char* path;
        size_t limit;
        std::string head;
    };
    const Case cases[] = {
        {"Data/GameOpts.opt", MaxOptionsFileBytes, "<opts>"},
        {"Data/Profiles.pro", MaxProfilesFileBytes, "<profiles>"},
        {"Data/HighScores.hsc", MaxHighScoresFileBytes, "<highscores>"},
        {"Data/Levels/Test/001.qvl", MaxLevelFileBytes, "<qvl moves=\"1\">"},
    };
    auto attributes = [](int count)
    {
        std::string text = "<a";
        for (int i = 0; i < count; ++i)
            text += " n" + std::to_string(i) + "=\"1\"";
        return text + "/>";
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        TiXmlDocument document;
        std::string closing = "</" + c.head.substr(1, c.head.find_first_of(" >") - 1) + ">";
        std::string fits = c.head + attributes(MaxXmlAttributes) + closing;
        fits.insert(fits.size() - closing.size(), c.limit - fits.size(), ' ');
        WriteFile(c.path, fits);
        EXPECT_EQ(ReadXmlDocument(c.path, document, c.limit).status, XmlRead::Status::Ok);

        WriteFile(c.path, fits + " ");
        XmlRead read = ReadXmlDocument(c.path, document, c.limit);
        EXPECT_EQ(read.status, XmlRead::Status::Damaged);
        EXPECT_EQ(read.reason.rfind("it is larger than ", 0), 0u) << read.reason;

        WriteFile(c.path, c.head + attributes(MaxXmlAttributes + 1) + closing);
        read = ReadXmlDocument(c.path, document, c.limit);
        EXPECT_EQ(std::make_pair(read.status, read.reason),
                  std::make_pair(XmlRead::Status::Damaged, std::string("an element has more than 256 attributes")));
    }

    // The readers refuse them the same way: a save file goes aside, a level
    // names itself and the reason.
    WriteFile("Data/GameOpts.opt", "<opts>" + attributes(1000) + "</opts>");
    EXPECT_FALSE(LoadGameOptions());
    ExpectKeptAs(Kinds[0], "Data/GameOpts.opt.damaged");
    PuzzleCells cells;
    int moves = 0;
    std::string warning;
    WriteFile("Data/Levels/Test/002.qvl", "<qvl moves=\"1\"" + attributes(1000).substr(2));
    EXPECT_FALSE(LoadPuzzleLevel("Data/Levels/Test/002.qvl", cells, moves, &warning));
    EXPECT_EQ(warning, "Warning: Unable to load Puzzle Level.\n\n"
                       "Data/Levels/Test/002.qvl: an element has more than 256 attributes.");
}

} // namespace
