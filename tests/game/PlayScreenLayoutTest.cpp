// Where the play screen puts its pictures, texts and buttons at the offered
// display sizes, the speech bubble's timing, and the drawing order around
// pauses and the dialog.
#include "PlayScreenTestFixture.h"

#include <algorithm>

#include "engine/KeyCode.h"

namespace
{

struct Expected
{
    int width;
    int height;
    int buttonX;
    int buttonY[3];
    int buttonWidth;
    int buttonHeight;
    int hudX;
    int hudY[3];
    int cell;
    int wellLeft;
    int rowZeroY;
    int panelX;
    int panelY;
    int panelWidth;
    int panelHeight;
    int wellX;
    int barX;
    int barWidth;
    int timerX;
    int timerY;
    int timerWidth;
    int timerHeight;
};

// Worked out from the layout fractions (single-precision factors, truncated).
const Expected sizes[] = {
    {640, 480, 398, {335, 378, 422}, 187, 38, 378, {26, 55, 83}, 40, 25, 64, 367, 8, 252, 465, 21, 294, 53, 301,
     14,  39,  451},
    {800, 600, 498, {418, 473, 527}, 234, 47, 472, {32, 69, 104}, 50, 31, 80, 459, 9, 316, 582, 26, 367, 66, 375,
     17,  49,  564},
    {1024, 768, 637, {536, 605, 675}, 300, 60, 605, {42, 88, 134}, 64, 40, 103, 588, 12, 404, 745, 33, 470, 84, 480,
     22,   63,  722},
};

class PlayScreenLayoutTest : public PlayScreenFixture
{
  protected:
    [[nodiscard]] size_t Position(Control* control)
    {
        const auto& list = ScreenManager::Get().Controls();
        return static_cast<size_t>(std::find(list.begin(), list.end(), control) - list.begin());
    }
};

} // namespace

TEST_F(PlayScreenLayoutTest, PlacesEverythingAtTheOfferedSizes)
{
    for (const Expected& e : sizes)
    {
        SCOPED_TRACE(std::to_string(e.width) + "x" + std::to_string(e.height));
        TearDown();
        SetUp();
        Open(e.width, e.height);
        Start(GameType::Marathon, Difficulty::Easy, 1000);
        PlayScreen& play = Play();

        Button* buttons[] = {&play.FirstButton(), &play.SecondButton(), &play.ThirdButton()};
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(buttons[i]->GetX(), e.buttonX);
            EXPECT_EQ(buttons[i]->GetY(), e.buttonY[i]);
            EXPECT_EQ(buttons[i]->GetWidth(), e.buttonWidth);
            EXPECT_EQ(buttons[i]->GetHeight(), e.buttonHeight);
            EXPECT_EQ(play.HudLine(i).GetX(), e.hudX);
            EXPECT_EQ(play.HudLine(i).GetY(), e.hudY[i]);
        }
        const BoardGeometry& g = play.GetBoard().Geometry();
        EXPECT_EQ(g.cellWidth, e.cell);
        EXPECT_EQ(g.cellHeight, e.cell);
        EXPECT_EQ(g.wellLeft, e.wellLeft);
        EXPECT_EQ(g.CellY(0), e.rowZeroY);
        EXPECT_EQ(play.GetBoard().Cell(5, 9).GetX(), e.wellLeft + 5 * e.cell);
        EXPECT_EQ(play.GetBoard().Cell(5, 9).GetY(), e.rowZeroY + 9 * e.cell);
        EXPECT_EQ(play.Mover().GetWidth(), 2 * e.cell);

        EXPECT_EQ(play.InfoPanel().GetX(), e.panelX);
        EXPECT_EQ(play.InfoPanel().GetY(), e.panelY);
        EXPECT_EQ(play.InfoPanel().GetWidth(), e.panelWidth);
        EXPECT_EQ(play.InfoPanel().GetHeight(), e.panelHeight);
        EXPECT_EQ(play.Well().GetX(), e.wellX);
        EXPECT_EQ(play.Well().GetWidth(), e.panelWidth);
        EXPECT_EQ(play.QueueBar().GetX(), e.barX);
        EXPECT_EQ(play.QueueBar().GetWidth(), e.barWidth);
        EXPECT_EQ(play.QueueTimer().GetX(), e.timerX);
        EXPECT_EQ(play.QueueTimer().GetY(), e.timerY);
        EXPECT_EQ(play.QueueTimer().GetWidth(), e.timerWidth);
        EXPECT_EQ(play.QueueTimer().GetHeight(), e.timerHeight);
        EXPECT_EQ(play.DimLayer().GetWidth(), e.width);
        EXPECT_EQ(play.DimLayer().GetHeight(), e.height);
        EXPECT_EQ(play.PausedPicture().GetX(), e.width / 2 - play.PausedPicture().GetWidth() / 2);

        // The queue timer never shows more than its own picture.
        Frames(1016, 3000);
        EXPECT_GT(play.QueueTimerShown(), 0);
        EXPECT_LE(play.QueueTimerShown(), e.timerHeight);
    }
}

