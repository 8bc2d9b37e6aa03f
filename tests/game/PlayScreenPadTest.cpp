#include "engine/PadButton.h"
#include "game/PlayScreenTestFixture.h"

namespace
{

class PlayScreenPadTest : public PlayScreenFixture
{
  protected:
    void Press(int pad, PadButton button, bool down = true)
    {
        Platform().PushPad(down ? PlatformEvent::Type::PadButtonDown : PlatformEvent::Type::PadButtonUp, pad,
                           static_cast<int>(button));
    }
    int MoverColumn()
    {
        int column = -1, row = -1;
        Play().Rules().MoverCell(column, row);
        return column;
    }
};

TEST_F(PlayScreenPadTest, PadsPluggedInAndOutMidGame)
{
    Open();
    Start(GameType::TimeAttack, Difficulty::Easy, 1000);
    Frames(1016, 2000);
    Platform().PushPad(PlatformEvent::Type::PadAdded, 5);
    Press(5, PadButton::DPadRight);
    Frames(2016, 2048);
    EXPECT_EQ(MoverColumn(), 1);
    Frames(2064, 2800); // held: repeats carry the mover to the right edge
    EXPECT_EQ(MoverColumn(), 4);

    // Unplugged while held: nothing more from it. A second pad takes over.
    Platform().PushPad(PlatformEvent::Type::PadRemoved, 5);
    Platform().PushPad(PlatformEvent::Type::PadAdded, 6);
    Press(6, PadButton::DPadLeft);
    Press(6, PadButton::DPadLeft, false);
    Frames(2816, 4000);
    EXPECT_EQ(MoverColumn(), 3);
    ASSERT_TRUE(Play().Mover().IsHorizontal());
    Press(6, PadButton::Y);
    Press(6, PadButton::Start);
    Frames(4016, 4064);
    EXPECT_FALSE(Play().Mover().IsHorizontal());
    EXPECT_TRUE(Play().IsPaused());
    // Back is Escape: the dialog, where the d-pad and A answer No.
    Press(6, PadButton::Back);
    Press(6, PadButton::DPadRight);
    Press(6, PadButton::DPadRight);
    Press(6, PadButton::A);
    Frames(4080, 4200);
    EXPECT_FALSE(Play().Dialog().IsOpen());
    EXPECT_TRUE(Play().IsPaused());
}

} // namespace
