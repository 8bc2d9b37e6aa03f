#pragma once

#include <functional>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

// The play screen's "This will end your current game. Are you sure?" dialog:
// a panel with two lines and Yes / No buttons (hotkeys y and n), modal. The
// dim layer under it belongs to the screen. It remembers why it was opened.
class EndGameConfirmDialog : public ButtonListener
{
  public:
    enum class Purpose
    {
        None,
        Restart,
        Menu
    };

    EndGameConfirmDialog();

    // Told of the answer after the dialog has closed itself (EndModal).
    void SetOnAnswer(std::function<void(Purpose purpose, bool yes)> handler) { onAnswer = std::move(handler); }

    // Begins modal mode and registers the dialog's controls.
    void Open(Purpose purpose);
    // Ends modal mode without answering (a game left by other means).
    void Dismiss();
    [[nodiscard]] bool IsOpen() const { return purpose != Purpose::None; }
    [[nodiscard]] Purpose GetPurpose() const { return purpose; }

    void OnButtonClicked(Button* button) override;

    [[nodiscard]] Button& YesButton() { return yes; }
    [[nodiscard]] Button& NoButton() { return no; }
    [[nodiscard]] Sprite& Panel() { return panel; }
    [[nodiscard]] TextLabel& FirstLine() { return firstLine; }
    [[nodiscard]] TextLabel& SecondLine() { return secondLine; }

  private:
    void Layout();

    Purpose purpose = Purpose::None;
    std::function<void(Purpose, bool)> onAnswer;
    Sprite panel;
    TextLabel firstLine;
    TextLabel secondLine;
    Button yes;
    Button no;
};
