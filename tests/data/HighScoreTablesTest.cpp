#include "SaveDataFixture.h"

namespace
{

class HighScoreTablesTest : public SaveDataFixture
{
  protected:
    void SetUp() override
    {
        SaveDataFixture::SetUp();
        ProfileStore::Get().SetCurrentProfile(0);
    }
    bool LoadFrom(const std::string& text) { return WriteAndLoad("Data/HighScores.hsc", text, LoadHighScores); }
    static HighScoreTables& Scores() { return HighScoreTables::Get(); }
    static std::string Name(int table, int row) { return Scores().GetEntry(table, row).name; }
    static std::vector<std::pair<std::string, int>> Rows(int table)
    {
        std::vector<std::pair<std::string, int>> rows;
        for (const HighScoreEntry& entry : Scores().tables[table])
            rows.emplace_back(entry.name, entry.score);
        return rows;
    }
    static std::string Child(const char* element, const std::string& name, int score, const std::string& level)
    {
        return std::string("<") + element + " name=\"" + name + "\" score=\"" + std::to_string(score) + "\" level=\"" +
               level + "\"/>";
    }
};

TEST_F(HighScoreTablesTest, TablesKeepTheBestTenWithTheNewestOfEqualScoresFirst)
{
    Scores().InsertHighScore(1, "Zero", 0); // zero never beats an empty row
    EXPECT_EQ(Rows(1), Rows(2));
    for (int i = 1; i <= 10; ++i)
        Scores().InsertHighScore(4, "P" + std::to_string(i), i * 10);
    Scores().InsertHighScore(4, "Low", 5);
    Scores().InsertHighScore(4, "Tie", 10); // equal to the lowest of a full table: not taken
    EXPECT_EQ(Name(4, 9), "P1");
    Scores().InsertHighScore(4, "Best", 100);
    EXPECT_EQ(Name(4, 0) + Name(4, 1) + Name(4, 9), "BestP10P2");
}

TEST_F(HighScoreTablesTest, EveryRowOfEveryTableSurvivesARestartWithEscapedNames)
{
    for (int table = 0; table < HighScoreTables::TableCount; ++table)
        for (int i = 0; i < HighScoreTables::RowCount; ++i) // pairs of equal scores keep their order too
            Scores().InsertHighScore(table, "T" + std::to_string(table) + "R" + std::to_string(i),
                                     1000 * (table + 1) + (i / 2) * 10);
    Scores().InsertHighScore(HighScoreTables::TableIndex(false, 2), "R&B \"x\"", 9000);
    const std::string saved = ReadFile("Data/HighScores.hsc");
    DestroyRecords();
    ASSERT_TRUE(LoadHighScores() && SaveHighScores());
    EXPECT_EQ(ReadFile("Data/HighScores.hsc"), saved);
    EXPECT_TRUE(Messages().empty());

    DestroyRecords();
    ProfileStore::Get().SetCurrentProfile(0);
    std::remove(PathOf("Data/HighScores.hsc").c_str());
    Scores().InsertHighScore(HighScoreTables::TableIndex(false, 2), "R&B \"x\"", 70);
    Scores().InsertHighScore(HighScoreTables::TableIndex(true, 1), "<Tim>", 30);
    EXPECT_EQ(ReadFile("Data/HighScores.hsc"),
              "<highscores>\n\t<marathonscore name=\"R&amp;B &quot;x&quot;\" score=\"70\" level=\"2\"/>\n"
              "\t<timeattackscore name=\"&lt;Tim&gt;\" score=\"30\" level=\"1\"/>\n</highscores>\n");
}

TEST_F(HighScoreTablesTest, ReaderTakesTenRowsPerTableByLevel)
{
    std::string text = "<highscores>";
    for (int i = 0; i < 11; ++i)
        text += Child("marathonscore", "M" + std::to_string(i), 100 - i, "0");
    for (int i = 0; i < 30; ++i) // levels in turn: every table of the mode gets its rows
        text += Child("timeattackscore", "T" + std::to_string(i), 500 - i, std::to_string(i % 3));
    ASSERT_TRUE(LoadFrom(text + "</highscores>"));
    EXPECT_EQ(Name(0, 9) + "|" + Name(1, 0), "M9|");
    for (int difficulty = 0; difficulty < 3; ++difficulty)
        for (int row = 0; row < 10; ++row)
            EXPECT_EQ(Name(3 + difficulty, row), "T" + std::to_string(row * 3 + difficulty));

    // Ten rows with the levels in turn, as older files hold them: each table sorted.
    DestroyRecords();
    text = "<highscores>";
    for (int i = 0; i < 10; ++i)
        text += Child("marathonscore", "M" + std::to_string(i), 10 + i, std::to_string(i % 3));
    ASSERT_TRUE(LoadFrom(text + "</highscores>"));
    EXPECT_EQ(Name(0, 0) + Name(0, 3) + Name(0, 4) + "|" + Name(1, 0) + Name(1, 2) + Name(1, 3) + "|" + Name(2, 0) +
                  Name(2, 2),
              "M9M0|M7M1|M8M2");
}

TEST_F(HighScoreTablesTest, ReaderSkipsIncompleteChildrenAndMalformedFilesAreSilent)
{
    ASSERT_TRUE(LoadFrom(
        "<highscores><marathonscore name=\"NoLevel\" score=\"5\"/>"
        "<marathonscore name=\"BadLevel\" score=\"5\" level=\"easy\"/>marathonscore"
        "<marathonscore name=\"BadScore\" score=\"lots\" level=\"0\"/><marathonscore score=\"5\" level=\"0\"/>"
        "<marathonscore name=\"Low\" score=\"10\" level=\"0\"/><marathonscore name=\"High\" score=\"90\" level=\"0\"/>"
        "<marathonscore name=\"Seven\" score=\"40\" level=\"7\"/><marathonscore name=\"Minus\" score=\"30\" "
        "level=\"-1\"/><timeattackscore name=\"Med\" score=\"20\" level=\"1\"/></highscores>"));
    EXPECT_EQ(std::make_tuple(Name(0, 0) + Name(0, 1) + Name(0, 2), Rows(2)[0], Name(2, 1) + Name(4, 0) + Name(1, 0)),
              std::make_tuple("HighLow", std::pair<std::string, int>{"Seven", 40}, "MinusMed"));

    DestroyRecords();
    for (const char* text : {"<scores/>", "<!--highscores--><x/>", "<highscores>"})
        EXPECT_FALSE(LoadFrom(text)) << text;
    EXPECT_EQ(TakeMessages().size(), 3u) << "each damaged file is reported";
    std::remove(PathOf("Data/HighScores.hsc").c_str());
    EXPECT_FALSE(LoadHighScores());
    EXPECT_EQ(std::make_pair(Messages().empty(), Name(0, 0)), std::make_pair(true, std::string()));
}

TEST_F(HighScoreTablesTest, ScoresNeedAChosenProfileAndAValidTableAndAFailedSaveKeepsTheFile)
{
    ProfileStore::Get().SetCurrentProfile(-1);
    Scores().InsertHighScore(0, "Nobody", 500);
    EXPECT_EQ(Scores().GetEntry(0, 0).score, 0);
    ProfileStore::Get().SetCurrentProfile(3);
    Scores().InsertHighScore(6, "Out", 500);
    Scores().InsertHighScore(-1, "Out", 500);
    EXPECT_EQ(ReadFile("Data/HighScores.hsc") + Name(6, 0) + Name(0, 10), "");

    Scores().InsertHighScore(0, "Ann", 100);
    const std::string before = ReadFile("Data/HighScores.hsc");
    {
        FileSizeLimit limit(30);
        Scores().InsertHighScore(0, "Bo", 200);
    }
    // The tables in memory are unchanged by the failure.
    EXPECT_EQ(std::make_tuple(ReadFile("Data/HighScores.hsc"), Messages(), Name(0, 0)),
              std::make_tuple(before, std::vector<std::string>{"Warning: Unable to save High Scores File."}, "Bo"));
}

} // namespace
