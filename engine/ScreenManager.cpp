#include "engine/ScreenManager.h"

#include <algorithm>
#include <limits>

#include "app/Application.h"
#include "engine/Control.h"
#include "engine/ControlFocus.h"
#include "engine/KeyCode.h"
#include "engine/Screen.h"
#include "media/PictureAhead.h"

namespace
{
ScreenManager* instance = nullptr;
}

ScreenManager& ScreenManager::Get()
{
    if (!instance)
        instance = new ScreenManager();
    return *instance;
}

void ScreenManager::Destroy()
{
    delete instance;
    instance = nullptr;
}

void ScreenManager::SetScreen(Screen* screen, bool releaseControls)
{
    pendingScreen = screen;
    switchPending = true;
    releaseOnSwitch = releaseControls;
}

void ScreenManager::Clear()
{
    switchPending = false;
    pendingScreen = nullptr;
    currentScreen = nullptr;
    modal = false;
    controls.clear();
    modalControls.clear();
    capturedControl = nullptr;
    focus = nullptr;
    screenFocus = nullptr;
    framesSinceSwitch = 0;
}

void ScreenManager::AddControl(Control* control)
{
    if (std::find(controls.begin(), controls.end(), control) == controls.end())
        controls.push_back(control);
}

void ScreenManager::RemoveControl(Control* control)
{
    if (control == focus)
        SetFocus(nullptr);
    controls.erase(std::remove(controls.begin(), controls.end(), control), controls.end());
}

void ScreenManager::BeginModal()
{
    if (!modal)
        screenFocus = LiveFocus();
    SetFocus(nullptr);
    modal = true;
    modalControls.clear();
    framesSinceSwitch = 0;
}

void ScreenManager::AddModalControl(Control* control)
{
    modalControls.push_back(control);
}

void ScreenManager::EndModal()
{
    SetFocus(nullptr);
    modal = false;
    Control* restored = screenFocus;
    screenFocus = nullptr;
    if (restored && IsActive(restored) && restored->CanTakeFocus())
        SetFocus(restored);
    Application& app = Application::Get();
    app.Invalidate(0, 0, app.Width(), app.Height());
}

bool ScreenManager::IsActive(Control* control) const
{
    const std::vector<Control*>& list = ActiveList();
    return std::find(list.begin(), list.end(), control) != list.end();
}

double ScreenManager::NextTimedChange(double now) const
{
    // Frames 1 and 2 after a switch or BeginModal refresh the hover state
    // and restore the cursor, and screens may count frames further.
    constexpr int CountedFrames = 3;
    if (switchPending || (currentScreen && framesSinceSwitch <= CountedFrames))
        return now;
    if (!currentScreen)
        return std::numeric_limits<double>::infinity();
    double next = currentScreen->NextTimedChange(now);
    for (const Control* control : controls)
        next = std::min(next, control->NextTimedChange());
    if (modal)
    {
        for (const Control* control : modalControls)
            next = std::min(next, control->NextTimedChange());
    }
    return next;
}

// A screen switch, performed at the start of the frame after the request:
//
//   end an open dialog -> wait cursor -> release controls (if asked) ->
//   empty both lists -> old screen's OnExit -> new screen's OnEnter
//
// The request is taken before OnExit and OnEnter run, so a request those
// handlers make is kept for the next frame instead of being lost.
void ScreenManager::PerformSwitch()
{
    Screen* target = pendingScreen;
    const bool release = releaseOnSwitch;
    switchPending = false;
    pendingScreen = nullptr;

    // A dialog left open by the old screen would keep the new screen's
    // controls from ever receiving input.
    if (modal)
        EndModal();
    SetFocus(nullptr);
    screenFocus = nullptr;

    Application::Get().ShowWaitCursor();
    // Pictures rendered ahead stay until the new screen has drawn with them.
    PictureAhead::Get().Retire();
    if (release)
    {
        for (Control* control : std::vector<Control*>(controls))
            control->Release();
        for (Control* control : std::vector<Control*>(modalControls))
            control->Release();
    }
    controls.clear();
    modalControls.clear();
    capturedControl = nullptr;

    if (currentScreen)
        currentScreen->OnExit();
    currentScreen = target;
    if (currentScreen)
        currentScreen->OnEnter();
    framesSinceSwitch = 0;
}

void ScreenManager::Update()
{
    if (switchPending)
        PerformSwitch();
    if (!currentScreen)
        return;

    if (framesSinceSwitch == 1)
    {
        // Refresh every control's hover state now that the new controls
        // exist: a move off the screen, then back to where the mouse is.
        const int mx = lastMouseX;
        const int my = lastMouseY;
        OnMouseMove(-1, -1);
        OnMouseMove(mx, my);
    }
    else if (framesSinceSwitch == 2)
    {
        Application::Get().RestoreCursor();
    }

    currentScreen->Update(framesSinceSwitch);
    // Indexes rather than iterators: an Update may add or remove controls.
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->Update();
    if (modal)
    {
        for (size_t i = 0; i < modalControls.size(); ++i)
            modalControls[i]->Update();
    }
    ++framesSinceSwitch;
}

void ScreenManager::Draw(Application& app)
{
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->Draw(app);
    if (modal)
    {
        for (size_t i = 0; i < modalControls.size(); ++i)
            modalControls[i]->Draw(app);
    }
    // The controls hold their own references now.
    PictureAhead::Get().ReleaseRetired();
}

// Input is delivered to a copy of the active list taken when dispatch starts:
// handlers may add, remove or re-register controls, or open and close a
// dialog, while the loop runs. A copied control that has left the active list
// in the meantime is skipped.

