#pragma once

#include "engine/Button.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

class ButtonListener;

// The question after a display change: "Do you want to keep these
// settings?" over a dimmed screen, with a line counting down the seconds
// left before the change is undone, and Yes / No buttons (hotkeys y and n)
// whose clicks go to the owner.
class KeepSettingsDialog
{
  public:
    static constexpr double Seconds = 35.0;

    explicit KeepSettingsDialog(ButtonListener& owner);

    // Starts the modal dialog at the current display size, showing the whole
    // countdown.
    void Open();
    // Shows the whole seconds left on the countdown line (re-centred).
    void ShowRemaining(int seconds);

    [[nodiscard]] Button& YesButton() { return yes; }
    [[nodiscard]] Button& NoButton() { return no; }
    [[nodiscard]] const TextLabel& CountdownLine() const { return countdown; }

  private:
    Sprite dim;
    Sprite panel;
    TextLabel question;
    TextLabel countdown;
    Button yes;
    Button no;
    int shownSeconds = -1;
};
