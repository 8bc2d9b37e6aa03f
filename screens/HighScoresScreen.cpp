#include "screens/HighScoresScreen.h"

#include <initializer_list>
#include <string>

#include "app/Application.h"
#include "data/HighScoreTables.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "game/PlayScreen.h"
#include "screens/MainMenuScreen.h"
#include "screens/MenuRecipes.h"

namespace
{
HighScoresScreen* instance = nullptr;

const char* TableNameOf(GameType type, int difficulty)
{
    static const char* const names[] = {"Marathon (Easy)",    "Marathon (Medium)",    "Marathon (Hard)",
                                        "Time Attack (Easy)", "Time Attack (Medium)", "Time Attack (Hard)"};
    return names[HighScoreTableOf(type, difficulty)];
}

// The Difficulty value of a table column: 1, 3 or 6.
int DifficultyOfIndex(int index)
{
    static const int values[] = {Difficulty::Easy, Difficulty::Medium, Difficulty::Hard};
    return values[index];
}

const Colour RowColour(0x33, 0x33, 0x33, 0xFF);
const Colour Black(0, 0, 0, 0xFF);
} // namespace

HighScoresScreen& HighScoresScreen::Get()
{
    if (instance == nullptr)
    {
        instance = new HighScoresScreen();
    }
    return *instance;
}

void HighScoresScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

HighScoresScreen::HighScoresScreen() : shownType(GameType::Marathon)
{
    heading.SetText("High Scores - Game Mode:");
    heading.SetColour(Black);
    tableName.SetText("****");
    tableName.SetColour(Black);
    rightArrow.SetHotkey(KeyCode::Right, false);
    leftArrow.SetHotkey(KeyCode::Left, false);
    for (Button* button : {&rightArrow, &leftArrow, &returnButton})
    {
        button->SetListener(this);
    }
    for (int i = 0; i < Rows; ++i)
    {
        rows[i].rank.SetText((i + 1 < 10 ? "# " : "#") + std::to_string(i + 1));
        for (TextLabel* label : {&rows[i].rank, &rows[i].score, &rows[i].name})
        {
            label->SetColour(RowColour);
        }
    }
}

void HighScoresScreen::OnEnter()
{
    // The table of the last Marathon or Time Attack game; after a puzzle the
    // table of the previous visit stays (Marathon Easy before any).
    if (const PlayScreen* play = PlayScreen::Existing())
    {
        if (HighScoreTableOf(play->GetGameType(), play->difficulty) >= 0)
        {
            shownType = play->GetGameType();
            shownDifficulty = DifficultyOfIndex(DifficultyIndexOf(play->difficulty));
        }
    }
    Application::Get().SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    Layout();
    ScreenManager& screens = ScreenManager::Get();
    for (Control* control :
         std::initializer_list<Control*>{&panel, &heading, &tableName, &rightArrow, &leftArrow, &returnButton})
    {
        screens.AddControl(control);
    }
    for (Row& row : rows)
    {
        screens.AddControl(&row.rank);
        screens.AddControl(&row.score);
        screens.AddControl(&row.name);
    }
    ShowTable();
}

void HighScoresScreen::Layout()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);

    LayOutMenuPanel(panel, w, h);

    heading.SetFont(GameFont, FractionOf(w, 0.06f));
    heading.SetPosition(w / 2 - heading.GetWidth() / 2, FractionOf(h, 0.01f));
    tableName.SetFont(GameFont, FractionOf(w, 0.06f));

    rightArrow.SetNormalMovie("Data/Graphics/RightArrow.swf");
    rightArrow.SetMouseOverMovie("Data/Graphics/RightArrowMouseOver.swf");
    rightArrow.SetMouseDownMovie("Data/Graphics/RightArrowMouseDown.swf");
    rightArrow.SetSize(FractionOf(w, 0.1f), FractionOf(h, 0.09f));
    rightArrow.SetPosition(FractionOf(w, 0.7925f), FractionOf(h, 0.1f));
    leftArrow.SetNormalMovie("Data/Graphics/LeftArrow.swf");
    leftArrow.SetMouseOverMovie("Data/Graphics/LeftArrowMouseOver.swf");
    leftArrow.SetMouseDownMovie("Data/Graphics/LeftArrowMouseDown.swf");
    leftArrow.SetSize(FractionOf(w, 0.1f), FractionOf(h, 0.09f));
    leftArrow.SetPosition(w - FractionOf(w, 0.7925f) - leftArrow.GetWidth(), FractionOf(h, 0.1f));

    SetUpCentredMenuButton(returnButton, w, h, "Data/Graphics/ReturnMain.swf", 0.83f, 'r');

    const int font = FractionOf(w, 0.0375f);
    const double top = static_cast<double>(h) * static_cast<double>(0.225f);
    const double pitch = static_cast<double>(h) * static_cast<double>(0.055f);
    for (int i = 0; i < Rows; ++i)
    {
        const int y = static_cast<int>(top + i * pitch);
        rows[i].rank.SetFont(GameFont, font);
        rows[i].rank.SetPosition(FractionOf(w, 0.12f), y);
        rows[i].score.SetFont(GameFont, font);
        rows[i].score.SetPosition(FractionOf(w, 0.275f), y);
        rows[i].name.SetFont(GameFont, font);
        rows[i].name.SetPosition(FractionOf(w, 0.62f), y);
    }
}

void HighScoresScreen::StepTable()
{
    if (shownDifficulty == Difficulty::Easy)
    {
        shownDifficulty = Difficulty::Medium;
    }
    else if (shownDifficulty == Difficulty::Medium)
    {
        shownDifficulty = Difficulty::Hard;
    }
    else
    {
        shownDifficulty = Difficulty::Easy;
        shownType = shownType == GameType::Marathon ? GameType::TimeAttack : GameType::Marathon;
    }
    ShowTable();
}

void HighScoresScreen::ShowTable()
{
    const int w = Application::Get().Width();
    tableName.SetText(TableNameOf(shownType, shownDifficulty));
    tableName.SetPosition(w / 2 - tableName.GetWidth() / 2, FractionOf(Application::Get().Height(), 0.095f));

    const int table = HighScoreTableOf(shownType, shownDifficulty);
    for (int i = 0; i < Rows; ++i)
    {
        const HighScoreEntry& entry = HighScoreTables::Get().GetEntry(table, i);
        Row& row = rows[i];
        if (entry.name.empty())
        {
            row.score.Hide();
            row.name.Hide();
            continue;
        }
        row.score.SetText(std::to_string(entry.score));
        row.name.SetText(entry.name);
        row.score.Show();
        row.name.Show();
    }
}

void HighScoresScreen::OnExit() {}

void HighScoresScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == KeyCode::Escape)
    {
        ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    }
}

void HighScoresScreen::OnButtonClicked(Button* button)
{
    if (button == &rightArrow || button == &leftArrow)
    {
        StepTable();
    }
    else if (button == &returnButton)
    {
        ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    }
}
