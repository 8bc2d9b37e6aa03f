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
    bool LoadFrom(const std::string& text)
    {
        WriteFile("Data/HighScores.hsc", text);
        return LoadHighScores();
    }
    static HighScoreTables& Scores() { return HighScoreTables::Get(); }
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

TEST_F(HighScoreTablesTest, EqualScoresRankTheNewestFirst)
{
    Scores().InsertHighScore(0, "First", 50);
    Scores().InsertHighScore(0, "Second", 50);
    EXPECT_EQ(Scores().GetEntry(0, 0).name, "Second");
    EXPECT_EQ(Scores().GetEntry(0, 1).name, "First");
    EXPECT_EQ(Scores().GetEntry(0, 2).score, 0);

    // Zero never beats an empty row.
    Scores().InsertHighScore(1, "Zero", 0);
    EXPECT_EQ(Rows(1), Rows(2));
    EXPECT_EQ(Scores().GetEntry(1, 9).name, "");
}

TEST_F(HighScoreTablesTest, FullTableKeepsTheBestTen)
{
    for (int i = 1; i <= 10; ++i)
        Scores().InsertHighScore(4, "P" + std::to_string(i), i * 10);
    EXPECT_EQ(Scores().GetEntry(4, 0).score, 100);
    EXPECT_EQ(Scores().GetEntry(4, 9).score, 10);

    Scores().InsertHighScore(4, "Low", 5);
    EXPECT_EQ(Scores().GetEntry(4, 9).name, "P1");
    Scores().InsertHighScore(4, "Tie", 10); // equal to the lowest: not taken
    EXPECT_EQ(Scores().GetEntry(4, 9).name, "P1");
    Scores().InsertHighScore(4, "Best", 1000);
    EXPECT_EQ(Scores().GetEntry(4, 0).name, "Best");
    EXPECT_EQ(Scores().GetEntry(4, 9).name, "P2");
}

TEST_F(HighScoreTablesTest, EveryRowOfEveryTableSurvivesARestart)
{
    for (int table = 0; table < HighScoreTables::TableCount; ++table)
    {
        for (int i = 0; i < HighScoreTables::RowCount; ++i)
        {
            // Pairs of equal scores check that the order of equal rows is kept too.
            Scores().InsertHighScore(table, "T" + std::to_string(table) + "R" + std::to_string(i),
                                     1000 * (table + 1) + (i / 2) * 10);
        }
    }
    std::vector<std::vector<std::pair<std::string, int>>> before;
    for (int table = 0; table < HighScoreTables::TableCount; ++table)
        before.push_back(Rows(table));

    DestroyRecords();
    ASSERT_TRUE(LoadHighScores());
    for (int table = 0; table < HighScoreTables::TableCount; ++table)
        EXPECT_EQ(Rows(table), before[table]) << "table " << table;
    EXPECT_TRUE(Messages().empty());
}

TEST_F(HighScoreTablesTest, FileHoldsLevelIndexesAndEscapedNames)
{
    Scores().InsertHighScore(HighScoreTables::TableIndex(false, 2), "R&B \"x\"", 70);
    Scores().InsertHighScore(HighScoreTables::TableIndex(true, 1), "<Tim>", 30);
    EXPECT_EQ(ReadFile("Data/HighScores.hsc"),
              "<highscores>\n"
              "\t<marathonscore name=\"R&amp;B &quot;x&quot;\" score=\"70\" level=\"2\"/>\n"
              "\t<timeattackscore name=\"&lt;Tim&gt;\" score=\"30\" level=\"1\"/>\n"
              "</highscores>\n");
    DestroyRecords();
    ASSERT_TRUE(LoadHighScores());
    EXPECT_EQ(Scores().GetEntry(2, 0).name, "R&B \"x\"");
    EXPECT_EQ(Scores().GetEntry(4, 0).name, "<Tim>");
}

TEST_F(HighScoreTablesTest, ReaderTakesTenRowsPerTable)
{
    std::string text = "<highscores>";
    for (int i = 0; i < 11; ++i)
        text += Child("marathonscore", "M" + std::to_string(i), 100 - i, "0");
    // Levels in turn: every table of the mode gets its rows.
    for (int i = 0; i < 30; ++i)
        text += Child("timeattackscore", "T" + std::to_string(i), 500 - i, std::to_string(i % 3));
    text += "</highscores>";
    ASSERT_TRUE(LoadFrom(text));

    EXPECT_EQ(Scores().GetEntry(0, 0).name, "M0");
    EXPECT_EQ(Scores().GetEntry(0, 9).name, "M9");
    for (int difficulty = 0; difficulty < 3; ++difficulty)
    {
        for (int row = 0; row < 10; ++row)
            EXPECT_EQ(Scores().GetEntry(3 + difficulty, row).name, "T" + std::to_string(row * 3 + difficulty));
    }
    EXPECT_EQ(Scores().GetEntry(1, 0).name, "");
}

