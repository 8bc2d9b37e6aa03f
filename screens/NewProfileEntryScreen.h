#pragma once

#include <string>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/ControlSound.h"
#include "engine/Screen.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"
#include "screens/Marquee.h"
#include "screens/MessageDialog.h"

// Typing the name of a new profile into a free slot: the name in large
// letters with a blinking cursor after it, Create Profile (Alt+C) and Return
// (Alt+R); the hot keys need Alt so that plain letters reach the name.
// Enter creates the profile, Backspace and Delete remove the last letter,
// Escape returns to the profiles. A name holds at most 12 characters and must
// fit in 0.9 W; a letter refused plays the rejection sound.
class NewProfileEntryScreen : public Screen, public ButtonListener
{
  public:
    static constexpr size_t MaxNameLength = 12;
    static constexpr float MaxNameWidth = 0.9f; // of the display width
    static constexpr double BlinkSeconds = 0.3;

    static NewProfileEntryScreen& Get();
    static void Destroy();

    NewProfileEntryScreen();

    // The slot (0 to 3) the new profile goes into; set before switching here.
    void SetSlot(int value) { slot = value; }
    [[nodiscard]] int Slot() const { return slot; }

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void Update(int framesSinceSwitch) override;
    // Enter creates the profile. The pad spells the name: up and down turn
    // the last letter through the alphabet, right adds a letter, left takes
    // one away; A creates the profile and B returns.
    bool KeepsKey(int key) const override;
    bool OnPadButton(PadButton button) override;
    void OnButtonClicked(Button* button) override;

    // Trims the name, refuses an empty or taken one with a message, and
    // otherwise names the slot, makes it current and goes on to the game type
    // choice.
    void CreateProfile();

    [[nodiscard]] const std::string& Name() const { return name; }
    [[nodiscard]] TextLabel& NameLabel() { return nameLabel; }
    [[nodiscard]] Sprite& Cursor() { return cursor; }
    [[nodiscard]] Button& CreateButton() { return create; }
    [[nodiscard]] Button& ReturnButton() { return returnProfiles; }
    [[nodiscard]] MessageDialog& Message() { return message; }
    [[nodiscard]] Marquee& Banner() { return marquee; }

  private:
    void Layout(int w, int h);
    void SetName(const std::string& value);
    void Append(int key);
    void LeaveToProfiles();

    int slot = 0;
    std::string name;
    double blinkTime = 0.0; // application clock, seconds
    int width = 0;
    int height = 0;

    Sprite panel;
    Marquee marquee;
    TextLabel nameLabel;
    Sprite cursor;
    Button create;
    Button returnProfiles;
    MessageDialog message;
    ControlSound rejection;
};
