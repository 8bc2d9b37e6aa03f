#include "game/TutorialScreen.h"

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "engine/platform/Platform.h"
#include "game/MoverKeys.h"
#include "game/PlayFurniture.h"
#include "media/Sound.h"
#include "media/SoundManager.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/MenuRecipes.h"

namespace
{

TutorialScreen* instance = nullptr;

constexpr const char* EffectNames[] = {"Data/Sounds/TigerStab", "Data/Sounds/Flip", "Data/Sounds/Swap",
                                       "Data/Sounds/Bad"};

// The lines stand between these fractions of the bubble's height, clear of
// its outline and of the tail under it, from this inset on the left.
constexpr double TextTop = 0.05;
constexpr double TextBottom = 0.90;
constexpr float TextInset = 0.045f;

// Several lines keep two spaces after a full stop.
const char* const Lines[TutorialScreen::LastStep][TutorialScreen::LineCount] = {
    {"I'm Mr Jollyboots! I love to dance!", "I'm going to lead you through the", "basic gameplay of Quorvo.",
     "Press the NEXT button to continue", "forward in the tutorial and the", "PREVIOUS button (when available) to",
     "go back to an earlier step.", ""},
    {"See that thing highlighted in red?", "That's your block mover.  You can", "move it around the playing field",
     "using the mouse or via keyboard,", "by pressing the UP, DOWN, LEFT", "and RIGHT arrow buttons! Try", "moving it!",
     ""},
    {"", "The block mover is flippable!", "It can be used in either up/down", "or across modes.  Press the right",
     "mouse button or the TAB key on your", "keyboard to flip it around a few", "times!", ""},
    {"Use the block mover to swap", "blocks on the playing field.", "Position it over two blocks, and",
     "press the left mouse button or", "the SPACEBAR key. You can also", "swap a single block into an empty",
     "space. Try swapping both up/down", "and across!"},
    {"You want to swap blocks around to", "match three same-colored blocks", "in a row, either up/down or across.",
     "If you do this, the blocks will", "disappear!  With planning, you can", "match more than three at a time for",
     "higher scores. Try matching some", "blocks to clear them!"},
    {"See that block with the handsome", "face? That is a WILD block. It", "can take the place of any other",
     "colored block.  Also, when you", "clear a set using a wild block,", "all blocks of that color will",
     "clear anywhere on the playing", "field!  Try using it!"},
    {"There are three game types.  In", "Marathon mode colored blocks will", "keep falling from the top and",
     "you'll need to clear them before", "the game area gets filled.  If", "the blocks reach the top of any",
     "column, the game is over!", ""},
    {"See those blocks at the top?", "Those show up in Marathon mode to", "let you know which blocks to",
     "expect to fall into the playing", "area the next time blocks drop", "in. When you are an advanced",
     "player, you can use this", "information in your planning!"},
    {"That purple bar is the Marathon", "timer. When the purple reaches", "the top, the blocks up top will",
     "fall into the playing field!", "You can also drop them instantly", "by pressing middle mouse or the",
     "ENTER key. The longer you play", "the faster the timer gets."},
    {"In addition to Marathon mode,", "there is also Puzzle Challenge", "mode.  In this mode you start with",
     "a specific set of blocks and must", "clear them all within a certain", "number of moves! No new blocks",
     "will fall down in this mode.", "Can you solve them all?"},
    {"The final game mode is Time", "Attack. Time Attack is similar", "to Marathon, except the playing",
     "field is always full and your", "goal is to simply score as many", "points as you can within a set",
     "time limit. Can you get the high", "score?"},
    {"After some practice, you'll find", "that you can make blocks clear", "in combos! When this happens,",
     "you will activate a bonus", "multiplier that gives you higher", "scores. Matching more than three",
     "of a color in a row will also", "activate this multiplier."},
    {"", "", "", "That's all I have to say for now!", "I hope you enjoy playing the game!", "", "", ""},
};

// Rows 7, 8 and 9 of the three layouts; '.' is an empty cell, R O B P G W
// the colours and Wild.
const char* const LayoutRows[TutorialScreen::LayoutCount][3] = {
    {"......", "OPG.R.", "RGBBOP"},
    {"BGBBO.", "OOGGBG", "BGBBOO"},
    {"OOBBOW", "OBBOBB", "BOOBOO"},
};

BlockType CodeOf(char letter)
{
    switch (letter)
    {
    case 'R':
        return BlockType::Red;
    case 'O':
        return BlockType::Orange;
    case 'B':
        return BlockType::Blue;
    case 'P':
        return BlockType::Purple;
    case 'G':
        return BlockType::Green;
    case 'W':
        return BlockType::Wild;
    default:
        return BlockType::Empty;
    }
}

} // namespace

TutorialScreen& TutorialScreen::Get()
{
    if (!instance)
        instance = new TutorialScreen();
    return *instance;
}

void TutorialScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

