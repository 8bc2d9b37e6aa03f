#pragma once

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/Screen.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"
#include "screens/ExitConfirmDialog.h"

class Sound;

// The hub of the game: the title, a panel with Play Game, High Scores,
// Options and Exit Game (hotkeys p, h, o, e), a footer line, and the menu
// music that starts on the third frame and plays on under the other menus.
// Escape or Exit Game opens the exit confirmation.
class MainMenuScreen : public Screen, public ButtonListener
{
  public:
    static constexpr const char* FooterText = "Quorvo 1.0  (c) 2026 Velkar Games";

    static MainMenuScreen& Get();
    static void Destroy();

    MainMenuScreen();
    ~MainMenuScreen() override;

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void Update(int framesSinceSwitch) override;
    // Past its music frame the menu waits for input (and for its controls'
    // own animations).
    double NextTimedChange(double now) const override;
    void OnButtonClicked(Button* button) override;
    // Starts the menu music looping unless it plays already (loaded the first
    // time); the menus past this one keep it playing too.
    void PlayMusic();

    [[nodiscard]] Button& PlayGameButton() { return playGame; }
    [[nodiscard]] Button& HighScoresButton() { return highScores; }
    [[nodiscard]] Button& OptionsButton() { return options; }
    [[nodiscard]] Button& ExitGameButton() { return exitGame; }
    [[nodiscard]] Sprite& Logo() { return logo; }
    [[nodiscard]] Sprite& Panel() { return panel; }
    [[nodiscard]] TextLabel& Footer() { return footer; }
    [[nodiscard]] ExitConfirmDialog& ExitDialog() { return exitDialog; }
    [[nodiscard]] Sound* Music() const { return music; }

  private:
    void Layout();

    Sprite logo;
    Sprite panel;
    Button playGame;
    Button highScores;
    Button options;
    Button exitGame;
    TextLabel footer;
    ExitConfirmDialog exitDialog;
    Sound* music = nullptr; // loaded on the first visit, kept for the run
};