TEST_F(PlayScreenLayoutTest, MessagesStayTwoAndAHalfSecondsFromTheLatestOne)
{
    Open();
    Start(GameType::Marathon, Difficulty::Easy, 1000);
    Play().ShowBubbleText("Good!");
    Frames(1016, 3000);
    EXPECT_EQ(Play().BubbleText(), "Good!");
    Play().ShowBubbleText("Great!"); // 2 s after the first
    Frames(3016, 5496);
    EXPECT_EQ(Play().BubbleText(), "Great!");
    EXPECT_FALSE(Play().SpeechBubble().IsHidden());
    Frames(5512, 5600);
    EXPECT_EQ(Play().BubbleText(), "");
    EXPECT_TRUE(Play().SpeechBubble().IsHidden());
    EXPECT_TRUE(Play().MessageText().IsHidden());

    // The text sits a third of its width left of the bubble's centre.
    Play().ShowBubbleText("Excellent!");
    const Sprite& bubble = Play().SpeechBubble();
    TextLabel& text = Play().MessageText();
    EXPECT_EQ(bubble.GetX(), 505);
    EXPECT_EQ(bubble.GetY(), 144);
    EXPECT_GT(text.GetWidth(), 0);
    EXPECT_EQ(text.GetX(), bubble.GetX() + bubble.GetWidth() / 2 - text.GetWidth() / 3);
    EXPECT_EQ(text.GetY(), bubble.GetY() + bubble.GetHeight() / 2 - text.GetHeight() / 2);
}

TEST_F(PlayScreenLayoutTest, DimLayerCoversTheBoardUnderTheDialogAndTheButtonsComeBackOnTop)
{
    Open();
    Start(GameType::Marathon, Difficulty::Easy, 1000);
    Frames(1016, 1100);
    EXPECT_TRUE(Play().DimLayer().IsHidden());
    Key(KeyCode::Escape);
    EXPECT_FALSE(Play().DimLayer().IsHidden());
    EXPECT_GT(Position(&Play().DimLayer()), Position(&Play().ThirdButton()));
    EXPECT_GT(Position(&Play().DimLayer()), Position(&Play().GetBoard().Cell(5, 9)));
    EXPECT_EQ(Play().Dialog().YesButton().GetX(), 131);
    EXPECT_EQ(Play().Dialog().NoButton().GetX(), 323);
    EXPECT_EQ(Play().Dialog().YesButton().GetY(), 264);
    EXPECT_EQ(Play().Dialog().FirstLine().GetText(), "This will end your current game.");
    Key('n');
    EXPECT_TRUE(Play().DimLayer().IsHidden());
    EXPECT_GT(Position(&Play().FirstButton()), Position(&Play().DimLayer()));
    EXPECT_GT(Position(&Play().PausedPicture()), Position(&Play().DimLayer()));

    // Paused, the dim layer stays up through the dialog and after No.
    Key('p');
    Key(KeyCode::Escape);
    Key('n');
    EXPECT_TRUE(Play().IsPaused());
    EXPECT_FALSE(Play().DimLayer().IsHidden());
    EXPECT_FALSE(Play().PausedPicture().IsHidden());
    Key('p');
    EXPECT_TRUE(Play().DimLayer().IsHidden());
    EXPECT_FALSE(Play().GetBoard().Cell(0, 9).IsHidden());
}

TEST(PlayScreenTextsTest, TimeTextAndDifficultyTables)
{
    EXPECT_EQ(TimeLeftText(-4), "Time Left:");
    EXPECT_EQ(TimeLeftText(59), "Time Left: 00:59");
    EXPECT_EQ(TimeLeftText(6000), "Time Left: 100:00");

    // Anything but Easy and Medium plays as Hard.
    EXPECT_EQ(TimeLimitOf(Difficulty::Easy), 210);
    EXPECT_EQ(TimeLimitOf(Difficulty::Medium), 150);
    EXPECT_EQ(TimeLimitOf(2), 90);
    EXPECT_EQ(HighScoreTableOf(GameType::Marathon, Difficulty::Medium), 1);
    EXPECT_EQ(HighScoreTableOf(GameType::TimeAttack, Difficulty::Easy), 3);
    EXPECT_EQ(HighScoreTableOf(GameType::TimeAttack, 0), 5);
    EXPECT_EQ(HighScoreTableOf(GameType::PuzzleChallenge, Difficulty::Easy), -1);
}

TEST(PlayScreenTextsTest, PuzzleTextsComeFromTheLevelPath)
{
    PuzzleTexts texts = PuzzleTextsOf("Data/Levels/02 Hard Ones/012.qvl");
    EXPECT_EQ(texts.levelText, "Level 12");
    EXPECT_EQ(texts.setText, "Puzzles:  Hard Ones");
    // A set name without a space leaves the set text as it was.
    texts = PuzzleTextsOf("Data/Levels/Basics/7.qvl");
    EXPECT_EQ(texts.levelText, "Level 7");
    EXPECT_EQ(texts.setText, "");
    // No number at the start of the file name reads as 0; no slash, no texts.
    EXPECT_EQ(PuzzleTextsOf("Data/Levels/01 A/readme.txt").levelText, "Level 0");
    EXPECT_EQ(PuzzleTextsOf("Data/Levels/01 A/3rd.v2.qvl").levelText, "Level 3");
    texts = PuzzleTextsOf("x.qvl");
    EXPECT_EQ(texts.levelText, "");
    EXPECT_EQ(texts.setText, "");
}
