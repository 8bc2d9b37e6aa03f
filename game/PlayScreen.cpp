#include "game/PlayScreen.h"

#include <algorithm>
#include <cstdio>

#include "app/Application.h"
#include "data/HighScoreTables.h"
#include "data/PuzzleLevel.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "engine/platform/Platform.h"
#include "game/PlayFurniture.h"
#include "media/Sound.h"
#include "media/SoundManager.h"
#include "screens/MainMenuScreen.h"
#include "screens/MenuRecipes.h"

namespace
{

PlayScreen* instance = nullptr;

constexpr const char* MusicName = "Data/Sounds/Siberia";
constexpr const char* EndSoundName = "Data/Sounds/TigerPiano";
// Effects loaded on the first entry and kept for the run.
constexpr const char* EffectNames[] = {"Data/Sounds/TigerStab", "Data/Sounds/Flip", "Data/Sounds/Swap", EndSoundName,
                                       "Data/Sounds/Bad"};

std::string Formatted(const char* format, int value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double Now()
{
    return Application::Get().time;
}

} // namespace

PlayScreen& PlayScreen::Get()
{
    if (!instance)
        instance = new PlayScreen();
    return *instance;
}

PlayScreen* PlayScreen::Existing()
{
    return instance;
}

void PlayScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

PlayScreen::PlayScreen()
{
    firstButton.SetListener(this);
    secondButton.SetListener(this);
    thirdButton.SetListener(this);
    const Colour hudColour(51, 51, 51, 255);
    for (TextLabel& line : hud)
        line.SetColour(hudColour);
    messageText.SetColour(Colour(0, 0, 0, 255));
    multiplierText.SetColour(Colour(21, 21, 21, 255));
    dialog.SetOnAnswer([this](EndGameConfirmDialog::Purpose purpose, bool yes) { OnDialogAnswer(purpose, yes); });
}

PlayScreen::~PlayScreen()
{
    if (SoundManager::Existing())
    {
        for (auto& entry : effects)
        {
            if (entry.second)
                entry.second->Release();
        }
        if (music)
            music->Release();
    }
    effects.clear();
    music = nullptr;
}

void PlayScreen::SetGameType(GameType type)
{
    gameType = type;
    // A game chosen from the menus is no editor try-out.
    if (type != GameType::PuzzleChallenge)
        fromEditor = false;
}

bool PlayScreen::LoadPuzzle(const std::string& path)
{
    PuzzleCells cells;
    cells.fill(BlockType::Empty);
    int moves = 0;
    // Read into a scratch layout first: a file that fails to load changes
    // nothing, so it can never be taken for an empty, solved board.
    if (!LoadPuzzleLevel(path, cells, moves))
        return false;

    puzzlePath = path;
    fromEditor = false;
    puzzleLoaded = true;
    const PuzzleTexts texts = PuzzleTextsOf(path);
    if (!texts.levelText.empty())
        puzzleLevelText = texts.levelText;
    if (!texts.setText.empty())
        puzzleSetText = TextLabel::ValidUtf8(texts.setText);
    StopMusic();
    board.ClearCells();
    board.SetCodes(cells);
    rules.SetMoves(moves);
    return true;
}

void PlayScreen::StartPuzzleFromEditor(const Board::Codes& codes, int moves, const std::string& levelPath)
{
    const PuzzleTexts texts = PuzzleTextsOf(levelPath);
    puzzleSetText = texts.setText.empty() ? "Puzzles: Level Editor" : TextLabel::ValidUtf8(texts.setText);
    puzzleLevelText = texts.levelText.empty() ? "Try-out" : texts.levelText;
    fromEditor = true;
    gameType = GameType::PuzzleChallenge;
    editorCodes = codes;
    editorMoves = moves;
    ApplyEditorLayout();
    ScreenManager::Get().SetScreen(this, false);
}

void PlayScreen::ApplyEditorLayout()
{
    puzzleLoaded = true;
    board.ClearCells();
    board.SetCodes(editorCodes);
    rules.SetMoves(editorMoves);
}

void PlayScreen::SetPuzzleMoves(int moves)
{
    rules.SetMoves(moves);
    MovesLeftChanged(rules.MovesLeft());
}

// --- building the screen ---------------------------------------------------

void PlayScreen::RenderAhead(GameType type)
{
    if (ScreenManager::Get().GetScreen() == this)
        return;
    // Laid out as a game chosen from the menus (no editor try-out); the
    // settings for the next entry are kept, and the entry lays out again.
    const GameType shownType = gameType;
    const bool shownFromEditor = fromEditor;
    gameType = type;
    fromEditor = false;
    Application& app = Application::Get();
    int w = 0;
    int h = 0;
    app.GetSize(w, h);
    app.HoldInvalidation(true);
    Layout(w, h);
    app.HoldInvalidation(false);
    gameType = shownType;
    fromEditor = shownFromEditor;

    for (const Sprite* sprite : {&well, &infoPanel, &mascot})
        sprite->RenderAhead();
    if (type == GameType::Marathon)
    {
        queueBar.RenderAhead();
        queueTimer.RenderAhead();
    }
    for (const Button* button : {&firstButton, &secondButton, &thirdButton})
        button->RenderAhead();
}

void PlayScreen::Layout(int w, int h)
{
    PlayFurniture{well, infoPanel, queueBar, queueTimer, mascot}.Layout(w, h);
    queueTimer.SetClipSize(-1, -1);
    queueTimerShown = -1;

    speechBubble.SetMovie("Data/Graphics/SpeechBubble.swf");
    speechBubble.SetSize(FractionOf(w, 0.168f), FractionOf(h, 0.10f));
    speechBubble.SetPosition(FractionOf(w, 0.79f), FractionOf(h, 0.30f));
    messageText.SetFont(GameFont, FractionOf(w, 0.024f));

    dim.SetMovie("Data/Graphics/Dim.swf");
    dim.SetSize(w, h);
    dim.SetPosition(0, 0);

    struct Overlay
    {
        Sprite* sprite;
        const char* movie;
        float width;
    };
    const Overlay overlays[] = {{&pausedPicture, "Data/Graphics/PlayGame/Paused.swf", 0.375f},
                                {&gameOverPicture, "Data/Graphics/PlayGame/GameOver.swf", 0.53125f},
                                {&successPicture, "Data/Graphics/PlayGame/Success.swf", 0.53125f},
                                {&failedPicture, "Data/Graphics/PlayGame/Failed.swf", 0.53125f}};
    for (const Overlay& overlay : overlays)
    {
        overlay.sprite->SetMovie(overlay.movie);
        overlay.sprite->SetSize(FractionOf(w, overlay.width), FractionOf(h, 0.166f));
        overlay.sprite->SetPosition(w / 2 - overlay.sprite->GetWidth() / 2, h / 2 - overlay.sprite->GetHeight() / 2);
    }

    const int hudSize = FractionOf(w, 0.035f);
    const float hudY[] = {0.055f, 0.115f, 0.175f};
    for (int i = 0; i < 3; ++i)
    {
        hud[i].SetFont(GameFont, hudSize);
        hud[i].SetPosition(FractionOf(w, 0.591f), FractionOf(h, hudY[i]));
    }
    const int multiplierSize = FractionOf(w, 0.05f);
    multiplierText.SetFont(GameFont, multiplierSize);
    // A cream halo a tenth of the size keeps the dark text readable over
    // the dimmed blocks it stands on, whatever their colour.
    multiplierText.SetHalo(Colour(255, 248, 226, 255), std::max(2, multiplierSize / 10));

    SetUpButtons(w, h);
}

void PlayScreen::SetUpButtons(int w, int h)
{
    const bool puzzle = gameType == GameType::PuzzleChallenge;
    SetUpSmallButton(firstButton, w, h,
                     puzzle ? "Data/Graphics/PlayGame/Undo.swf" : "Data/Graphics/PlayGame/PauseGame.swf");
    firstButton.SetHotkey(puzzle ? 'u' : 'p', false);
    SetUpSmallButton(secondButton, w, h,
                     puzzle ? "Data/Graphics/PlayGame/Restart.swf" : "Data/Graphics/PlayGame/NewGame.swf");
    secondButton.SetHotkey(puzzle ? 'r' : 'n', false);
    SetUpSmallButton(thirdButton, w, h,
                     puzzle && fromEditor ? "Data/Graphics/PlayGame/Editor.swf"
                                          : "Data/Graphics/PlayGame/GameMenu.swf");
    thirdButton.SetHotkey('g', false);

    const int x = FractionOf(w, 0.623f);
    firstButton.SetPosition(x, FractionOf(h, 0.698f));
    secondButton.SetPosition(x, FractionOf(h, 0.789f));
    thirdButton.SetPosition(x, FractionOf(h, 0.88f));
    if (puzzle)
        firstButton.Hide();
    else
        firstButton.Show();
    secondButton.Show();
    thirdButton.Show();
}

// Registration order is drawing order: the furniture, the board, the
// mover, then the layers that cover the board, and the buttons on top.
void PlayScreen::RegisterControls()
{
    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&well);
    screens.AddControl(&infoPanel);
    if (gameType == GameType::Marathon)
    {
        screens.AddControl(&queueBar);
        screens.AddControl(&queueTimer);
    }
    screens.AddControl(&mascot);
    screens.AddControl(&speechBubble);
    screens.AddControl(&messageText);
    for (TextLabel& line : hud)
        screens.AddControl(&line);

