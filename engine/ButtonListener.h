#pragma once

class Button;

// Told when a button is clicked (released over it while hovered, or its hotkey).
class ButtonListener
{
  public:
    virtual ~ButtonListener() = default;
    virtual void OnButtonClicked(Button* button) = 0;
};
