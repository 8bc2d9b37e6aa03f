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
        EXPECT_TRUE(!kind.load() && Messages().empty()) << "a missing file";

        WriteFile(path + ".tmp", "left by a kill");
        EXPECT_FALSE(WriteAndLoad(path, "<broken", kind.load));
        ExpectKeptAs(kind, path + ".damaged");
        // A stale temporary file is removed.
        EXPECT_EQ(ReadFile(path + ".damaged") + "|" + ReadFile(path + ".tmp"), "<broken|");

        // A second damaged file never replaces the first copy.
        EXPECT_FALSE(WriteAndLoad(path, kind.damaged, kind.load));
        ExpectKeptAs(kind, path + ".damaged-2");
        EXPECT_EQ(ReadFile(path + ".damaged") + "|" + ReadFile(path + ".damaged-2"),
                  "<broken|" + std::string(kind.damaged));

        EXPECT_FALSE(kind.load()) << "told once: the file is gone now";
        EXPECT_TRUE(kind.save());
        EXPECT_TRUE(kind.load() && Messages().empty());
    }
}

TEST_F(DamagedSaveFileTest, SizeAndAttributeLimits)
{
    // Every reader passes its own limit to the one document reader.
    const std::tuple<const char*, size_t, std::string> cases[] = {
        {"Data/GameOpts.opt", MaxOptionsFileBytes, "<opts>"},
        {"Data/Levels/Test/001.qvl", MaxLevelFileBytes, "<qvl moves=\"1\">"},
    };
    auto attributes = [](int count)
    {
        std::string text = "<a";
        for (int i = 0; i < count; ++i)
            text += " n" + std::to_string(i) + "=\"1\"";
        return text + "/>";
    };
    for (const auto& [path, limit, head] : cases)
    {
        SCOPED_TRACE(path);
        TiXmlDocument document;
        std::string closing = "</" + head.substr(1, head.find_first_of(" >") - 1) + ">";
        std::string fits = head + attributes(MaxXmlAttributes) + closing;
        fits.insert(fits.size() - closing.size(), limit - fits.size(), ' ');
        WriteFile(path, fits);
        EXPECT_EQ(ReadXmlDocument(path, document, limit).status, XmlRead::Status::Ok);

        WriteFile(path, fits + " ");
        XmlRead read = ReadXmlDocument(path, document, limit);
        EXPECT_EQ(std::make_pair(read.status, read.reason.rfind("it is larger than ", 0)),
                  std::make_pair(XmlRead::Status::Damaged, size_t{0}))
            << read.reason;

        WriteFile(path, head + attributes(MaxXmlAttributes + 1) + closing);
        read = ReadXmlDocument(path, document, limit);
        EXPECT_EQ(std::make_pair(read.status, read.reason),
                  std::make_pair(XmlRead::Status::Damaged, std::string("an element has more than 256 attributes")));
    }

    // The readers refuse them the same way: a save file goes aside, a level
    // names itself and the reason.
    EXPECT_FALSE(WriteAndLoad("Data/GameOpts.opt", "<opts>" + attributes(1000) + "</opts>", LoadGameOptions));
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
