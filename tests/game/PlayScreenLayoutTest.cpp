// Where the play screen puts its pictures, texts and buttons at the offered
// display sizes, the speech bubble's text, and the drawing order around
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
        // cells are square, the well is as wide as the panel, the dim layer
        // covers the window and the paused picture is centred.
        const Control& b = play.FirstButton();
        for (const Control* c : {&play.SecondButton(), &play.ThirdButton()})
            EXPECT_EQ(std::make_tuple(c->GetX(), c->GetWidth(), c->GetHeight()),
                      std::make_tuple(b.GetX(), b.GetWidth(), b.GetHeight()));
        const BoardGeometry& g = play.GetBoard().Geometry();
        const Block& corner = play.GetBoard().Cell(5, 9);
        EXPECT_EQ(std::make_tuple(play.HudLine(2).GetX(), g.cellHeight, corner.GetX(), corner.GetY(),
                                  play.Mover().GetWidth(), play.Well().GetWidth(), play.DimLayer().GetWidth(),
                                  play.DimLayer().GetHeight(), play.PausedPicture().GetX()),
                  std::make_tuple(play.HudLine(0).GetX(), g.cellWidth, g.wellLeft + 5 * g.cellWidth,
                                  g.CellY(0) + 9 * g.cellWidth, 2 * g.cellWidth, play.InfoPanel().GetWidth(), width,
                                  height, width / 2 - play.PausedPicture().GetWidth() / 2));

        // The queue timer never shows more than its own picture.
        Frames(1016, 3000);
        EXPECT_TRUE(play.QueueTimerShown() > 0 && play.QueueTimerShown() <= play.QueueTimer().GetHeight())
            << play.QueueTimerShown();
    }
}

// How long a message stays is played by the marathon_bubble script.
TEST_F(PlayScreenLayoutTest, MessageTextSitsInTheBubbleAndHidesWithIt)
{
    Open();
    Start(GameType::Marathon, Difficulty::Easy, 1000);
    // The text sits a third of its width left of the bubble's centre.
    Play().ShowBubbleText("Excellent!");
    const Sprite& bubble = Play().SpeechBubble();
    TextLabel& text = Play().MessageText();
    EXPECT_EQ(std::make_tuple(bubble.GetX(), bubble.GetY(), text.GetWidth() > 0, text.GetX(), text.GetY()),
              std::make_tuple(505, 144, true, bubble.GetX() + bubble.GetWidth() / 2 - text.GetWidth() / 3,
                              bubble.GetY() + bubble.GetHeight() / 2 - text.GetHeight() / 2));
    Frames(1016, 3600);
    EXPECT_TRUE(Play().BubbleText().empty() && bubble.IsHidden() && text.IsHidden());
}

TEST_F(PlayScreenLayoutTest, DimLayerCoversTheBoardUnderTheDialogAndTheButtonsComeBackOnTop)
{
    Open();
    Start(GameType::Marathon, Difficulty::Easy, 1000);
    Frames(1016, 1100);
    EXPECT_TRUE(Play().DimLayer().IsHidden());
    Key(KeyCode::Escape);
    const size_t dim = Position(&Play().DimLayer());
    EXPECT_EQ(std::make_tuple(Play().DimLayer().IsHidden(), dim > Position(&Play().ThirdButton()),
                              dim > Position(&Play().GetBoard().Cell(5, 9)), Play().Dialog().YesButton().GetX(),
                              Play().Dialog().NoButton().GetX(), Play().Dialog().YesButton().GetY(),
                              Play().Dialog().FirstLine().GetText()),
              std::make_tuple(false, true, true, 131, 323, 264, "This will end your current game."));
    Key('n');
    EXPECT_TRUE(Play().DimLayer().IsHidden() && Position(&Play().FirstButton()) > Position(&Play().DimLayer()) &&
                Position(&Play().PausedPicture()) > Position(&Play().DimLayer()));

    // Paused, the dim layer stays up through the dialog and after No.
    Key('p');
    Key(KeyCode::Escape);
    Key('n');
    // No peeking at the board.
    EXPECT_EQ(std::make_tuple(Play().IsPaused(), Play().DimLayer().IsHidden(), Play().PausedPicture().IsHidden(),
                              Play().GetBoard().Cell(2, 9).IsHidden()),
              std::make_tuple(true, false, false, true));
    Key('p');
    EXPECT_TRUE(Play().DimLayer().IsHidden() && !Play().GetBoard().Cell(0, 9).IsHidden());
}

TEST(PlayScreenTextsTest, TimeTextAndDifficultyTables)
{
    EXPECT_EQ(TimeLeftText(-4) + "|" + TimeLeftText(59) + "|" + TimeLeftText(6000),
              "Time Left:|Time Left: 00:59|Time Left: 100:00");
    // Anything but Easy and Medium plays as Hard.
    EXPECT_EQ(std::make_tuple(TimeLimitOf(Difficulty::Easy), TimeLimitOf(Difficulty::Medium), TimeLimitOf(2)),
              std::make_tuple(210, 150, 90));
    EXPECT_EQ(std::make_tuple(HighScoreTableOf(GameType::Marathon, Difficulty::Medium),
                              HighScoreTableOf(GameType::TimeAttack, Difficulty::Easy),
                              HighScoreTableOf(GameType::TimeAttack, 0),
                              HighScoreTableOf(GameType::PuzzleChallenge, Difficulty::Easy)),
              std::make_tuple(1, 3, 5, -1));
}

TEST(PlayScreenTextsTest, PuzzleTextsComeFromTheLevelPath)
{
    // Level text | set text. A set name without a space leaves the set text
    // as it was; no number at the start of the file name reads as 0; no
    // slash, no texts.
    const std::pair<const char*, const char*> cases[] = {
        {"Data/Levels/02 Hard Ones/012.qvl", "Level 12|Puzzles:  Hard Ones"},
        {"Data/Levels/Basics/7.qvl", "Level 7|"},
        {"Data/Levels/01 A/readme.txt", "Level 0|Puzzles:  A"},
        {"Data/Levels/01 A/3rd.v2.qvl", "Level 3|Puzzles:  A"},
        {"x.qvl", "|"},
    };
    for (const auto& [path, expected] : cases)
    {
        const PuzzleTexts texts = PuzzleTextsOf(path);
        EXPECT_EQ(texts.levelText + "|" + texts.setText, expected) << path;
    }
}
