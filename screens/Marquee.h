#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/Sprite.h"
#include "media/TextLabel.h"

// The news line across the top of the menu screens: a frame picture holding
// one text label per message, scrolled right to left under the frame's
// foreground at W/15 pixels per second, so a text crosses the screen in 15 s.
// Label 0 is the default text. The owner names the active label each frame;
// every other label waits hidden at the right edge, so a text that becomes
// active always enters from the right.
class Marquee
{
  public:
    static constexpr double CrossingSeconds = 15.0;

    explicit Marquee(const std::vector<std::string>& texts);

    void SetText(int index, const std::string& text);
    [[nodiscard]] int Count() const { return static_cast<int>(labels.size()); }
    [[nodiscard]] TextLabel& Label(int index) { return *labels[static_cast<size_t>(index)]; }
    [[nodiscard]] Sprite& Background() { return background; }

    // Places the frame at (0, 0.0625 H), W x 0.125 H, and every label at the
    // right edge, label 0 shown and the others hidden; the next Step starts
    // the clock afresh.
    void Layout(int w, int h);
    // Registers the background, the labels and the foreground, in that order.
    void Register();
    // Moves the active label left by the whole pixels due since the last step
    // (time gathers until one is due); a label that has left on the left
    // starts again at the right edge.
    void Step(int active);

  private:
    Sprite background;
    Sprite foreground;
    std::vector<std::unique_ptr<TextLabel>> labels;
    double lastStep = 0.0; // application clock, seconds; 0 = not started
    int width = 0;
};
