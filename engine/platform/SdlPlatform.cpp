#include "engine/platform/SdlPlatform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <SDL.h>

#include "engine/PadButton.h"
#include "engine/VirtualKey.h"
#include "engine/platform/DisplayLoss.h"

static_assert(SDL_CONTROLLER_BUTTON_A == static_cast<int>(PadButton::A) &&
                  SDL_CONTROLLER_BUTTON_DPAD_RIGHT == static_cast<int>(PadButton::DPadRight) &&
                  SDL_CONTROLLER_AXIS_TRIGGERRIGHT == static_cast<int>(PadAxis::RightTrigger),
              "pad buttons and axes are numbered as SDL numbers them");

int ScancodeToVirtualKey(int scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VirtualKey::F1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return VirtualKey::F1 + 12 + (scancode - SDL_SCANCODE_F13);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return VirtualKey::Numpad0 + 1 + (scancode - SDL_SCANCODE_KP_1);

    switch (scancode)
    {
    case SDL_SCANCODE_0:
        return '0';
    case SDL_SCANCODE_RETURN:
        return VirtualKey::Return;
    case SDL_SCANCODE_KP_ENTER:
        return VirtualKey::Return; // one virtual key for both Enter keys
    case SDL_SCANCODE_ESCAPE:
        return VirtualKey::Escape;
    case SDL_SCANCODE_BACKSPACE:
        return VirtualKey::Back;
    case SDL_SCANCODE_TAB:
        return VirtualKey::Tab;
    case SDL_SCANCODE_SPACE:
        return VirtualKey::Space;
    case SDL_SCANCODE_MINUS:
        return VirtualKey::OemMinus;
    case SDL_SCANCODE_EQUALS:
        return VirtualKey::OemPlus;
    case SDL_SCANCODE_LEFTBRACKET:
        return VirtualKey::Oem4;
    case SDL_SCANCODE_RIGHTBRACKET:
        return VirtualKey::Oem6;
    case SDL_SCANCODE_BACKSLASH:
        return VirtualKey::Oem5;
    case SDL_SCANCODE_NONUSHASH:
        return VirtualKey::Oem7;
    case SDL_SCANCODE_SEMICOLON:
        return VirtualKey::Oem1;
    case SDL_SCANCODE_APOSTROPHE:
        return VirtualKey::Oem7;
    case SDL_SCANCODE_GRAVE:
        return VirtualKey::Oem3;
    case SDL_SCANCODE_COMMA:
        return VirtualKey::OemComma;
    case SDL_SCANCODE_PERIOD:
        return VirtualKey::OemPeriod;
    case SDL_SCANCODE_SLASH:
        return VirtualKey::Oem2;
    case SDL_SCANCODE_NONUSBACKSLASH:
        return VirtualKey::Oem102;
    case SDL_SCANCODE_CAPSLOCK:
        return VirtualKey::Capital;
    case SDL_SCANCODE_PRINTSCREEN:
        return VirtualKey::Snapshot;
    case SDL_SCANCODE_SCROLLLOCK:
        return VirtualKey::Scroll;
    case SDL_SCANCODE_PAUSE:
        return VirtualKey::Pause;
    case SDL_SCANCODE_INSERT:
        return VirtualKey::Insert;
    case SDL_SCANCODE_HOME:
        return VirtualKey::Home;
    case SDL_SCANCODE_PAGEUP:
        return VirtualKey::Prior;
    case SDL_SCANCODE_DELETE:
        return VirtualKey::Delete;
    case SDL_SCANCODE_END:
        return VirtualKey::End;
    case SDL_SCANCODE_PAGEDOWN:
        return VirtualKey::Next;
    case SDL_SCANCODE_RIGHT:
        return VirtualKey::Right;
    case SDL_SCANCODE_LEFT:
        return VirtualKey::Left;
    case SDL_SCANCODE_DOWN:
        return VirtualKey::Down;
    case SDL_SCANCODE_UP:
        return VirtualKey::Up;
    case SDL_SCANCODE_NUMLOCKCLEAR:
        return VirtualKey::NumLock;
    case SDL_SCANCODE_KP_DIVIDE:
        return VirtualKey::Divide;
    case SDL_SCANCODE_KP_MULTIPLY:
        return VirtualKey::Multiply;
    case SDL_SCANCODE_KP_MINUS:
        return VirtualKey::Subtract;
    case SDL_SCANCODE_KP_PLUS:
        return VirtualKey::Add;
    case SDL_SCANCODE_KP_0:
        return VirtualKey::Numpad0;
    case SDL_SCANCODE_KP_PERIOD:
        return VirtualKey::Decimal;
    case SDL_SCANCODE_APPLICATION:
        return VirtualKey::Apps;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return VirtualKey::Control;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return VirtualKey::Shift;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return VirtualKey::Menu;
    case SDL_SCANCODE_LGUI:
        return VirtualKey::LeftWin;
    case SDL_SCANCODE_RGUI:
        return VirtualKey::RightWin;
    default:
        return 0;
    }
}

