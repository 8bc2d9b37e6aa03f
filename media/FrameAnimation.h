#pragma once

#include <string>
#include <vector>

class Bitmap;

// The frames of one movie rendered at one size, stepped by the clock: the
// picture of a Sprite, a button's caption, a check box's mark.
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

    // Renders every frame of the movie at
    // width x height and restarts at frame 0 at time now (seconds).
    void Load(const std::string& path, int width, int height, double now);
    // Gives every frame back to the BitmapCache.
    void Release();
    // One step of the clock; true when the frame changed.
    bool Step(double now);
    // More than one frame, a usable rate, and not holding the last frame.
    [[nodiscard]] bool IsAnimating() const;

    // The bitmap of the current frame, or null (no frames, or a frame that
    // failed to render).
    [[nodiscard]] Bitmap* Current() const;
    [[nodiscard]] bool Empty() const { return frames.empty(); }
    [[nodiscard]] const std::vector<Bitmap*>& Frames() const { return frames; }

    int loopFrame = -1;       // -1: play once and hold the last frame
    double lastFrameTime = 0; // seconds, application time of the last change
    double frameDuration = 0; // seconds per frame; 0 = never advances
    int currentFrame = 0;
    int frameCount = 0;

  private:
    std::vector<Bitmap*> frames; // one reference each; null for failed frames
};
