// The tutorial: each step's buttons, board and frame, the frame's rectangles
// at two sizes, the lines inside the bubble, and the keys that do nothing.
#include "PlayScreenTestFixture.h"

#include <utility>

#include "engine/KeyCode.h"
#include "game/TutorialScreen.h"

namespace
{

class TutorialScreenTest : public PlayScreenFixture
{
  protected:
    TutorialScreen& Tutorial() { return TutorialScreen::Get(); }
    void Enter(int w = 640, int h = 480)
    {
        if (std::exchange(opened, true))
        {
            TearDown();
            SetUp();
        }
        Open(w, h);
        ScreenManager::Get().SetScreen(&Tutorial(), true);
        Frame(16);
    }
    void GoTo(int step)
    {
        while (Tutorial().Step() != step)
            Key(Tutorial().Step() < step ? 'n' : 'p');
        Frame(tick + 16);
    }
    [[nodiscard]] std::string Rows()
    {
        std::string text;
        for (int i = 7 * Board::Columns; i < Board::CellCount; ++i)
            text += "ROBPG.EW"[static_cast<int>(Tutorial().GetBoard().CellAtIndex(i).GetType())];
        return text;
    }
    [[nodiscard]] std::array<int, 4> Framed()
    {
        const Sprite& h = Tutorial().Highlight();
        return {h.GetX(), h.GetY(), h.GetWidth(), h.GetHeight()};
    }
    bool opened = false;
};

} // namespace

TEST_F(TutorialScreenTest, StepsSetUpButtonsBoardAndQueue)
{
    Enter();
    Tutorial().GetBoard().Cell(2, 9).SetType(BlockType::Green);
    const std::string empty(18, 'E');
    const struct
    {
        int step;
        bool previous, next, frame, queue;
        std::string rows; // rows 7 to 9
    } table[] = {
        {1, false, true, false, false, empty.substr(0, 14) + "G" + empty.substr(0, 3)},
        {2, true, true, true, false, empty.substr(0, 14) + "G" + empty.substr(0, 3)},
        {4, true, true, false, false, "EEEEEEOPGERERGBBOP"},
        {5, true, true, false, false, "BGBBOEOOGGBGBGBBOO"},
        {6, true, true, false, false, "OOBBOWOBBOBBBOOBOO"},
        {8, true, true, true, true, empty},
        {10, true, true, false, false, empty},
        {13, true, false, false, false, empty},
        {5, true, true, false, false, "BGBBOEOOGGBGBGBBOO"},
        {1, false, true, false, false, empty},
    };
    for (const auto& e : table)
    {
        GoTo(e.step);
        SCOPED_TRACE(e.step);
        EXPECT_EQ(std::make_tuple(Tutorial().Line(3).GetText(), Rows(), !Tutorial().PreviousButton().IsHidden(),
                                  !Tutorial().NextButton().IsHidden(), !Tutorial().Highlight().IsHidden(),
                                  !Tutorial().GetBoard().Queue(0).IsHidden()),
                  std::make_tuple(TutorialScreen::StepLines(e.step)[3], e.rows, e.previous, e.next, e.frame, e.queue));
    }
    // Enter and the middle button drop nothing; p at step 1 is no pause.
    GoTo(8);
    const BlockType first = Tutorial().GetBoard().Queue(0).GetType();
    Key(KeyCode::Enter);
    ScreenManager::Get().OnMiddleButtonDown(100, 200);
    Frames(tick + 16, tick + 12000, 100);
    EXPECT_EQ(std::make_pair(Tutorial().GetBoard().Queue(0).GetType(), Rows()),
              std::make_pair(first, std::string(18, 'E')));
    GoTo(1);
    Key('p');
    EXPECT_EQ(Tutorial().Step(), 1); // Escape back to the game type choice: the play window check
}

TEST_F(TutorialScreenTest, HighlightFramesTheMoverTheQueueRowAndTheBar)
{
    // Step 2 across, step 3 turned up/down, then moved down-right, step 8, step 9.
    using Rects = std::array<std::array<int, 4>, 5>;
    const std::pair<int, Rects> sizes[] = {
        {640, {{{13, 55, 105, 59}, {13, 55, 65, 99}, {53, 95, 65, 99}, {0, 3, 291, 59}, {282, -96, 78, 671}}}},
        {1024, {{{20, 88, 168, 94}, {20, 88, 104, 158}, {84, 152, 104, 158}, {0, 4, 465, 94}, {450, -153, 124, 1075}}}},
    };
    for (const auto& [w, rects] : sizes)
    {
        Enter(w, w * 3 / 4);
        GoTo(2);
        EXPECT_EQ(Framed(), rects[0]);
        GoTo(3);
        Key(KeyCode::Tab);
        Frame(tick + 16);
        EXPECT_EQ(Framed(), rects[1]);
        Key(KeyCode::Down);
        Key(KeyCode::Right);
        Frame(tick + 16);
        EXPECT_EQ(Framed(), rects[2]);
        GoTo(8);
        EXPECT_EQ(Framed(), rects[3]);
        GoTo(9);
        EXPECT_EQ(Framed(), rects[4]);
    }
}