SdlPlatform::SdlPlatform()
{
    // Focus loss in full screen is handled by the application (minimise,
    // then take the display again on return), not by SDL on its own.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The picture is made in software and copied to the window as it is.
    // Left to itself SDL may put a GPU renderer behind the window surface,
    // which recreates the window (a new X window) at the first presentation.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_InitSubSystem(SDL_INIT_TIMER);
    videoReady = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!videoReady)
        std::fprintf(stderr, "Video: %s\n", SDL_GetError());
    else
        SDL_StopTextInput();
    if (videoReady && std::strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0)
        EndAtOnceOnDisplayLoss();
    OpenControllerSupport();
}

SdlPlatform::~SdlPlatform()
{
    CloseWindow();
    CloseControllers();
    if (arrowCursor)
        SDL_FreeCursor(arrowCursor);
    if (waitCursor)
        SDL_FreeCursor(waitCursor);
    if (videoReady)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_QuitSubSystem(SDL_INIT_TIMER);
}

uint64_t SdlPlatform::GetTicks()
{
    return SDL_GetTicks64();
}

int SdlPlatform::DesktopBitsPerPixel()
{
    SDL_DisplayMode mode;
    if (!videoReady || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 0;
    return SDL_BITSPERPIXEL(mode.format);
}

std::string SdlPlatform::ProgramFolder()
{
    std::vector<char> buffer(256);
    for (;;)
    {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return ".";
        if (static_cast<size_t>(length) < buffer.size())
        {
            std::string path(buffer.data(), static_cast<size_t>(length));
            const size_t slash = path.find_last_of('/');
            if (slash == std::string::npos)
                return ".";
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<DisplaySize> SdlPlatform::DisplayModes()
{
    std::vector<DisplaySize> modes;
    if (!videoReady)
        return modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i)
    {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0)
            continue;
        const DisplaySize size{mode.w, mode.h};
        if (std::find(modes.begin(), modes.end(), size) == modes.end())
            modes.push_back(size);
    }
    return modes;
}

DisplaySize SdlPlatform::UsableDesktopSize()
{
    if (!videoReady)
        return {};
    SDL_Rect bounds;
    if (SDL_GetDisplayUsableBounds(0, &bounds) == 0)
        return {bounds.w, bounds.h};
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
        return {mode.w, mode.h};
    return {};
}

bool SdlPlatform::OpenWindow(const std::string& title, int width, int height, bool fullscreen)
{
    if (!videoReady)
        return false;
    CloseWindow();
    logical = {width, height};
    wholeUpdate = true;
    refreshRate = 0;
    const Uint32 flags = SDL_WINDOW_SHOWN | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (window)
        return true;
    if (!fullscreen)
        return false;
    // Full screen refused: the game goes on in a window of the same size.
    window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_SHOWN);
    return false;
}

bool SdlPlatform::SetWindowMode(int width, int height, bool fullscreen)
{
    if (!window)
        return false;
    logical = {width, height};
    wholeUpdate = true;
    refreshRate = 0;
    if (fullscreen)
    {
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0)
            return true;
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowSize(window, width, height);
        return false;
    }
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, width, height);
    SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    return true;
}

