#include "screens/HighScoresScreen.h"
#include "data/HighScoreTables.h"
#include "engine/KeyCode.h"
#include "game/PlayScreen.h"
#include "screens/MenuFixture.h"

namespace
{

class HighScoresScreenTest : public MenuFixture
{
  protected:
    HighScoresScreen& Scores() { return HighScoresScreen::Get(); }
    void Enter() { Go(Scores()); }
};

TEST_F(HighScoresScreenTest, RowsComeFromTheFileWithNamesAsTyped)
{
    WriteFile("Data/HighScores.hsc",
              "<highscores>\n\t<marathonscore name=\"Ann\" score=\"120\" level=\"0\"/>\n"
              "\t<marathonscore name=\"R&amp;B &lt;3&gt; &quot;Q&quot;\" score=\"950\" level=\"0\"/>\n"
              "\t<timeattackscore name=\"Tim\" score=\"77\" level=\"2\"/>\n</highscores>\n");
    ASSERT_TRUE(LoadHighScores());
    ASSERT_TRUE(OpenWindow());
    Enter();
    EXPECT_EQ(Scores().TableName().GetText() + "|" + Scores().Name(0).GetText() + "|" + Scores().Score(0).GetText() +
                  "|" + Scores().Name(1).GetText(),
              "Marathon (Easy)|R&B <3> \"Q\"|950|Ann"); // nothing played yet: the first table
    EXPECT_EQ(Scores().Rank(0).GetText() + Scores().Rank(9).GetText(), "# 1#10");
    EXPECT_TRUE(Scores().Name(2).IsHidden() && Scores().Score(2).IsHidden() && !Scores().Rank(2).IsHidden());
    EXPECT_EQ(std::make_pair(Scores().Name(0).GetX(), Scores().Rank(1).GetY()), std::make_pair(396, 134));
}

TEST_F(HighScoresScreenTest, ArrowsStepThroughTheSixTablesFromTheLastPlayed)
{
    ASSERT_TRUE(OpenWindow());
    PlayScreen::Get().SetGameType(GameType::TimeAttack);
    PlayScreen::Get().difficulty = Difficulty::Hard;
    Enter();
    const char* const cycle[] = {"Time Attack (Hard)", "Marathon (Easy)",      "Marathon (Medium)", "Marathon (Hard)",
                                 "Time Attack (Easy)", "Time Attack (Medium)", "Time Attack (Hard)"};
    for (const char* name : cycle)
    {
        EXPECT_EQ(Scores().TableName().GetText(), name);
        ScreenManager::Get().OnKeyDown(name[0] == 'M' ? KeyCode::Left : KeyCode::Right, false);
    }
    ScreenManager::Get().OnKeyDown('r', false);
    RunFrames(1);
    EXPECT_EQ(Current(), &MainMenuScreen::Get());
}

} // namespace