TutorialScreen::TutorialScreen()
{
    nextButton.SetListener(this);
    previousButton.SetListener(this);
    gameMenuButton.SetListener(this);
}

TutorialScreen::~TutorialScreen()
{
    if (SoundManager::Existing())
    {
        for (auto& entry : effects)
        {
            if (entry.second)
                entry.second->Release();
        }
    }
}

const char* const* TutorialScreen::StepLines(int value)
{
    if (value < FirstStep || value > LastStep)
        return nullptr;
    return Lines[value - FirstStep];
}

Board::Codes TutorialScreen::LayoutCodes(int layout)
{
    Board::Codes codes{};
    codes.fill(BlockType::Empty);
    if (layout < 1 || layout > LayoutCount)
        return codes;
    for (int r = 0; r < 3; ++r)
    {
        for (int c = 0; c < Board::Columns; ++c)
            codes[static_cast<size_t>((7 + r) * Board::Columns + c)] = CodeOf(LayoutRows[layout - 1][r][c]);
    }
    return codes;
}

void TutorialScreen::Layout(int w, int h)
{
    PlayFurniture{well, infoPanel, queueBar, queueTimer, mascot}.Layout(w, h);

    bubble.SetMovie("Data/Graphics/SpeechBubble2.swf");
    bubble.SetSize(FractionOf(w, 0.48f), FractionOf(h, 0.35f));
    bubble.SetPosition(FractionOf(w, 0.52f), FractionOf(h, 0.005f));

    // Eight lines spaced evenly from the top of the text area to its bottom.
    const int fontSize = FractionOf(w, 0.025f);
    for (TextLabel& line : lines)
        line.SetFont(GameFont, fontSize);
    TextLabel measure;
    measure.SetFont(GameFont, fontSize);
    measure.SetText("Ag");
    const int lineHeight = measure.GetHeight();
    const int top = bubble.GetY() + FractionOfDouble(bubble.GetHeight(), TextTop);
    const int bottom = bubble.GetY() + FractionOfDouble(bubble.GetHeight(), TextBottom);
    const int left = bubble.GetX() + FractionOf(bubble.GetWidth(), TextInset);
    for (int i = 0; i < LineCount; ++i)
        lines[i].SetPosition(left, top + (bottom - top - lineHeight) * i / (LineCount - 1));

    highlight.SetMovie("Data/Graphics/Tutorial/Highlight.swf");

    SetUpSmallButton(nextButton, w, h, "Data/Graphics/Tutorial/NextStep.swf");
    nextButton.SetHotkey('n', false);
    SetUpSmallButton(previousButton, w, h, "Data/Graphics/Tutorial/PreviousStep.swf");
    previousButton.SetHotkey('p', false);
    SetUpSmallButton(gameMenuButton, w, h, "Data/Graphics/PlayGame/GameMenu.swf");
    gameMenuButton.SetHotkey('g', false);
    const int x = FractionOf(w, 0.623f);
    nextButton.SetPosition(x, FractionOf(h, 0.698f));
    previousButton.SetPosition(x, FractionOf(h, 0.789f));
    gameMenuButton.SetPosition(x, FractionOf(h, 0.88f));
}

// Drawing order: the furniture, the board, the mover, the highlight over
// them, then the bubble with its lines (the frame around the queue bar runs
// under it) and the buttons.
void TutorialScreen::RegisterControls()
{
    ScreenManager& screens = ScreenManager::Get();
    for (Sprite* sprite : {&well, &infoPanel, &queueBar, &queueTimer, &mascot})
        screens.AddControl(sprite);
    // Cells keep their codes from the last visit; the queue draws new ones
    // and stays hidden until a step shows it.
    board.SetUp(RulesKind::Neutral, width, height, screens);
    screens.AddControl(&mover);
    screens.AddControl(&highlight);
    screens.AddControl(&bubble);
    for (TextLabel& line : lines)
        screens.AddControl(&line);
    screens.AddControl(&nextButton);
    screens.AddControl(&previousButton);
    screens.AddControl(&gameMenuButton);
}

void TutorialScreen::OnEnter()
{
    Application& app = Application::Get();
    board.Seed(static_cast<uint32_t>(Platform::Get().GetTicks()));
    app.SetBackgroundColour(153, 85, 170);
    app.GetSize(width, height);
    Layout(width, height);
    RegisterControls();
    for (const char* name : EffectNames)
    {
        if (effects.find(name) == effects.end())
            effects[name] = SoundManager::Get().LoadEffect(name);
    }

    highlight.Hide();
    rules.PlaceMover(0, 0);
    mover.Show();
    rules.Reset();
    step = FirstStep;
    nextButton.Show();
    previousButton.Hide();
    gameMenuButton.Show();
    SetUpStep();
}

void TutorialScreen::OnExit() {}

