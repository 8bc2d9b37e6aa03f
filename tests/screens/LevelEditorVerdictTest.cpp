// The solver's verdict under the level editor's move count follows the board.
#include "LevelEditorFixture.h"

namespace
{

class LevelEditorVerdictTest : public LevelEditorFixture
{
};

TEST_F(LevelEditorVerdictTest, VerdictFollowsTheBoardBeingPainted)
{
    Enter();
    EXPECT_EQ(Editor().VerdictLabel().GetText(), "");
    PaintThreeReds();
    Frame(tick + 16);
    EXPECT_EQ(Editor().VerdictLabel().GetText(), "best: 1 move");
    ClickCell(3, 9, true); // two Reds can never clear
    Frame(tick + 16);
    EXPECT_EQ(Editor().VerdictLabel().GetText(), "no solution in 99");
}

} // namespace
