#pragma once

#include <deque>
#include <map>

#include "engine/platform/Platform.h"

struct SDL_Window;
struct SDL_Cursor;
struct _SDL_GameController;
union SDL_Event;

// The virtual key (VirtualKey.h) of a key's position on the keyboard, given
// as an SDL scancode: the key a US keyboard has there, whatever layout the
// desktop uses. 0 for keys without one.
int ScancodeToVirtualKey(int scancode);

// The platform on SDL2: one window titled as asked, fixed size when windowed
// and covering the desktop in full screen with the picture scaled to fit
// (aspect kept, black bars); mouse positions are mapped back to back-buffer
// pixels.
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
    void RaiseThreadPriority() override;
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
    void Present(const uint32_t* pixels, int width, int height) override;
    bool PeekEvent(PlatformEvent& event) override;
    bool TakeEvent(PlatformEvent& event) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    void DiscardFocusEvents() override;
    void SetCursor(CursorShape shape) override;
    CursorShape GetCursor() const override { return cursor; }

  private:
    void PollSystemEvents();
    // Game controllers: opened as they are plugged in (those present at
    // start-up are announced the same way) and closed as they go.
    void OpenControllerSupport();
    void CloseControllers();
    // Fills event from a controller message; false for any other message.
    [[nodiscard]] bool TranslateControllerEvent(const SDL_Event& sdl, PlatformEvent& event);
    void MapToBackBuffer(int& x, int& y) const;
    [[nodiscard]] bool HasRealDisplay() const;

    bool videoReady = false;
    SDL_Window* window = nullptr;
    DisplaySize logical; // the back buffer's size
    // Where the picture lands on the window's surface (letterbox).
    int viewX = 0;
    int viewY = 0;
    int viewWidth = 0;
    int viewHeight = 0;
    std::deque<PlatformEvent> events;
    SDL_Cursor* arrowCursor = nullptr;
    SDL_Cursor* waitCursor = nullptr;
    CursorShape cursor = CursorShape::Arrow;
    bool controllersReady = false;
    std::map<int, _SDL_GameController*> controllers; // by joystick instance id
};