// The step's lines, then its board and highlight.
void TutorialScreen::SetUpStep()
{
    const char* const* text = StepLines(step);
    for (int i = 0; i < LineCount; ++i)
        lines[i].SetText(text[i]);

    switch (step)
    {
    case 1:
        highlight.Hide();
        break;
    case 2:
        FrameMover();
        break;
    case 3:
        FrameMover();
        EmptyBoard();
        break;
    case 4:
    case 5:
    case 6:
        if (step == 4)
            highlight.Hide();
        EmptyBoard();
        board.SetCodes(LayoutCodes(step - 3));
        break;
    case 7:
        ShowQueue(false);
        highlight.Hide();
        EmptyBoard();
        break;
    case 8:
        ShowQueue(true);
        FrameQueueRow();
        break;
    case 9:
        ShowQueue(true);
        FrameQueueBar();
        break;
    case 10:
        ShowQueue(false);
        highlight.Hide();
        break;
    default:
        break;
    }
}

// No swap left pending, every cell Empty and back on its place.
void TutorialScreen::EmptyBoard()
{
    rules.Reset();
    Board::Codes empty{};
    empty.fill(BlockType::Empty);
    board.SetCodes(empty);
}

void TutorialScreen::ShowQueue(bool show)
{
    for (int c = 0; c < Board::Columns; ++c)
    {
        if (show)
            board.Queue(c).Show();
        else
            board.Queue(c).Hide();
    }
}

// The two cells under the mover, 0.02 W and 0.02 H wider on each side.
void TutorialScreen::FrameMover()
{
    const BoardGeometry& g = board.Geometry();
    const int cellsWide = mover.IsHorizontal() ? 2 : 1;
    const int cellsHigh = mover.IsHorizontal() ? 1 : 2;
    highlight.SetPosition(mover.GetX() - FractionOf(width, 0.02f), mover.GetY() - FractionOf(height, 0.02f));
    highlight.SetSize(cellsWide * g.cellWidth + FractionOf(width, 0.04f),
                      cellsHigh * g.cellHeight + FractionOf(height, 0.04f));
    highlight.Show();
}

void TutorialScreen::FrameQueueRow()
{
    const Block& first = board.Queue(0);
    highlight.SetPosition(first.GetX() - FractionOf(width, 0.04f), first.GetY() - FractionOf(height, 0.02f));
    highlight.SetSize(Board::Columns * first.GetWidth() + FractionOf(width, 0.08f),
                      first.GetHeight() + FractionOf(height, 0.04f));
    highlight.Show();
}

// Taller than the screen: only the frame's sides show, along the bar.
void TutorialScreen::FrameQueueBar()
{
    highlight.SetPosition(queueBar.GetX() - FractionOf(width, 0.02f), -FractionOf(height, 0.2f));
    highlight.SetSize(queueBar.GetWidth() + FractionOf(width, 0.04f), FractionOf(height, 1.4f));
    highlight.Show();
}

void TutorialScreen::Update(int framesSinceSwitch)
{
    (void)framesSinceSwitch;
    if (step == 2 || step == 3)
        FrameMover();
    (void)rules.RulesStep();
}

void TutorialScreen::OnButtonClicked(Button* button)
{
    if (button == &nextButton)
    {
        step = std::min(step + 1, LastStep);
        if (step != FirstStep)
            previousButton.Show();
        if (step == LastStep)
            nextButton.Hide();
        SetUpStep();
    }
    else if (button == &previousButton)
    {
        step = std::max(step - 1, FirstStep);
        nextButton.Show();
        if (step == FirstStep)
            previousButton.Hide();
        SetUpStep();
    }
    else if (button == &gameMenuButton)
    {
        LeaveToMenu();
    }
}

void TutorialScreen::LeaveToMenu()
{
    ScreenManager::Get().SetScreen(&GameTypeSelectScreen::Get(), true);
}

void TutorialScreen::PlaySound(const std::string& name)
{
    auto found = effects.find(name);
    Sound* sound = found != effects.end() ? found->second : nullptr;
    if (sound)
        (void)sound->Play(false);
}

// Only the mover's keys act here: no pause, no drop.
void TutorialScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == KeyCode::Escape)
        LeaveToMenu();
    else
        (void)ApplyMoverKey(rules, key);
}

// Next page: X, the right shoulder or Start; previous: the left shoulder.
bool TutorialScreen::OnPadButton(PadButton button)
{
    int key = 0;
    if (button == PadButton::X || button == PadButton::RightShoulder || button == PadButton::Start)
        key = 'n';
    else if (button == PadButton::LeftShoulder)
        key = 'p';
    if (key == 0)
        return false;
    ScreenManager::Get().OnKeyDown(key, false);
    return true;
}

void TutorialScreen::OnLeftButtonDown(int x, int y)
{
    if (board.Geometry().InWell(x, y))
        (void)rules.TrySwap();
}

void TutorialScreen::OnRightButtonDown(int x, int y)
{
    (void)x;
    (void)y;
    rules.FlipMover();
}

void TutorialScreen::OnMouseMove(int x, int y)
{
    rules.FollowPointer(x, y);
}
