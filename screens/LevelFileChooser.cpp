#include "screens/LevelFileChooser.h"

#include <algorithm>

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

namespace
{

constexpr float RowHeight = 0.05f;   // of H
constexpr float LoadListTop = 0.15f; // of H
constexpr float SaveListTop = 0.37f;

const Colour TextColour(0x33, 0x33, 0x33, 255);
const Colour HeadingColour(0x6E, 0x2F, 0x86, 255);
const Colour PickedColour(0xFF, 0xFF, 0xFF, 255);
const Colour ProblemColour(0xA0, 0x10, 0x30, 255);

// "Puzzle 3" for "003.qvl"; a file named otherwise by its name.
std::string PuzzleCaption(const std::string& file)
{
    std::string set;
    int number = 0;
    if (SplitLevelPath(PuzzlePath("x", file), set, number))
        return "Puzzle " + std::to_string(number);
    return TextLabel::ValidUtf8(file);
}

} // namespace

LevelFileChooser::LevelFileChooser()
{
    for (int i = 0; i < RowCount; ++i)
        rowRects[i].SetOnClick([this, i] { ClickRow(i); });
    for (Button* button : {&scrollUp, &scrollDown, &action, &cancel})
        button->SetListener(this);
    title.SetColour(TextColour);
    setLine.SetColour(TextColour);
    numberLine.SetColour(TextColour);
    listTitle.SetColour(HeadingColour);
}

void LevelFileChooser::OpenLoad(LoadHandler handler)
{
    onLoad = std::move(handler);
    onSave = nullptr;
    Open(Mode::Load);
}

void LevelFileChooser::OpenSave(const std::string& name, int puzzleNumber, SaveHandler handler)
{
    onSave = std::move(handler);
    onLoad = nullptr;
    setName = name;
    number = std::clamp(puzzleNumber, 1, MaxLevelNumber);
    numberText = std::to_string(number);
    numberFocus = false;
    Open(Mode::Save);
}

void LevelFileChooser::Open(Mode newMode)
{
    mode = newMode;
    FillItems();
    picked = -1;
    firstVisible = 0;
    ShowHint();
    Layout();
    Register();
    Refresh();
    if (mode == Mode::Load)
    {
        // The first puzzle is picked, so Enter alone loads something.
        Step(1);
        return;
    }
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (items[i].setName == setName)
            Pick(static_cast<int>(i));
    }
}

void LevelFileChooser::Close()
{
    if (mode == Mode::Closed)
        return;
    mode = Mode::Closed;
    onLoad = nullptr;
    onSave = nullptr;
    ScreenManager::Get().EndModal();
}

void LevelFileChooser::FillItems()
{
    items.clear();
    for (const LevelSetFiles& set : ListLevelLibrary())
    {
        const std::string shown = TextLabel::ValidUtf8(set.name);
        if (mode == Mode::Save)
        {
            items.push_back({false, set.name, std::string(), shown});
            continue;
        }
        items.push_back({true, set.name, std::string(), shown});
        for (const std::string& file : set.files)
            items.push_back({false, set.name, PuzzlePath(set.name, file), PuzzleCaption(file)});
    }
}

int LevelFileChooser::VisibleRows() const
{
    return mode == Mode::Load ? RowCount : SaveRowCount;
}

int LevelFileChooser::ListTop() const
{
    return FractionOf(height, mode == Mode::Load ? LoadListTop : SaveListTop);
}

