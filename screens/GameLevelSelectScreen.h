#pragma once

#include "screens/ChoiceScreen.h"

// How hard: Easy (e), Medium (m), Hard (h) start a game of the type chosen
// before; Return (r) goes back to the game type. The marquee quotes the start
// level for Marathon and the time limit for Time Attack.
class GameLevelSelectScreen : public ChoiceScreen
{
  public:
    enum Choice
    {
        Easy,
        Medium,
        Hard,
        Return
    };

    static GameLevelSelectScreen& Get();
    static void Destroy();

    GameLevelSelectScreen();

    void OnEnter() override;
    void OnButtonClicked(Button* button) override;
};