void SdlPlatform::CloseWindow()
{
    if (!window)
        return;
    SDL_DestroyWindow(window);
    window = nullptr;
    events.clear();
}

void SdlPlatform::SuspendFullscreen()
{
    // The desktop's own mode is never changed, so giving the display back
    // only means getting out of the way.
    if (window)
        SDL_MinimizeWindow(window);
}

bool SdlPlatform::ResumeFullscreen()
{
    if (!window)
        return false;
    SDL_RestoreWindow(window);
    wholeUpdate = true;
    const bool ok = SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    SDL_RaiseWindow(window);
    return ok;
}

void SdlPlatform::SetWindowIcon(const uint32_t* pixels, int width, int height)
{
    if (!window || !pixels || width < 1 || height < 1)
        return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32, width * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (!icon)
        return;
    SDL_SetWindowIcon(window, icon); // SDL keeps its own copy
    SDL_FreeSurface(icon);
}

int SdlPlatform::RefreshRate()
{
    if (refreshRate > 0)
        return refreshRate;
    SDL_DisplayMode mode;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    const bool known = videoReady && SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0;
    // Displays that do not say are taken to refresh 60 times a second.
    refreshRate = known && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    return refreshRate;
}

namespace
{

bool IsXrgb(const SDL_Surface* surface)
{
    return surface->format->format == SDL_PIXELFORMAT_RGB888 || surface->format->format == SDL_PIXELFORMAT_ARGB8888;
}

// a + (b - a) * weight / 256 for the red and blue and for the green channel
// at once; weight runs from 0 to 256.
inline uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight)
{
    const uint32_t keep = 256 - weight;
    const uint32_t rb = (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8) & 0xFF00FFu;
    const uint32_t g = (((a & 0xFF00u) * keep + (b & 0xFF00u) * weight) >> 8) & 0xFF00u;
    return rb | g;
}

// The source positions of `count` window pixels spread over `size` picture
// pixels, pixel centres lined up.
void BuildTaps(std::vector<SdlPlatform::FilterTap>& taps, int count, int size)
{
    taps.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        const double at = std::clamp((i + 0.5) * size / count - 0.5, 0.0, static_cast<double>(size - 1));
        const int first = static_cast<int>(at);
        taps[static_cast<size_t>(i)] = {first, std::min(first + 1, size - 1),
                                        static_cast<int>(std::lround((at - first) * 256.0))};
    }
}

} // namespace

void SdlPlatform::LayOut(SDL_Surface* target, int width, int height)
{
    // The largest rectangle of the picture's aspect that fits, centred, with
    // black bars beside or above and below it.
    const double scale = std::min(static_cast<double>(target->w) / width, static_cast<double>(target->h) / height);
    const bool exact = target->w == width && target->h == height;
    viewWidth = exact ? width : std::max(1, static_cast<int>(width * scale));
    viewHeight = exact ? height : std::max(1, static_cast<int>(height * scale));
    viewX = (target->w - viewWidth) / 2;
    viewY = (target->h - viewHeight) / 2;
    BuildTaps(columnTaps, viewWidth, width);
    BuildTaps(rowTaps, viewHeight, height);
    const Uint32 black = SDL_MapRGB(target->format, 0, 0, 0);
    const SDL_Rect bars[4] = {{0, 0, target->w, viewY},
                              {0, viewY + viewHeight, target->w, target->h - viewY - viewHeight},
                              {0, viewY, viewX, viewHeight},
                              {viewX + viewWidth, viewY, target->w - viewX - viewWidth, viewHeight}};
    for (const SDL_Rect& bar : bars)
    {
        if (bar.w > 0 && bar.h > 0)
            SDL_FillRect(target, &bar, black);
    }
    laidOutOn = target;
    laidOutWidth = target->w;
    laidOutHeight = target->h;
}

