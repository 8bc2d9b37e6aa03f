#include "engine/Button.h"

#include "app/Application.h"
#include "engine/ButtonListener.h"
#include "media/Bitmap.h"
#include "media/BitmapCache.h"
#include "media/MovieLibrary.h"
#include "media/PictureAhead.h"

Button::~Button()
{
    Button::Release();
}

void Button::SetNormalMovie(const std::string& path)
{
    stateMovies[Normal] = path;
    needsLoad = true;
}

void Button::SetMouseOverMovie(const std::string& path)
{
    stateMovies[MouseOver] = path;
    needsLoad = true;
}

void Button::SetMouseDownMovie(const std::string& path)
{
    stateMovies[Pressed] = path;
    needsLoad = true;
}

void Button::SetCaptionMovie(const std::string& path)
{
    captionMovie = path;
    captionLabel.SetText("");
    needsLoad = true;
}

void Button::SetCaptionText(const std::string& text)
{
    captionMovie.clear();
    caption.Release();
    captionLabel.SetText(text);
    Layout();
    InvalidateRect();
    InvalidateCaption();
}

void Button::SetCaptionFont(const std::string& path, int size)
{
    captionLabel.SetFont(path, size);
    Layout();
    InvalidateRect();
    InvalidateCaption();
}

void Button::SetTextColour(int r, int g, int b)
{
    captionLabel.SetColour(Colour(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 255));
}

void Button::SetCaptionSize(int w, int h)
{
    captionWidth = w;
    captionHeight = h;
    needsLoad = true;
    Layout();
}

void Button::SetCaptionOffset(int dx, int dy)
{
    captionOffsetX = dx;
    captionOffsetY = dy;
    Layout();
}

void Button::SetPressedCaptionOffset(int dx, int dy)
{
    pressedOffsetX = dx;
    pressedOffsetY = dy;
    Layout();
}

void Button::SetHotkey(int key, bool needsAlt)
{
    hotkey = key;
    hotkeyNeedsAlt = needsAlt;
}

bool Button::SetHighlightSound(const std::string& name)
{
    return highlightSound.Set(name);
}

bool Button::SetPressSound(const std::string& name)
{
    return pressSound.Set(name);
}

void Button::SetListener(ButtonListener* value)
{
    state = Normal;
    mouseOver = false;
    Layout();
    InvalidateRect();
    listener = value;
}

void Button::SetPosition(int newX, int newY)
{
    Control::SetPosition(newX, newY);
    Layout();
}

void Button::SetSize(int w, int h)
{
    Control::SetSize(w, h);
    Layout();
}

void Button::Layout()
{
    const bool hasText = !captionLabel.GetText().empty();
    if (hasText)
    {
        captionWidth = captionLabel.GetWidth();
        captionHeight = captionLabel.GetHeight();
    }
    const int dx = state == Pressed ? pressedOffsetX : captionOffsetX;
    const int dy = state == Pressed ? pressedOffsetY : captionOffsetY;
    captionX = x + width / 2 - captionWidth / 2 + dx;
    captionY = y + height / 2 - captionHeight / 2 + dy;
    if (hasText)
    {
        captionLabel.SetPosition(captionX, captionY);
        InvalidateCaption();
    }
}

void Button::InvalidateCaption()
{
    if (captionWidth > 0 && captionHeight > 0)
    {
        Application::Get().Invalidate(captionX, captionY, captionWidth, captionHeight);
    }
}

bool Button::HitTest(int px, int py)
{
    if (hidden)
    {
        return false;
    }
    if (px < x || py < y || px > x + width || py > y + height)
    {
        return false;
    }
    const Bitmap* normal = stateBitmaps[Normal];
    if (normal == nullptr)
    {
        return false;
    }
    const int localX = px - x;
    const int localY = py - y;
    if (localX >= normal->Width() || localY >= normal->Height())
    {
        return false;
    }
    return normal->AlphaAt(localX, localY) != 0;
}

void Button::Release()
{
    for (int i = 0; i < 3; ++i)
    {
        BitmapCache::Get().Release(stateBitmaps[i]);
        stateBitmaps[i] = nullptr;
        stateKeys[i].clear();
        stateTried[i] = false;
    }
    caption.Release();
}

