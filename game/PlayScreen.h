#pragma once

#include <map>
#include <optional>
#include <string>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Screen.h"
#include "game/BlockMover.h"
#include "game/Board.h"
#include "game/BoardRules.h"
#include "game/EndGameConfirmDialog.h"
#include "game/GameClock.h"
#include "game/GameModes.h"
#include "game/PuzzleHint.h"
#include "game/Scoring.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

class Sound;

// The screen every game is played on: the well with its board and mover, the
// queue and its timer bar (Marathon), the information panel with three HUD
// lines, the mascot with a speech bubble, three buttons, the pause and
// end-of-game pictures, and the dialog that guards leaving a running game.
// Each entry starts one game of the current type and difficulty.
//
//   waiting for the clock --4th update--> running <--> paused / dialog open
//   running --GameOver / PuzzleSolved / PuzzleFailed--> over
//   over (failed puzzle) --Undo--> running
class PlayScreen : public Screen, public ButtonListener, public BoardRulesHost
{
  public:
    static constexpr double MessageSeconds = 2.5;
    static constexpr double MultiplierSeconds = 1.0;
    static constexpr double FailDelaySeconds = 1.0;
    static constexpr double QueueBarRefreshSeconds = 0.05;
    // The mover blinks on a hint's swap for a second, hidden every other eighth.
    static constexpr double HintBlinkSeconds = 1.0;
    static constexpr double HintBlinkPeriod = 0.125;
    // framesSinceSwitch above which the game clock starts (the 4th update).
    static constexpr int ClockStartFrame = 2;

    static PlayScreen& Get();
    static PlayScreen* Existing();
    static void Destroy();

    PlayScreen();
    ~PlayScreen() override;

    // --- set up by the screens that lead here ---
    void SetGameType(GameType type);
    // Lays the screen out for a game of the given type at the present window
    // size and asks PictureAhead for its large pictures, so an entry from the
    // screen that calls this finds them rendered. Not while shown.
    void RenderAhead(GameType type);
    [[nodiscard]] GameType GetGameType() const { return gameType; }
    int difficulty = Difficulty::Easy;
    // Loads a level for the next Puzzle Challenge entry. On failure (the
    // warning is shown) the previously loaded puzzle stays as it was.
    [[nodiscard]] bool LoadPuzzle(const std::string& path);
    // A try-out of the level editor's layout; switches to this screen. The
    // HUD names the level by the file it came from or went to, if any.
    void StartPuzzleFromEditor(const Board::Codes& codes, int moves, const std::string& levelPath = std::string());
    // Sets the moves of the current puzzle (both counters), empties the undo
    // history and refreshes "Moves Left".
    void SetPuzzleMoves(int moves);

    // --- Screen ---
    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void OnLeftButtonDown(int x, int y) override;
    void OnRightButtonDown(int x, int y) override;
    void OnMiddleButtonDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void Update(int framesSinceSwitch) override;
    // During a game Tab flips and Enter drops, and the pad plays; once it
    // is over both keys and the pad go to the buttons.
    bool KeepsKey(int key) const override;
    bool PadPlaysGame() const override { return !over; }
    bool OnPadButton(PadButton button) override;

    void OnButtonClicked(Button* button) override;

    // --- BoardRulesHost ---
    [[nodiscard]] RulesKind GetRulesKind() const override { return RulesKindOf(gameType); }
    void ShowMessage(const std::string& text) override { ShowBubbleText(text); }
    void PlaySound(const std::string& name) override;
    void ShowMultiplier(int multiplier, const SetArea& area) override;
    void MovesLeftChanged(int movesLeft) override;
    void ScoreChanged(int score) override;
    void HighScoreChanged(int best) override;
    void LevelChanged(int level) override;
    void UndoApplied(int movesLeft, int movesTotal) override;

    // Puzzle Challenge: asks for a hint (key h). It is shown once the board
    // is at rest; nothing happens while paused, over or under a dialog.
    void RequestHint();

    // A message in the speech bubble for 2.5 s; replaces a shown one at once.
    void ShowBubbleText(const std::string& text);

    void TogglePause();
    void GameOver();
    void PuzzleSolved();
    void PuzzleFailed();
    // Opens the end-of-game dialog (nothing while it is open already).
    void OpenDialog(EndGameConfirmDialog::Purpose purpose);
    // Closes the dialog without the effects of either answer.
    void DismissDialog();

