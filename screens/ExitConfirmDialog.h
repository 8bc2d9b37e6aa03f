#pragma once

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

// The main menu's "are you sure?" dialog before the game ends: a dimmed
// screen, a panel with two lines of text and Yes / No buttons (hotkeys y and
// n). Yes asks the application to quit (the options are saved on the way
// out); No closes the dialog and leaves the menu as it was.
class ExitConfirmDialog : public ButtonListener
{
  public:
    ExitConfirmDialog();

    // Starts the modal dialog and registers its controls. Opening it again
    // while it is open rebuilds the same one dialog.
    void Open();
    void OnButtonClicked(Button* button) override;

    [[nodiscard]] Button& YesButton() { return yes; }
    [[nodiscard]] Button& NoButton() { return no; }
    [[nodiscard]] Sprite& Panel() { return panel; }

  private:
    void Layout();

    Sprite dim;
    Sprite panel;
    TextLabel firstLine;
    TextLabel secondLine;
    Button yes;
    Button no;
};
