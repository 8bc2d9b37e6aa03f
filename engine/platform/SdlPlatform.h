#pragma once

#include <deque>
#include <map>
#include <vector>

#include "engine/platform/Platform.h"

struct SDL_Window;
struct SDL_Cursor;
struct SDL_Surface;
struct _SDL_GameController;
union SDL_Event;

// The virtual key (VirtualKey.h) of a key's position on the keyboard, given
// as an SDL scancode: the key a US keyboard has there, whatever layout the
// desktop uses. 0 for keys without one.
int ScancodeToVirtualKey(int scancode);

// The platform on SDL2: one window titled as asked, fixed size when windowed
// and covering the desktop in full screen with the picture scaled smoothly
// (linear filtering) to fit, aspect kept, black bars; mouse positions are
// mapped back to back-buffer pixels.
//
// Presents go through the window surface, rectangle by rectangle, so only
// what changed reaches the window system. The surface offers no vsync, so
// the application paces presents by RefreshRate itself.
class SdlPlatform : public Platform
{
  public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // SDL's tick count reads the monotonic clock, which has millisecond
    // granularity without asking: there is no timer period to raise.
    void RaiseTimerResolution() override {}
    void RestoreTimerResolution() override {}
    uint64_t GetTicks() override;
    int DesktopBitsPerPixel() override;
    std::string ProgramFolder() override;
    std::vector<DisplaySize> DisplayModes() override;
    DisplaySize UsableDesktopSize() override;
    bool OpenWindow(const std::string& title, int width, int height, bool fullscreen) override;
    bool SetWindowMode(int width, int height, bool fullscreen) override;
    void CloseWindow() override;
    bool IsWindowOpen() const override { return window != nullptr; }
    DisplaySize ClientSize() override { return logical; }
    void SuspendFullscreen() override;
    bool ResumeFullscreen() override;
    void SetWindowIcon(const uint32_t* pixels, int width, int height) override;
    int RefreshRate() override;
    void Present(const uint32_t* pixels, int width, int height, const std::vector<PresentRect>& rects) override;
    void WaitEvent(int timeoutMs) override;
    bool PeekEvent(PlatformEvent& event) override;
    bool TakeEvent(PlatformEvent& event) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    void DiscardFocusEvents() override;
    void SetCursor(CursorShape shape) override;
    CursorShape GetCursor() const override { return cursor; }

    // One window column or row of the linear filter: the two picture
    // neighbours it is made of and the weight of the second (0 to 256).
    struct FilterTap
    {
        int first = 0;
        int second = 0;
        int weight = 0;
    };

  private:
    void PollSystemEvents();
    void Translate(const SDL_Event& sdl);
    // Game controllers: opened as they are plugged in (those present at
    // start-up are announced the same way) and closed as they go.
    void OpenControllerSupport();
    void CloseControllers();
    // Fills event from a controller message; false for any other message.
    [[nodiscard]] bool TranslateControllerEvent(const SDL_Event& sdl, PlatformEvent& event);
    void MapToBackBuffer(int& x, int& y) const;
    [[nodiscard]] bool HasRealDisplay() const;
    // Places the picture on a surface of the given size and clears the bars.
    void LayOut(SDL_Surface* target, int width, int height);
    void ScaleRect(const uint32_t* pixels, int width, SDL_Surface* target, int left, int top, int right,
                   int bottom) const;

    bool videoReady = false;
    SDL_Window* window = nullptr;
    DisplaySize logical; // the back buffer's size
    // Where the picture lands on the window's surface (letterbox).
    int viewX = 0;
    int viewY = 0;
    int viewWidth = 0;
    int viewHeight = 0;
    // The surface the picture was laid out on; any change repaints it whole.
    SDL_Surface* laidOutOn = nullptr;
    int laidOutWidth = 0;
    int laidOutHeight = 0;
    bool wholeUpdate = true;
    std::vector<FilterTap> columnTaps;
    std::vector<FilterTap> rowTaps;
    int refreshRate = 0;
    std::deque<PlatformEvent> events;
    SDL_Cursor* arrowCursor = nullptr;
    SDL_Cursor* waitCursor = nullptr;
    CursorShape cursor = CursorShape::Arrow;
    bool controllersReady = false;
    std::map<int, _SDL_GameController*> controllers; // by joystick instance id
};