void LevelFileChooser::Layout()
{
    Application::Get().GetSize(width, height);
    const int w = width;
    const int h = height;

    dim.SetMovie("Data/Graphics/Dim.swf");
    dim.SetSize(w, h);
    dim.SetPosition(0, 0);
    panel.SetMovie("Data/Graphics/DialogBackground.swf");
    panel.SetSize(FractionOf(w, 0.9f), FractionOf(h, 0.96f));
    panel.SetPosition(w / 2 - panel.GetWidth() / 2, FractionOf(h, 0.02f));

    const bool load = mode == Mode::Load;
    const int left = FractionOf(w, 0.1f);
    title.SetFont(GameFont, FractionOf(w, 0.045f));
    title.SetText(load ? "Load Level" : "Save Level");
    title.SetPosition(w / 2 - title.GetWidth() / 2, FractionOf(h, 0.06f));
    const int lineSize = FractionOf(w, 0.035f);
    setLine.SetFont(GameFont, lineSize);
    setLine.SetPosition(left, FractionOf(h, 0.15f));
    numberLine.SetFont(GameFont, lineSize);
    numberLine.SetPosition(left, FractionOf(h, 0.22f));
    listTitle.SetFont(GameFont, FractionOf(w, 0.028f));
    listTitle.SetText(items.empty() ? "No sets yet: type a name." : "Sets (click to choose):");
    listTitle.SetPosition(left, FractionOf(h, 0.31f));

    const int rowHeight = FractionOf(h, RowHeight);
    const int rowSize = FractionOf(w, 0.03f);
    for (int i = 0; i < RowCount; ++i)
    {
        rowRects[i].SetSize(FractionOf(w, 0.7f), rowHeight - 1);
        rowRects[i].SetPosition(left, ListTop() + i * rowHeight);
        rowLabels[i].SetFont(GameFont, rowSize);
    }

    const int arrowX = FractionOf(w, 0.82f);
    for (Button* arrow : {&scrollUp, &scrollDown})
    {
        const char* movie =
            arrow == &scrollUp ? "Data/Graphics/Editor/UpArrow.swf" : "Data/Graphics/Editor/DownArrow.swf";
        arrow->SetNormalMovie(movie);
        arrow->SetMouseOverMovie(movie);
        arrow->SetMouseDownMovie(movie);
        arrow->SetSize(FractionOf(w, 0.05f), FractionOf(h, 0.05f));
    }
    scrollUp.SetPosition(arrowX, ListTop());
    scrollDown.SetPosition(arrowX, ListTop() + (VisibleRows() - 1) * rowHeight);

    message.SetFont(GameFont, FractionOf(w, 0.028f));
    message.SetPosition(left, FractionOf(h, 0.77f));
    SetUpSmallButton(action, w, h, load ? "Data/Graphics/Editor/LoadLevel.swf" : "Data/Graphics/Editor/SaveLevel.swf");
    action.SetPosition(FractionOf(w, 0.205f), FractionOf(h, 0.84f));
    SetUpSmallButton(cancel, w, h, "Data/Graphics/Editor/Cancel.swf");
    cancel.SetPosition(FractionOf(w, 0.505f), FractionOf(h, 0.84f));
}

void LevelFileChooser::Register()
{
    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    for (Control* control : {static_cast<Control*>(&dim), static_cast<Control*>(&panel), static_cast<Control*>(&title)})
        screens.AddModalControl(control);
    if (mode == Mode::Save)
    {
        screens.AddModalControl(&setLine);
        screens.AddModalControl(&numberLine);
        screens.AddModalControl(&listTitle);
    }
    for (int i = 0; i < VisibleRows(); ++i)
    {
        screens.AddModalControl(&rowRects[i]);
        screens.AddModalControl(&rowLabels[i]);
    }
    for (Control* control :
         {static_cast<Control*>(&scrollUp), static_cast<Control*>(&scrollDown), static_cast<Control*>(&message),
          static_cast<Control*>(&action), static_cast<Control*>(&cancel)})
        screens.AddModalControl(control);
}

