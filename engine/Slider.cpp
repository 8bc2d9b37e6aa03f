#include "engine/Slider.h"

#include <algorithm>
#include <cmath>

#include "app/Application.h"
#include "engine/KeyCode.h"
#include "engine/ScreenManager.h"
#include "engine/SliderListener.h"
#include "media/Bitmap.h"
#include "media/BitmapCache.h"
#include "media/MovieLibrary.h"

Slider::~Slider()
{
    Release();
    if (ScreenManager::Get().GetCapture() == this)
    {
        ScreenManager::Get().SetCapture(nullptr);
    }
}

void Slider::SetTrackMovie(const std::string& path)
{
    trackMovie = path;
    needsLoad = true;
}

void Slider::SetShuttleMovie(const std::string& path)
{
    shuttleMovies[0] = path;
    needsLoad = true;
}

void Slider::SetShuttleMouseOverMovie(const std::string& path)
{
    shuttleMovies[1] = path;
    needsLoad = true;
}

void Slider::SetShuttleMouseDownMovie(const std::string& path)
{
    shuttleMovies[2] = path;
    needsLoad = true;
}

void Slider::SetShuttleSize(int w, int h)
{
    shuttleWidth = w;
    shuttleHeight = h;
    Recompute();
    needsLoad = true;
}

void Slider::SetRange(int min, int max)
{
    minX = min;
    maxX = max;
    Recompute();
}

bool Slider::SetHighlightSound(const std::string& name)
{
    return highlightSound.Set(name);
}

bool Slider::SetPressSound(const std::string& name)
{
    return pressSound.Set(name);
}

void Slider::SetPosition(int newX, int newY)
{
    Control::SetPosition(newX, newY);
    Recompute();
}

void Slider::SetSize(int w, int h)
{
    Control::SetSize(w, h);
    Recompute();
}

void Slider::Recompute()
{
    const int travel = maxX > minX ? maxX - minX : 0;
    // The value is a float, so a position read back from it can fall a hair
    // short of the whole pixel it came from (150 / 180 gives 149.99998);
    // the small allowance keeps the shuttle under the pointer.
    shuttleOffset = static_cast<int>(std::floor(static_cast<double>(travel) * value + 1e-3));
    shuttleX = minX + shuttleOffset;
    shuttleY = y + height / 2 - shuttleHeight / 2;
}

void Slider::InvalidateBand()
{
    Application::Get().Invalidate(x - shuttleWidth, shuttleY, width + 2 * shuttleWidth, shuttleHeight);
}

void Slider::SetValue(float newValue, bool release)
{
    if (std::isnan(newValue))
    {
        return;
    }
    value = newValue < 0.0f ? 0.0f : (newValue > 1.0f ? 1.0f : newValue);
    Recompute();
    InvalidateBand();
    if (listener != nullptr)
    {
        listener->OnSliderChanged(this);
        if (release)
        {
            listener->OnSliderReleased(this);
        }
    }
}

bool Slider::HitsShuttle(int px, int py) const
{
    if (px < shuttleX || py < shuttleY || px > shuttleX + shuttleWidth || py > shuttleY + shuttleHeight)
    {
        return false;
    }
    const Bitmap* shuttle = shuttleBitmaps[0];
    return shuttle != nullptr && shuttle->AlphaAt(px - shuttleX, py - shuttleY) != 0;
}

bool Slider::HitTest(int px, int py)
{
    if (hidden)
    {
        return false;
    }
    if (px >= x && py >= y && px <= x + width && py <= y + height)
    {
        return true;
    }
    return HitsShuttle(px, py);
}

bool Slider::FollowPointer(int px)
{
    if (maxX <= minX)
    {
        return false; // no travel: nothing to divide by
    }
    int left = px - shuttleWidth / 2;
    left = left < minX ? minX : (left > maxX ? maxX : left);
    value = static_cast<float>(left - minX) / static_cast<float>(maxX - minX);
    Recompute();
    return true;
}

void Slider::OnMouseDown(int px, int py)
{
    if (hidden)
    {
        return;
    }
    pressSound.Play();
    if (HitsShuttle(px, py))
    {
        dragging = true;
        ScreenManager::Get().SetCapture(this);
    }
    else if (px >= x && py >= y && px <= x + width && py <= y + height)
    {
        dragging = true;
        ScreenManager::Get().SetCapture(this);
        if (FollowPointer(px) && listener != nullptr)
        {
            listener->OnSliderChanged(this);
        }
    }
    state = 2;
    InvalidateBand();
    InvalidateRect();
}

