#pragma once

#include <string>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

// A two-line notice over a dimmed screen with one Ok button (hot key o) that
// closes it.
class MessageDialog : public ButtonListener
{
  public:
    MessageDialog();

    // Starts the modal dialog with the two lines of text.
    void Open(const std::string& firstText, const std::string& secondText);
    void OnButtonClicked(Button* button) override;

    [[nodiscard]] Button& OkButton() { return ok; }
    [[nodiscard]] TextLabel& FirstLine() { return firstLine; }
    [[nodiscard]] TextLabel& SecondLine() { return secondLine; }

  private:
    Sprite dim;
    Sprite panel;
    TextLabel firstLine;
    TextLabel secondLine;
    Button ok;
};
