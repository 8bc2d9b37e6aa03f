#pragma once

#include <string>

#include "engine/Control.h"
#include "engine/ControlSound.h"

class Bitmap;
class SliderListener;

// A horizontal slider: the control's rectangle is the track; a shuttle whose
// left edge travels from minX to maxX shows the value 0..1. Dragging the
// shuttle or pressing the track (which jumps the shuttle under the pointer)
// changes the value; letting go reports the release.
class Slider : public Control
{
  public:
    Slider() = default;
    ~Slider() override;

    void SetTrackMovie(const std::string& path);
    void SetShuttleMovie(const std::string& path);
    void SetShuttleMouseOverMovie(const std::string& path);
    void SetShuttleMouseDownMovie(const std::string& path);
    void SetShuttleSize(int w, int h);
    void SetRange(int min, int max);
    // Stores the value (limited to 0..1; not-a-number is ignored), moves the
    // shuttle and tells the listener, with a release as well if asked.
    void SetValue(float newValue, bool release);
    [[nodiscard]] float GetValue() const { return value; }
    void SetListener(SliderListener* value) { listener = value; }
    bool SetHighlightSound(const std::string& name);
    bool SetPressSound(const std::string& name);
    [[nodiscard]] int GetShuttleX() const { return shuttleX; }
    [[nodiscard]] int GetShuttleY() const { return shuttleY; }
    [[nodiscard]] bool IsDragging() const { return dragging; }
    [[nodiscard]] int GetState() const { return state; }

    void SetPosition(int newX, int newY) override;
    void SetSize(int w, int h) override;
    bool HitTest(int px, int py) override;
    void Release() override;
    void OnMouseDown(int px, int py) override;
    void OnMouseUp(int px, int py) override;
    void OnMouseMove(int px, int py) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool Draw(Application& app) override;
    void Load() override;
    // Focused, it shows the shuttle's mouse-over picture; Left and Right
    // (keys or d-pad) move the value a step down or up to the next multiple
    // of the step, stopping at 0 and 1, each step changed and released.
    // Pressing it reports a release (the value as it stands is let go).
    static constexpr float Step = 0.05f;
    bool CanTakeFocus() const override { return !hidden; }
    void SetFocused(bool value) override;
    bool Activate() override;
    bool Steer(PadButton direction, bool repeat) override;
    bool OnKey(int key, bool alt) override;

  private:
    // One step down (-1) or up (+1); false when hidden.
    bool StepValue(int direction);
    void Recompute();
    void InvalidateBand();
    bool HitsShuttle(int px, int py) const;
    // Moves the shuttle's left edge under the pointer; false when the slider
    // has no travel (then the value stays as it is).
    bool FollowPointer(int px);

    SliderListener* listener = nullptr;
    int shuttleOffset = 0; // pixels from minX
    bool dragging = false;
    float value = 0.0f; // 0..1
    int state = 0;      // shuttle look: 0 normal, 1 over, 2 pressed
    int minX = 0;       // leftmost x of the shuttle's left edge
    int maxX = 0;       // rightmost x of the shuttle's left edge
    std::string trackMovie;
    Bitmap* trackBitmap = nullptr;
    ControlSound highlightSound;
    ControlSound pressSound;
    std::string shuttleMovies[3];
    Bitmap* shuttleBitmaps[3] = {nullptr, nullptr, nullptr};
    int shuttleWidth = 0;
    int shuttleHeight = 0;
    int shuttleX = 0;
    int shuttleY = 0;
};
