#include "engine/Control.h"

#include <algorithm>
#include <limits>

#include "app/Application.h"

void Control::SetTag(int value)
{
    tag = value;
}
int Control::GetTag() const
{
    return tag;
}
int Control::GetX() const
{
    return x;
}
int Control::GetY() const
{
    return y;
}

void Control::SetPosition(int newX, int newY)
{
    if (newX == x && newY == y)
        return;
    InvalidateRect();
    x = newX;
    y = newY;
    InvalidateRect();
}

void Control::GetPosition(int& outX, int& outY) const
{
    outX = x;
    outY = y;
}

void Control::SetClipSize(int w, int h)
{
    clipWidth = w;
    clipHeight = h;
    InvalidateRect();
}

void Control::SetClipHeight(int h)
{
    if (clipWidth == -1 || clipHeight == -1)
    {
        SetClipSize(clipWidth == -1 ? width : clipWidth, h);
        return;
    }
    if (h == clipHeight)
        return;
    const int from = std::min(h, clipHeight);
    const int to = std::max(h, clipHeight);
    clipHeight = h;
    Application::Get().Invalidate(x, y + from, width, to - from);
}

int Control::GetWidth() const
{
    return width;
}
int Control::GetHeight() const
{
    return height;
}

void Control::SetSize(int w, int h)
{
    if (w == width && h == height)
        return;
    InvalidateRect();
    width = w;
    height = h;
    // The images are rebuilt at the new size on the next draw, which also
    // invalidates the new rectangle.
    needsLoad = true;
}

void Control::GetSize(int& w, int& h) const
{
    w = width;
    h = height;
}

bool Control::HitTest(int px, int py)
{
    if (hidden)
        return false;
    return px >= x && px <= x + width && py >= y && py <= y + height;
}

void Control::Release() {}

bool Control::OnKey(int, bool)
{
    return false;
}
void Control::OnMouseDown(int, int) {}
void Control::OnMouseUp(int, int) {}
bool Control::IsMouseOver() const
{
    return mouseOver;
}

void Control::OnMouseEnter()
{
    mouseOver = true;
    InvalidateRect();
}

void Control::OnMouseLeave()
{
    mouseOver = false;
    InvalidateRect();
}

void Control::OnMouseMove(int, int) {}

bool Control::Draw(Application& app)
{
    // A hidden control builds nothing: Show invalidates it, and the draw
    // after that loads it.
    if (needsLoad && !hidden)
    {
        Load();
        InvalidateRect();
        needsLoad = false;
    }
    return NeedsDraw(app);
}

void Control::Update() {}

void Control::Show()
{
    if (!hidden)
        return;
    hidden = false;
    InvalidateRect();
}

void Control::Hide()
{
    if (hidden)
        return;
    hidden = true;
    InvalidateRect();
}

bool Control::IsHidden() const
{
    return hidden;
}

bool Control::NeedsDraw(Application& app)
{
    if (hidden)
        return false;
    return app.IsDirty(x, y, width, height);
}

double Control::NextTimedChange() const
{
    return std::numeric_limits<double>::infinity();
}

void Control::InvalidateRect()
{
    Application::Get().Invalidate(x, y, width, height);
}
