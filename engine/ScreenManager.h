#pragma once

#include <vector>

#include "engine/PadButton.h"

class Application;
class Control;
class Screen;

// Holds the current screen, performs screen switches at a fixed point of the
// frame (the start of Update), keeps the screen's and a modal dialog's control
// lists, routes input through them and updates and draws them. It owns
// neither screens nor controls.
class ScreenManager
{
  public:
    static ScreenManager& Get();
    static void Destroy();

    ScreenManager() = default;
    virtual ~ScreenManager() = default;
    ScreenManager(const ScreenManager&) = delete;
    ScreenManager& operator=(const ScreenManager&) = delete;

    // Requests a switch, performed by the next Update; a later request in the
    // same frame replaces an earlier one.
    void SetScreen(Screen* screen, bool releaseControls);
    [[nodiscard]] Screen* GetScreen() const { return currentScreen; }
    [[nodiscard]] bool IsSwitchPending() const { return switchPending; }
    // Forgets the current screen, a pending request, an open dialog and both
    // control lists without calling into any of them: used just before the
    // screens (and the controls they own) are destroyed.
    void Clear();

    void AddControl(Control* control);
    void RemoveControl(Control* control);
    [[nodiscard]] const std::vector<Control*>& Controls() const { return controls; }
    [[nodiscard]] const std::vector<Control*>& ModalControls() const { return modalControls; }

    void BeginModal();
    void AddModalControl(Control* control);
    void EndModal();
    [[nodiscard]] bool IsModal() const { return modal; }

    void SetCapture(Control* control) { capturedControl = control; }
    [[nodiscard]] Control* GetCapture() const { return capturedControl; }
    [[nodiscard]] bool IsLeftButtonDown() const { return leftButtonDown; }
    [[nodiscard]] int FramesSinceSwitch() const { return framesSinceSwitch; }

    void Update();
    void Draw(Application& app);
    // When the next Update has something to do without input (application
    // seconds): now while a switch is pending or in the first frames after
    // one (they count frames), else the earliest of the screen's and its
    // listed controls' timed changes; infinity with no screen.
    [[nodiscard]] double NextTimedChange(double now) const;

    void OnKeyDown(int key, bool alt);
    void OnMouseMove(int x, int y);
    void OnLeftButtonDown(int x, int y);
    void OnLeftButtonUp(int x, int y);
    void OnRightButtonDown(int x, int y);
    void OnRightButtonUp(int x, int y);
    void OnMiddleButtonDown(int x, int y);
    void OnMiddleButtonUp(int x, int y);

    // --- keyboard and gamepad focus ---
    // The focus lives among the active controls, unseen until a Tab or a
    // d-pad press first shows it; a switch or a dialog starts it afresh,
    // and closing a dialog gives the screen its focus back.
    [[nodiscard]] Control* Focus() const { return focus; }
    // Tab (backward: Shift+Tab). False when the screen keeps Tab for itself
    // or nothing can take the focus.
    bool MoveFocusInOrder(bool backward);
    bool MoveFocusToward(PadButton direction);
    // Presses the focused control; false when nothing has the focus.
    bool PressFocus();
    // A gamepad press (repeat: a held direction repeating): keys of the game
    // where the screen plays with the pad, else the focus moved (unless the
    // focused control steers with the direction itself) or pressed, B and
    // Back as Escape.
    void OnPadButton(PadButton button, bool repeat = false);

  private:
    void PerformSwitch();
    [[nodiscard]] const std::vector<Control*>& ActiveList() const { return modal ? modalControls : controls; }
    [[nodiscard]] bool IsActive(Control* control) const;
    void SetFocus(Control* control);
    // The focus, dropped first when its control has left the active list or
    // can no longer take it.
    [[nodiscard]] Control* LiveFocus();
    [[nodiscard]] bool ScreenKeepsKey(int key) const;

    bool releaseOnSwitch = true;
    int lastMouseX = -1;
    int lastMouseY = -1;
    std::vector<Control*> modalControls;
    bool modal = false;
    Control* capturedControl = nullptr;
    Control* focus = nullptr;
    Control* screenFocus = nullptr; // the screen's focus while a dialog is open
    bool leftButtonDown = false;
    int framesSinceSwitch = 0;
    std::vector<Control*> controls;
    bool switchPending = false;
    Screen* pendingScreen = nullptr;
    Screen* currentScreen = nullptr;
};