TEST_F(HighScoreTablesTest, FilesOfTenRowsPerModeLoadAsTheyAlwaysDid)
{
    // Ten children with the levels in turn: rows 0, 3, 6, 9 go to Easy,
    // 1, 4, 7 to Medium and 2, 5, 8 to Hard, each table sorted.
    std::string text = "<highscores>";
    for (int i = 0; i < 10; ++i)
        text += Child("marathonscore", "M" + std::to_string(i), 10 + i, std::to_string(i % 3));
    ASSERT_TRUE(LoadFrom(text + "</highscores>"));
    const std::vector<std::vector<std::string>> expected = {
        {"M9", "M6", "M3", "M0"}, {"M7", "M4", "M1"}, {"M8", "M5", "M2"}};
    for (int table = 0; table < 3; ++table)
    {
        for (int row = 0; row < HighScoreTables::RowCount; ++row)
        {
            const std::string name = row < static_cast<int>(expected[table].size()) ? expected[table][row] : "";
            EXPECT_EQ(Scores().GetEntry(table, row).name, name) << table << "/" << row;
        }
    }
}

TEST_F(HighScoreTablesTest, ReaderSkipsIncompleteChildrenAndSortsEachTable)
{
    ASSERT_TRUE(LoadFrom("<highscores>"
                         "<marathonscore name=\"NoLevel\" score=\"5\"/>"
                         "<marathonscore name=\"BadLevel\" score=\"5\" level=\"easy\"/>"
                         "<marathonscore name=\"BadScore\" score=\"lots\" level=\"0\"/>"
                         "<marathonscore score=\"5\" level=\"0\"/>"
                         "marathonscore"
                         "<marathonscore name=\"Low\" score=\"10\" level=\"0\"/>"
                         "<marathonscore name=\"High\" score=\"90\" level=\"0\"/>"
                         "<marathonscore name=\"Seven\" score=\"40\" level=\"7\"/>"
                         "<marathonscore name=\"Minus\" score=\"30\" level=\"-1\"/>"
                         "<timeattackscore name=\"Med\" score=\"20\" level=\"1\"/>"
                         "</highscores>"));
    EXPECT_EQ(Rows(0)[0], (std::pair<std::string, int>{"High", 90}));
    EXPECT_EQ(Rows(0)[1], (std::pair<std::string, int>{"Low", 10}));
    EXPECT_EQ(Rows(0)[2], (std::pair<std::string, int>{"", 0}));
    EXPECT_EQ(Rows(2)[0], (std::pair<std::string, int>{"Seven", 40}));
    EXPECT_EQ(Rows(2)[1], (std::pair<std::string, int>{"Minus", 30}));
    EXPECT_EQ(Rows(4)[0], (std::pair<std::string, int>{"Med", 20}));
    EXPECT_EQ(Rows(1)[0].first, "");
}

TEST_F(HighScoreTablesTest, MissingOrMalformedFileIsSilent)
{
    EXPECT_FALSE(LoadHighScores());
    EXPECT_FALSE(LoadFrom("<scores/>"));
    EXPECT_FALSE(LoadFrom("<!--highscores--><x/>"));
    EXPECT_FALSE(LoadFrom("<highscores>"));
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Scores().GetEntry(0, 0).name, "");
}

TEST_F(HighScoreTablesTest, ScoresNeedAChosenProfileAndAValidTable)
{
    ProfileStore::Get().SetCurrentProfile(-1);
    Scores().InsertHighScore(0, "Nobody", 500);
    EXPECT_EQ(Scores().GetEntry(0, 0).score, 0);
    EXPECT_EQ(ReadFile("Data/HighScores.hsc"), "");

    ProfileStore::Get().SetCurrentProfile(3);
    Scores().InsertHighScore(6, "Out", 500);
    Scores().InsertHighScore(-1, "Out", 500);
    EXPECT_EQ(ReadFile("Data/HighScores.hsc"), "");
    EXPECT_EQ(Scores().GetEntry(6, 0).name, "");
    EXPECT_EQ(Scores().GetEntry(0, 10).name, "");
}

TEST_F(HighScoreTablesTest, FailedSaveKeepsTheOldFile)
{
    Scores().InsertHighScore(0, "Ann", 100);
    const std::string before = ReadFile("Data/HighScores.hsc");
    {
        FileSizeLimit limit(30);
        Scores().InsertHighScore(0, "Bo", 200);
    }
    EXPECT_EQ(ReadFile("Data/HighScores.hsc"), before);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Warning: Unable to save High Scores File."});
    EXPECT_EQ(Scores().GetEntry(0, 0).name, "Bo") << "the tables in memory are unchanged by the failure";
}

} // namespace