    board.SetUp(GetRulesKind(), width, height, screens);
    // Whatever the last game left (a warning blink, a fall, a clear) is gone.
    board.ResetCellStates();

    screens.AddControl(&mover);
    screens.AddControl(&multiplierText);
    screens.AddControl(&dim);
    screens.AddControl(&pausedPicture);
    screens.AddControl(&gameOverPicture);
    screens.AddControl(&successPicture);
    screens.AddControl(&failedPicture);
    screens.AddControl(&firstButton);
    screens.AddControl(&secondButton);
    screens.AddControl(&thirdButton);

    speechBubble.Hide();
    messageText.Hide();
    multiplierText.Hide();
    dim.Hide();
    pausedPicture.Hide();
    gameOverPicture.Hide();
    successPicture.Hide();
    failedPicture.Hide();
}

void PlayScreen::ShowHud()
{
    switch (gameType)
    {
    case GameType::Marathon:
        hud[0].SetText(Formatted("Score: %d", scoring.Score()));
        hud[1].SetText(Formatted("Level: %d", scoring.Level()));
        hud[2].SetText(Formatted("High Score: %d", scoring.BestMarathon()));
        break;
    case GameType::TimeAttack:
        hud[0].SetText(Formatted("Score: %d", scoring.Score()));
        hud[1].SetText("Time Left: 00:00");
        hud[2].SetText(Formatted("High Score: %d", scoring.BestTimeAttack()));
        break;
    case GameType::PuzzleChallenge:
        hud[0].SetText(puzzleSetText);
        hud[1].SetText(puzzleLevelText);
        hud[2].SetText(Formatted("Moves Left: %d", rules.MovesLeft()));
        break;
    }
}

