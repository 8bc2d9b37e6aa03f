#pragma once

#include "engine/Screen.h"
#include "media/ColourRect.h"
#include "media/Sprite.h"

class Sound;

// The first screen: three seconds of white, then the makers' logo fades in
// under a white rectangle whose opacity falls (with the jingle), holds for
// two seconds, fades out again and hands over to the main menu. Any key or
// click skips straight to the menu and silences the jingle.
//
//   phase 0 white   until 3 s after entry, then jingle, phase 1
//   phase 1 fade in white alpha falls (faster and faster) to 0
//   phase 2 hold    2 s
//   phase 3 fade out white alpha rises to 255; the next frame goes to the menu
class LogoScreen : public Screen
{
  public:
    static LogoScreen& Get();
    static void Destroy();

    LogoScreen() = default;
    ~LogoScreen() override;

    void OnEnter() override;
    void OnExit() override;
    void OnKey(int key, bool alt) override;
    void OnLeftButtonDown(int x, int y) override;
    void OnRightButtonDown(int x, int y) override;
    void Update(int framesSinceSwitch) override;
    // The white and the hold phases wait for their end; the fades step
    // every frame.
    double NextTimedChange(double now) const override;

    [[nodiscard]] int Phase() const { return phase; }
    [[nodiscard]] int Alpha() const { return alpha; }
    [[nodiscard]] bool IsDone() const { return done; }
    [[nodiscard]] const Sprite& Logo() const { return logo; }
    [[nodiscard]] const ColourRect& White() const { return white; }
    [[nodiscard]] Sound* LogoSound() const { return logoSound; }

  private:
    void Skip();
    void ApplyAlpha();
    void ReleaseSound();

    Sprite logo;
    ColourRect white;
    int alpha = 255; // of the white rectangle over the logo
    int phase = 0;
    double t0 = 0.0; // seconds on the application clock: start of the phase
    bool done = false;
    Sound* logoSound = nullptr;
};
