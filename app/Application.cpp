#include "app/Application.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "app/GameDataCheck.h"
#include "app/QuitSignal.h"
#include "app/Shutdown.h"
#include "data/GameOptions.h"
#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "engine/FileSystem.h"
#include "engine/KeyMap.h"
#include "engine/ScreenManager.h"
#include "engine/VirtualKey.h"
#include "engine/platform/AudioBackend.h"
#include "media/PictureAhead.h"
#include "media/SoundManager.h"
#include "screens/LogoScreen.h"

namespace
{

Application* instance = nullptr;

constexpr uint16_t WindowIconId = 107;

// The window icon: four blocks of the game's colours in a 2 x 2 square,
// their corners cut round, on a transparent ground. Straight 0xAARRGGBB.
constexpr int IconSize = 32;

std::vector<uint32_t> DrawWindowIcon()
{
    constexpr uint32_t colours[4] = {0xFFC30006u, 0xFFF87C00u, 0xFF016FFFu, 0xFF34F060u};
    constexpr int margin = 1, gap = 2;
    constexpr int block = (IconSize - 2 * margin - gap) / 2;
    std::vector<uint32_t> pixels(IconSize * IconSize, 0u);
    for (int i = 0; i < 4; ++i)
    {
        const int left = margin + (i % 2) * (block + gap);
        const int top = margin + (i / 2) * (block + gap);
        for (int y = 0; y < block; ++y)
        {
            for (int x = 0; x < block; ++x)
            {
                const bool cornerX = x == 0 || x == block - 1;
                const bool cornerY = y == 0 || y == block - 1;
                if (!(cornerX && cornerY))
                    pixels[(top + y) * IconSize + left + x] = colours[i];
            }
        }
    }
    return pixels;
}

} // namespace

Application& Application::Get()
{
    if (!instance)
        instance = new Application();
    return *instance;
}

void Application::Destroy()
{
    delete instance;
    instance = nullptr;
}

Application::Application() = default;

const std::vector<DisplaySize>& Application::OfferedSizes()
{
    static const std::vector<DisplaySize> sizes = {{320, 240},   {640, 480},   {800, 600},   {1024, 768},
                                                   {1152, 864},  {1280, 960},  {1600, 1200}, {1792, 1344},
                                                   {1856, 1392}, {1920, 1440}, {2048, 1536}};
    return sizes;
}

Application::~Application()
{
    if (windowOpen)
        Close();
}

int Application::Run()
{
    if (!FileSystem::Get().Init("."))
        return 0;
    if (checkGameData)
    {
        if (const std::optional<std::string> missing = GameDataCheck::MissingDataMessage())
        {
            ShowMessage(*missing);
            return 0;
        }
    }

    // Results are not acted on: each loader reports its own problems and
    // leaves defaults in place.
    const bool firstRun = !GameOptionsStored();
    (void)LoadGameOptions();
    (void)LoadProfiles();
    (void)LoadHighScores();

    for (const DisplaySize& offered : OfferedSizes())
        AddRequestedMode(offered.width, offered.height);
    iconResourceId = WindowIconId;

    GameOptions& options = GameOptions::Get();
    if (firstRun)
        ChooseFirstDisplay(options);
    const DisplaySize size = sizeOverride.value_or(DisplaySize{options.width, options.height});
    bool openedFullscreen = fullscreenOverride.value_or(options.fullscreen);
    if (!Open(openedFullscreen, "Quorvo", size.width, size.height))
    {
        ShowMessage("Unable to set requested display mode.  Falling back to default...");
        // Saved choices that failed are replaced; a command line's are
        // dropped and the saved ones left alone.
        GameOptions fallback;
        fallback.Reset();
        if (!fullscreenOverride && !sizeOverride)
            options.Reset();
        openedFullscreen = fallback.fullscreen;
        if (!Open(fallback.fullscreen, "Quorvo", fallback.width, fallback.height))
        {
            ShowMessage("Unable to open display device.");
            return -1;
        }
    }

    // Without a device the manager has already said so; the game goes on silently.
    SoundManager& sound = SoundManager::Get();
    (void)sound.Open();
    sound.SetMusicVolume(options.musicVolume);
    sound.SetEffectsVolume(options.effectsVolume);

    ScreenManager::Get().SetScreen(&LogoScreen::Get(), true);

    while (RunFrame())
    {
    }

    // An Alt+Enter toggle made during play is kept for the next start; a
    // mode asked for on the command line is not.
    if (!fullscreenOverride || IsFullscreen() != openedFullscreen)
        options.fullscreen = IsFullscreen();
    (void)SaveGameOptions();
    Close();
    DestroyGameObjects();
    return 0;
}

