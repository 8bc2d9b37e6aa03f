#include "engine/Checkbox.h"

#include "app/Application.h"
#include "media/Bitmap.h"
#include "media/BitmapCache.h"
#include "media/MovieLibrary.h"

Checkbox::~Checkbox()
{
    Checkbox::Release();
}

void Checkbox::SetBoxMovie(const std::string& path)
{
    boxMovie = path;
    needsLoad = true;
}

void Checkbox::SetMouseOverMovie(const std::string& path)
{
    mouseOverMovie = path;
    needsLoad = true;
}

void Checkbox::SetMarkMovie(const std::string& path)
{
    markMovie = path;
    needsLoad = true;
}

void Checkbox::SetMarkSize(int w, int h)
{
    markWidth = w;
    markHeight = h;
    CentreMark();
    needsLoad = true;
}

void Checkbox::SetChecked(bool value)
{
    checked = value;
    InvalidateRect();
}

bool Checkbox::SetHighlightSound(const std::string& name)
{
    return highlightSound.Set(name);
}

bool Checkbox::SetPressSound(const std::string& name)
{
    return pressSound.Set(name);
}

void Checkbox::SetPosition(int newX, int newY)
{
    Control::SetPosition(newX, newY);
    CentreMark();
}

void Checkbox::SetSize(int w, int h)
{
    Control::SetSize(w, h);
    CentreMark();
}

void Checkbox::CentreMark()
{
    markX = x + width / 2 - markWidth / 2;
    markY = y + height / 2 - markHeight / 2;
}

void Checkbox::InvalidateMark()
{
    if (markWidth > 0 && markHeight > 0)
    {
        Application::Get().Invalidate(markX, markY, markWidth, markHeight);
    }
}

bool Checkbox::HitTest(int px, int py)
{
    if (hidden || px < x || py < y || px > x + width || py > y + height)
    {
        return false;
    }
    const Bitmap* box = boxBitmaps[0];
    return box != nullptr && box->AlphaAt(px - x, py - y) != 0;
}

void Checkbox::Release()
{
    for (Bitmap*& bitmap : boxBitmaps)
    {
        BitmapCache::Get().Release(bitmap);
        bitmap = nullptr;
    }
    mark.Release();
}

void Checkbox::OnMouseDown(int px, int py)
{
    (void)px;
    (void)py;
    if (hidden)
    {
        return;
    }
    pressSound.Play();
    checked = !checked;
    InvalidateRect();
}

void Checkbox::SetFocused(bool value)
{
    if (value == focused)
        return;
    focused = value;
    if (value)
        highlightSound.Play();
    state = value || mouseOver ? 1 : 0;
    InvalidateRect();
}

bool Checkbox::Activate()
{
    if (hidden)
        return false;
    OnMouseDown(x, y);
    return true;
}

void Checkbox::OnMouseEnter()
{
    if (hidden)
    {
        return;
    }
    Control::OnMouseEnter();
    highlightSound.Play();
    state = 1;
    InvalidateRect();
}

void Checkbox::OnMouseLeave()
{
    if (hidden)
    {
        return;
    }
    Control::OnMouseLeave();
    state = focused ? 1 : 0;
    InvalidateRect();
}

void Checkbox::Load()
{
    // New pictures first, then the old ones go: a reload reuses the cache.
    MovieLibrary& library = MovieLibrary::Get();
    Bitmap* box = boxMovie.empty() ? nullptr : library.RenderFrame(boxMovie.c_str(), width, height, 0);
    Bitmap* over = mouseOverMovie.empty() ? nullptr : library.RenderFrame(mouseOverMovie.c_str(), width, height, 0);
    for (Bitmap*& bitmap : boxBitmaps)
    {
        BitmapCache::Get().Release(bitmap);
    }
    boxBitmaps[0] = box;
    boxBitmaps[1] = over;
    if (markMovie.empty())
    {
        mark.Release();
    }
    else
    {
        mark.Load(markMovie, markWidth, markHeight, Application::Get().time);
    }
}

void Checkbox::Update()
{
    if (!mark.IsAnimating())
    {
        return;
    }
    mark.Step(Application::Get().time);
    InvalidateMark();
}

bool Checkbox::Draw(Application& app)
{
    if (!Control::Draw(app))
    {
        return false;
    }
    // A state without its own picture shows the normal box.
    const Bitmap* box = boxBitmaps[state] != nullptr ? boxBitmaps[state] : boxBitmaps[0];
    if (box != nullptr)
    {
        box->Draw(app, x, y, width, height);
    }
    if (checked)
    {
        if (const Bitmap* frame = mark.Current())
        {
            frame->Draw(app, markX, markY, markWidth, markHeight);
        }
    }
    return true;
}
