#include "media/Sprite.h"

#include "app/Application.h"
#include "media/Bitmap.h"
#include "media/PictureAhead.h"

Sprite::~Sprite()
{
    animation.Release();
}

bool Sprite::SetMovie(const std::string& path)
{
    if (path == moviePath && !animation.Empty())
    {
        return true;
    }
    moviePath = path;
    needsLoad = true;
    return true;
}

void Sprite::Release()
{
    // needsLoad stays clear: the sprite stays empty until its owner sets the
    // movie or the size again.
    animation.Release();
}

void Sprite::RenderAhead() const
{
    if (!hidden)
        PictureAhead::Get().Request(moviePath, width, height, 0);
}

void Sprite::Load()
{
    animation.Load(moviePath, width, height, Application::Get().time);
}

void Sprite::Update()
{
    if (animation.Step(Application::Get().time))
    {
        InvalidateRect();
    }
}

bool Sprite::Draw(Application& app)
{
    if (!Control::Draw(app))
    {
        return false;
    }
    const Bitmap* frame = animation.Current();
    if (frame == nullptr)
    {
        return false;
    }
    // A clip shows the top-left part; a clip height of -1 keeps the full height.
    const int w = clipWidth != -1 ? clipWidth : width;
    const int h = (clipWidth != -1 && clipHeight != -1) ? clipHeight : height;
    frame->Draw(app, x, y, w, h);
    return true;
}