bool Application::RunFrame()
{
    // A quit signal ends the game as the close box does.
    if (QuitSignal::Received())
        quitRequested = true;
    if (quitRequested)
        return false;

    Platform& platform = Platform::Get();
    if (active && windowOpen)
    {
        // The backend reports the size of the picture it shows, so a scaled
        // full-screen window does not count as a change of size.
        const DisplaySize client = platform.ClientSize();
        if (client.width != width || client.height != height)
            (void)SetDisplayMode(width, height, fullscreen);
    }

    if (windowOpen)
        WaitForWork(platform);
    time = ClockSeconds() - startTime;
    lastFrameTime = time;
    HandlePendingEvents(platform);
    RepeatPadDirections();
    Render();
    return true;
}

// The loop's sleep. Busy frames (something animates, or a screen counts
// frames) come once per display refresh; a quiet screen sleeps until the
// next message or the next timed change its screen and controls announce.
void Application::WaitForWork(Platform& platform)
{
    PlatformEvent pending;
    if (platform.PeekEvent(pending))
        return;
    const double now = ClockSeconds() - startTime;
    double wake = ScreenManager::Get().NextTimedChange(now);
    // A held pad direction repeats like a held key.
    if (const std::optional<double> repeat = gamepads.NextRepeat())
        wake = std::min(wake, *repeat);
    const double period = RefreshPeriod();
    if (AnyDirty())
        wake = std::min(wake, lastPresentTime + period);
    if (lastFrameTime >= 0.0)
        wake = std::max(wake, lastFrameTime + period);
    if (wake <= now)
        return;
    // Time to spare renders the next screen's pictures ahead, one a pass.
    if (PictureAhead::Get().Step())
        return;
    // One millisecond more: timed changes happen once their time has passed.
    const double ms = std::floor((wake - now) * 1000.0) + 1.0;
    platform.WaitEvent(static_cast<int>(std::min(ms, static_cast<double>(MaxWaitMs))));
}

// Every message waiting at the start of the frame, in order. A run of mouse
// moves counts as its last one. A message after which a screen switch is
// pending (or the game quits) ends the batch: the switch happens in this
// frame's Render, and the next message reaches the new screen next frame,
// which comes at once.
void Application::HandlePendingEvents(Platform& platform)
{
    PlatformEvent event;
    while (platform.TakeEvent(event))
    {
        PlatformEvent next;
        if (event.type == PlatformEvent::Type::MouseMove && platform.PeekEvent(next) &&
            next.type == PlatformEvent::Type::MouseMove)
            continue;
        HandleEvent(event);
        if (quitRequested || ScreenManager::Get().IsSwitchPending())
            break;
    }
}

double Application::RefreshPeriod() const
{
    const int rate = windowOpen ? Platform::Get().RefreshRate() : 0;
    return rate > 0 ? 1.0 / rate : 0.0;
}

double Application::ClockSeconds() const
{
    // 64-bit milliseconds: the clock never wraps during a run.
    return static_cast<double>(Platform::Get().GetTicks()) * 0.001;
}

double Application::GetTime() const
{
    return ClockSeconds() - startTime;
}

void Application::StartClock()
{
    startTime = ClockSeconds();
    time = 0.0;
}

void Application::ShowMessage(const std::string& text)
{
    Platform& platform = Platform::Get();
    // A burst of identical failures is one message, not a box per failure.
    if (!lastMessage.empty() && text == lastMessage && platform.GetTicks() - lastMessageTicks < 1000)
        return;
    const bool wasFullscreen = windowOpen && fullscreen;
    platform.ShowMessageBox(title, text);
    lastMessage = text;
    lastMessageTicks = platform.GetTicks();
    if (!wasFullscreen)
        return;
    // The box took the focus from the full-screen window; the focus changes
    // it caused are dropped and the window is given back the display, so it
    // is not left minimised behind the desktop.
    platform.DiscardFocusEvents();
    if (platform.ResumeFullscreen())
        active = true;
    Invalidate(0, 0, width, height);
}

