#include "screens/NewProfileEntryScreen.h"

#include <algorithm>
#include <cctype>

#include "app/Application.h"
#include "data/ProfileStore.h"
#include "engine/KeyCode.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/MenuRecipes.h"
#include "screens/ProfileSelectScreen.h"

namespace
{

NewProfileEntryScreen* instance = nullptr;

const char* const WhiteSpace = " \t\n\v\f\r";
// The cursor stands on the name's baseline, as tall as its capitals.
constexpr float CursorBottom = 0.51f;
constexpr float CursorHeight = 0.1f;

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(WhiteSpace);
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(WhiteSpace);
    return text.substr(first, last - first + 1);
}

// Control codes (Escape among them) and "^", "~" never become part of a
// name; nor does anything past plain ASCII.
bool Typeable(int key)
{
    return key >= 32 && key <= 126 && key != '^' && key != '~';
}

// The letters a gamepad turns through, in order, wrapping round.
constexpr char PadLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789 ";

} // namespace

NewProfileEntryScreen& NewProfileEntryScreen::Get()
{
    if (!instance)
        instance = new NewProfileEntryScreen();
    return *instance;
}

void NewProfileEntryScreen::Destroy()
{
    delete instance;
    instance = nullptr;
}

NewProfileEntryScreen::NewProfileEntryScreen() : marquee({"Enter a New Profile Name Using the Keyboard."})
{
    create.SetListener(this);
    returnProfiles.SetListener(this);
    nameLabel.SetColour(Colour(0x33, 0x33, 0x33, 255));
}

void NewProfileEntryScreen::Layout(int w, int h)
{
    width = w;
    height = h;
    LayOutMenuPanel(panel, w, h);
    marquee.Layout(w, h);
    SetUpCentredMenuButton(create, w, h, "Data/Graphics/NewProfileEntry/CreateProfile.swf", 0.6797f, 'c', true);
    SetUpCentredMenuButton(returnProfiles, w, h, "Data/Graphics/NewProfileEntry/ReturnProfiles.swf", 0.83f, 'r', true);
    nameLabel.SetFont(GameFont, FractionOf(w, 0.125f));
    cursor.SetMovie("Data/Graphics/NewProfileEntry/Cursor.swf");
    cursor.SetSize(std::max(1, FractionOf(w, 0.01f)), FractionOf(h, CursorHeight));
}

void NewProfileEntryScreen::OnEnter()
{
    Application& app = Application::Get();
    app.SetBackgroundColour(MenuBackgroundRed, MenuBackgroundGreen, MenuBackgroundBlue);
    int w = 0;
    int h = 0;
    app.GetSize(w, h);
    Layout(w, h);
    (void)rejection.Set("Data/Sounds/Bad");
    SetName(std::string());
    cursor.Show();
    blinkTime = app.GetTime();

    ScreenManager& screens = ScreenManager::Get();
    screens.AddControl(&panel);
    marquee.Register();
    screens.AddControl(&nameLabel);
    screens.AddControl(&cursor);
    screens.AddControl(&create);
    screens.AddControl(&returnProfiles);
}

void NewProfileEntryScreen::OnExit() {}

// Shows the name centred at 0.375 H with the cursor just after its last
// letter; an empty label keeps its old width, so for an empty name the cursor
// stands at the centre.
void NewProfileEntryScreen::SetName(const std::string& value)
{
    name = value;
    nameLabel.SetText(name);
    nameLabel.SetPosition(width / 2 - nameLabel.GetWidth() / 2, FractionOf(height, 0.375f));
    const int cursorX = name.empty() ? width / 2 - cursor.GetWidth() / 2 : nameLabel.GetX() + nameLabel.GetWidth();
    cursor.SetPosition(cursorX, FractionOf(height, CursorBottom) - cursor.GetHeight());
}

void NewProfileEntryScreen::Append(int key)
{
    const std::string longer = name + static_cast<char>(key);
    if (name.size() >= MaxNameLength || nameLabel.MeasureText(longer) > FractionOf(width, MaxNameWidth))
    {
        rejection.Play();
        return;
    }
    SetName(longer);
}

void NewProfileEntryScreen::LeaveToProfiles()
{
    ScreenManager& screens = ScreenManager::Get();
    if (screens.IsModal())
        screens.EndModal();
    screens.SetScreen(&ProfileSelectScreen::Get(), true);
}

void NewProfileEntryScreen::OnKey(int key, bool alt)
{
    (void)alt;
    if (key == KeyCode::Escape)
    {
        LeaveToProfiles();
    }
    else if (key == KeyCode::Backspace || key == KeyCode::Delete)
    {
        if (name.empty())
            rejection.Play();
        else
            SetName(name.substr(0, name.size() - 1));
    }
    else if (key == KeyCode::Enter)
    {
        CreateProfile();
    }
    else if (!ScreenManager::Get().IsModal() && Typeable(key))
    {
        Append(key);
    }
}

bool NewProfileEntryScreen::KeepsKey(int key) const
{
    return key == KeyCode::Enter && !ScreenManager::Get().IsModal();
}

bool NewProfileEntryScreen::OnPadButton(PadButton button)
{
    if (ScreenManager::Get().IsModal())
        return false;
    switch (button)
    {
    case PadButton::DPadRight:
        OnKey('a', false);
        return true;
    case PadButton::DPadLeft:
        OnKey(KeyCode::Backspace, false);
        return true;
    case PadButton::A:
    case PadButton::Start:
        OnKey(KeyCode::Enter, false);
        return true;
    case PadButton::DPadUp:
    case PadButton::DPadDown:
        break;
    default:
        return false;
    }
    if (name.empty())
    {
        OnKey('a', false);
        return true;
    }
    // The next letter (or the one before) that still fits the name field.
    const std::string letters(PadLetters);
    const size_t count = letters.size();
    const size_t at = letters.find(static_cast<char>(std::tolower(static_cast<unsigned char>(name.back()))));
    const size_t start = at == std::string::npos ? 0 : at;
    const std::string stem = name.substr(0, name.size() - 1);
    for (size_t step = 1; step < count; ++step)
    {
        const size_t index = button == PadButton::DPadUp ? (start + step) % count : (start + count - step) % count;
        const std::string candidate = stem + letters[index];
        if (nameLabel.MeasureText(candidate) <= FractionOf(width, MaxNameWidth))
        {
            SetName(candidate);
            return true;
        }
    }
    return true;
}

void NewProfileEntryScreen::CreateProfile()
{
    const std::string trimmed = Trimmed(name);
    if (trimmed.empty())
    {
        message.Open("Profile name must contain", "at least one non-space character.");
        return;
    }
    ProfileStore& profiles = ProfileStore::Get();
    for (int i = 0; i < ProfileStore::SlotCount; ++i)
    {
        if (profiles.GetProfileName(i) == trimmed)
        {
            message.Open("A profile with this name", "already exists.");
            return;
        }
    }
    profiles.SetProfileName(slot, trimmed);
    profiles.SetCurrentProfile(slot);
    ScreenManager::Get().SetScreen(&GameTypeSelectScreen::Get(), true);
}

void NewProfileEntryScreen::OnButtonClicked(Button* button)
{
    if (button == &create)
        CreateProfile();
    else if (button == &returnProfiles)
        LeaveToProfiles();
}

void NewProfileEntryScreen::Update(int framesSinceSwitch)
{
    (void)framesSinceSwitch;
    marquee.Step(0);
    const double now = Application::Get().GetTime();
    if (now - blinkTime >= BlinkSeconds)
    {
        if (cursor.IsHidden())
            cursor.Show();
        else
            cursor.Hide();
        blinkTime = now;
    }
}
