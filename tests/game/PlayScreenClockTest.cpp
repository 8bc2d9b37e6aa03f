// What the simulator scripts cannot drive: focus loss, the high scores written
// at the end of a game, a clock past 32 bits of milliseconds, and pauses
// before the clock starts.
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
    void SetUp() override
    {
        PlayScreenFixture::SetUp();
        Open();
    }
    // Frames `step` ms apart from `from`; the tick of the frame that ended the game, or 0.
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
};

} // namespace

TEST_F(PlayScreenClockTest, FocusLostUnderTheDialogChargesNeitherTheDialogNorThePause)
{
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
    EXPECT_TRUE(Play().GetBoard().Cell(2, 9).IsHidden());
    EXPECT_FALSE(Play().PausedPicture().IsHidden());
    Key(KeyCode::Right); // keys but Escape do nothing while paused
    int column = -1;
    int row = -1;
    Play().Rules().MoverCell(column, row);
    EXPECT_EQ(column, 0);
    Platform().PushEvent({PlatformEvent::Type::Activate});
    Frame(21064);
    Frame(21067);
    Key('p'); // thawed at 21.067: 10.019 s frozen in all
    ASSERT_FALSE(Play().IsPaused());
    const uint64_t end = RunUntilOver(21077, 5, 120000);
    EXPECT_GE(end, 101067u); // 1.048 + 90 + 10.019
    EXPECT_LT(end, 101067u + 5);

    // A puzzle is not paused by focus loss, and runs no queue timer.
    WriteLevel("Data/Levels/01 Set/001.qvl", "<qvl moves=\"3\"><block x=\"0\" y=\"9\" color=\"1\"/></qvl>");
    ASSERT_TRUE(Play().LoadPuzzle("Data/Levels/01 Set/001.qvl"));
    Start(GameType::PuzzleChallenge, Difficulty::Easy, 130000);
    Platform().PushEvent({PlatformEvent::Type::Deactivate});
    Frames(130016, 141000);
    EXPECT_FALSE(Play().IsPaused());
    EXPECT_EQ(Play().QueueTimerShown(), -1);
    EXPECT_FALSE(Play().IsDropPending());
    EXPECT_FALSE(Play().IsOver());
}

TEST_F(PlayScreenClockTest, PauseBeforeTheClockStartsDelaysTheStart)
{
    Start(GameType::TimeAttack, Difficulty::Hard, 1000);
    Key('p');
    Frames(1016, 5000);
    ASSERT_TRUE(Play().Clock().IsStarted()); // it starts under the pause
    Frame(5003);
    Key('p');
    const uint64_t end = RunUntilOver(5013, 5, 100000); // 90 s from 5.003
    EXPECT_GE(end, 95003u);
    EXPECT_LT(end, 95008u);

    // Enter drops at once in Marathon only.
    Start(GameType::TimeAttack, Difficulty::Easy, 100000);
    Key(KeyCode::Enter);
    ScreenManager::Get().OnMiddleButtonDown(10, 10);
    EXPECT_FALSE(Play().IsDropPending());
    Start(GameType::Marathon, Difficulty::Medium, 110000);
    Frames(110016, 110048);
    EXPECT_DOUBLE_EQ(Play().GetScoring().QueuePeriod(), 9.5 - 0.8 * 3);
}

TEST_F(PlayScreenClockTest, ClockPastThirtyTwoBitsOfMillisecondsKeepsTheGameRunning)
{
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
