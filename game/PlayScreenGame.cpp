#include "game/PlayScreen.h"

#include <algorithm>

#include "app/Application.h"
#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "data/PuzzleLevel.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "game/MoverKeys.h"
#include "media/Sound.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/LevelEditorScreen.h"

namespace
{

double Now()
{
    return Application::Get().time;
}

} // namespace

// One update of the game, in a fixed order; see the class comment for the
// states. Returns early where a step ends the game.
void PlayScreen::Update(int framesSinceSwitch)
{
    const double now = Now();

    if (messageVisible && now - messageShown > MessageSeconds)
    {
        speechBubble.Hide();
        messageText.Hide();
        messageVisible = false;
    }

    // The game clock starts on the fourth update, once the screen is drawn;
    // it may start while the game is paused or the dialog is open.
    if (framesSinceSwitch > ClockStartFrame && !clock.IsStarted())
    {
        clock.Start(now);
        if (gameType == GameType::Marathon)
            scoring.SetQueuePeriod(Scoring::StartQueuePeriod(scoring.Level()));
        else if (gameType == GameType::TimeAttack)
            scoring.SetQueuePeriod(timeLimit);
        StartMusic();
    }

    if (gameType != GameType::PuzzleChallenge && !Application::Get().IsActive() && !paused)
        TogglePause();

    if (over || paused || ScreenManager::Get().IsModal())
        return;

    if (gameType == GameType::TimeAttack)
    {
        UpdateClockText(now);
        if (clock.IsStarted() && timeLimit - clock.Elapsed(now) <= 0.0)
        {
            GameOver();
            return;
        }
    }

    UpdateQueueTimer(now);

    const RulesStepResult step = rules.RulesStep();

    if (gameType == GameType::PuzzleChallenge)
    {
        if (PuzzleEndTests(step, now))
            return;
        UpdateHint(step, now);
    }
    else
    {
        failPending = false;
    }

    (void)scoring.Payout(GetRulesKind(), step.falling, step.clearing, *this);
    if (gameType == GameType::TimeAttack && !step.falling && !step.clearing)
        board.RefillEmptyCells();

    if (dropNow && gameType == GameType::Marathon && !DropQueue(now))
        return;

    if (!multiplierText.IsHidden() && now - multiplierShown > MultiplierSeconds)
        multiplierText.Hide();

    if (gameType == GameType::Marathon)
        (void)scoring.LevelUp(*this);

    if (gameType == GameType::PuzzleChallenge && rules.MovesLeft() != rules.MovesTotal() && rules.MovesLeft() > 0 &&
        firstButton.IsHidden())
        firstButton.Show();
}

void PlayScreen::UpdateClockText(double now)
{
    if (!clock.IsStarted())
    {
        // No countdown before the clock runs: the limit would show as if
        // the game had started when the window opened.
        lastTimeSeconds.reset();
        if (hud[1].GetText() != TimeLeftText(0))
            hud[1].SetText(TimeLeftText(0));
        return;
    }
    const double remaining = timeLimit - clock.Elapsed(now);
    const int seconds = static_cast<int>(std::max(remaining, -1.0));
    const int key = seconds % 60;
    if (lastTimeSeconds && *lastTimeSeconds == key)
        return;
    lastTimeSeconds = key;
    hud[1].SetText(TimeLeftText(seconds));
}

// The purple timer in the queue bar shrinks from 97 % of the bar's height to
// nothing over one queue period; when it is used up a drop is due. It runs
// only in a Marathon whose clock has started, with a period set.
void PlayScreen::UpdateQueueTimer(double now)
{
    const double period = scoring.QueuePeriod();
    if (gameType != GameType::Marathon || !clock.IsStarted() || !(period > 0.0))
        return;
    const int full = FractionOf(queueBar.GetHeight(), 0.97f);
    double fraction = (now - clock.QueueStart()) / period;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int remaining = full - static_cast<int>(fraction * full);
    if (remaining <= 0)
    {
        dropNow = true;
        return;
    }
    if (now - clock.QueueBarRefreshed() > QueueBarRefreshSeconds)
    {
        // Only the rows between the old and the new height change.
        if (queueTimerShown < 0)
            queueTimer.SetClipSize(FractionOf(queueBar.GetWidth(), 0.75f), remaining);
        else
            queueTimer.SetClipHeight(remaining);
        queueTimerShown = remaining;
        clock.SetQueueBarRefreshed(now);
    }
}

