// The game types' clocks and ends on the play screen: the Time Attack
// countdown with pauses and the dialog, the Marathon queue, focus loss and
// the high scores written at the end of a game.
#include "PlayScreenTestFixture.h"

#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "engine/KeyCode.h"
#include "engine/platform/Platform.h"

namespace
{

class PlayScreenClockTest : public PlayScreenFixture
{
  protected:
    // Runs frames `step` ms apart from `from` until the game is over; the
    // tick of the frame that ended it, or 0 when it never ended by `limit`.
    uint64_t RunUntilOver(uint64_t from, uint64_t step, uint64_t limit)
    {
        for (uint64_t ms = from; ms <= limit; ms += step)
        {
            Frame(ms);
            if (Play().IsOver())
                return ms;
        }
        return 0;
    }
    void ChooseProfile(const std::string& name)
    {
        ProfileStore::Get().SetProfileName(0, name);
        ProfileStore::Get().SetCurrentProfile(0);
    }
    int RowsNamed(int table, const std::string& name)
    {
        int n = 0;
        for (int r = 0; r < HighScoreTables::RowCount; ++r)
            n += HighScoreTables::Get().GetEntry(table, r).name == name ? 1 : 0;
        return n;
    }
    // Row 9 holds a red set of three beside `column3` in column 3; the set
    // clears and pays 75 within a second.
    void ScoreSeventyFive(uint64_t from)
    {
        SetRow(9, "000166");
        Frames(from, from + 800);
        ASSERT_EQ(Play().GetScoring().Score(), 75);
    }
};

} // namespace

TEST_F(PlayScreenClockTest, TimeAttackAtHardEndsAfterNinetySecondsOfPlayNotCountingPauseOrDialog)
{
    Open();
    Start(GameType::TimeAttack, Difficulty::Hard, 1000);
    EXPECT_EQ(Play().TimeLimit(), 90);
    Frames(1016, 1048); // the clock starts on the fourth update
    ASSERT_TRUE(Play().Clock().IsStarted());
    EXPECT_DOUBLE_EQ(Play().Clock().GameStart(), 1.048);
    EXPECT_EQ(Play().HudLine(1).GetText(), "Time Left: 01:30");

    Frames(1064, 21048);
    Key('p'); // paused at 21.048
    ASSERT_TRUE(Play().IsPaused());
    EXPECT_TRUE(Play().GetBoard().Cell(0, 9).IsHidden());
    EXPECT_FALSE(Play().DimLayer().IsHidden());
    Frames(21064, 51048);
    Frame(51050);
    Key('p'); // 30.002 s paused
    ASSERT_FALSE(Play().IsPaused());
    EXPECT_FALSE(Play().GetBoard().Cell(0, 9).IsHidden());
    Frames(51066, 61050);
    Key(KeyCode::Escape); // the dialog for 10 s
    ASSERT_TRUE(Play().Dialog().IsOpen());
    Frames(61066, 71050);
    Key('n');
    ASSERT_FALSE(Play().Dialog().IsOpen());

    // 1.048 + 90 + 30.002 + 10 = 131.050
    const uint64_t end = RunUntilOver(71057, 7, 140000);
    EXPECT_GE(end, 131050u);
    EXPECT_LT(end, 131050u + 7);
    EXPECT_FALSE(Play().GameOverPicture().IsHidden());
}

TEST_F(PlayScreenClockTest, FocusLostUnderTheDialogChargesNeitherTheDialogNorThePause)
{
    Open();
    Start(GameType::TimeAttack, Difficulty::Hard, 1000);
    Frames(1016, 11048);
    Key(KeyCode::Escape); // frozen from 11.048
    Frames(11064, 13048);
    Platform().PushEvent({PlatformEvent::Type::Deactivate});
    Frame(13064);
    EXPECT_TRUE(Play().IsPaused());
    Frames(13080, 21048);
    Key('n'); // No while paused: the game stays frozen
    EXPECT_FALSE(Play().Dialog().IsOpen());
    EXPECT_TRUE(Play().IsPaused());
    Platform().PushEvent({PlatformEvent::Type::Activate});
    Frame(21064);
    Frame(21067);
    Key('p'); // thawed at 21.067: 10.019 s frozen in all
    ASSERT_FALSE(Play().IsPaused());

    const uint64_t end = RunUntilOver(21077, 5, 120000);
    EXPECT_GE(end, 101067u); // 1.048 + 90 + 10.019
    EXPECT_LT(end, 101067u + 5);
}

