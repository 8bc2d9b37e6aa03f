// The back buffer, its grid of dirty tiles, bitmap compositing and the
// drawing half of each frame.
#include "app/Application.h"

#include <algorithm>
#include <cstring>

#include "engine/Compositor.h"
#include "engine/ScreenManager.h"

bool Application::CreateBackBuffer()
{
    if (width < 1 || height < 1)
    {
        backBuffer.clear();
        return false;
    }
    backBuffer.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    for (DirtyTile& tile : tiles)
        tile.clear = false;
    return true;
}

void Application::DestroyBackBuffer()
{
    backBuffer.clear();
    backBuffer.shrink_to_fit();
}

void Application::BuildTiles()
{
    tileColumns = (width + TileSize - 1) / TileSize;
    tileRows = (height + TileSize - 1) / TileSize;
    tiles.clear();
    for (int row = 0; row < tileRows; ++row)
    {
        for (int column = 0; column < tileColumns; ++column)
            tiles.push_back({true, false, column * TileSize, row * TileSize, TileSize, TileSize});
    }
}

void Application::SetBackgroundColour(int r, int g, int b)
{
    auto channel = [](int value) { return static_cast<uint32_t>(std::clamp(value, 0, 255)); };
    backgroundColour = (channel(r) << 16) | (channel(g) << 8) | channel(b);
    std::fill(backBuffer.begin(), backBuffer.end(), backgroundColour);
    for (DirtyTile& tile : tiles)
    {
        tile.dirty = true;
        tile.clear = true;
    }
}

namespace
{

// Overlap of a tile and a rectangle; false when they share no pixel (a
// rectangle that only touches the tile's edge does not overlap it).
bool Overlap(const DirtyTile& tile, int x, int y, int w, int h, int& left, int& top, int& right, int& bottom)
{
    left = std::max(tile.x, x);
    top = std::max(tile.y, y);
    // 64-bit sums: a rectangle near INT_MAX must not wrap around.
    right = static_cast<int>(std::min<int64_t>(int64_t{tile.x} + tile.width, int64_t{x} + w));
    bottom = static_cast<int>(std::min<int64_t>(int64_t{tile.y} + tile.height, int64_t{y} + h));
    return right > left && bottom > top;
}

} // namespace

void Application::Invalidate(int x, int y, int w, int h)
{
    if (w < 1 || h < 1 || tiles.empty() || invalidationHeld)
        return;
    int left, top, right, bottom;
    for (DirtyTile& tile : tiles)
    {
        if (!tile.dirty && Overlap(tile, x, y, w, h, left, top, right, bottom))
            tile.dirty = true;
    }
}

bool Application::IsDirty(int x, int y, int w, int h) const
{
    if (w < 1 || h < 1)
        return false;
    int left, top, right, bottom;
    for (const DirtyTile& tile : tiles)
    {
        if (tile.dirty && Overlap(tile, x, y, w, h, left, top, right, bottom))
            return true;
    }
    return false;
}

void Application::ClipToBuffer(const DirtyTile& tile, int x, int y, int w, int h, int& left, int& top, int& right,
                               int& bottom) const
{
    if (!Overlap(tile, x, y, w, h, left, top, right, bottom))
    {
        right = left;
        return;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
}

void Application::DrawBitmap(const uint32_t* pixels, int bmpWidth, int bmpHeight, bool hasAlpha, int x, int y, int w,
                             int h)
{
    if (!pixels || backBuffer.empty())
        return;
    // Never read past the bitmap, whatever size the caller asks for.
    w = std::min(w, bmpWidth);
    h = std::min(h, bmpHeight);
    if (w < 1 || h < 1)
        return;

    int left, top, right, bottom;
    for (DirtyTile& tile : tiles)
    {
        if (!tile.dirty)
            continue;
        ClipToBuffer(tile, x, y, w, h, left, top, right, bottom);
        if (right <= left || bottom <= top)
            continue;
        tile.clear = false;
        const int count = right - left;
        for (int py = top; py < bottom; ++py)
        {
            uint32_t* target = backBuffer.data() + static_cast<size_t>(py) * width + left;
            const uint32_t* source = pixels + static_cast<size_t>(py - y) * bmpWidth + (left - x);
            if (hasAlpha)
                BlendSpan(target, source, count);
            else
                std::memcpy(target, source, static_cast<size_t>(count) * sizeof(uint32_t));
        }
    }
}

bool Application::AnyDirty() const
{
    return std::any_of(tiles.begin(), tiles.end(), [](const DirtyTile& tile) { return tile.dirty; });
}

// The dirty tiles clipped to the back buffer, as few rectangles: runs of
// dirty tiles along a row join, and a run the row above has too grows down.
std::vector<PresentRect> Application::DirtyRects() const
{
    std::vector<PresentRect> rects;
    for (int row = 0; row < tileRows; ++row)
    {
        const size_t thisRow = rects.size();
        for (int column = 0; column < tileColumns;)
        {
            if (!tiles[static_cast<size_t>(row * tileColumns + column)].dirty)
            {
                ++column;
                continue;
            }
            const int first = column;
            while (column < tileColumns && tiles[static_cast<size_t>(row * tileColumns + column)].dirty)
                ++column;
            PresentRect run;
            run.x = first * TileSize;
            run.y = row * TileSize;
            run.width = std::min(column * TileSize, width) - run.x;
            run.height = std::min((row + 1) * TileSize, height) - run.y;
            if (run.width < 1 || run.height < 1)
                continue;
            const auto rowEnd = rects.begin() + static_cast<std::ptrdiff_t>(thisRow);
            const auto above = std::find_if(
                rects.begin(), rowEnd,
                [&](const PresentRect& r) { return r.x == run.x && r.width == run.width && r.y + r.height == run.y; });
            if (above != rowEnd)
                above->height += run.height;
            else
                rects.push_back(run);
        }
    }
    return rects;
}

bool Application::Render()
{
    ScreenManager& screens = ScreenManager::Get();
    screens.Update();
    if (!AnyDirty())
        return true;
    // At most one present per display refresh: a change made sooner waits
    // in its tiles for the next one (the loop wakes for it).
    const double period = RefreshPeriod();
    const double now = GetTime();
    if (period > 0.0 && lastPresentTime >= 0.0 && now < lastPresentTime + period - 0.001)
        return true;

    // A tile still as SetBackgroundColour filled it needs no second fill.
    int left, top, right, bottom;
    for (DirtyTile& tile : tiles)
    {
        if (!tile.dirty || tile.clear)
            continue;
        tile.clear = true;
        ClipToBuffer(tile, tile.x, tile.y, tile.width, tile.height, left, top, right, bottom);
        if (backBuffer.empty() || right <= left || bottom <= top)
            continue;
        for (int py = top; py < bottom; ++py)
        {
            uint32_t* row = backBuffer.data() + static_cast<size_t>(py) * width;
            std::fill(row + left, row + right, backgroundColour);
        }
    }

    screens.Draw(*this);
    // Without a back buffer (a failed creation) there is nothing to show.
    if (windowOpen && !backBuffer.empty())
    {
        Platform::Get().Present(backBuffer.data(), width, height, DirtyRects());
        lastPresentTime = now;
    }
    for (DirtyTile& tile : tiles)
        tile.dirty = false;
    return true;
}
