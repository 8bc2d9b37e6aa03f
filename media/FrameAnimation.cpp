#include "media/FrameAnimation.h"

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
}

void FrameAnimation::Load(const std::string& path, int width, int height, double now)
{
    MovieLibrary& library = MovieLibrary::Get();
    frameCount = library.GetFrameCount(path.c_str());
    if (frameCount > MaxFrames)
    {
        frameCount = MaxFrames;
    }
    // The new frames are taken before the old ones are let go, so a reload
    // that asks for the same pictures finds them still in the cache.
    std::vector<Bitmap*> rendered;
    rendered.reserve(static_cast<size_t>(frameCount));
    for (int i = 0; i < frameCount; ++i)
    {
        rendered.push_back(library.RenderFrame(path.c_str(), width, height, i));
    }
    Release();
    frames = std::move(rendered);
    // One period of the movie's whole-number rate. Below 1 frame per second
    // there is no usable period and the animation holds its first frame.
    const float rate = library.GetFrameRate(path.c_str());
    frameDuration = (frameCount > 1 && rate >= 1.0f) ? 1.0 / static_cast<double>(rate) : 0.0;
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
    return frames[static_cast<size_t>(currentFrame)];
}
