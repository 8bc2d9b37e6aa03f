#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/platform/Platform.h"

// A platform without a display, for tests: messages come from a script the
// test fills, the clock stands where the test sets it (waiting never moves
// it), every presented frame is kept with the rectangles that reached the
// window, and message boxes are recorded (and echoed to stderr) instead of
// shown.
class HeadlessPlatform : public Platform
{
  public:
    struct Frame
    {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;
        std::vector<PresentRect> rects; // what reached the window
        [[nodiscard]] uint32_t At(int px, int py) const { return pixels[static_cast<size_t>(py) * width + px]; }
    };
    struct Message
    {
        std::string caption;
        std::string text;
    };

    HeadlessPlatform();

    // --- script ---
    void PushEvent(const PlatformEvent& event) { events.push_back(event); }
    void PushKey(int virtualKey, bool alt = false);
    void PushKeyUp(int virtualKey);
    void PushMouseMove(int px, int py);
    void PushButton(PlatformEvent::Button button, bool down, int px, int py);
    void PushClose();
    // A game controller message: key is the PadButton or PadAxis number,
    // value an axis position.
    void PushPad(PlatformEvent::Type type, int pad, int key = 0, int value = 0);
    [[nodiscard]] size_t PendingEvents() const { return events.size(); }
    void SetTicks(uint64_t ms) { ticks = ms; }
    void AdvanceTicks(uint64_t ms) { ticks += ms; }
    void SetDisplayModes(std::vector<DisplaySize> modes) { displayModes = std::move(modes); }
    void SetUsableDesktopSize(DisplaySize size) { usableDesktop = size; }
    void SetDesktopBitsPerPixel(int bits) { desktopBits = bits; }
    void SetProgramFolder(const std::string& folder) { programFolder = folder; }
    void SetRefuseFullscreen(bool refuse) { refuseFullscreen = refuse; }
    void SetRefuseWindow(bool refuse) { refuseWindow = refuse; }
    // 0 (the default): every frame may present; otherwise presents are paced.
    void SetRefreshRate(int hz) { refreshRate = hz; }
    // Makes the window's picture a different size, as a window manager might.
    void SetClientSize(DisplaySize size) { client = size; }

    // --- inspection ---
    [[nodiscard]] const std::vector<Frame>& Frames() const { return frames; }
    // Frames presented so far, kept or not.
    [[nodiscard]] int PresentCount() const { return presentCount; }
    // The rectangles of the last present, kept or not.
    [[nodiscard]] const std::vector<PresentRect>& LastRects() const { return lastRects; }
    // Waits asked for, and the timeout of the last one (milliseconds).
    [[nodiscard]] int WaitCount() const { return waitCount; }
    [[nodiscard]] int LastWaitMs() const { return lastWaitMs; }
    // Long runs keep no copies, only the count.
    void SetKeepFrames(bool keep) { keepFrames = keep; }
    void ClearFrames() { frames.clear(); }
    [[nodiscard]] const std::vector<Message>& Messages() const { return messages; }
    void ClearMessages() { messages.clear(); }
    // Messages are echoed to stderr unless turned off (a fuzzer's output stays readable).
    void SetEchoMessages(bool echo) { echoMessages = echo; }
    [[nodiscard]] bool IsFullscreen() const { return fullscreen; }
    [[nodiscard]] bool IsMinimised() const { return minimised; }
    [[nodiscard]] int WindowsOpened() const { return windowsOpened; }
    [[nodiscard]] const std::string& WindowTitle() const { return windowTitle; }
    [[nodiscard]] int CursorChanges() const { return cursorChanges; }
    [[nodiscard]] const Frame& Icon() const { return icon; }

    // --- Platform ---
    void RaiseTimerResolution() override {}
    void RestoreTimerResolution() override {}
    uint64_t GetTicks() override { return ticks; }
    int DesktopBitsPerPixel() override { return desktopBits; }
    std::string ProgramFolder() override;
    std::vector<DisplaySize> DisplayModes() override { return displayModes; }
    DisplaySize UsableDesktopSize() override { return usableDesktop; }
    bool OpenWindow(const std::string& title, int width, int height, bool fullscreen) override;
    bool SetWindowMode(int width, int height, bool fullscreen) override;
    void CloseWindow() override;
    bool IsWindowOpen() const override { return windowOpen; }
    DisplaySize ClientSize() override { return client; }
    void SuspendFullscreen() override;
    bool ResumeFullscreen() override;
    void SetWindowIcon(const uint32_t* pixels, int width, int height) override;
    int RefreshRate() override { return refreshRate; }
    void Present(const uint32_t* pixels, int width, int height, const std::vector<PresentRect>& rects) override;
    void WaitEvent(int timeoutMs) override;
    bool PeekEvent(PlatformEvent& event) override;
    bool TakeEvent(PlatformEvent& event) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    void DiscardFocusEvents() override;
    void SetCursor(CursorShape shape) override;
    CursorShape GetCursor() const override { return cursor; }

  private:
    std::deque<PlatformEvent> events;
    uint64_t ticks = 0;
    std::vector<DisplaySize> displayModes;
    DisplaySize usableDesktop{1920, 1440};
    int desktopBits = 32;
    std::string programFolder;
    bool refuseFullscreen = false;
    bool refuseWindow = false;
    bool windowOpen = false;
    bool fullscreen = false;
    bool minimised = false;
    int windowsOpened = 0;
    std::string windowTitle;
    DisplaySize client;
    std::vector<Frame> frames;
    Frame icon;
    bool keepFrames = true;
    bool echoMessages = true;
    int presentCount = 0;
    std::vector<PresentRect> lastRects;
    int refreshRate = 0;
    int waitCount = 0;
    int lastWaitMs = -1;
    std::vector<Message> messages;
    CursorShape cursor = CursorShape::Arrow;
    int cursorChanges = 0;
};
