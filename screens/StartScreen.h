#pragma once

#include "engine/Screen.h"
#include "screens/SolidRect.h"

// The screen the game starts on: a coloured background and four coloured
// squares that light up under the mouse and change colour when clicked (or
// when their number key is pressed). Escape leaves the game.
class StartScreen : public Screen {
public:
    static constexpr int SquareCount = 4;

    static StartScreen& Get();
    static void Destroy();

    StartScreen();

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;

    [[nodiscard]] SolidRect& Square(int index) { return squares[index]; }
    [[nodiscard]] int ColourIndex(int square) const { return colourIndex[square]; }

private:
    void Layout();
    void ApplyColour(int square);
    void NextColour(int square);

    SolidRect squares[SquareCount];
    int colourIndex[SquareCount] = {0, 1, 2, 3};
};