void Button::RenderAhead() const
{
    if (hidden)
        return;
    PictureAhead& ahead = PictureAhead::Get();
    ahead.Request(stateMovies[Normal], width, height, 0);
    if (!captionMovie.empty())
        ahead.Request(captionMovie, captionWidth, captionHeight, 0);
}

bool Button::OnKey(int key, bool alt)
{
    if (hidden || key != hotkey)
    {
        return false;
    }
    if (hotkeyNeedsAlt && !alt)
    {
        return false;
    }
    return Activate();
}

void Button::SetFocused(bool value)
{
    if (value == focused)
        return;
    focused = value;
    if (state == Pressed)
        return;
    if (value)
        highlightSound.Play();
    state = value || mouseOver ? MouseOver : Normal;
    Layout();
    InvalidateRect();
}

bool Button::Activate()
{
    if (hidden)
        return false;
    pressSound.Play();
    if (listener != nullptr)
        listener->OnButtonClicked(this);
    return true;
}

void Button::OnMouseDown(int px, int py)
{
    (void)px;
    (void)py;
    if (hidden)
    {
        return;
    }
    pressSound.Play();
    state = Pressed;
    Layout();
    InvalidateRect();
}

void Button::OnMouseUp(int px, int py)
{
    if (hidden || !mouseOver)
    {
        return;
    }
    if (listener != nullptr)
    {
        listener->OnButtonClicked(this);
    }
    // The listener may have hidden the button or switched screens; the
    // state still follows the pointer.
    state = HitTest(px, py) || focused ? MouseOver : Normal;
    Layout();
    InvalidateRect();
}

void Button::OnMouseEnter()
{
    if (hidden)
    {
        return;
    }
    Control::OnMouseEnter();
    highlightSound.Play();
    state = MouseOver;
    Layout();
    InvalidateRect();
}

void Button::OnMouseLeave()
{
    if (hidden)
    {
        return;
    }
    Control::OnMouseLeave();
    state = focused ? MouseOver : Normal;
    Layout();
    InvalidateRect();
}

// What Load keeps: a state picture of the same movie at the same size, and a
// caption of the same movie at the same size. The normal picture is rendered
// at once (hit tests read its alpha); the others when first shown.
void Button::Load()
{
    for (int i = 0; i < 3; ++i)
    {
        const std::string key =
            stateMovies[i].empty() ? std::string() : MovieLibrary::FrameKey(stateMovies[i], width, height, 0);
        if (key == stateKeys[i] && stateTried[i])
        {
            continue;
        }
        BitmapCache::Get().Release(stateBitmaps[i]);
        stateBitmaps[i] = nullptr;
        stateKeys[i] = key;
        stateTried[i] = false;
    }
    (void)StateBitmap(Normal);
    if (captionMovie.empty())
    {
        caption.Release();
    }
    else
    {
        caption.Load(captionMovie, captionWidth, captionHeight, Application::Get().time);
        InvalidateCaption();
    }
}

Bitmap* Button::StateBitmap(int which)
{
    if (!stateTried[which])
    {
        stateTried[which] = true;
        if (!stateMovies[which].empty())
        {
            stateBitmaps[which] = MovieLibrary::Get().RenderFrame(stateMovies[which].c_str(), width, height, 0);
        }
    }
    return stateBitmaps[which];
}

void Button::Update()
{
    if (!caption.IsAnimating())
    {
        return;
    }
    caption.Step(Application::Get().time);
    // An animated caption repaints every frame while it runs.
    InvalidateCaption();
}

bool Button::Draw(Application& app)
{
    if (!Control::Draw(app))
    {
        return false;
    }
    if (const Bitmap* body = StateBitmap(state))
    {
        body->Draw(app, x, y, width, height);
    }
    if (!captionLabel.GetText().empty())
    {
        captionLabel.Draw(app);
    }
    else if (const Bitmap* frame = caption.Current())
    {
        frame->Draw(app, captionX, captionY, captionWidth, captionHeight);
    }
    return true;
}
