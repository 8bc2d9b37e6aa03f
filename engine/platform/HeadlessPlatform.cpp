#include "engine/platform/HeadlessPlatform.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

HeadlessPlatform::HeadlessPlatform()
{
    // A display that reports every size the game offers.
    displayModes = {{320, 240},   {640, 480},   {800, 600},   {1024, 768},  {1152, 864}, {1280, 960},
                    {1600, 1200}, {1792, 1344}, {1856, 1392}, {1920, 1440}, {2048, 1536}};
}

void HeadlessPlatform::PushKey(int virtualKey, bool alt)
{
    PlatformEvent event;
    event.type = alt ? PlatformEvent::Type::SysKeyDown : PlatformEvent::Type::KeyDown;
    event.key = virtualKey;
    events.push_back(event);
}

void HeadlessPlatform::PushKeyUp(int virtualKey)
{
    PlatformEvent event;
    event.type = PlatformEvent::Type::KeyUp;
    event.key = virtualKey;
    events.push_back(event);
}

void HeadlessPlatform::PushPad(PlatformEvent::Type type, int pad, int key, int value)
{
    PlatformEvent event;
    event.type = type;
    event.pad = pad;
    event.key = key;
    event.x = value;
    events.push_back(event);
}

void HeadlessPlatform::PushMouseMove(int px, int py)
{
    PlatformEvent event;
    event.type = PlatformEvent::Type::MouseMove;
    event.x = px;
    event.y = py;
    events.push_back(event);
}

void HeadlessPlatform::PushButton(PlatformEvent::Button button, bool down, int px, int py)
{
    PlatformEvent event;
    event.type = down ? PlatformEvent::Type::ButtonDown : PlatformEvent::Type::ButtonUp;
    event.button = button;
    event.x = px;
    event.y = py;
    events.push_back(event);
}

void HeadlessPlatform::PushClose()
{
    PlatformEvent event;
    event.type = PlatformEvent::Type::Close;
    events.push_back(event);
}

std::string HeadlessPlatform::ProgramFolder()
{
    if (!programFolder.empty())
        return programFolder;
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

bool HeadlessPlatform::OpenWindow(const std::string& title, int width, int height, bool wantFullscreen)
{
    if (refuseWindow)
        return false;
    windowOpen = true;
    ++windowsOpened;
    windowTitle = title;
    minimised = false;
    client = {width, height};
    fullscreen = wantFullscreen && !refuseFullscreen;
    return fullscreen == wantFullscreen;
}

bool HeadlessPlatform::SetWindowMode(int width, int height, bool wantFullscreen)
{
    client = {width, height};
    fullscreen = wantFullscreen && !refuseFullscreen;
    return fullscreen == wantFullscreen;
}

void HeadlessPlatform::CloseWindow()
{
    windowOpen = false;
    fullscreen = false;
}

void HeadlessPlatform::SuspendFullscreen()
{
    minimised = true;
}

bool HeadlessPlatform::ResumeFullscreen()
{
    if (refuseFullscreen)
        return false;
    minimised = false;
    return true;
}

void HeadlessPlatform::SetWindowIcon(const uint32_t* pixels, int width, int height)
{
    icon.width = width;
    icon.height = height;
    icon.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
}

void HeadlessPlatform::Present(const uint32_t* pixels, int width, int height, const std::vector<PresentRect>& rects)
{
    ++presentCount;
    lastRects = rects;
    if (!keepFrames)
        return;
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(pixels, pixels + static_cast<size_t>(width) * height);
    frame.rects = rects;
    frames.push_back(std::move(frame));
}

void HeadlessPlatform::WaitEvent(int timeoutMs)
{
    ++waitCount;
    lastWaitMs = timeoutMs;
}

bool HeadlessPlatform::PeekEvent(PlatformEvent& event)
{
    if (events.empty())
        return false;
    event = events.front();
    return true;
}

bool HeadlessPlatform::TakeEvent(PlatformEvent& event)
{
    if (!PeekEvent(event))
        return false;
    events.pop_front();
    return true;
}

void HeadlessPlatform::ShowMessageBox(const std::string& caption, const std::string& text)
{
    messages.push_back({caption, text});
    if (echoMessages)
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    // As on a desktop: the box takes the focus from a full-screen window.
    if (windowOpen && fullscreen)
    {
        PlatformEvent lost;
        lost.type = PlatformEvent::Type::Deactivate;
        events.push_back(lost);
    }
}

void HeadlessPlatform::DiscardFocusEvents()
{
    events.erase(std::remove_if(events.begin(), events.end(),
                                [](const PlatformEvent& event) {
                                    return event.type == PlatformEvent::Type::Activate ||
                                           event.type == PlatformEvent::Type::Deactivate;
                                }),
                 events.end());
}

void HeadlessPlatform::SetCursor(CursorShape shape)
{
    cursor = shape;
    ++cursorChanges;
}