// Fills the view pixels [left, right) x [top, bottom) (view coordinates) of a
// 32-bit surface from the picture, each the linear mix of its four nearest
// picture pixels.
void SdlPlatform::ScaleRect(const uint32_t* pixels, int width, SDL_Surface* target, int left, int top, int right,
                            int bottom) const
{
    for (int row = top; row < bottom; ++row)
    {
        const SdlPlatform::FilterTap& r = rowTaps[static_cast<size_t>(row)];
        const uint32_t* upper = pixels + static_cast<size_t>(r.first) * width;
        const uint32_t* lower = pixels + static_cast<size_t>(r.second) * width;
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target->pixels) +
                                                static_cast<size_t>(viewY + row) * target->pitch) +
                    viewX;
        for (int column = left; column < right; ++column)
        {
            const SdlPlatform::FilterTap& c = columnTaps[static_cast<size_t>(column)];
            const uint32_t top2 = Mix(upper[c.first], upper[c.second], static_cast<uint32_t>(c.weight));
            const uint32_t bottom2 = Mix(lower[c.first], lower[c.second], static_cast<uint32_t>(c.weight));
            out[column] = Mix(top2, bottom2, static_cast<uint32_t>(r.weight));
        }
    }
}

void SdlPlatform::Present(const uint32_t* pixels, int width, int height, const std::vector<PresentRect>& rects)
{
    if (!window || !pixels || width < 1 || height < 1)
        return;
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target)
        return;
    const bool relaid = wholeUpdate || target != laidOutOn || target->w != laidOutWidth || target->h != laidOutHeight ||
                        static_cast<int>(columnTaps.size()) != viewWidth || logical.width != width ||
                        logical.height != height;
    if (relaid || viewWidth < 1)
        LayOut(target, width, height);
    const bool direct = viewWidth == width && viewHeight == height;

    // Window rectangles to update: each changed picture rectangle, widened
    // when scaled by the filter's reach.
    std::vector<SDL_Rect> changed;
    const std::vector<PresentRect> whole{{0, 0, width, height}};
    for (const PresentRect& rect : relaid ? whole : rects)
    {
        const int left = std::max(rect.x, 0);
        const int top = std::max(rect.y, 0);
        const int right = std::min(rect.x + rect.width, width);
        const int bottom = std::min(rect.y + rect.height, height);
        if (right <= left || bottom <= top)
            continue;
        if (direct)
        {
            changed.push_back({left, top, right - left, bottom - top});
            continue;
        }
        const double sx = static_cast<double>(viewWidth) / width;
        const double sy = static_cast<double>(viewHeight) / height;
        const int x0 = std::max(0, static_cast<int>(std::floor((left - 1) * sx)) - 1);
        const int y0 = std::max(0, static_cast<int>(std::floor((top - 1) * sy)) - 1);
        const int x1 = std::min(viewWidth, static_cast<int>(std::ceil((right + 1) * sx)) + 1);
        const int y1 = std::min(viewHeight, static_cast<int>(std::ceil((bottom + 1) * sy)) + 1);
        if (x1 > x0 && y1 > y0)
            changed.push_back({x0, y0, x1 - x0, y1 - y0});
    }
    if (changed.empty())
        return;

    // Surfaces of another layout are drawn on a 32-bit copy and converted.
    SDL_Surface* canvas = target;
    SDL_Surface* staging = nullptr;
    if (!IsXrgb(target))
    {
        staging = SDL_CreateRGBSurfaceWithFormat(0, target->w, target->h, 32, SDL_PIXELFORMAT_RGB888);
        if (!staging)
            return;
        canvas = staging;
    }
    if (SDL_MUSTLOCK(canvas))
        SDL_LockSurface(canvas);
    for (SDL_Rect& rect : changed)
    {
        if (direct)
        {
            for (int row = rect.y; row < rect.y + rect.h; ++row)
            {
                std::memcpy(static_cast<uint8_t*>(canvas->pixels) + static_cast<size_t>(viewY + row) * canvas->pitch +
                                static_cast<size_t>(viewX + rect.x) * 4,
                            pixels + static_cast<size_t>(row) * width + rect.x, static_cast<size_t>(rect.w) * 4);
            }
        }
        else
        {
            ScaleRect(pixels, width, canvas, rect.x, rect.y, rect.x + rect.w, rect.y + rect.h);
        }
        rect.x += viewX;
        rect.y += viewY;
    }
    if (SDL_MUSTLOCK(canvas))
        SDL_UnlockSurface(canvas);
    if (staging)
    {
        for (SDL_Rect& rect : changed)
        {
            SDL_Rect to = rect;
            SDL_BlitSurface(staging, &rect, target, &to);
        }
        SDL_FreeSurface(staging);
    }
    if (relaid)
        SDL_UpdateWindowSurface(window);
    else
        SDL_UpdateWindowSurfaceRects(window, changed.data(), static_cast<int>(changed.size()));
    wholeUpdate = false;
}