// Shows the rows from firstVisible on, the fields and the buttons of the mode.
void LevelFileChooser::Refresh()
{
    const int rows = VisibleRows();
    const int count = static_cast<int>(items.size());
    firstVisible = std::clamp(firstVisible, 0, std::max(0, count - rows));
    const int rowHeight = FractionOf(height, RowHeight);
    for (int i = 0; i < rows; ++i)
    {
        const int index = firstVisible + i;
        SolidRect& rect = rowRects[i];
        TextLabel& label = rowLabels[i];
        if (index >= count)
        {
            rect.Hide();
            label.Hide();
            continue;
        }
        const Item& item = items[static_cast<size_t>(index)];
        const bool isPicked = index == picked;
        if (isPicked)
        {
            rect.SetColour(0x8A, 0x3F, 0xB0);
            rect.SetHoverColour(0x9A, 0x4F, 0xC0);
        }
        else if (item.heading)
        {
            rect.SetColour(0, 0, 0, 0);
            rect.SetHoverColour(0, 0, 0, 0);
        }
        else
        {
            rect.SetColour(0xE9, 0xD6, 0xF4);
            rect.SetHoverColour(0xF6, 0xEC, 0xFB);
        }
        rect.Show();
        label.SetColour(isPicked ? PickedColour : item.heading ? HeadingColour : TextColour);
        label.SetText(item.text);
        const int indent = FractionOf(width, item.heading ? 0.015f : 0.05f);
        label.SetPosition(rect.GetX() + indent, rect.GetY() + rowHeight / 2 - label.GetHeight() / 2);
        label.Show();
    }
    const bool more = count > rows;
    scrollUp.Show();
    scrollDown.Show();
    if (!more || firstVisible == 0)
        scrollUp.Hide();
    if (!more || firstVisible + rows >= count)
        scrollDown.Hide();

    const bool asking = mode == Mode::Overwrite;
    if (mode == Mode::Save || asking)
    {
        const bool caret = !asking && !numberFocus;
        setLine.SetText("Set: " + TextLabel::ValidUtf8(setName) + (caret ? "_" : ""));
        numberLine.SetText("Puzzle number: " + numberText + (!asking && numberFocus ? "_" : ""));
    }
    const int w = width;
    const int h = height;
    if (asking)
    {
        SetUpSmallButton(action, w, h, "Data/Graphics/Yes.swf");
        SetUpSmallButton(cancel, w, h, "Data/Graphics/No.swf");
    }
    else
    {
        SetUpSmallButton(action, w, h,
                         mode == Mode::Load ? "Data/Graphics/Editor/LoadLevel.swf"
                                            : "Data/Graphics/Editor/SaveLevel.swf");
        SetUpSmallButton(cancel, w, h, "Data/Graphics/Editor/Cancel.swf");
    }
    if (mode == Mode::Load && items.empty())
        ShowProblem("There are no levels to load yet.");
}

void LevelFileChooser::ShowHint()
{
    message.SetColour(TextColour);
    message.SetText(mode == Mode::Load ? "Arrow keys pick a puzzle, Enter loads it."
                                       : "Tab switches between set and number, Enter saves.");
}

void LevelFileChooser::ShowProblem(const std::string& text)
{
    message.SetColour(ProblemColour);
    message.SetText(text);
}

std::string LevelFileChooser::PickedText() const
{
    if (picked < 0 || picked >= static_cast<int>(items.size()))
        return std::string();
    return items[static_cast<size_t>(picked)].path.empty() ? items[static_cast<size_t>(picked)].setName
                                                           : items[static_cast<size_t>(picked)].path;
}

void LevelFileChooser::Pick(int index)
{
    if (index < 0 || index >= static_cast<int>(items.size()) || items[static_cast<size_t>(index)].heading)
        return;
    picked = index;
    const Item& item = items[static_cast<size_t>(index)];
    if (mode == Mode::Save && item.setName != setName)
    {
        setName = item.setName;
        number = NextFreeLevelNumber(setName);
        numberText = std::to_string(number);
    }
    // Keep the picked row, and the heading of its set where it fits, in view.
    const int rows = VisibleRows();
    if (picked < firstVisible)
        firstVisible = picked > 0 && items[static_cast<size_t>(picked - 1)].heading ? picked - 1 : picked;
    else if (picked >= firstVisible + rows)
        firstVisible = picked - rows + 1;
    ShowHint();
    Refresh();
}

void LevelFileChooser::Step(int delta)
{
    for (int index = picked + delta; index >= 0 && index < static_cast<int>(items.size()); index += delta)
    {
        if (!items[static_cast<size_t>(index)].heading)
        {
            Pick(index);
            return;
        }
    }
}

// The first puzzle of the previous or next set.
void LevelFileChooser::JumpSet(int delta)
{
    const int count = static_cast<int>(items.size());
    const std::string current = picked >= 0 ? items[static_cast<size_t>(picked)].setName : std::string();
    int index = picked;
    while (index + delta >= 0 && index + delta < count && items[static_cast<size_t>(index + delta)].setName == current)
        index += delta;
    index += delta;
    if (index < 0 || index >= count)
        return;
    // Backwards this lands on the previous set's last row: go to its first.
    const std::string target = items[static_cast<size_t>(index)].setName;
    while (index > 0 && items[static_cast<size_t>(index - 1)].setName == target)
        --index;
    picked = index - 1;
    Step(1);
}