void PlayScreen::OnEnter()
{
    Application& app = Application::Get();
    const double now = Now();
    // A dialog of the previous game is closed without its effects.
    dialog.Dismiss();

    board.Seed(static_cast<uint32_t>(Platform::Get().GetTicks()));
    HighScoreTables& tables = HighScoreTables::Get();
    const int bestMarathon = tables.GetEntry(HighScoreTableOf(GameType::Marathon, difficulty), 0).score;
    const int bestTimeAttack = tables.GetEntry(HighScoreTableOf(GameType::TimeAttack, difficulty), 0).score;
    over = false;
    dropNow = false;
    solved = false;
    failed = false;

    app.GetSize(width, height);
    app.SetBackgroundColour(153, 85, 170);
    Layout(width, height);
    RegisterControls();

    scoring.StartGame(difficulty, bestMarathon, bestTimeAttack);
    timeLimit = TimeLimitOf(difficulty);
    paused = false;
    failPending = false;
    failPendingSince = now;
    lastTimeSeconds.reset();
    ShowHud();
    StopMenuMusic();
    for (const char* name : EffectNames)
        (void)Effect(name);
    if (!music)
        music = SoundManager::Get().LoadMusic(MusicName);

    rules.Reset();
    rules.PlaceMover(0, 0);
    mover.Show();
    hint.Cancel();
    hintBlinkStart.reset();
    // The queue counts from now, so nothing drops before the clock starts.
    clock.Reset(now);
    messageVisible = false;
    messageShown = 0.0;
    multiplierShown = 0.0;
}

