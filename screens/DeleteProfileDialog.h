#pragma once

#include <string>

#include "engine/Button.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

class ButtonListener;

// The question before a profile is deleted: a dimmed screen, the dialog
// panel with "Delete profile <name>?" and the Yes and No buttons (hot keys y
// and n). The profile screen listens to both buttons.
class DeleteProfileDialog
{
  public:
    explicit DeleteProfileDialog(ButtonListener* listener);

    // Starts the modal dialog asking about the profile called name.
    void Open(const std::string& name);

    [[nodiscard]] Button& YesButton() { return yes; }
    [[nodiscard]] Button& NoButton() { return no; }
    [[nodiscard]] TextLabel& Line() { return line; }

  private:
    Sprite dim;
    Sprite panel;
    TextLabel line;
    Button yes;
    Button no;
};
