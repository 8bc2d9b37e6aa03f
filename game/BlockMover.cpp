#include "game/BlockMover.h"

#include "app/Application.h"

BlockMover::BlockMover()
{
    horizontal.SetMovie("Data/Graphics/BlockCursorHorz.swf");
    vertical.SetMovie("Data/Graphics/BlockCursorVert.swf");
}

void BlockMover::SetOrientation(int value)
{
    if (value != Horizontal && value != Vertical)
        return;
    orientation = value;
    InvalidateRect();
}

void BlockMover::SetPosition(int newX, int newY)
{
    Control::SetPosition(newX, newY);
    horizontal.SetPosition(newX, newY);
    vertical.SetPosition(newX, newY);
}

void BlockMover::SetSize(int w, int h)
{
    Control::SetSize(w, h);
    horizontal.SetSize(w, h);
    vertical.SetSize(w, h);
}

void BlockMover::Load() {}

bool BlockMover::Draw(Application& app)
{
    if (!Control::Draw(app))
        return false;
    Sprite& current = IsHorizontal() ? horizontal : vertical;
    current.Draw(app);
    return true;
}

void BlockMover::Update()
{
    if (!hidden)
        (IsHorizontal() ? horizontal : vertical).Update();
}

void BlockMover::Release()
{
    horizontal.Release();
    vertical.Release();
    horizontal.SetMovie(horizontal.GetMovie());
    vertical.SetMovie(vertical.GetMovie());
    needsLoad = true;
}
