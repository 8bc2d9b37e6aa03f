#include "media/FrameAnimation.h"

#include <limits>

#include "media/BitmapCache.h"
#include "media/MovieLibrary.h"

namespace
{
// A damaged header may declare thousands of frames; no game movie has more
// than a few dozen, and each frame is a full picture in memory.
constexpr int MaxFrames = 1000;
} // namespace

FrameAnimation::~FrameAnimation()
{
    Release();
}

void FrameAnimation::Release()
{
    for (Bitmap* frame : frames)
    {
        BitmapCache::Get().Release(frame);
    }
    frames.clear();
    tried.clear();
}

void FrameAnimation::Load(const std::string& newPath, int newWidth, int newHeight, double now)
{
    // Paths compare as the BitmapCache keys them, without regard to case.
    const bool same =
        !frames.empty() && ToLowerAscii(newPath) == ToLowerAscii(path) && newWidth == width && newHeight == height;
    if (!same)
    {
        Release();
        path = newPath;
        width = newWidth;
        height = newHeight;
        MovieLibrary& library = MovieLibrary::Get();
        frameCount = library.GetFrameCount(path.c_str());
        if (frameCount > MaxFrames)
        {
            frameCount = MaxFrames;
        }
        frames.assign(static_cast<size_t>(frameCount), nullptr);
        tried.assign(static_cast<size_t>(frameCount), false);
        // One period of the movie's whole-number rate. Below 1 frame per
        // second there is no usable period and the animation holds its first
        // frame.
        const float rate = library.GetFrameRate(path.c_str());
        frameDuration = (frameCount > 1 && rate >= 1.0f) ? 1.0 / static_cast<double>(rate) : 0.0;
    }
    lastFrameTime = now;
    currentFrame = 0;
}

bool FrameAnimation::IsAnimating() const
{
    if (frameCount <= 1 || frameDuration <= 0.0)
    {
        return false;
    }
    return !(loopFrame == -1 && currentFrame >= frameCount - 1);
}

double FrameAnimation::NextChange() const
{
    return IsAnimating() ? lastFrameTime + frameDuration : std::numeric_limits<double>::infinity();
}

bool FrameAnimation::Step(double now)
{
    if (!IsAnimating())
    {
        return false;
    }
    if (!(lastFrameTime + frameDuration < now))
    {
        return false;
    }
    lastFrameTime = now;
    currentFrame += 1;
    if (currentFrame >= frameCount)
    {
        // A loop frame outside the movie would index nothing: start over.
        currentFrame = (loopFrame >= 0 && loopFrame < frameCount) ? loopFrame : 0;
    }
    return true;
}

Bitmap* FrameAnimation::Current() const
{
    if (currentFrame < 0 || currentFrame >= static_cast<int>(frames.size()))
    {
        return nullptr;
    }
    const size_t index = static_cast<size_t>(currentFrame);
    if (!tried[index])
    {
        // Each frame is rendered by a fresh instance of the movie, so what
        // frame k shows does not depend on the frames shown before it.
        tried[index] = true;
        frames[index] = MovieLibrary::Get().RenderFrame(path.c_str(), width, height, currentFrame);
    }
    return frames[index];
}
