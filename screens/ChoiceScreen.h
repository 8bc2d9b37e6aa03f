#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Screen.h"
#include "media/Sprite.h"
#include "screens/Marquee.h"

// The base of the game type and difficulty screens: the panel, a column of
// centred menu buttons, and a marquee whose text tells what the button under
// the mouse chooses (the default text when none is). The menu music plays
// on; Escape goes back to the profiles.
class ChoiceScreen : public Screen, public ButtonListener
{
  public:
    static constexpr int MaxButtons = 5;

    void OnExit() override {}
    void OnKey(int key, bool alt) override;
    void Update(int framesSinceSwitch) override;

    [[nodiscard]] Button& ChoiceButton(int index) { return buttons[static_cast<size_t>(index)]; }
    [[nodiscard]] Marquee& Banner() { return marquee; }

  protected:
    struct Choice
    {
        const char* caption; // movie
        int hotkey;
        float y; // fraction of H
    };

    // texts[0] is the default marquee text, texts[i + 1] the text of button
    // i; buttons past the texts keep the default.
    explicit ChoiceScreen(const std::vector<std::string>& texts);
    // Lays out and registers the panel, the marquee and one button per choice.
    void Enter(const Choice* choices, int count);

  private:
    Sprite panel;
    Marquee marquee;
    std::array<Button, MaxButtons> buttons;
    int buttonCount = 0;
};
