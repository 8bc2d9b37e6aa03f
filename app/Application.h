#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Gamepads.h"
#include "engine/platform/Platform.h"

class GameOptions;

// One 160 x 160 cell of the invalidation grid. Tiles on the right and bottom
// edges keep their full size and reach past the back buffer; every use clips.
struct DirtyTile
{
    bool dirty = false;
    bool clear = false; // holds nothing but the background colour
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The application object: the window and its display modes, the 32-bit back
// buffer with its grid of dirty tiles, the clock, and the main loop.
class Application
{
  public:
    static constexpr int TileSize = 160;

    static Application& Get();
    static void Destroy();

    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // --- main loop ---
    // Loads the saved data, opens the window, runs frames until the window is
    // closed and saves the options. 0 on a normal end, -1 when no display
    // could be opened.
    int Run();
    // One pass of the loop: sleeps until a message arrives or something is
    // due, reads the clock, handles every pending message in order (a
    // message that asks for a screen switch ends the batch, so the switch
    // happens before the next message is delivered), then Render. False
    // ends the loop.
    bool RunFrame();
    // Seconds since the window was opened, read afresh from the clock.
    [[nodiscard]] double GetTime() const;
    [[nodiscard]] double Time() const { return time; }
    void RequestQuit() { quitRequested = true; }
    [[nodiscard]] bool IsQuitRequested() const { return quitRequested; }
    [[nodiscard]] bool IsActive() const { return active; }
    [[nodiscard]] bool IsFullscreen() const { return fullscreen; }
    // A modal OK box captioned with the window title. The same text again
    // within a second of the last box closing is not shown twice. A window
    // in full screen comes back as it was once the box is closed.
    void ShowMessage(const std::string& text);
    // Run first checks that the game's data can be found and ends at once,
    // with one message, when it cannot. The game turns this on.
    void SetCheckGameData(bool check) { checkGameData = check; }
    // Display choices of the command line: Run opens the window with them in
    // place of the saved ones, and they are never saved.
    void SetDisplayOverride(std::optional<bool> fullscreen, std::optional<DisplaySize> size)
    {
        fullscreenOverride = fullscreen;
        sizeOverride = size;
    }
    // The display sizes the game offers, in the order the options screen lists them.
    [[nodiscard]] static const std::vector<DisplaySize>& OfferedSizes();

    // --- window and display modes ---
    void AddRequestedMode(int w, int h);
    [[nodiscard]] bool Open(bool fullscreen, const char* title, int w, int h);
    [[nodiscard]] bool SetDisplayMode(int w, int h, bool fullscreen);
    [[nodiscard]] bool SetFullscreen(bool value);
    [[nodiscard]] bool IsModeAvailable(int w, int h) const;
    int GetAvailableModes(std::vector<DisplaySize>& out) const;
    void Close();
    [[nodiscard]] const std::string& Title() const { return title; }

    // --- back buffer ---
    void GetSize(int& w, int& h) const
    {
        w = width;
        h = height;
    }
    [[nodiscard]] int Width() const { return width; }
    [[nodiscard]] int Height() const { return height; }
    void SetBackgroundColour(int r, int g, int b);
    [[nodiscard]] uint32_t BackgroundColour() const { return backgroundColour; }
    // Marks dirty every tile the rectangle overlaps (touching edges do not).
    void Invalidate(int x, int y, int w, int h);
    // While held, Invalidate marks nothing: a screen laid out ahead of time
    // (to render its pictures) must not make the shown one redraw.
    void HoldInvalidation(bool held) { invalidationHeld = held; }
    [[nodiscard]] bool IsDirty(int x, int y, int w, int h) const;
    // Composites the top-left w x h pixels of a bitmap of premultiplied
    // 0xAARRGGBB pixels (rows of bmpWidth) at (x, y), inside dirty tiles only.
    // Without hasAlpha the pixels are copied; with it alpha 255 copies, alpha
    // 0 keeps the back buffer and anything between blends (source over).
    // w and h are limited to the bitmap's own size.
    void DrawBitmap(const uint32_t* pixels, int bmpWidth, int bmpHeight, bool hasAlpha, int x, int y, int w, int h);
    // The drawing half of a frame: screen update, then clear, draw and
    // present the dirty tiles. With a paced display the tiles wait for the
    // next refresh when the last present was less than one refresh ago.
    // Always true.
    bool Render();
    // Seconds between two presents; 0 when the display needs no pacing.
    [[nodiscard]] double RefreshPeriod() const;
    [[nodiscard]] const uint32_t* BackBuffer() const { return backBuffer.empty() ? nullptr : backBuffer.data(); }
    [[nodiscard]] const std::vector<DirtyTile>& Tiles() const { return tiles; }
    [[nodiscard]] int TileColumns() const { return tileColumns; }
    [[nodiscard]] int TileRows() const { return tileRows; }

    // --- cursor ---
    void ShowWaitCursor();
    void RestoreCursor();

    // The window procedure: one message from the platform.
    void HandleEvent(const PlatformEvent& event);
    // The game controllers; repeats of a held direction fall due at
    // Pads().NextRepeat() even when no message arrives.
    [[nodiscard]] const Gamepads& Pads() const { return gamepads; }

    double time = 0.0; // seconds since the window opened, refreshed once per frame

  private:
    bool invalidationHeld = false;
    // The longest sleep between two frames (milliseconds): a quit signal is
    // noticed within it.
    static constexpr int MaxWaitMs = 250;

    void WaitForWork(Platform& platform);
    void HandlePendingEvents(Platform& platform);
    [[nodiscard]] bool AnyDirty() const;
    [[nodiscard]] std::vector<PresentRect> DirtyRects() const;
    [[nodiscard]] bool CreateBackBuffer();
    void DestroyBackBuffer();
    void BuildTiles();
    void EnumerateModes();
    void ChooseFirstDisplay(GameOptions& options);
    void StartClock();
    [[nodiscard]] double ClockSeconds() const;
    void OnKeyDown(int virtualKey);
    void OnSysKeyDown(int virtualKey);
    void OnKeyUp(int virtualKey);
    void OnActivate(bool nowActive);
    void OnPadEvent(const PlatformEvent& event);
    void RepeatPadDirections();
    void ClipToBuffer(const DirtyTile& tile, int x, int y, int w, int h, int& left, int& top, int& right,
                      int& bottom) const;

    CursorShape previousCursor = CursorShape::Arrow;
    uint16_t iconResourceId = 0;
    std::string title;
    std::vector<DisplaySize> requestedModes;
    std::vector<DisplaySize> availableModes;
    bool quitRequested = false;
    bool windowOpen = false;
    double startTime = 0.0; // seconds, clock reading when the window opened
    int width = 0;
    int height = 0;
    int tileColumns = 0;
    int tileRows = 0;
    std::vector<DirtyTile> tiles;
    std::vector<uint32_t> backBuffer; // top-down rows of 0x00RRGGBB, width per row
    uint32_t backgroundColour = 0;    // 0x00RRGGBB
    bool active = true;
    bool fullscreen = false;
    bool shiftHeld = false;
    bool altHeld = false;
    bool checkGameData = false;
    double lastFrameTime = -1.0;   // seconds, clock at the start of the last frame
    double lastPresentTime = -1.0; // seconds, clock at the last present
    std::optional<bool> fullscreenOverride;
    std::optional<DisplaySize> sizeOverride;
    Gamepads gamepads;
    std::string lastMessage;       // text of the last box shown
    uint64_t lastMessageTicks = 0; // platform ticks when it was closed
};