// With no options stored yet the game opens full screen at the largest
// offered size that the whole display holds, so that the picture is drawn
// sharp at about the display's own size rather than enlarged from 640 x 480.
// The display is its largest mode (the desktop's own), or the usable desktop
// where no modes are listed; the default size stays when nothing larger fits.
void Application::ChooseFirstDisplay(GameOptions& options)
{
    Platform& platform = Platform::Get();
    DisplaySize display = platform.UsableDesktopSize();
    for (const DisplaySize& mode : platform.DisplayModes())
        if (mode.width * mode.height > display.width * display.height)
            display = mode;
    for (const DisplaySize& size : requestedModes)
    {
        const bool fits = size.width <= display.width && size.height <= display.height;
        if (fits && size.width * size.height > options.width * options.height)
        {
            options.width = size.width;
            options.height = size.height;
        }
    }
    options.fullscreen = true;
}

void Application::AddRequestedMode(int w, int h)
{
    requestedModes.push_back({w, h});
}

// A requested size is available when the display lists it as a mode, or when
// a window of that size fits on the usable desktop: full screen shows the
// picture scaled over the whole display, so it does not need a mode of its
// own either.
void Application::EnumerateModes()
{
    Platform& platform = Platform::Get();
    const std::vector<DisplaySize> modes = platform.DisplayModes();
    const DisplaySize usable = platform.UsableDesktopSize();
    availableModes.clear();
    for (const DisplaySize& size : requestedModes)
    {
        const bool listed = std::find(modes.begin(), modes.end(), size) != modes.end();
        const bool fits = size.width <= usable.width && size.height <= usable.height;
        if ((listed || fits) && std::find(availableModes.begin(), availableModes.end(), size) == availableModes.end())
            availableModes.push_back(size);
    }
    std::stable_sort(availableModes.begin(), availableModes.end(),
                     [](const DisplaySize& a, const DisplaySize& b) { return a.width < b.width; });
}

bool Application::IsModeAvailable(int w, int h) const
{
    return std::find(availableModes.begin(), availableModes.end(), DisplaySize{w, h}) != availableModes.end();
}

int Application::GetAvailableModes(std::vector<DisplaySize>& out) const
{
    out = availableModes;
    return static_cast<int>(out.size());
}

bool Application::Open(bool wantFullscreen, const char* newTitle, int w, int h)
{
    if (newTitle)
        title = newTitle;
    Platform& platform = Platform::Get();

    // The modes are checked before a window exists, so a refused size never
    // flashes a window on screen; a retry then simply opens the window anew.
    EnumerateModes();
    fullscreen = wantFullscreen;
    width = w;
    height = h;
    if (!IsModeAvailable(w, h))
        return false;

    if (windowOpen)
    {
        platform.CloseWindow();
        windowOpen = false;
    }
    const bool accepted = platform.OpenWindow(title, w, h, wantFullscreen);
    if (!platform.IsWindowOpen())
    {
        ShowMessage("Unable to create game window.");
        return false;
    }
    windowOpen = true;
    if (iconResourceId != 0)
    {
        const std::vector<uint32_t> icon = DrawWindowIcon();
        platform.SetWindowIcon(icon.data(), IconSize, IconSize);
    }
    if (!CreateBackBuffer())
        ShowMessage("Unable to create compatible bitmap for window.");
    if (!accepted && wantFullscreen)
    {
        ShowMessage("Unable to switch to fullscreen mode.");
        fullscreen = false;
    }
    BuildTiles();
    StartClock();
    lastFrameTime = -1.0;
    lastPresentTime = -1.0;
    return true;
}

bool Application::SetDisplayMode(int w, int h, bool wantFullscreen)
{
    if (!IsModeAvailable(w, h))
    {
        ShowMessage("Unable to set requested display mode.");
        return false;
    }
    width = w;
    height = h;
    DestroyBackBuffer();
    fullscreen = wantFullscreen;
    if (windowOpen && !Platform::Get().SetWindowMode(w, h, wantFullscreen) && wantFullscreen)
    {
        ShowMessage("Unable to switch to fullscreen mode.");
        fullscreen = false;
    }
    if (!CreateBackBuffer())
        ShowMessage("Unable to create compatible bitmap for window.");
    BuildTiles();
    return true;
}

bool Application::SetFullscreen(bool value)
{
    if (value == fullscreen)
        return true;
    return SetDisplayMode(width, height, value);
}

void Application::Close()
{
    if (windowOpen)
        Platform::Get().CloseWindow();
    windowOpen = false;
    DestroyBackBuffer();
    tiles.clear();
    tileColumns = 0;
    tileRows = 0;
}

