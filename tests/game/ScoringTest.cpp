#include <gtest/gtest.h>

#include "game/RulesFixture.h"

namespace
{

class ScoringTest : public RulesFixture
{
  protected:
    // Adds a chain worth exactly `points` with multiplier 1 and pays it out.
    void Pay(int points, RulesKind kind = RulesKind::Marathon)
    {
        scoring->AddSet(3);
        for (int i = 0; i < points / Scoring::PointsPerBlock; ++i)
            scoring->AddBlock();
        scoring->Payout(kind, false, false, host);
    }
};

TEST_F(ScoringTest, NothingIsPaidWhileTheBoardMovesAndPuzzlesPayNothing)
{
    scoring->StartGame(1, 0, 0);
    scoring->AddSet(4);
    scoring->AddBlock();
    EXPECT_FALSE(scoring->Payout(RulesKind::Marathon, true, false, host));
    EXPECT_FALSE(scoring->Payout(RulesKind::Marathon, false, true, host));
    EXPECT_EQ(std::make_pair(scoring->Score(), scoring->ChainMultiplier()), std::make_pair(0, 2)); // the chain goes on
    EXPECT_TRUE(scoring->Payout(RulesKind::Marathon, false, false, host));
    scoring->AddSet(5); // puzzles keep no chain: neither points nor praise
    scoring->AddBlock();
    EXPECT_FALSE(scoring->Payout(RulesKind::PuzzleChallenge, false, false, host));
    EXPECT_EQ(std::make_pair(scoring->Score(), host.messages), std::make_pair(50, std::vector<std::string>{"Good!"}));
}

TEST_F(ScoringTest, HighScoreFollowsTheScoreOfItsOwnGameTypeFromEqualOn)
{
    scoring->StartGame(1, 300, 1000);
    Pay(275);
    EXPECT_EQ(std::make_pair(host.highScores, scoring->BestMarathon()), std::make_pair(std::vector<int>{}, 300));
    Pay(25); // equal counts
    EXPECT_EQ(host.highScores, std::vector<int>{300});
    Pay(100);
    EXPECT_EQ(std::make_pair(scoring->BestMarathon(), scoring->BestTimeAttack()), std::make_pair(400, 1000));

    scoring->StartGame(1, 300, 1000);
    host.highScores.clear();
    Pay(1000, RulesKind::TimeAttack);
    EXPECT_EQ(std::make_pair(scoring->BestMarathon(), scoring->BestTimeAttack()), std::make_pair(300, 1000));
    EXPECT_EQ(host.highScores.size(), 1u);

    // A neutral board keeps score but has no table.
    scoring->StartGame(1, 0, 0);
    host.highScores.clear();
    Pay(75, RulesKind::Neutral);
    EXPECT_EQ(std::make_pair(host.highScores, scoring->Score()), std::make_pair(std::vector<int>{}, 75));
}

TEST_F(ScoringTest, ScoreSaturatesInsteadOfWrapping)
{
    scoring->StartGame(1, 0, 0);
    for (int i = 0; i < 5; ++i)
    {
        for (int s = 0; s < 200; ++s)
            scoring->AddSet(50);
        for (int b = 0; b < 60000; ++b)
            scoring->AddBlock();
        scoring->Payout(RulesKind::TimeAttack, false, false, host);
    }
    EXPECT_EQ(scoring->Score(), 2147483647);
}

struct LevelRow
{
    int level, fromOne, fromThree, fromSix; // 0: not reachable
    double period;
};

const LevelRow LevelTable[] = {
    {2, 500, 0, 0, 8.7},           {3, 2000, 0, 0, 7.9},          {4, 4500, 2500, 0, 7.1},
    {5, 8000, 6000, 0, 6.3},       {6, 12500, 10500, 0, 5.5},     {7, 18000, 16000, 5500, 4.7},
    {8, 24500, 22500, 12000, 3.9}, {9, 32000, 30000, 19500, 3.1}, {10, 40500, 38500, 28000, 2.3},
};

TEST_F(ScoringTest, LevelsAreReachedAtTheTableScoresFromEachStartLevel)
{
    host.kind = RulesKind::Marathon;
    for (int difficulty : {1, 3, 6})
    {
        SCOPED_TRACE(difficulty);
        scoring->StartGame(difficulty, 0, 0);
        host.levels.clear();
        host.messages.clear();
        // The queue is stopped until the clock starts.
        EXPECT_EQ(std::make_pair(scoring->Level(), scoring->QueuePeriod()), std::make_pair(difficulty, 0.0));
        for (const LevelRow& row : LevelTable)
        {
            const int target = difficulty == 1 ? row.fromOne : difficulty == 3 ? row.fromThree : row.fromSix;
            if (target == 0)
                continue;
            EXPECT_EQ(Scoring::ScoreForLevel(row.level, difficulty), target);
            Pay(target - 25 - scoring->Score());
            EXPECT_FALSE(scoring->LevelUp(host)) << row.level;
            EXPECT_EQ(scoring->Level(), row.level - 1);
            Pay(25);
            EXPECT_TRUE(scoring->LevelUp(host)) << row.level;
            EXPECT_EQ(std::make_tuple(scoring->Level(), host.levels.back(), host.messages.back()),
                      std::make_tuple(row.level, row.level, "Level Up!"));
            EXPECT_NEAR(scoring->QueuePeriod(), row.period, 1e-9);
            EXPECT_FALSE(scoring->LevelUp(host)); // one level per score step
        }
        // Level 10 is the last: the next threshold only sets the 2 s period.
        const int last = difficulty == 1 ? 50000 : difficulty == 3 ? 48000 : 37500;
        EXPECT_EQ(Scoring::ScoreForLevel(11, difficulty), last);
        const size_t shown = host.messages.size();
        Pay(last - scoring->Score());
        EXPECT_FALSE(scoring->LevelUp(host));
        EXPECT_EQ(std::make_tuple(scoring->Level(), scoring->QueuePeriod(), host.messages.size()),
                  std::make_tuple(10, 2.0, shown));
    }
}

TEST_F(ScoringTest, ALargeJumpIsCaughtUpOneLevelPerUpdateAndOtherTypesNeverLevel)
{
    host.kind = RulesKind::Marathon;
    scoring->StartGame(1, 0, 0);
    std::string levels; // the level after each update
    const auto update = [&] { levels += std::to_string(scoring->LevelUp(host) ? scoring->Level() : 0) + " "; };
    Pay(475);
    update();
    Pay(40500 - 475);
    for (int i = 2; i <= 11; ++i)
        update();
    EXPECT_EQ(std::make_pair(levels, scoring->Level()), std::make_pair(std::string("0 2 3 4 5 6 7 8 9 10 0 "), 10));

    for (RulesKind kind : {RulesKind::TimeAttack, RulesKind::PuzzleChallenge, RulesKind::Neutral})
    {
        host.kind = kind;
        scoring->StartGame(1, 0, 0);
        Pay(100000, RulesKind::TimeAttack);
        host.messages.clear();
        EXPECT_FALSE(scoring->LevelUp(host));
        EXPECT_EQ(std::make_pair(scoring->Level(), host.messages), std::make_pair(1, std::vector<std::string>{}));
    }
}

} // namespace
