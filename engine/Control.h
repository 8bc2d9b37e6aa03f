#pragma once

#include "engine/PadButton.h"

class Application;

// Base of everything drawn on screen. A control has a rectangle in
// back-buffer pixels, invalidates it whenever it changes, builds its images
// lazily (Load, on the first draw after creation, SetSize or Release, and
// not while it is hidden) and paints only inside dirty tiles.
class Control
{
  public:
    Control() = default;
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    virtual void SetTag(int value);
    virtual int GetTag() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual void SetPosition(int newX, int newY);
    virtual void GetPosition(int& outX, int& outY) const;
    virtual void SetClipSize(int w, int h);
    // SetClipSize for a clip that only grows or shrinks in height: only the
    // rows between the old and the new height are invalidated.
    void SetClipHeight(int h);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual void SetSize(int w, int h);
    virtual void GetSize(int& w, int& h) const;
    // Both the right and the bottom edge (x + width, y + height) hit.
    virtual bool HitTest(int px, int py);
    virtual void Release();
    // True when the control used the key (it is then offered to no one else).
    virtual bool OnKey(int key, bool alt);
    virtual void OnMouseDown(int px, int py);
    virtual void OnMouseUp(int px, int py);
    virtual bool IsMouseOver() const;
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual void OnMouseMove(int px, int py);
    // The first step of every subclass's drawing: builds the images if needed
    // and answers whether anything must be painted this frame.
    virtual bool Draw(Application& app);
    virtual void Load() = 0;
    virtual void Update();
    virtual void Show();
    virtual void Hide();
    virtual bool IsHidden() const;
    virtual bool NeedsDraw(Application& app);
    // The application time (seconds) at which Update next changes something
    // by itself (an animation's next frame); infinity when never.
    [[nodiscard]] virtual double NextTimedChange() const;

    // Keyboard and gamepad focus. A control that can take it (by default
    // none) shows it while it has it and is pressed by Activate.
    virtual bool CanTakeFocus() const { return false; }
    virtual void SetFocused(bool value) { focused = value; }
    // Does what a click does; false when the control does nothing then.
    virtual bool Activate() { return false; }
    // A d-pad direction while focused (repeat: the held direction again).
    // True when the control used it itself; otherwise the focus moves on.
    virtual bool Steer(PadButton direction, bool repeat)
    {
        (void)direction;
        (void)repeat;
        return false;
    }

  protected:
    // Invalidates the control's current rectangle (not its clip size).
    void InvalidateRect();

    bool needsLoad = true;
    bool mouseOver = false;
    bool hidden = false;
    bool focused = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int clipWidth = -1; // -1: draw the whole image
    int clipHeight = -1;
    int tag = -1; // the owner's; the engine never reads it
};
