#pragma once

#include <map>
#include <string>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/KeyCode.h"
#include "engine/Screen.h"
#include "game/BlockMover.h"
#include "game/Board.h"
#include "game/BoardRules.h"
#include "game/Scoring.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

class Sound;

// How To Play: Mr Jollyboots explains the game in 13 steps of eight lines in
// a large speech bubble, over a live board of the play screen's kind that the
// player can steer, swap and clear on, with no score, clock, queue drop or
// end. Some steps lay out a small board to try things on; a red frame points
// at what a step explains. NEXT (n) and PREVIOUS (p) walk the steps; GAME
// MENU (g) and Escape leave for the game type choice. The menu music plays on.
class TutorialScreen : public Screen, public ButtonListener, public BoardRulesHost
{
  public:
    static constexpr int FirstStep = 1;
    static constexpr int LastStep = 13;
    static constexpr int LineCount = 8;
    static constexpr int LayoutCount = 3;

    static TutorialScreen& Get();
    static void Destroy();

    TutorialScreen();
    ~TutorialScreen() override;

    // The eight speech lines of a step (1..13).
    [[nodiscard]] static const char* const* StepLines(int step);
    // Board layout 1..3: codes of all 60 cells, row-major.
    [[nodiscard]] static Board::Codes LayoutCodes(int layout);

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void OnLeftButtonDown(int x, int y) override;
    void OnRightButtonDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void Update(int framesSinceSwitch) override;
    // Tab flips the mover here; the pad plays, its shoulders turn the pages.
    bool KeepsKey(int key) const override { return key == KeyCode::Tab; }
    bool PadPlaysGame() const override { return true; }
    bool OnPadButton(PadButton button) override;
    void OnButtonClicked(Button* button) override;

    // --- BoardRulesHost: nothing is scored, counted or said here ---
    [[nodiscard]] RulesKind GetRulesKind() const override { return RulesKind::Neutral; }
    void ShowMessage(const std::string& text) override { (void)text; }
    void PlaySound(const std::string& name) override;
    void ShowMultiplier(int multiplier, const SetArea& area) override
    {
        (void)multiplier;
        (void)area;
    }
    void MovesLeftChanged(int movesLeft) override { (void)movesLeft; }
    void ScoreChanged(int score) override { (void)score; }
    void HighScoreChanged(int best) override { (void)best; }
    void LevelChanged(int level) override { (void)level; }
    void UndoApplied(int movesLeft, int movesTotal) override
    {
        (void)movesLeft;
        (void)movesTotal;
    }

    [[nodiscard]] int Step() const { return step; }
    [[nodiscard]] Board& GetBoard() { return board; }
    [[nodiscard]] BlockMover& Mover() { return mover; }
    [[nodiscard]] BoardRules& Rules() { return rules; }
    [[nodiscard]] Sprite& Highlight() { return highlight; }
    [[nodiscard]] Sprite& Bubble() { return bubble; }
    [[nodiscard]] Sprite& QueueBar() { return queueBar; }
    [[nodiscard]] TextLabel& Line(int index) { return lines[index]; }
    [[nodiscard]] Button& NextButton() { return nextButton; }
    [[nodiscard]] Button& PreviousButton() { return previousButton; }
    [[nodiscard]] Button& GameMenuButton() { return gameMenuButton; }

  private:
    void Layout(int w, int h);
    void RegisterControls();
    void SetUpStep();
    void EmptyBoard();
    void ShowQueue(bool show);
    void FrameMover();
    void FrameQueueRow();
    void FrameQueueBar();
    void LeaveToMenu();

    int step = FirstStep;
    Board board;
    BlockMover mover;
    Scoring scoring;
    BoardRules rules{board, mover, scoring, *this};
    int width = 0;
    int height = 0;

    Sprite well;
    Sprite infoPanel;
    Sprite queueBar;
    Sprite queueTimer;
    Sprite mascot;
    Sprite bubble;
    TextLabel lines[LineCount];
    Sprite highlight;
    Button nextButton;
    Button previousButton;
    Button gameMenuButton;

    std::map<std::string, Sound*> effects; // one reference each, kept for the run
};
