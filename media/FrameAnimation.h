#pragma once

#include <string>
#include <vector>

class Bitmap;

// The frames of one movie rendered at one size, stepped by the clock: the
// picture of a Sprite, a button's caption, a check box's mark. A frame is
// rendered when it is first shown, not before.
//
//   frames < 2 or rate < 1      never advances (holds frame 0)
//   last frame, loopFrame -1    holds the last frame
//   time > last change + period next frame (at most one per call; a late
//                               call does not catch up); after the last
//                               frame continue at loopFrame
class FrameAnimation
{
  public:
    FrameAnimation() = default;
    ~FrameAnimation();
    FrameAnimation(const FrameAnimation&) = delete;
    FrameAnimation& operator=(const FrameAnimation&) = delete;

    // Takes the movie at width x height and restarts at frame 0 at time now
    // (seconds). The same movie (in any letter case) at the same size keeps
    // the frames it has rendered; anything else lets them go.
    void Load(const std::string& path, int width, int height, double now);
    // Gives every rendered frame back to the BitmapCache.
    void Release();
    // One step of the clock; true when the frame changed.
    bool Step(double now);
    // More than one frame, a usable rate, and not holding the last frame.
    [[nodiscard]] bool IsAnimating() const;
    // Application time after which Step changes the frame; infinity when it
    // never will.
    [[nodiscard]] double NextChange() const;

    // The bitmap of the current frame, rendered now if it was never asked
    // for; null without frames or for a frame that failed to render.
    [[nodiscard]] Bitmap* Current() const;
    // Not loaded (or released).
    [[nodiscard]] bool Empty() const { return frames.empty(); }
    // One entry per frame; null for frames not rendered (yet).
    [[nodiscard]] const std::vector<Bitmap*>& Frames() const { return frames; }

    int loopFrame = -1;       // -1: play once and hold the last frame
    double lastFrameTime = 0; // seconds, application time of the last change
    double frameDuration = 0; // seconds per frame; 0 = never advances
    int currentFrame = 0;
    int frameCount = 0;

  private:
    std::string path;
    int width = 0;
    int height = 0;
    // Rendered on first use, hence mutable: one reference each, null until
    // rendered or when rendering failed (tried says which).
    mutable std::vector<Bitmap*> frames;
    mutable std::vector<bool> tried;
};