void SdlPlatform::MapToBackBuffer(int& x, int& y) const
{
    if (viewWidth <= 0 || viewHeight <= 0 ||
        (viewX == 0 && viewY == 0 && viewWidth == logical.width && viewHeight == logical.height))
        return;
    // Floor division keeps positions left of or above the picture negative.
    x = static_cast<int>(std::floor(static_cast<double>(x - viewX) * logical.width / viewWidth));
    y = static_cast<int>(std::floor(static_cast<double>(y - viewY) * logical.height / viewHeight));
}

void SdlPlatform::PollSystemEvents()
{
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl))
        Translate(sdl);
}

// Turns one SDL event into the message the application handles; events the
// game has no use for are dropped. A new kind of input gets its case here
// and its Type in PlatformEvent.
void SdlPlatform::Translate(const SDL_Event& sdl)
{
    PlatformEvent event;
    using Type = PlatformEvent::Type;
    switch (sdl.type)
    {
    case SDL_QUIT:
        event.type = Type::Close;
        break;
    case SDL_WINDOWEVENT:
        switch (sdl.window.event)
        {
        case SDL_WINDOWEVENT_CLOSE:
            event.type = Type::Close;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event.type = Type::Activate;
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event.type = Type::Deactivate;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            wholeUpdate = true; // the bars may need painting as well
            event.type = Type::Paint;
            event.width = logical.width;
            event.height = logical.height;
            break;
        default:
            return;
        }
        break;
    case SDL_KEYDOWN:
    {
        const int key = ScancodeToVirtualKey(sdl.key.keysym.scancode);
        const bool alt = (sdl.key.keysym.mod & KMOD_ALT) != 0 && key != VirtualKey::Menu;
        event.type = alt ? Type::SysKeyDown : Type::KeyDown;
        event.key = key;
        break;
    }
    case SDL_KEYUP:
        event.type = Type::KeyUp;
        event.key = ScancodeToVirtualKey(sdl.key.keysym.scancode);
        break;
    case SDL_MOUSEMOTION:
        event.type = Type::MouseMove;
        event.x = sdl.motion.x;
        event.y = sdl.motion.y;
        MapToBackBuffer(event.x, event.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (sdl.button.button == SDL_BUTTON_LEFT)
            event.button = PlatformEvent::Button::Left;
        else if (sdl.button.button == SDL_BUTTON_RIGHT)
            event.button = PlatformEvent::Button::Right;
        else if (sdl.button.button == SDL_BUTTON_MIDDLE)
            event.button = PlatformEvent::Button::Middle;
        else
            return;
        event.type = sdl.type == SDL_MOUSEBUTTONDOWN ? Type::ButtonDown : Type::ButtonUp;
        event.x = sdl.button.x;
        event.y = sdl.button.y;
        MapToBackBuffer(event.x, event.y);
        break;
    default:
        if (!TranslateControllerEvent(sdl, event))
            return;
        break;
    }
    events.push_back(event);
}

void SdlPlatform::WaitEvent(int timeoutMs)
{
    if (!events.empty() || timeoutMs <= 0)
        return;
    if (!videoReady)
    {
        SDL_Delay(static_cast<Uint32>(timeoutMs));
        return;
    }
    // Blocks in the window system's queue (no polling) until something
    // arrives; the rest of what is waiting is taken along.
    SDL_Event sdl;
    if (SDL_WaitEventTimeout(&sdl, timeoutMs) == 1)
    {
        Translate(sdl);
        PollSystemEvents();
    }
}

bool SdlPlatform::PeekEvent(PlatformEvent& event)
{
    if (events.empty() && videoReady)
        PollSystemEvents();
    if (events.empty())
        return false;
    event = events.front();
    return true;
}

bool SdlPlatform::TakeEvent(PlatformEvent& event)
{
    if (!PeekEvent(event))
        return false;
    events.pop_front();
    return true;
}

bool SdlPlatform::HasRealDisplay() const
{
    if (!videoReady)
        return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

void SdlPlatform::ShowMessageBox(const std::string& caption, const std::string& text)
{
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    // Without a display there is nobody to press OK: the message stays on
    // stderr and the run goes on.
    if (HasRealDisplay())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), text.c_str(), window);
}

