// The tutorial: each step's buttons, board and highlight, the three layouts,
// the frame's rectangles at two sizes, the lines inside the bubble, and the
// keys that do nothing here.
#include "PlayScreenTestFixture.h"

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
        if (opened)
        {
            TearDown();
            SetUp();
        }
        opened = true;
        Open(w, h);
        ScreenManager::Get().SetScreen(&Tutorial(), true);
        Frame(16);
    }
    void GoTo(int step)
    {
        while (Tutorial().Step() < step)
            Key('n');
        while (Tutorial().Step() > step)
            Key('p');
        Frame(tick + 16);
    }
    [[nodiscard]] std::string Row(int row)
    {
        std::string text;
        for (int c = 0; c < Board::Columns; ++c)
            text += "ROBPG.EW"[static_cast<int>(Tutorial().GetBoard().Cell(c, row).GetType())];
        return text;
    }
    [[nodiscard]] static std::array<int, 4> Framed()
    {
        Sprite& h = TutorialScreen::Get().Highlight();
        return {h.GetX(), h.GetY(), h.GetWidth(), h.GetHeight()};
    }
    bool opened = false;
};

} // namespace

TEST_F(TutorialScreenTest, StepsSetUpButtonsBoardAndQueue)
{
    Enter();
    Tutorial().GetBoard().Cell(2, 9).SetType(BlockType::Green);
    struct Expected
    {
        int step;
        bool previous, next, highlight, queue;
        const char* rows[3]; // rows 7 to 9
    };
    const Expected table[] = {
        {1, false, true, false, false, {"EEEEEE", "EEEEEE", "EEGEEE"}},
        {2, true, true, true, false, {"EEEEEE", "EEEEEE", "EEGEEE"}},
        {4, true, true, false, false, {"EEEEEE", "OPGERE", "RGBBOP"}},
        {5, true, true, false, false, {"BGBBOE", "OOGGBG", "BGBBOO"}},
        {6, true, true, false, false, {"OOBBOW", "OBBOBB", "BOOBOO"}},
        {8, true, true, true, true, {"EEEEEE", "EEEEEE", "EEEEEE"}},
        {10, true, true, false, false, {"EEEEEE", "EEEEEE", "EEEEEE"}},
        {13, true, false, false, false, {"EEEEEE", "EEEEEE", "EEEEEE"}},
        {5, true, true, false, false, {"BGBBOE", "OOGGBG", "BGBBOO"}},
        {1, false, true, false, false, {"EEEEEE", "EEEEEE", "EEEEEE"}},
    };
    for (const Expected& e : table)
    {
        GoTo(e.step);
        EXPECT_EQ(Tutorial().Line(3).GetText(), TutorialScreen::StepLines(e.step)[3]);
        EXPECT_EQ(!Tutorial().PreviousButton().IsHidden(), e.previous) << e.step;
        EXPECT_EQ(!Tutorial().NextButton().IsHidden(), e.next) << e.step;
        EXPECT_EQ(!Tutorial().Highlight().IsHidden(), e.highlight) << e.step;
        EXPECT_EQ(!Tutorial().GetBoard().Queue(0).IsHidden(), e.queue) << e.step;
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(Row(7 + r), e.rows[r]) << "step " << e.step << " row " << 7 + r;
    }
    EXPECT_EQ(TutorialScreen::StepLines(2)[1], std::string("That's your block mover.  You can"));
}

TEST_F(TutorialScreenTest, HighlightFramesTheMoverTheQueueRowAndTheBar)
{
    const struct
    {
        int w, h;
        std::array<int, 4> across, upDown, moved, queueRow, bar;
    } sizes[] = {
        {640, 480, {13, 55, 105, 59}, {13, 55, 65, 99}, {53, 95, 65, 99}, {0, 3, 291, 59}, {282, -96, 78, 671}},
        {1024,
         768,
         {20, 88, 168, 94},
         {20, 88, 104, 158},
         {84, 152, 104, 158},
         {0, 4, 465, 94},
         {450, -153, 124, 1075}},
    };
    for (const auto& s : sizes)
    {
        Enter(s.w, s.h);
        GoTo(2);
        EXPECT_EQ(Framed(), s.across);
        GoTo(3);
        Key(KeyCode::Tab);
        Frame(tick + 16);
        EXPECT_EQ(Framed(), s.upDown);
        Key(KeyCode::Down);
        Key(KeyCode::Right);
        Frame(tick + 16);
        EXPECT_EQ(Framed(), s.moved);
        GoTo(8);
        EXPECT_EQ(Framed(), s.queueRow);
        GoTo(9);
        EXPECT_EQ(Framed(), s.bar);
    }
}

TEST_F(TutorialScreenTest, EightLinesEvenlySpacedInsideTheBubble)
{
    for (const auto& size : {std::make_pair(640, 480), std::make_pair(2048, 1536)})
    {
        Enter(size.first, size.second);
        Sprite& bubble = Tutorial().Bubble();
        if (Tutorial().Line(0).GetHeight() == 0)
            GTEST_SKIP() << "no game font";
        // The bubble's body ends where its tail begins, at 0.92 of its height.
        const int bodyBottom = bubble.GetY() + bubble.GetHeight() * 92 / 100;
        for (int step = 1; step <= TutorialScreen::LastStep; ++step, Key('n'))
        {
            for (int i = 0; i < TutorialScreen::LineCount; ++i)
            {
                TextLabel& line = Tutorial().Line(i);
                EXPECT_GE(line.GetY(), bubble.GetY());
                EXPECT_LE(line.GetY() + line.GetHeight(), bodyBottom);
                EXPECT_GT(line.GetX(), bubble.GetX());
                EXPECT_LT(line.GetX() + line.MeasureText(line.GetText()), bubble.GetX() + bubble.GetWidth())
                    << step << ": " << line.GetText();
                if (i > 0)
                {
                    EXPECT_NEAR(line.GetY() - Tutorial().Line(i - 1).GetY(),
                                Tutorial().Line(1).GetY() - Tutorial().Line(0).GetY(), 1);
                }
            }
        }
    }
}

TEST_F(TutorialScreenTest, NoDropNoPauseAndEscapeLeaves)
{
    Enter();
    GoTo(8);
    std::array<BlockType, Board::Columns> queue{};
    for (int c = 0; c < Board::Columns; ++c)
        queue[c] = Tutorial().GetBoard().Queue(c).GetType();
    Key(KeyCode::Enter);
    ScreenManager::Get().OnMiddleButtonDown(100, 200);
    Frames(tick + 16, tick + 12000, 100);
    for (int c = 0; c < Board::Columns; ++c)
        EXPECT_EQ(Tutorial().GetBoard().Queue(c).GetType(), queue[c]);
    EXPECT_EQ(Row(0), "EEEEEE");
    GoTo(1);
    Key('p'); // PREVIOUS is hidden at step 1; there is no pause
    EXPECT_EQ(Tutorial().Step(), 1);
    Key(KeyCode::Escape);
    EXPECT_TRUE(ScreenManager::Get().IsSwitchPending());
}