void PlayScreen::OnExit()
{
    StopMusic();
}

// --- sounds ------------------------------------------------------------------

Sound* PlayScreen::Effect(const std::string& name)
{
    auto found = effects.find(name);
    if (found != effects.end())
        return found->second;
    Sound* sound = SoundManager::Get().LoadEffect(name);
    effects[name] = sound;
    return sound;
}

void PlayScreen::PlaySound(const std::string& name)
{
    if (Sound* sound = Effect(name))
        (void)sound->Play(false);
}

void PlayScreen::StartMusic()
{
    if (!music)
        music = SoundManager::Get().LoadMusic(MusicName);
    if (!music)
        return;
    music->Stop();
    (void)music->Play(true);
}

void PlayScreen::StopMusic()
{
    if (music)
        music->Stop();
}

void PlayScreen::StopMenuMusic()
{
    Sound* menuMusic = MainMenuScreen::Get().Music();
    if (menuMusic && menuMusic->IsPlaying())
        menuMusic->Stop();
}

// --- what the rules report -----------------------------------------------------

void PlayScreen::ShowBubbleText(const std::string& text)
{
    messageText.SetText(text);
    const int bx = speechBubble.GetX();
    const int by = speechBubble.GetY();
    messageText.SetPosition(bx + speechBubble.GetWidth() / 2 - messageText.GetWidth() / 3,
                            by + speechBubble.GetHeight() / 2 - messageText.GetHeight() / 2);
    speechBubble.Show();
    messageText.Show();
    messageVisible = true;
    messageShown = Now();
}

std::string PlayScreen::BubbleText() const
{
    return messageVisible ? messageText.GetText() : std::string();
}

void PlayScreen::ShowMultiplier(int multiplier, const SetArea& area)
{
    multiplierText.SetText(Formatted("x%d", multiplier));
    // The halo widens the label evenly, so the glyphs keep their place.
    const int halo = multiplierText.GetHalo();
    if (area.isRow)
        multiplierText.SetPosition(area.x + area.width / 2 - multiplierText.GetWidth() / 2, area.y - halo);
    else
        multiplierText.SetPosition(area.x - halo, area.y + area.height / 2 - multiplierText.GetHeight() / 2);
    multiplierText.Show();
    multiplierShown = Now();
}

void PlayScreen::MovesLeftChanged(int movesLeft)
{
    if (gameType == GameType::PuzzleChallenge)
        hud[2].SetText(Formatted("Moves Left: %d", movesLeft));
}

void PlayScreen::ScoreChanged(int score)
{
    if (gameType != GameType::PuzzleChallenge)
        hud[0].SetText(Formatted("Score: %d", score));
}

void PlayScreen::HighScoreChanged(int best)
{
    if (gameType != GameType::PuzzleChallenge)
        hud[2].SetText(Formatted("High Score: %d", best));
}

void PlayScreen::LevelChanged(int level)
{
    if (gameType == GameType::Marathon)
        hud[1].SetText(Formatted("Level: %d", level));
}

void PlayScreen::UndoApplied(int movesLeft, int movesTotal)
{
    // Any pending failure is forgotten: the next rest out of moves waits its
    // full second again.
    failPending = false;
    if (failed)
    {
        over = false;
        failed = false;
        failPendingSince = Now() + 99999.0;
        failedPicture.Hide();
        mover.Show();
        StartMusic();
    }
    if (movesLeft == movesTotal)
        firstButton.Hide();
}