TEST_F(PlayScreenClockTest, PauseOrDialogBeforeTheClockStartsDelaysTheStartInsteadOfStoppingIt)
{
    Open();
    Start(GameType::TimeAttack, Difficulty::Hard, 1000);
    Key('p'); // before the clock starts
    Frames(1016, 5000);
    ASSERT_TRUE(Play().Clock().IsStarted()); // it starts under the pause
    Frame(5003);
    Key('p');
    // Nothing before the resume counts: 90 s from 5.003.
    const uint64_t end = RunUntilOver(5013, 5, 100000);
    EXPECT_GE(end, 95003u);
    EXPECT_LT(end, 95008u);

    Start(GameType::TimeAttack, Difficulty::Easy, 100000);
    Key(KeyCode::Escape);
    Frames(100016, 104000);
    Frame(104005);
    Key('n');
    EXPECT_DOUBLE_EQ(Play().Clock().GameStart(), 104.005);
    const uint64_t easyEnd = RunUntilOver(104015, 7, 400000);
    EXPECT_GE(easyEnd, 314005u); // 210 s from 104.005
    EXPECT_LT(easyEnd, 314005u + 7);
}

TEST_F(PlayScreenClockTest, MarathonQueueDropsOnTimeAndNeverBeforeTheClockAfterAGameOver)
{
    Open();
    Start(GameType::Marathon, Difficulty::Easy, 1000);
    ClearBoard();
    for (int r = 0; r < Board::Rows; ++r)
        Play().GetBoard().Cell(0, r).SetType(r % 2 ? BlockType::Red : BlockType::Blue);
    Key(KeyCode::Enter);
    Frame(1016);
    ASSERT_TRUE(Play().IsOver());

    // New Game at once, without the dialog.
    Key('n');
    EXPECT_FALSE(Play().Dialog().IsOpen());
    Frame(1032);
    ASSERT_FALSE(Play().IsOver());
    ClearBoard();
    const int timerHeight = Play().QueueTimer().GetHeight();
    for (uint64_t ms = 1048; ms <= 4032; ms += 16)
    {
        Frame(ms);
        EXPECT_EQ(Row(0), "666666") << ms;
        EXPECT_LE(Play().QueueTimerShown(), timerHeight);
    }
    EXPECT_GT(Play().QueueTimerShown(), 0);
    // The clock started at 1.080 (fourth update); the period is 9.5 s.
    Frames(4048, 10576);
    EXPECT_EQ(Row(0), "666666");
    Frame(10592);
    EXPECT_NE(Row(0), "666666");

    // Enter drops at once in Marathon only.
    Start(GameType::TimeAttack, Difficulty::Easy, 20000);
    Key(KeyCode::Enter);
    ScreenManager::Get().OnMiddleButtonDown(10, 10);
    EXPECT_FALSE(Play().IsDropPending());
    Start(GameType::Marathon, Difficulty::Medium, 30000);
    Frames(30016, 30048);
    EXPECT_DOUBLE_EQ(Play().GetScoring().QueuePeriod(), 9.5 - 0.8 * 3);
}

TEST_F(PlayScreenClockTest, PuzzleRunsNoQueueTimer)
{
    Open();
    WriteLevel("Data/Levels/01 Set/001.qvl", "<qvl moves=\"3\"><block x=\"0\" y=\"9\" color=\"1\"/></qvl>");
    Play().SetGameType(GameType::PuzzleChallenge);
    ASSERT_TRUE(Play().LoadPuzzle("Data/Levels/01 Set/001.qvl"));
    Start(GameType::PuzzleChallenge, Difficulty::Easy, 1000);
    Frames(1016, 11000);
    EXPECT_EQ(Play().QueueTimerShown(), -1);
    EXPECT_FALSE(Play().IsDropPending());
    EXPECT_FALSE(Play().IsOver());
}

TEST_F(PlayScreenClockTest, ClockPastThirtyTwoBitsOfMillisecondsKeepsTheGameRunning)
{
    Open();
    const uint64_t start = (uint64_t{1} << 32) - 5000;
    Start(GameType::Marathon, Difficulty::Easy, start);
    ClearBoard();
    Play().GetBoard().Cell(3, 9).SetType(BlockType::Purple);
    SetRow(9, "000366");
    Frames(start + 16, start + 10000);
    EXPECT_EQ(Play().GetScoring().Score(), 75); // the set cleared and paid
    // The queue dropped 9.5 s after the clock started and the blocks fell.
    EXPECT_NE(Row(9), "666366");
    EXPECT_NE(Row(8), "666666");
}