void LevelFileChooser::ClickRow(int row)
{
    const int index = firstVisible + row;
    if (mode == Mode::Overwrite)
        return;
    if (mode == Mode::Load && index == picked)
    {
        Confirm(); // a second click on the picked puzzle loads it
        return;
    }
    Pick(index);
}

void LevelFileChooser::Scroll(int delta)
{
    firstVisible += delta;
    Refresh();
}

void LevelFileChooser::Confirm()
{
    if (mode == Mode::Load)
    {
        if (picked < 0)
            return;
        const std::string path = items[static_cast<size_t>(picked)].path;
        LoadHandler handler = onLoad;
        Close();
        if (handler)
            handler(path);
        return;
    }
    if (mode != Mode::Save)
        return;
    const std::string problem = SetNameProblem(setName);
    if (!problem.empty())
    {
        ShowProblem(problem);
        return;
    }
    if (number < 1 || number > MaxLevelNumber)
    {
        ShowProblem("Puzzle numbers run from 1 to 999.");
        return;
    }
    if (LevelFileExists(LevelPathOf(setName, number)))
    {
        mode = Mode::Overwrite;
        ShowProblem("Puzzle " + std::to_string(number) + " of this set exists. Replace it?");
        Refresh();
        return;
    }
    Answer(true);
}

// Yes writes (through the handler); No goes back to the fields.
void LevelFileChooser::Answer(bool yes)
{
    if (!yes)
    {
        mode = Mode::Save;
        ShowHint();
        Refresh();
        return;
    }
    mode = Mode::Save;
    if (onSave && onSave(setName, number))
    {
        Close();
        return;
    }
    ShowProblem("The level could not be saved.");
    Refresh();
}

void LevelFileChooser::Type(int key)
{
    std::string& field = numberFocus ? numberText : setName;
    if (key == KeyCode::Backspace || key == KeyCode::Delete)
    {
        if (!field.empty())
            field.pop_back();
    }
    else if (numberFocus)
    {
        if (key < '0' || key > '9' || field.size() >= 3)
            return;
        field += static_cast<char>(key);
    }
    else
    {
        if (key < KeyCode::Space || key > '~' || field.size() >= MaxSetNameBytes)
            return;
        field += static_cast<char>(key);
    }
    if (numberFocus)
    {
        number = 0;
        for (char digit : numberText)
            number = number * 10 + (digit - '0');
    }
    ShowHint();
    Refresh();
}

void LevelFileChooser::OnKey(int key)
{
    switch (mode)
    {
    case Mode::Closed:
        return;
    case Mode::Overwrite:
        if (key == 'y' || key == KeyCode::Enter)
            Answer(true);
        else if (key == 'n' || key == KeyCode::Escape)
            Answer(false);
        return;
    case Mode::Load:
        if (key == KeyCode::Up || key == KeyCode::Down)
            Step(key == KeyCode::Up ? -1 : 1);
        else if (key == KeyCode::Left || key == KeyCode::Right)
            JumpSet(key == KeyCode::Left ? -1 : 1);
        else if (key == KeyCode::Enter)
            Confirm();
        else if (key == KeyCode::Escape)
            Close();
        return;
    case Mode::Save:
        break;
    }
    if (key == KeyCode::Escape)
    {
        Close();
    }
    else if (key == KeyCode::Enter)
    {
        Confirm();
    }
    else if (key == KeyCode::Tab)
    {
        numberFocus = !numberFocus;
        Refresh();
    }
    else if ((key == KeyCode::Up || key == KeyCode::Down) && numberFocus)
    {
        number = std::clamp(number + (key == KeyCode::Up ? 1 : -1), 1, MaxLevelNumber);
        numberText = std::to_string(number);
        ShowHint();
        Refresh();
    }
    else if (key == KeyCode::Up || key == KeyCode::Down)
    {
        if (picked < 0)
            Pick(key == KeyCode::Up ? static_cast<int>(items.size()) - 1 : 0);
        else
            Step(key == KeyCode::Up ? -1 : 1);
    }
    else
    {
        Type(key);
    }
}

void LevelFileChooser::OnButtonClicked(Button* button)
{
    if (button == &scrollUp)
        Scroll(-1);
    else if (button == &scrollDown)
        Scroll(1);
    else if (button == &action)
        mode == Mode::Overwrite ? Answer(true) : Confirm();
    else if (button == &cancel)
        mode == Mode::Overwrite ? Answer(false) : Close();
}