void SdlPlatform::DiscardFocusEvents()
{
    if (!videoReady)
        return;
    // The window system reports the focus coming and going a little after
    // the box has gone.
    for (int i = 0; i < 3; ++i)
    {
        SDL_Delay(10);
        PollSystemEvents();
    }
    events.erase(std::remove_if(events.begin(), events.end(),
                                [](const PlatformEvent& event) {
                                    return event.type == PlatformEvent::Type::Activate ||
                                           event.type == PlatformEvent::Type::Deactivate;
                                }),
                 events.end());
}

void SdlPlatform::SetCursor(CursorShape shape)
{
    cursor = shape;
    if (!videoReady)
        return;
    SDL_Cursor*& slot = shape == CursorShape::Wait ? waitCursor : arrowCursor;
    if (!slot)
        slot = SDL_CreateSystemCursor(shape == CursorShape::Wait ? SDL_SYSTEM_CURSOR_WAIT : SDL_SYSTEM_CURSOR_ARROW);
    if (slot)
        SDL_SetCursor(slot);
}

// --- game controllers ------------------------------------------------------------

void SdlPlatform::OpenControllerSupport()
{
    // Pads keep working while another window has the focus only if asked;
    // the game wants them only while it is in front, as the keyboard.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
    controllersReady = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!controllersReady)
        std::fprintf(stderr, "Game controllers: %s\n", SDL_GetError());
}

void SdlPlatform::CloseControllers()
{
    for (auto& [id, controller] : controllers)
        SDL_GameControllerClose(controller);
    controllers.clear();
    if (controllersReady)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    controllersReady = false;
}

bool SdlPlatform::TranslateControllerEvent(const SDL_Event& sdl, PlatformEvent& event)
{
    using Type = PlatformEvent::Type;
    switch (sdl.type)
    {
    case SDL_CONTROLLERDEVICEADDED:
    {
        // Here which is a device index; every later message names the
        // joystick's instance id.
        SDL_GameController* controller = SDL_GameControllerOpen(sdl.cdevice.which);
        if (!controller)
            return false;
        const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        if (controllers.count(id) != 0)
        {
            SDL_GameControllerClose(controller); // announced twice: already open
            return false;
        }
        controllers[id] = controller;
        event.type = Type::PadAdded;
        event.pad = id;
        return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
    {
        const auto found = controllers.find(sdl.cdevice.which);
        if (found == controllers.end())
            return false;
        SDL_GameControllerClose(found->second);
        controllers.erase(found);
        event.type = Type::PadRemoved;
        event.pad = sdl.cdevice.which;
        return true;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (sdl.cbutton.button >= static_cast<int>(PadButton::Count))
            return false;
        event.type = sdl.type == SDL_CONTROLLERBUTTONDOWN ? Type::PadButtonDown : Type::PadButtonUp;
        event.pad = sdl.cbutton.which;
        event.key = sdl.cbutton.button; // SDL numbers the buttons as PadButton does
        return true;
    case SDL_CONTROLLERAXISMOTION:
        if (sdl.caxis.axis >= static_cast<int>(PadAxis::Count))
            return false;
        event.type = Type::PadAxisMotion;
        event.pad = sdl.caxis.which;
        event.key = sdl.caxis.axis;
        event.x = sdl.caxis.value;
        return true;
    default:
        return false;
    }
}