TEST_F(PlayScreenClockTest, FocusLossPausesMarathonAndHidesTheFieldButNotPuzzles)
{
    Open();
    Start(GameType::Marathon, Difficulty::Easy, 1000);
    Frames(1016, 1100);
    Platform().PushEvent({PlatformEvent::Type::Deactivate});
    Frame(1116);
    EXPECT_TRUE(Play().IsPaused());
    EXPECT_TRUE(Play().GetBoard().Cell(2, 9).IsHidden());
    EXPECT_FALSE(Play().PausedPicture().IsHidden());
    // Keys but Escape do nothing while paused.
    Key(KeyCode::Right);
    int column = -1;
    int row = -1;
    Play().Rules().MoverCell(column, row);
    EXPECT_EQ(column, 0);

    WriteLevel("Data/Levels/01 Set/001.qvl", "<qvl moves=\"3\"><block x=\"0\" y=\"9\" color=\"1\"/></qvl>");
    ASSERT_TRUE(Play().LoadPuzzle("Data/Levels/01 Set/001.qvl"));
    Start(GameType::PuzzleChallenge, Difficulty::Easy, 2000);
    Frames(2016, 2100);
    EXPECT_FALSE(Play().IsPaused());
}

TEST_F(PlayScreenClockTest, DropOntoAFullColumnFillsTheColumnsBeforeItAndEndsTheGameOnce)
{
    Open();
    ChooseProfile("Ann");
    Start(GameType::Marathon, Difficulty::Medium, 1000);
    ClearBoard();
    for (int r = 0; r < Board::Rows; ++r)
        Play().GetBoard().Cell(3, r).SetType(r % 2 ? BlockType::Green : BlockType::Blue);
    ScoreSeventyFive(1016);
    const BlockType q0 = Play().GetBoard().Queue(0).GetType();
    const BlockType q4 = Play().GetBoard().Queue(4).GetType();
    Key(KeyCode::Enter);
    Frame(2000);
    ASSERT_TRUE(Play().IsOver());
    EXPECT_EQ(Play().GetBoard().Cell(0, 0).GetType(), q0);
    EXPECT_EQ(Play().GetBoard().Cell(4, 0).GetType(), BlockType::Empty);
    EXPECT_EQ(Play().GetBoard().Queue(4).GetType(), q4);
    EXPECT_TRUE(Play().GetBoard().Cell(0, 9).IsHidden());
    EXPECT_TRUE(Play().GetBoard().Queue(0).IsHidden());
    EXPECT_TRUE(Play().Mover().IsHidden());
    EXPECT_TRUE(Play().FirstButton().IsHidden());
    EXPECT_FALSE(Play().GetBoard().Cell(3, 0).IsWarning());
    EXPECT_DOUBLE_EQ(Play().GetScoring().QueuePeriod(), 0.0);

    const int table = HighScoreTableOf(GameType::Marathon, Difficulty::Medium);
    EXPECT_EQ(HighScoreTables::Get().GetEntry(table, 0).name, "Ann");
    EXPECT_EQ(HighScoreTables::Get().GetEntry(table, 0).score, 75);
    Frames(2016, 9000);
    EXPECT_EQ(RowsNamed(table, "Ann"), 1);
    EXPECT_EQ(Play().BubbleText(), "");
    EXPECT_EQ(Play().GetScoring().Level(), 3);
}

TEST_F(PlayScreenClockTest, EndingAGameEarlyWithYesEntersTheScore)
{
    Open();
    ChooseProfile("Bo");
    Start(GameType::TimeAttack, Difficulty::Easy, 1000);
    ClearBoard();
    ScoreSeventyFive(1016);
    Key('n'); // New Game asks first
    ASSERT_EQ(Play().Dialog().GetPurpose(), EndGameConfirmDialog::Purpose::Restart);
    Key('y');
    Frame(2000);
    const int table = HighScoreTableOf(GameType::TimeAttack, Difficulty::Easy);
    EXPECT_EQ(HighScoreTables::Get().GetEntry(table, 0).score, 75);
    EXPECT_EQ(Play().GetScoring().Score(), 0); // a new game
    EXPECT_EQ(ScreenManager::Get().GetScreen(), &Play());

    ClearBoard();
    ScoreSeventyFive(2016);
    Key(KeyCode::Escape);
    ASSERT_EQ(Play().Dialog().GetPurpose(), EndGameConfirmDialog::Purpose::Menu);
    Key('y');
    Frame(3000);
    EXPECT_NE(ScreenManager::Get().GetScreen(), &Play());
    EXPECT_EQ(RowsNamed(table, "Bo"), 2);
    EXPECT_FALSE(ScreenManager::Get().IsModal());
}