// The Marathon drop: each queue block falls into the top cell of its column,
// left to right; a column whose top cell is taken ends the game there.
// False when the game ended.
bool PlayScreen::DropQueue(double now)
{
    rules.FinishSwap();
    for (int c = 0; c < Board::Columns; ++c)
    {
        Block& top = board.Cell(c, 0);
        if (!top.IsEmpty())
        {
            GameOver();
            return false;
        }
        Block& next = board.Queue(c);
        if (next.GetType() == BlockType::Wild)
            ShowBubbleText("Get Wild!");
        top.SetType(next.GetType());
        board.RandomBlockType(next);
    }
    dropNow = false;
    clock.RestartQueue(now);
    return true;
}

// Solved when the board is empty; failed a second after the board comes to
// rest with no move left. True when the puzzle ended in this update.
bool PlayScreen::PuzzleEndTests(const RulesStepResult& step, double now)
{
    if (step.allEmpty && puzzleLoaded)
    {
        PuzzleSolved();
        return true;
    }
    // A move count read as zero or below allows no move, so it fails too.
    if (rules.MovesLeft() <= 0 && !step.falling && !step.clearing && !rules.IsSwapPending())
    {
        if (!failPending)
        {
            failPending = true;
            failPendingSince = now;
        }
        else if (now - failPendingSince > FailDelaySeconds)
        {
            PuzzleFailed();
            return true;
        }
    }
    return false;
}

void PlayScreen::RequestHint()
{
    if (gameType != GameType::PuzzleChallenge || !puzzleLoaded || over || paused || GameInputBlocked())
        return;
    hint.Request();
}

// The hint's search runs a slice per frame on the board at rest; its answer
// moves the mover onto the first swap and blinks it, or has the mascot say
// there is no way out. The moves left stay as they are.
void PlayScreen::UpdateHint(const RulesStepResult& step, double now)
{
    const bool atRest = !step.falling && !step.clearing && !rules.IsSwapPending();
    switch (hint.Update(board, rules.MovesLeft(), atRest))
    {
    case PuzzleHint::Outcome::Swap:
    {
        const ::Swap& swap = hint.FirstSwap();
        mover.SetOrientation(swap.vertical ? BlockMover::Vertical : BlockMover::Horizontal);
        rules.PlaceMover(swap.column, swap.row);
        hintBlinkStart = now;
        break;
    }
    case PuzzleHint::Outcome::NoWayOut:
        ShowBubbleText("No way out! Try Undo.");
        break;
    case PuzzleHint::Outcome::None:
        break;
    }
    if (!hintBlinkStart)
        return;
    const double shown = now - *hintBlinkStart;
    if (shown >= HintBlinkSeconds)
    {
        hintBlinkStart.reset();
        mover.Show();
        return;
    }
    if (static_cast<int>(shown / HintBlinkPeriod) % 2 == 1)
        mover.Hide();
    else
        mover.Show();
}

void PlayScreen::InsertHighScore()
{
    const int table = HighScoreTableOf(gameType, difficulty);
    if (table < 0)
        return;
    ProfileStore& profiles = ProfileStore::Get();
    HighScoreTables::Get().InsertHighScore(table, profiles.GetProfileName(profiles.GetCurrentProfile()),
                                           scoring.Score());
}

void PlayScreen::GameOver()
{
    board.ClearWarnings();
    for (int c = 0; c < Board::Columns; ++c)
        board.Queue(c).Hide();
    board.HideCells();
    mover.Hide();
    gameOverPicture.Show();
    dim.Show();
    firstButton.Hide();
    multiplierText.Hide();
    scoring.SetQueuePeriod(0.0);
    InsertHighScore();
    StopMusic();
    PlaySound("Data/Sounds/TigerPiano");
    over = true;
}

