#pragma once

#include <string>

#include "engine/Control.h"
#include "media/FrameAnimation.h"

// A control showing one movie at its own size, each frame rendered once when
// first shown (and shared through the BitmapCache), stepped by the
// application clock.
// clipWidth/clipHeight show only the top-left part (bars and gauges).
class Sprite : public Control
{
  public:
    Sprite() = default;
    ~Sprite() override;

    // Same path (exactly) with frames already rendered: nothing. Otherwise
    // the movie is rendered at the next draw.
    bool SetMovie(const std::string& path);
    void SetLoopFrame(int frame) { animation.loopFrame = frame; }
    [[nodiscard]] const std::string& GetMovie() const { return moviePath; }
    [[nodiscard]] int GetCurrentFrame() const { return animation.currentFrame; }
    [[nodiscard]] int GetFrameCount() const { return animation.frameCount; }
    [[nodiscard]] const FrameAnimation& Animation() const { return animation; }

    // Asks PictureAhead for the first frame this sprite would show when
    // drawn at its present movie and size; nothing while hidden.
    void RenderAhead() const;

    void Release() override;
    bool Draw(Application& app) override;
    void Load() override;
    void Update() override;
    double NextTimedChange() const override { return animation.NextChange(); }

  private:
    std::string moviePath;
    FrameAnimation animation;
};
