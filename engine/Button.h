#pragma once

#include <string>

#include "engine/Control.h"
#include "engine/ControlSound.h"
#include "media/FrameAnimation.h"
#include "media/TextLabel.h"

class Bitmap;
class ButtonListener;

// A push button: a picture per state, an optional caption (a text or an
// animated movie, centred, nudged while pressed), a hotkey, a highlight and a
// press sound and a click listener. It hit-tests on the alpha of its normal
// picture, so round buttons ignore clicks on their transparent corners.
//
//   state 0 normal --enter--> 1 over --press--> 2 pressed
//   release while hovered: click, then 1 (still over it) or 0; leave: 0
class Button : public Control
{
  public:
    enum State
    {
        Normal = 0,
        MouseOver = 1,
        Pressed = 2
    };

    Button() = default;
    ~Button() override;

    void SetNormalMovie(const std::string& path);
    void SetMouseOverMovie(const std::string& path);
    void SetMouseDownMovie(const std::string& path);
    void SetCaptionMovie(const std::string& path);
    void SetCaptionText(const std::string& text);
    void SetCaptionFont(const std::string& path, int size);
    void SetTextColour(int r, int g, int b);
    void SetCaptionSize(int w, int h);
    void SetCaptionOffset(int dx, int dy);
    void SetPressedCaptionOffset(int dx, int dy);
    void SetCaptionLoopFrame(int frame) { caption.loopFrame = frame; }
    void SetHotkey(int key, bool needsAlt);
    bool SetHighlightSound(const std::string& name);
    bool SetPressSound(const std::string& name);
    void SetListener(ButtonListener* value);
    [[nodiscard]] std::string GetCaptionText() const { return captionLabel.GetText(); }
    [[nodiscard]] bool IsMouseOverState() const { return state == MouseOver; }
    [[nodiscard]] int GetState() const { return state; }
    [[nodiscard]] int GetCaptionX() const { return captionX; }
    [[nodiscard]] int GetCaptionY() const { return captionY; }
    [[nodiscard]] const FrameAnimation& Caption() const { return caption; }

    void SetPosition(int newX, int newY) override;
    void SetSize(int w, int h) override;
    bool HitTest(int px, int py) override;
    // Asks PictureAhead for the normal picture and the caption's first
    // frame this button would show when drawn as it is set up now.
    void RenderAhead() const;

    void Release() override;
    bool OnKey(int key, bool alt) override;
    void OnMouseDown(int px, int py) override;
    void OnMouseUp(int px, int py) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool Draw(Application& app) override;
    void Load() override;
    void Update() override;
    double NextTimedChange() const override { return caption.NextChange(); }
    // A visible button with a listener takes the focus and shows it with
    // its mouse-over picture.
    bool CanTakeFocus() const override { return !hidden && listener != nullptr; }
    void SetFocused(bool value) override;
    bool Activate() override;

  private:
    void Layout();
    void InvalidateCaption();
    // The picture of a state, rendered on first use.
    Bitmap* StateBitmap(int which);

    bool hotkeyNeedsAlt = false;
    int hotkey = 0;
    ControlSound highlightSound;
    ControlSound pressSound;
    ButtonListener* listener = nullptr;
    int state = Normal;
    std::string stateMovies[3];
    Bitmap* stateBitmaps[3] = {nullptr, nullptr, nullptr};
    std::string stateKeys[3];                   // what each picture was rendered from
    bool stateTried[3] = {false, false, false}; // rendered, or tried to
    std::string captionMovie;
    FrameAnimation caption;
    int captionOffsetX = 0;
    int captionOffsetY = 0;
    int pressedOffsetX = 0;
    int pressedOffsetY = 0;
    TextLabel captionLabel;
    int captionWidth = 0;
    int captionHeight = 0;
    int captionX = 0;
    int captionY = 0;
};