void PlayScreen::PuzzleSolved()
{
    ShowBubbleText("Rawk!");
    mover.Hide();
    successPicture.Show();
    solved = true;
    if (!fromEditor)
    {
        ProfileStore::Get().MarkPuzzleCompleted(puzzlePath);
        nextPuzzlePath = NextPuzzlePath(puzzlePath);
    }
    else
    {
        // A try-out has no place in the sets: it offers no next puzzle.
        nextPuzzlePath.clear();
    }
    if (!nextPuzzlePath.empty())
    {
        firstButton.SetCaptionMovie("Data/Graphics/PlayGame/NextPuzzle.swf");
        firstButton.SetHotkey('n', false);
        firstButton.Show();
    }
    else
    {
        firstButton.Hide();
    }
    multiplierText.Hide();
    scoring.SetQueuePeriod(0.0);
    StopMusic();
    PlaySound("Data/Sounds/TigerPiano");
    over = true;
}

void PlayScreen::PuzzleFailed()
{
    ShowBubbleText("Aww!");
    mover.Hide();
    failedPicture.Show();
    failed = true;
    firstButton.Show();
    multiplierText.Hide();
    scoring.SetQueuePeriod(0.0);
    StopMusic();
    PlaySound("Data/Sounds/TigerPiano");
    over = true;
}

void PlayScreen::TogglePause()
{
    if (over)
        return;
    paused = !paused;
    if (paused)
    {
        firstButton.SetCaptionMovie("Data/Graphics/PlayGame/UnpauseGame.swf");
        dim.Show();
        pausedPicture.Show();
        board.ClearWarnings();
        board.HideCells();
    }
    else
    {
        board.ShowCells();
        firstButton.SetCaptionMovie("Data/Graphics/PlayGame/PauseGame.swf");
        firstButton.SetHotkey('p', false);
        // The dialog keeps its own dim layer up.
        if (!dialog.IsOpen())
            dim.Hide();
        pausedPicture.Hide();
    }
    FreezeChanged();
}

void PlayScreen::FreezeChanged()
{
    clock.SetFrozen(paused || dialog.IsOpen(), Now());
}

// --- the end-of-game dialog ------------------------------------------------

void PlayScreen::OpenDialog(EndGameConfirmDialog::Purpose purpose)
{
    if (dialog.IsOpen())
        return;
    dialog.Open(purpose);
    if (!paused)
    {
        // Re-registered so that it covers the board and the buttons.
        ScreenManager& screens = ScreenManager::Get();
        screens.RemoveControl(&dim);
        screens.AddControl(&dim);
        dim.Show();
    }
    FreezeChanged();
}

void PlayScreen::DismissDialog()
{
    if (!dialog.IsOpen())
        return;
    dialog.Dismiss();
    if (!paused && !over)
        dim.Hide();
    RaiseAboveDim();
    FreezeChanged();
}

void PlayScreen::RaiseAboveDim()
{
    ScreenManager& screens = ScreenManager::Get();
    for (Control* control : {static_cast<Control*>(&firstButton), static_cast<Control*>(&secondButton),
                             static_cast<Control*>(&thirdButton), static_cast<Control*>(&pausedPicture)})
    {
        screens.RemoveControl(control);
        screens.AddControl(control);
    }
}

void PlayScreen::OnDialogAnswer(EndGameConfirmDialog::Purpose purpose, bool yes)
{
    // The dialog has already ended modal mode.
    if (!paused && !over)
        dim.Hide();
    RaiseAboveDim();
    FreezeChanged();
    if (!yes)
        return;

    if (purpose == EndGameConfirmDialog::Purpose::Restart)
    {
        if (gameType == GameType::PuzzleChallenge)
        {
            if (fromEditor)
                ApplyEditorLayout();
            else if (!LoadPuzzle(puzzlePath))
                return;
        }
        else
        {
            InsertHighScore();
        }
        RestartScreen();
    }
    else if (purpose == EndGameConfirmDialog::Purpose::Menu)
    {
        InsertHighScore();
        if (fromEditor)
            LeaveToEditor();
        else
            LeaveToMenu();
    }
}