void ScreenManager::OnKeyDown(int key, bool alt)
{
    if (key == KeyCode::Enter && !alt && !ScreenKeepsKey(key) && PressFocus())
        return;
    const std::vector<Control*> snapshot = ActiveList();
    for (Control* control : snapshot)
    {
        if (IsActive(control) && control->OnKey(key, alt))
            return;
    }
    if (currentScreen)
        currentScreen->OnKey(key, alt);
}

void ScreenManager::OnMouseMove(int x, int y)
{
    lastMouseX = x;
    lastMouseY = y;
    if (currentScreen)
        currentScreen->OnMouseMove(x, y);
    const std::vector<Control*> snapshot = ActiveList();
    for (Control* control : snapshot)
    {
        if (!IsActive(control))
            continue;
        const bool hit = control->HitTest(x, y);
        const bool over = control->IsMouseOver();
        if (hit && !over)
            control->OnMouseEnter();
        else if (over && !hit)
            control->OnMouseLeave();
        else
            control->OnMouseMove(x, y);
    }
}

void ScreenManager::OnLeftButtonDown(int x, int y)
{
    leftButtonDown = true;
    if (!currentScreen)
        return;
    currentScreen->OnLeftButtonDown(x, y);
    const std::vector<Control*> snapshot = ActiveList();
    for (Control* control : snapshot)
    {
        if (IsActive(control) && control->HitTest(x, y))
            control->OnMouseDown(x, y);
    }
}

void ScreenManager::OnLeftButtonUp(int x, int y)
{
    leftButtonDown = false;
    if (!currentScreen)
        return;
    currentScreen->OnLeftButtonUp(x, y);
    Control* captured = capturedControl;
    const std::vector<Control*> snapshot = ActiveList();
    for (Control* control : snapshot)
    {
        if (IsActive(control) && (control == captured || control->HitTest(x, y)))
            control->OnMouseUp(x, y);
    }
}

void ScreenManager::OnRightButtonDown(int x, int y)
{
    if (currentScreen)
        currentScreen->OnRightButtonDown(x, y);
}

void ScreenManager::OnRightButtonUp(int x, int y)
{
    if (currentScreen)
        currentScreen->OnRightButtonUp(x, y);
}

void ScreenManager::OnMiddleButtonDown(int x, int y)
{
    if (currentScreen)
        currentScreen->OnMiddleButtonDown(x, y);
}

void ScreenManager::OnMiddleButtonUp(int x, int y)
{
    if (currentScreen)
        currentScreen->OnMiddleButtonUp(x, y);
}

// --- keyboard and gamepad focus ------------------------------------------------

void ScreenManager::SetFocus(Control* control)
{
    if (control == focus)
        return;
    if (focus)
        focus->SetFocused(false);
    focus = control;
    if (focus)
        focus->SetFocused(true);
}

Control* ScreenManager::LiveFocus()
{
    if (focus && (!IsActive(focus) || !focus->CanTakeFocus()))
        SetFocus(nullptr);
    return focus;
}

bool ScreenManager::ScreenKeepsKey(int key) const
{
    return currentScreen && currentScreen->KeepsKey(key);
}

bool ScreenManager::MoveFocusInOrder(bool backward)
{
    if (ScreenKeepsKey(KeyCode::Tab))
        return false;
    Control* next = ControlFocus::Step(ActiveList(), LiveFocus(), backward);
    if (!next)
        return false;
    SetFocus(next);
    return true;
}

bool ScreenManager::MoveFocusToward(PadButton direction)
{
    Control* next = ControlFocus::Toward(ActiveList(), LiveFocus(), direction);
    if (!next)
        return false;
    SetFocus(next);
    return true;
}

bool ScreenManager::PressFocus()
{
    Control* control = LiveFocus();
    return control && control->Activate();
}

namespace
{

// The keys a pad press stands for while it plays the game.
int GameKeyOf(PadButton button)
{
    switch (button)
    {
    case PadButton::DPadUp:
        return KeyCode::Up;
    case PadButton::DPadDown:
        return KeyCode::Down;
    case PadButton::DPadLeft:
        return KeyCode::Left;
    case PadButton::DPadRight:
        return KeyCode::Right;
    case PadButton::A:
        return KeyCode::Space; // swap
    case PadButton::B:
    case PadButton::Y:
        return KeyCode::Tab; // flip the mover
    case PadButton::X:
    case PadButton::RightShoulder:
        return KeyCode::Enter; // drop the next blocks now
    case PadButton::Start:
        return 'p'; // pause
    case PadButton::Back:
        return KeyCode::Escape;
    case PadButton::LeftShoulder:
        return 'h'; // hint
    default:
        return 0;
    }
}

} // namespace

void ScreenManager::OnPadButton(PadButton button, bool repeat)
{
    if (currentScreen && currentScreen->OnPadButton(button))
        return;
    if (!modal && currentScreen && currentScreen->PadPlaysGame())
    {
        if (const int key = GameKeyOf(button))
            OnKeyDown(key, false);
        return;
    }
    switch (button)
    {
    case PadButton::DPadUp:
    case PadButton::DPadDown:
    case PadButton::DPadLeft:
    case PadButton::DPadRight:
        if (Control* control = LiveFocus(); !control || !control->Steer(button, repeat))
            (void)MoveFocusToward(button);
        break;
    case PadButton::A:
    case PadButton::Start:
        // The first press shows where the focus is; a screen without
        // buttons (the logo) hears Enter.
        if (!PressFocus() && !MoveFocusToward(PadButton::DPadDown))
            OnKeyDown(KeyCode::Enter, false);
        break;
    case PadButton::B:
    case PadButton::Back:
        OnKeyDown(KeyCode::Escape, false);
        break;
    default:
        break;
    }
}
