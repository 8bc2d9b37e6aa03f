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
    auto attributes = [](int count)
    {
        std::string text = "<a";
        for (int i = 0; i < count; ++i)
            text += " n" + std::to_string(i) + "=\"1\"";
        return text + "/>";
    };
    // Exactly the size limit with the most attributes an element may have is
    // read; a byte more, or one attribute more, is damaged.
    std::string fits = "<opts>" + attributes(MaxXmlAttributes) + "</opts>";
    fits.insert(fits.size() - 7, MaxOptionsFileBytes - fits.size(), ' ');
    const std::pair<std::string, std::string> cases[] = {
        {fits, ""},
        {fits + " ", "it is larger than "},
        {"<opts>" + attributes(MaxXmlAttributes + 1) + "</opts>", "an element has more than 256 attributes"},
    };
    for (const auto& [text, reason] : cases)
    {
        TiXmlDocument document;
        WriteFile("Data/GameOpts.opt", text);
        const XmlRead read = ReadXmlDocument("Data/GameOpts.opt", document, MaxOptionsFileBytes);
        EXPECT_EQ(std::make_pair(read.status, read.reason.rfind(reason, 0)),
                  std::make_pair(reason.empty() ? XmlRead::Status::Ok : XmlRead::Status::Damaged, size_t{0}))
            << read.reason;
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