void PlayScreen::RestartScreen()
{
    ScreenManager::Get().SetScreen(this, false);
}

void PlayScreen::LeaveToMenu()
{
    ScreenManager::Get().SetScreen(&GameTypeSelectScreen::Get(), true);
}

void PlayScreen::LeaveToEditor()
{
    fromEditor = false;
    ScreenManager::Get().SetScreen(&LevelEditorScreen::Get(), true);
}

// --- buttons -----------------------------------------------------------------

void PlayScreen::OnButtonClicked(Button* button)
{
    if (button == &firstButton)
    {
        if (gameType != GameType::PuzzleChallenge)
        {
            TogglePause();
        }
        else if (over && solved && !nextPuzzlePath.empty())
        {
            // A next puzzle that fails to load leaves the solved one showing.
            if (LoadPuzzle(nextPuzzlePath))
                RestartScreen();
        }
        else
        {
            (void)rules.Undo();
        }
    }
    else if (button == &secondButton)
    {
        if (!over)
        {
            OpenDialog(EndGameConfirmDialog::Purpose::Restart);
            return;
        }
        if (gameType == GameType::PuzzleChallenge)
        {
            if (fromEditor)
                ApplyEditorLayout();
            else if (!LoadPuzzle(puzzlePath))
                return;
        }
        RestartScreen();
    }
    else if (button == &thirdButton)
    {
        if (fromEditor)
            LeaveToEditor();
        else if (!over)
            OpenDialog(EndGameConfirmDialog::Purpose::Menu);
        else
            LeaveToMenu();
    }
}

// --- input -------------------------------------------------------------------

// While the end-of-game dialog is open the game takes no input at all: the
// board lies frozen (and partly hidden) under it.
bool PlayScreen::GameInputBlocked() const
{
    return ScreenManager::Get().IsModal() || dialog.IsOpen();
}

void PlayScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (GameInputBlocked())
        return;
    if (key == KeyCode::Escape)
    {
        if (fromEditor && over)
            LeaveToEditor();
        else if (!over)
            OpenDialog(EndGameConfirmDialog::Purpose::Menu);
        else
            LeaveToMenu();
        return;
    }
    if (paused || over)
        return;
    if (ApplyMoverKey(rules, key))
        return;
    if (key == 'h')
        RequestHint();
    if (key == KeyCode::Enter && gameType == GameType::Marathon)
        dropNow = true;
}

bool PlayScreen::KeepsKey(int key) const
{
    return (key == KeyCode::Tab || key == KeyCode::Enter) && !over && !GameInputBlocked();
}

// Puzzles drop nothing: there the drop buttons undo a move.
bool PlayScreen::OnPadButton(PadButton button)
{
    if (gameType != GameType::PuzzleChallenge || over || GameInputBlocked())
        return false;
    if (button != PadButton::X && button != PadButton::RightShoulder)
        return false;
    ScreenManager::Get().OnKeyDown('u', false);
    return true;
}

void PlayScreen::OnLeftButtonDown(int x, int y)
{
    if (GameInputBlocked() || paused || over)
        return;
    if (board.Geometry().InWell(x, y))
        (void)rules.TrySwap();
}

void PlayScreen::OnRightButtonDown(int x, int y)
{
    (void)x;
    (void)y;
    if (GameInputBlocked())
        return;
    rules.FlipMover();
}

void PlayScreen::OnMiddleButtonDown(int x, int y)
{
    (void)x;
    (void)y;
    if (GameInputBlocked() || over)
        return;
    if (gameType == GameType::Marathon)
        dropNow = true;
}

void PlayScreen::OnMouseMove(int x, int y)
{
    if (GameInputBlocked())
        return;
    rules.FollowPointer(x, y);
}