void Application::ShowWaitCursor()
{
    Platform& platform = Platform::Get();
    // A second switch within two frames must not remember the wait cursor
    // itself, or the arrow would never come back.
    if (platform.GetCursor() != CursorShape::Wait)
        previousCursor = platform.GetCursor();
    platform.SetCursor(CursorShape::Wait);
}

void Application::RestoreCursor()
{
    Platform::Get().SetCursor(previousCursor);
}

void Application::HandleEvent(const PlatformEvent& event)
{
    ScreenManager& screens = ScreenManager::Get();
    using Type = PlatformEvent::Type;
    using Button = PlatformEvent::Button;
    switch (event.type)
    {
    case Type::KeyDown:
        OnKeyDown(event.key);
        break;
    case Type::SysKeyDown:
        OnSysKeyDown(event.key);
        break;
    case Type::KeyUp:
        OnKeyUp(event.key);
        break;
    case Type::MouseMove:
        screens.OnMouseMove(event.x, event.y);
        break;
    case Type::ButtonDown:
        if (event.button == Button::Left)
            screens.OnLeftButtonDown(event.x, event.y);
        else if (event.button == Button::Right)
            screens.OnRightButtonDown(event.x, event.y);
        else
            screens.OnMiddleButtonDown(event.x, event.y);
        break;
    case Type::ButtonUp:
        if (event.button == Button::Left)
            screens.OnLeftButtonUp(event.x, event.y);
        else if (event.button == Button::Right)
            screens.OnRightButtonUp(event.x, event.y);
        else
            screens.OnMiddleButtonUp(event.x, event.y);
        break;
    case Type::Close:
        // The window stays open; Run closes it after the loop has ended.
        quitRequested = true;
        break;
    case Type::Activate:
        OnActivate(true);
        break;
    case Type::Deactivate:
        OnActivate(false);
        break;
    case Type::Paint:
        if (screens.GetScreen())
            Invalidate(event.x, event.y, event.width, event.height);
        break;
    case Type::PadAdded:
    case Type::PadRemoved:
    case Type::PadButtonDown:
    case Type::PadButtonUp:
    case Type::PadAxisMotion:
        OnPadEvent(event);
        break;
    }
}

void Application::OnKeyDown(int virtualKey)
{
    if (virtualKey == VirtualKey::Menu)
        altHeld = true;
    if (virtualKey == VirtualKey::Shift)
        shiftHeld = true;
    // Tab moves the focus between buttons wherever it means nothing else.
    if (virtualKey == VirtualKey::Tab && !altHeld && ScreenManager::Get().MoveFocusInOrder(shiftHeld))
        return;
    ScreenManager::Get().OnKeyDown(MapKey(virtualKey, shiftHeld), altHeld);
}

void Application::OnSysKeyDown(int virtualKey)
{
    if (virtualKey == VirtualKey::Return)
    {
        (void)SetFullscreen(!fullscreen);
        return;
    }
    ScreenManager::Get().OnKeyDown(MapKey(virtualKey, shiftHeld), true);
}

void Application::OnKeyUp(int virtualKey)
{
    if (virtualKey == VirtualKey::Menu)
        altHeld = false;
    if (virtualKey == VirtualKey::Shift)
        shiftHeld = false;
}

void Application::OnActivate(bool nowActive)
{
    active = nowActive;
    // Alt itself never reaches us as released once another window has the
    // keyboard, so the modifiers start over.
    altHeld = false;
    shiftHeld = false;
    if (!fullscreen || !windowOpen)
        return;
    Platform& platform = Platform::Get();
    if (!nowActive)
    {
        platform.SuspendFullscreen();
        return;
    }
    if (!platform.ResumeFullscreen())
    {
        ShowMessage("Unable to switch back to fullscreen mode.");
        quitRequested = true;
    }
    Invalidate(0, 0, width, height);
}

void Application::OnPadEvent(const PlatformEvent& event)
{
    std::vector<PadButton> presses;
    gamepads.Handle(event, GetTime(), presses);
    for (PadButton button : presses)
        ScreenManager::Get().OnPadButton(button);
}

void Application::RepeatPadDirections()
{
    std::vector<PadButton> presses;
    gamepads.Repeat(GetTime(), presses);
    for (PadButton button : presses)
        ScreenManager::Get().OnPadButton(button, true);
}
