// Where the play screen puts its pictures, texts and buttons at the offered
// display sizes, the speech bubble's timing, and the drawing order around
// pauses and the dialog.
#include "PlayScreenTestFixture.h"

#include <algorithm>
#include <sstream>
#include <tuple>

#include "engine/KeyCode.h"

namespace
{

// Worked out from the layout fractions (single-precision factors, truncated):
// the buttons' x, tops and size; the HUD lines' x and tops; the cell; the
// well's left edge and row 0's top; the info panel, the well's x, the queue
// bar's x and width, and the queue timer.
const std::pair<int, const char*> sizes[] = {
    {640, "buttons 398 335,378,422 187x38 hud 378 26,55,83 cell 40 well 25,64 panel 367,8 252x465 21 bar 294 53 "
          "timer 301,14 39x451"},
    {800, "buttons 498 418,473,527 234x47 hud 472 32,69,104 cell 50 well 31,80 panel 459,9 316x582 26 bar 367 66 "
          "timer 375,17 49x564"},
    {1024, "buttons 637 536,605,675 300x60 hud 605 42,88,134 cell 64 well 40,103 panel 588,12 404x745 33 bar 470 84 "
           "timer 480,22 63x722"},
};

// The same figures as the play screen placed them.
std::string Measured(PlayScreen& play)
{
    const BoardGeometry& g = play.GetBoard().Geometry();
    const Control& b = play.FirstButton();
    const Control& panel = play.InfoPanel();
    const Control& timer = play.QueueTimer();
    std::ostringstream s;
    s << "buttons " << b.GetX() << " " << b.GetY() << "," << play.SecondButton().GetY() << ","
      << play.ThirdButton().GetY() << " " << b.GetWidth() << "x" << b.GetHeight() << " hud " << play.HudLine(0).GetX()
      << " " << play.HudLine(0).GetY() << "," << play.HudLine(1).GetY() << "," << play.HudLine(2).GetY() << " cell "
      << g.cellWidth << " well " << g.wellLeft << "," << g.CellY(0) << " panel " << panel.GetX() << "," << panel.GetY()
      << " " << panel.GetWidth() << "x" << panel.GetHeight() << " " << play.Well().GetX() << " bar "
      << play.QueueBar().GetX() << " " << play.QueueBar().GetWidth() << " timer " << timer.GetX() << "," << timer.GetY()
      << " " << timer.GetWidth() << "x" << timer.GetHeight();
    return s.str();
}

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
    for (const auto& [width, expected] : sizes)
    {
        const int height = width * 3 / 4;
        SCOPED_TRACE(width);
        TearDown();
        SetUp();
        Open(width, height);
        Start(GameType::Marathon, Difficulty::Easy, 1000);
        PlayScreen& play = Play();
        EXPECT_EQ(Measured(play), expected);

        // What follows from those: the buttons and HUD lines line up, the
        // cells are square, the well is as wide as the panel.
        const Control& b = play.FirstButton();
        for (const Control* c : {&play.SecondButton(), &play.ThirdButton()})
            EXPECT_EQ(std::make_tuple(c->GetX(), c->GetWidth(), c->GetHeight()),
                      std::make_tuple(b.GetX(), b.GetWidth(), b.GetHeight()));
        EXPECT_EQ(play.HudLine(2).GetX(), play.HudLine(0).GetX());
        const BoardGeometry& g = play.GetBoard().Geometry();
        EXPECT_EQ(g.cellHeight, g.cellWidth);
        EXPECT_EQ(play.GetBoard().Cell(5, 9).GetX(), g.wellLeft + 5 * g.cellWidth);
        EXPECT_EQ(play.GetBoard().Cell(5, 9).GetY(), g.CellY(0) + 9 * g.cellWidth);
        EXPECT_EQ(play.Mover().GetWidth(), 2 * g.cellWidth);
        EXPECT_EQ(play.Well().GetWidth(), play.InfoPanel().GetWidth());
        EXPECT_EQ(std::make_pair(play.DimLayer().GetWidth(), play.DimLayer().GetHeight()),
                  std::make_pair(width, height));
        EXPECT_EQ(play.PausedPicture().GetX(), width / 2 - play.PausedPicture().GetWidth() / 2);

        // The queue timer never shows more than its own picture.
        Frames(1016, 3000);
        EXPECT_GT(play.QueueTimerShown(), 0);
        EXPECT_LE(play.QueueTimerShown(), play.QueueTimer().GetHeight());
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
    EXPECT_TRUE(Play().GetBoard().Cell(2, 9).IsHidden()); // no peeking at the board
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
