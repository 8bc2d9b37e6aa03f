#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A width x height pair in pixels: a display size or a window size.
struct DisplaySize
{
    int width = 0;
    int height = 0;
    bool operator==(const DisplaySize& other) const { return width == other.width && height == other.height; }
    bool operator!=(const DisplaySize& other) const { return !(*this == other); }
};

// One window message, as the application's window procedure handles it.
// Keys are virtual-key numbers (VirtualKey.h); mouse positions are back-buffer
// pixels (a backend that scales the picture maps them back), and may lie
// outside the back buffer while a button is held outside the window.
struct PlatformEvent
{
    enum class Type
    {
        KeyDown,    // a key press without Alt (Alt itself arrives as a KeyDown of
                    // VirtualKey::Menu)
        SysKeyDown, // a key press while Alt is held
        KeyUp,
        MouseMove,
        ButtonDown,
        ButtonUp,
        Close,      // close box, window-manager close or the desktop logging out
        Activate,   // the game became the foreground application
        Deactivate, // another application took the foreground
        Paint,      // part of the window must be redrawn: x, y, width, height
        // Game controllers, told apart by pad (an id that is never reused
        // during a run). key is a PadButton or PadAxis number; an axis
        // position is in x, from -32768 to 32767.
        PadAdded,
        PadRemoved,
        PadButtonDown,
        PadButtonUp,
        PadAxisMotion,
    };
    enum class Button
    {
        Left,
        Right,
        Middle
    };

    Type type = Type::MouseMove;
    int key = 0;
    Button button = Button::Left;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int pad = 0;
};

// A rectangle of the picture in back-buffer pixels, inside the picture.
struct PresentRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PresentRect& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

enum class CursorShape
{
    Arrow,
    Wait
};

// The operating-system services the engine uses: one window with a 32-bit
// picture, its messages, display sizes, a millisecond clock, message boxes and
// cursors. SdlPlatform is the real one; HeadlessPlatform drives tests.
//
// Exactly one backend is installed at a time. Get() installs the SDL backend
// when nothing was installed before, so the game itself never installs one.
class Platform
{
  public:
    virtual ~Platform() = default;

    static void Install(std::unique_ptr<Platform> platform);
    static Platform& Get();
    static bool IsInstalled();
    // Destroys the installed backend (closing its window if one is open).
    static void Uninstall();

    // --- process ---
    // Asks for a 1 ms timer; best effort, and a refusal changes nothing else.
    // (The game never raises its own priority: it shares the desktop.)
    virtual void RaiseTimerResolution() = 0;
    virtual void RestoreTimerResolution() = 0;
    // Milliseconds since an arbitrary start, 64 bits wide so it never wraps.
    [[nodiscard]] virtual uint64_t GetTicks() = 0;
    // Bits per pixel of the desktop; 0 when unknown.
    [[nodiscard]] virtual int DesktopBitsPerPixel() = 0;
    // The folder that holds the executable, without a trailing slash. The
    // file system makes it the current directory at start-up.
    [[nodiscard]] virtual std::string ProgramFolder() = 0;

    // --- display ---
    // Sizes the display adapter offers for full-screen modes.
    [[nodiscard]] virtual std::vector<DisplaySize> DisplayModes() = 0;
    // The part of the desktop a window may cover (without panels and docks).
    [[nodiscard]] virtual DisplaySize UsableDesktopSize() = 0;

    // --- window ---
    // Creates the window with a client area of width x height, windowed
    // (fixed size, not resizable) or covering the whole display.
    [[nodiscard]] virtual bool OpenWindow(const std::string& title, int width, int height, bool fullscreen) = 0;
    // Changes the size and mode of the open window. Returns false when full
    // screen was refused; the window is then left windowed at the new size.
    [[nodiscard]] virtual bool SetWindowMode(int width, int height, bool fullscreen) = 0;
    virtual void CloseWindow() = 0;
    [[nodiscard]] virtual bool IsWindowOpen() const = 0;
    // The size of the picture the window shows, in back-buffer pixels.
    [[nodiscard]] virtual DisplaySize ClientSize() = 0;
    // Full screen losing the foreground: give the display back and minimise.
    virtual void SuspendFullscreen() = 0;
    // Full screen regaining the foreground: take the display again, restore
    // and raise the window. False when the display could not be taken.
    [[nodiscard]] virtual bool ResumeFullscreen() = 0;
    // The window's icon: straight (not premultiplied) 0xAARRGGBB pixels.
    virtual void SetWindowIcon(const uint32_t* pixels, int width, int height) = 0;
    // Refreshes of the display per second; 0 when presents need no pacing
    // (a display that is not real).
    [[nodiscard]] virtual int RefreshRate() = 0;
    // Shows the rectangles of a top-down 0x00RRGGBB picture of width x height
    // in the window; the rest of the window keeps what it showed.
    virtual void Present(const uint32_t* pixels, int width, int height, const std::vector<PresentRect>& rects) = 0;

    // --- messages ---
    // Sleeps until a message is pending or timeoutMs milliseconds have
    // passed, whichever comes first; returns at once when one is pending.
    virtual void WaitEvent(int timeoutMs) = 0;
    // The oldest pending message, left in the queue.
    [[nodiscard]] virtual bool PeekEvent(PlatformEvent& event) = 0;
    // Removes and returns the oldest pending message.
    [[nodiscard]] virtual bool TakeEvent(PlatformEvent& event) = 0;

    // --- user interface ---
    // A modal box with an OK button. Never blocks a run without a display.
    virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
    // Drops the pending focus gained and lost messages (those a message box
    // caused while it was open).
    virtual void DiscardFocusEvents() = 0;
    virtual void SetCursor(CursorShape shape) = 0;
    [[nodiscard]] virtual CursorShape GetCursor() const = 0;
};