void Slider::OnMouseMove(int px, int py)
{
    (void)py;
    ScreenManager& screens = ScreenManager::Get();
    if (!dragging || !screens.IsLeftButtonDown() || screens.GetCapture() != this)
    {
        return;
    }
    if (FollowPointer(px) && listener != nullptr)
    {
        listener->OnSliderChanged(this);
    }
    InvalidateBand();
}

void Slider::OnMouseUp(int px, int py)
{
    dragging = false;
    ScreenManager& screens = ScreenManager::Get();
    if (screens.GetCapture() == this)
    {
        screens.SetCapture(nullptr);
    }
    if (listener != nullptr)
    {
        listener->OnSliderReleased(this);
    }
    if (!hidden && mouseOver)
    {
        state = HitTest(px, py) ? 1 : 0;
        Recompute();
        InvalidateBand();
    }
    else if (state == 2)
    {
        // Let go away from the slider: the shuttle no longer looks pressed.
        state = 0;
        InvalidateBand();
    }
}

void Slider::SetFocused(bool value)
{
    if (value == focused)
        return;
    focused = value;
    if (value)
        highlightSound.Play();
    if (!dragging)
        state = value || mouseOver ? 1 : 0;
    InvalidateBand();
}

bool Slider::Activate()
{
    if (hidden)
        return false;
    if (listener != nullptr)
        listener->OnSliderReleased(this);
    return true;
}

bool Slider::StepValue(int direction)
{
    if (hidden)
        return false;
    // Whole steps, so the value lands on 0 and 1 exactly and a value between
    // two steps goes to the next one that way.
    const float steps = value / Step;
    const float next = direction > 0 ? std::floor(steps + 0.01f) + 1.0f : std::ceil(steps - 0.01f) - 1.0f;
    const float stepped = std::clamp(next * Step, 0.0f, 1.0f);
    if (stepped != value)
        SetValue(stepped, true);
    return true;
}

bool Slider::Steer(PadButton direction, bool repeat)
{
    (void)repeat;
    if (direction == PadButton::DPadLeft || direction == PadButton::DPadRight)
        return StepValue(direction == PadButton::DPadRight ? 1 : -1);
    return false;
}

bool Slider::OnKey(int key, bool alt)
{
    if (!focused || alt || (key != KeyCode::Left && key != KeyCode::Right))
        return false;
    return StepValue(key == KeyCode::Right ? 1 : -1);
}

void Slider::OnMouseEnter()
{
    if (hidden)
    {
        return;
    }
    Control::OnMouseEnter();
    highlightSound.Play();
    state = 1;
    InvalidateBand();
}

void Slider::OnMouseLeave()
{
    if (hidden)
    {
        return;
    }
    Control::OnMouseLeave();
    // A drag in progress keeps its pressed look until the button is let go.
    if (!dragging)
    {
        state = focused ? 1 : 0;
    }
    InvalidateBand();
}

void Slider::Release()
{
    BitmapCache::Get().Release(trackBitmap);
    trackBitmap = nullptr;
    for (Bitmap*& bitmap : shuttleBitmaps)
    {
        BitmapCache::Get().Release(bitmap);
        bitmap = nullptr;
    }
}

void Slider::Load()
{
    // New pictures first, then the old ones go: a reload reuses the cache.
    MovieLibrary& library = MovieLibrary::Get();
    Bitmap* track = trackMovie.empty() ? nullptr : library.RenderFrame(trackMovie.c_str(), width, height, 0);
    Bitmap* shuttles[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < 3; ++i)
    {
        if (!shuttleMovies[i].empty())
        {
            shuttles[i] = library.RenderFrame(shuttleMovies[i].c_str(), shuttleWidth, shuttleHeight, 0);
        }
    }
    Release();
    trackBitmap = track;
    for (int i = 0; i < 3; ++i)
    {
        shuttleBitmaps[i] = shuttles[i];
    }
    InvalidateBand();
}

bool Slider::Draw(Application& app)
{
    if (!Control::Draw(app))
    {
        // The shuttle reaches past the track on both ends; it is drawn when
        // its own band is dirty as well.
        if (hidden || !app.IsDirty(shuttleX, shuttleY, shuttleWidth, shuttleHeight))
        {
            return false;
        }
    }
    if (trackBitmap != nullptr)
    {
        trackBitmap->Draw(app, x, y, width, height);
    }
    const Bitmap* shuttle = shuttleBitmaps[state] != nullptr ? shuttleBitmaps[state] : shuttleBitmaps[0];
    if (shuttle != nullptr)
    {
        shuttle->Draw(app, shuttleX, shuttleY, shuttleWidth, shuttleHeight);
    }
    return true;
}
