#pragma once

#include "screens/ChoiceScreen.h"

// What to play: How To Play (h), Marathon (m), Puzzle Challenge (p), Time
// Attack (t), and Return (r) to the profiles. Marathon and Time Attack go on
// to the difficulty.
class GameTypeSelectScreen : public ChoiceScreen
{
  public:
    enum Choice
    {
        HowToPlay,
        Marathon,
        PuzzleChallenge,
        TimeAttack,
        Return
    };

    static GameTypeSelectScreen& Get();
    static void Destroy();

    GameTypeSelectScreen();

    void OnEnter() override;
    void OnButtonClicked(Button* button) override;
};
