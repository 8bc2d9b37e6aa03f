#include "screens/PuzzleLevelSelectScreen.h"

#include <algorithm>

#include "app/Application.h"
#include "data/ProfileStore.h"
#include "data/PuzzleLevel.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "game/GameModes.h"
#include "game/PlayScreen.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/LevelEditorScreen.h"
#include "screens/MenuRecipes.h"

namespace
{

PuzzleLevelSelectScreen* instance = nullptr;

constexpr const char* NoSetText = "****";

void SetUpArrow(Button& arrow, const std::string& movie, int key)
{
    arrow.SetNormalMovie(movie + ".swf");
    arrow.SetMouseOverMovie(movie + "MouseOver.swf");
    arrow.SetMouseDownMovie(movie + "MouseDown.swf");
    arrow.SetHighlightSound("Data/Sounds/ButtonHighlight");
    arrow.SetPressSound("Data/Sounds/ButtonPress");
    arrow.SetHotkey(key, false);
}

// A set is shown by its name from the first letter on: "01 Beginner" is
// "Beginner"; a name without letters shows nothing.
std::string DisplayName(const std::string& set)
{
    const auto letter =
        std::find_if(set.begin(), set.end(), [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
    return TextLabel::ValidUtf8(std::string(letter, set.end()));
}

void CentreOver(TextLabel& label, const Control& over, int y)
{
    label.SetPosition(over.GetX() + over.GetWidth() / 2 - label.GetWidth() / 2, y);
}

} // namespace

PuzzleLevelSelectScreen& PuzzleLevelSelectScreen::Get()
{
    if (!instance)
        instance = new PuzzleLevelSelectScreen();
    return *instance;
}

void PuzzleLevelSelectScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

PuzzleLevelSelectScreen::PuzzleLevelSelectScreen()
{
    heading.SetText("Choose A Puzzle Set:");
    setName.SetText(NoSetText);
    editorHint.SetText("E or pad Y: level editor");
    editorHint.SetColour(Colour(0xF4, 0xE6, 0xFB, 255));
    for (Button* button : {&rightSetArrow, &leftSetArrow, &nextPageArrow, &previousPageArrow, &returnButton})
        button->SetListener(this);
    for (int k = 0; k < PreviewCount; ++k)
        previews[k].SetOnPress([this, k](PuzzlePreview&) { (void)StartPreview(k); });
}

void PuzzleLevelSelectScreen::Layout(int w, int h)
{
    panel.SetMovie("Data/Graphics/Background.swf");
    panel.SetSize(w, FractionOf(h, 0.75f));
    panel.SetPosition(0, FractionOf(h, 0.195f));

    heading.SetFont(GameFont, FractionOf(w, 0.06f));
    heading.SetPosition(w / 2 - heading.GetWidth() / 2, FractionOf(h, 0.01f));
    setName.SetFont(GameFont, FractionOf(w, 0.05f));
    setName.SetPosition(w / 2 - setName.GetWidth() / 2, FractionOf(h, 0.095f));

    SetUpArrow(rightSetArrow, "Data/Graphics/RightArrow", KeyCode::Right);
    SetUpArrow(leftSetArrow, "Data/Graphics/LeftArrow", KeyCode::Left);
    for (Button* arrow : {&rightSetArrow, &leftSetArrow})
        arrow->SetSize(FractionOf(w, 0.1f), FractionOf(h, 0.09f));
    rightSetArrow.SetPosition(FractionOf(w, 0.7925f), FractionOf(h, 0.1f));
    leftSetArrow.SetPosition(w - FractionOf(w, 0.7925f) - leftSetArrow.GetWidth(), FractionOf(h, 0.1f));

    const int centres[PreviewCount] = {w / 4, w / 2, 3 * w / 4};
    for (int k = 0; k < PreviewCount; ++k)
    {
        PuzzlePreview& preview = previews[k];
        preview.LoadSounds();
        preview.SetSize(FractionOf(w, 0.1875f), FractionOf(h, 0.4167f));
        preview.SetPosition(centres[k] - preview.GetWidth() / 2, h / 2 - preview.GetHeight() / 2);
        Sprite& mark = completedMarks[k];
        mark.SetMovie("Data/Graphics/PuzzleLevelSelect/Completed.swf");
        mark.SetSize(FractionOf(preview.GetWidth(), 0.96f), FractionOf(preview.GetHeight(), 0.92f));
        mark.SetPosition(preview.GetX() + (preview.GetWidth() - mark.GetWidth()) / 2,
                         preview.GetY() + (preview.GetHeight() - mark.GetHeight()) / 2);
        movesLabels[k].SetFont(GameFont, FractionOf(w, 0.03f));
        levelLabels[k].SetFont(GameFont, FractionOf(w, 0.04f));
    }

    // The page arrows stand in the margins beside the outer previews.
    SetUpArrow(nextPageArrow, "Data/Graphics/PuzzleLevelSelect/BigRightArrow", KeyCode::Up);
    SetUpArrow(previousPageArrow, "Data/Graphics/PuzzleLevelSelect/BigLeftArrow", KeyCode::Down);
    for (Button* arrow : {&nextPageArrow, &previousPageArrow})
        arrow->SetSize(FractionOf(w, 0.1f), FractionOf(h, 0.4f));
    nextPageArrow.SetPosition(FractionOf(w, 0.87f), FractionOf(h, 0.31f));
    previousPageArrow.SetPosition(w - FractionOf(w, 0.87f) - previousPageArrow.GetWidth(), FractionOf(h, 0.31f));

    SetUpMenuButton(returnButton, w, h, "Data/Graphics/PuzzleLevelSelect/ReturnGame.swf");
    returnButton.SetHotkey('r', false);
    returnButton.SetPosition(w / 2 - returnButton.GetWidth() / 2, FractionOf(h, 0.83f));

    editorHint.SetFont(GameFont, FractionOf(w, 0.025f));
    editorHint.SetPosition(w / 2 - editorHint.GetWidth() / 2, FractionOf(h, 0.953f));
}

// Drawing order: the panel, the texts and set arrows, the previews with
// their marks and labels, the page arrows and Return.
void PuzzleLevelSelectScreen::RegisterControls()
{
    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&panel);
    screens.AddControl(&heading);
    screens.AddControl(&setName);
    screens.AddControl(&rightSetArrow);
    screens.AddControl(&leftSetArrow);
    for (int k = 0; k < PreviewCount; ++k)
    {
        screens.AddControl(&previews[k]);
        screens.AddControl(&completedMarks[k]);
        screens.AddControl(&movesLabels[k]);
        screens.AddControl(&levelLabels[k]);
    }
    screens.AddControl(&nextPageArrow);
    screens.AddControl(&previousPageArrow);
    screens.AddControl(&returnButton);
    screens.AddControl(&editorHint);
}

void PuzzleLevelSelectScreen::OnEnter()
{
    Application& app = Application::Get();
    app.SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    app.GetSize(width, height);
    Layout(width, height);
    RegisterControls();
    // The puzzle starts from here: its pictures are rendered while the player chooses.
    PlayScreen::Get().RenderAhead(GameType::PuzzleChallenge);

    warned.clear();
    ReadSets();
    if (currentSet < static_cast<int>(sets.size()))
    {
        ShowSet();
    }
    else
    {
        setName.SetText(NoSetText);
        setName.SetPosition(width / 2 - setName.GetWidth() / 2, setName.GetY());
        for (int k = 0; k < PreviewCount; ++k)
            HidePreview(k);
    }
}

void PuzzleLevelSelectScreen::OnExit() {}

// A set that went away since the last visit leaves no index behind.
void PuzzleLevelSelectScreen::ReadSets()
{
    sets = ListPuzzleSets();
    if (currentSet >= static_cast<int>(sets.size()))
        currentSet = 0;
}

std::string PuzzleLevelSelectScreen::ShownSetName() const
{
    return currentSet < static_cast<int>(sets.size()) ? sets[static_cast<size_t>(currentSet)] : std::string();
}

void PuzzleLevelSelectScreen::ShowSet()
{
    files = ListPuzzleFiles(ShownSetName());
    // A set that lost files since the last visit still shows its last one.
    firstShown = std::clamp(firstShown, 0, std::max(0, static_cast<int>(files.size()) - 1));
    BuildPreviews(true);
    setName.SetText(DisplayName(ShownSetName()));
    setName.SetPosition(width / 2 - setName.GetWidth() / 2, FractionOf(height, 0.095f));
}

void PuzzleLevelSelectScreen::HidePreview(int k)
{
    previews[k].Hide();
    completedMarks[k].Hide();
    movesLabels[k].Hide();
    levelLabels[k].Hide();
    broken[k] = false;
}

// Each shown level is read once. A level that fails to load still shows
// what it gave; its warning is shown once a visit, never for a page step.
void PuzzleLevelSelectScreen::BuildPreviews(bool warn)
{
    const std::string set = ShownSetName();
    for (int k = 0; k < PreviewCount; ++k)
    {
        const size_t i = static_cast<size_t>(firstShown + k);
        if (i >= files.size())
        {
            HidePreview(k);
            continue;
        }
        const std::string path = PuzzlePath(set, files[i]);
        PuzzleCells cells;
        cells.fill(BlockType::Empty);
        int moves = 0;
        brokenWarning[k].clear();
        broken[k] = !LoadPuzzleLevel(path, cells, moves, &brokenWarning[k]);
        if (broken[k] && warn)
            WarnOnce(path, brokenWarning[k]);

        PuzzlePreview& preview = previews[k];
        preview.SetPuzzle(path, cells);
        levelLabels[k].SetText(PuzzleTextsOf(path).levelText);
        movesLabels[k].SetText(moves == 1 ? std::string("1 Move") : std::to_string(moves) + " Moves");
        CentreOver(movesLabels[k], preview, FractionOf(height, 0.25f));
        CentreOver(levelLabels[k], preview, FractionOf(height, 0.7125f));
        if (ProfileStore::Get().IsPuzzleCompleted(set + "/" + files[i]))
            completedMarks[k].Show();
        else
            completedMarks[k].Hide();
        preview.Show();
        movesLabels[k].Show();
        levelLabels[k].Show();
    }
}

void PuzzleLevelSelectScreen::WarnOnce(const std::string& path, const std::string& warning)
{
    if (!warning.empty() && warned.insert(path).second)
        Application::Get().ShowMessage(warning);
}

void PuzzleLevelSelectScreen::NextSet()
{
    if (sets.empty())
        return;
    currentSet = (currentSet + 1) % static_cast<int>(sets.size());
    firstShown = 0;
    ShowSet();
}

void PuzzleLevelSelectScreen::PreviousSet()
{
    if (sets.empty())
        return;
    currentSet = (currentSet + static_cast<int>(sets.size()) - 1) % static_cast<int>(sets.size());
    firstShown = 0;
    ShowSet();
}

void PuzzleLevelSelectScreen::NextPage()
{
    if (firstShown + 1 < static_cast<int>(files.size()))
        ++firstShown;
    BuildPreviews(false);
}

void PuzzleLevelSelectScreen::PreviousPage()
{
    if (firstShown > 0)
        --firstShown;
    BuildPreviews(false);
}

// A level that could not be read stays on this screen: its warning (once a
// visit) says why. The play screen reads it again; should the file have
// changed meanwhile and fail now, the play screen warns and nothing starts.
bool PuzzleLevelSelectScreen::StartPreview(int k)
{
    if (k < 0 || k >= PreviewCount || previews[k].IsHidden())
        return false;
    const std::string& path = previews[k].GetPath();
    if (broken[k])
    {
        WarnOnce(path, brokenWarning[k]);
        return false;
    }
    PlayScreen& play = PlayScreen::Get();
    if (!play.LoadPuzzle(path))
        return false;
    play.SetGameType(GameType::PuzzleChallenge);
    ScreenManager::Get().SetScreen(&play, true);
    return true;
}

void PuzzleLevelSelectScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == 'e')
    {
        ScreenManager::Get().SetScreen(&LevelEditorScreen::Get(), true);
        return;
    }
    // 1, 2 and 3 do what a press on the first, second or third preview does.
    if (key >= '1' && key < '1' + PreviewCount && !previews[key - '1'].IsHidden())
        previews[key - '1'].Press();
}

bool PuzzleLevelSelectScreen::OnPadButton(PadButton button)
{
    if (button != PadButton::Y || ScreenManager::Get().IsModal())
        return false;
    OnKey('e', false);
    return true;
}

void PuzzleLevelSelectScreen::OnButtonClicked(Button* button)
{
    if (button == &rightSetArrow)
        NextSet();
    else if (button == &leftSetArrow)
        PreviousSet();
    else if (button == &nextPageArrow)
        NextPage();
    else if (button == &previousPageArrow)
        PreviousPage();
    else if (button == &returnButton)
        ScreenManager::Get().SetScreen(&GameTypeSelectScreen::Get(), true);
}