    // --- state, for the other screens and for checks ---
    [[nodiscard]] bool IsOver() const { return over; }
    [[nodiscard]] bool IsPaused() const { return paused; }
    [[nodiscard]] bool IsSolved() const { return solved; }
    [[nodiscard]] bool IsFailed() const { return failed; }
    [[nodiscard]] bool IsDropPending() const { return dropNow; }
    [[nodiscard]] bool IsFailPending() const { return failPending; }
    [[nodiscard]] bool IsFromEditor() const { return fromEditor; }
    [[nodiscard]] int TimeLimit() const { return timeLimit; }
    [[nodiscard]] const std::string& PuzzlePath() const { return puzzlePath; }
    [[nodiscard]] const std::string& NextPuzzle() const { return nextPuzzlePath; }
    [[nodiscard]] std::string BubbleText() const;
    [[nodiscard]] Board& GetBoard() { return board; }
    [[nodiscard]] BlockMover& Mover() { return mover; }
    [[nodiscard]] BoardRules& Rules() { return rules; }
    [[nodiscard]] Scoring& GetScoring() { return scoring; }
    [[nodiscard]] GameClock& Clock() { return clock; }
    [[nodiscard]] EndGameConfirmDialog& Dialog() { return dialog; }
    [[nodiscard]] PuzzleHint& Hint() { return hint; }
    [[nodiscard]] bool IsMoverBlinking() const { return hintBlinkStart.has_value(); }
    [[nodiscard]] TextLabel& HudLine(int index) { return hud[index]; }
    [[nodiscard]] TextLabel& MultiplierText() { return multiplierText; }
    [[nodiscard]] TextLabel& MessageText() { return messageText; }
    [[nodiscard]] Button& FirstButton() { return firstButton; }
    [[nodiscard]] Button& SecondButton() { return secondButton; }
    [[nodiscard]] Button& ThirdButton() { return thirdButton; }
    [[nodiscard]] Sprite& Well() { return well; }
    [[nodiscard]] Sprite& InfoPanel() { return infoPanel; }
    [[nodiscard]] Sprite& QueueBar() { return queueBar; }
    [[nodiscard]] Sprite& QueueTimer() { return queueTimer; }
    [[nodiscard]] Sprite& Mascot() { return mascot; }
    [[nodiscard]] Sprite& SpeechBubble() { return speechBubble; }
    [[nodiscard]] Sprite& DimLayer() { return dim; }
    [[nodiscard]] Sprite& PausedPicture() { return pausedPicture; }
    [[nodiscard]] Sprite& GameOverPicture() { return gameOverPicture; }
    [[nodiscard]] Sprite& SuccessPicture() { return successPicture; }
    [[nodiscard]] Sprite& FailedPicture() { return failedPicture; }
    // Pixel height the queue timer shows (its clip), -1 before any clip.
    [[nodiscard]] int QueueTimerShown() const { return queueTimerShown; }

  private:
    // PlayScreen.cpp: building the screen.
    void Layout(int w, int h);
    void RegisterControls();
    void SetUpButtons(int w, int h);
    void ShowHud();
    void StartGame();
    [[nodiscard]] Sound* Effect(const std::string& name);
    void StartMusic();
    void StopMusic();
    void StopMenuMusic();
    void ApplyEditorLayout();

    // PlayScreenGame.cpp: the update and the ends of a game.
    void UpdateClockText(double now);
    void UpdateQueueTimer(double now);
    bool DropQueue(double now);
    bool PuzzleEndTests(const RulesStepResult& step, double now);
    void UpdateHint(const RulesStepResult& step, double now);
    void InsertHighScore();
    void RaiseAboveDim();
    void FreezeChanged();
    void RestartScreen();
    void LeaveToMenu();
    void LeaveToEditor();
    void OnDialogAnswer(EndGameConfirmDialog::Purpose purpose, bool yes);
    [[nodiscard]] bool GameInputBlocked() const;

    GameType gameType = GameType::Marathon;
    Board board;
    BlockMover mover;
    Scoring scoring;
    BoardRules rules{board, mover, scoring, *this};
    GameClock clock;
    EndGameConfirmDialog dialog;
    PuzzleHint hint;
    std::optional<double> hintBlinkStart; // seconds; set while the mover blinks

    int timeLimit = 210;
    bool dropNow = false;
    bool paused = false;
    bool over = false;
    bool solved = false;
    bool failed = false;
    bool failPending = false;
    double failPendingSince = 0.0;
    bool fromEditor = false;
    bool puzzleLoaded = false;
    Board::Codes editorCodes{}; // an editor try-out's layout, for Restart
    int editorMoves = 0;
    std::string puzzlePath;
    std::string nextPuzzlePath;
    std::string puzzleSetText = "Puzzles:";
    std::string puzzleLevelText = "Level";
    double messageShown = 0.0;
    bool messageVisible = false;
    double multiplierShown = 0.0;
    std::optional<int> lastTimeSeconds; // s mod 60 of the last time text
    int queueTimerShown = -1;
    int width = 0;
    int height = 0;

    Sprite well;
    Sprite infoPanel;
    Sprite queueBar;
    Sprite queueTimer;
    Sprite mascot;
    Sprite speechBubble;
    TextLabel messageText;
    TextLabel hud[3];
    TextLabel multiplierText;
    Sprite dim;
    Sprite pausedPicture;
    Sprite gameOverPicture;
    Sprite successPicture;
    Sprite failedPicture;
    Button firstButton;
    Button secondButton;
    Button thirdButton;

    std::map<std::string, Sound*> effects; // one reference each, kept for the run
    Sound* music = nullptr;
};
