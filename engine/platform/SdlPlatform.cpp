#include "engine/platform/SdlPlatform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <SDL.h>

#include "engine/PadButton.h"
#include "engine/VirtualKey.h"

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

void SdlPlatform::RaiseThreadPriority()
{
    // Needs privileges on most systems; a refusal leaves the normal priority.
    if (SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH) != 0)
        SDL_ClearError();
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

void SdlPlatform::Present(const uint32_t* pixels, int width, int height)
{
    if (!window || !pixels || width < 1 || height < 1)
        return;
    SDL_Surface* target = SDL_GetWindowSurface(window);
    if (!target)
        return;

    if (target->w == width && target->h == height && target->format->format == SDL_PIXELFORMAT_RGB888)
    {
        // The common windowed case: the rows are copied as they are.
        viewX = viewY = 0;
        viewWidth = width;
        viewHeight = height;
        if (SDL_MUSTLOCK(target))
            SDL_LockSurface(target);
        for (int row = 0; row < height; ++row)
        {
            std::memcpy(static_cast<uint8_t*>(target->pixels) + static_cast<size_t>(row) * target->pitch,
                        pixels + static_cast<size_t>(row) * width, static_cast<size_t>(width) * 4);
        }
        if (SDL_MUSTLOCK(target))
            SDL_UnlockSurface(target);
    }
    else
    {
        // Scaled to the largest rectangle of the same aspect that fits,
        // centred, with black bars beside or above and below it.
        const double scale = std::min(static_cast<double>(target->w) / width, static_cast<double>(target->h) / height);
        viewWidth = std::max(1, static_cast<int>(width * scale));
        viewHeight = std::max(1, static_cast<int>(height * scale));
        viewX = (target->w - viewWidth) / 2;
        viewY = (target->h - viewHeight) / 2;
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                                                 width * 4, SDL_PIXELFORMAT_RGB888);
        if (!source)
            return;
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
        SDL_Rect view{viewX, viewY, viewWidth, viewHeight};
        if (viewWidth == width && viewHeight == height)
            SDL_BlitSurface(source, nullptr, target, &view);
        else
            SDL_BlitScaled(source, nullptr, target, &view);
        SDL_FreeSurface(source);
    }
    SDL_UpdateWindowSurface(window);
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
                event.type = Type::Paint;
                event.width = logical.width;
                event.height = logical.height;
                break;
            default:
                continue;
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
                continue;
            event.type = sdl.type == SDL_MOUSEBUTTONDOWN ? Type::ButtonDown : Type::ButtonUp;
            event.x = sdl.button.x;
            event.y = sdl.button.y;
            MapToBackBuffer(event.x, event.y);
            break;
        default:
            if (!TranslateControllerEvent(sdl, event))
                continue;
            break;
        }
        events.push_back(event);
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
