#pragma once

#include "engine/Button.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

class ButtonListener;

// The question before leaving the options with changes not applied: "Exit
// without applying changes?" over a dimmed screen, with Yes / No buttons
// (hotkeys y and n) whose clicks go to the owner.
class DiscardChangesDialog
{
  public:
    explicit DiscardChangesDialog(ButtonListener& owner);

    // Starts the modal dialog at the current display size.
    void Open();

    [[nodiscard]] Button& YesButton() { return yes; }
    [[nodiscard]] Button& NoButton() { return no; }

  private:
    Sprite dim;
    Sprite panel;
    TextLabel question;
    Button yes;
    Button no;
};
