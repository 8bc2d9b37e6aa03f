// Frame figures of the game, one measurement per run so each starts with
// cold caches and its own peak memory:
//
//   bench_FrameBench start <w> <h> [game]   start to first presented frame
//   bench_FrameBench play [game]            play-screen entry at 2048x1536
//   bench_FrameBench play-ahead [game]      the same entry made the player's
//                                           way, from the level choice after
//                                           it has idled
//   bench_FrameBench menu [game]            warm main-menu entry at 2048x1536
//   bench_FrameBench marathon [game]        a busy Marathon at 1024x768 on the
//                                           real display, 60 frames a second
//   bench_FrameBench floor                  a bare SDL window waiting on events
//
// bench/frame-figures.sh runs them all (with the idle game on the main menu)
// and prints the table. Each prints one line of "name value" pairs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <SDL.h>

#include "app/Application.h"
#include "app/Shutdown.h"
#include "engine/FileSystem.h"
#include "engine/KeyCode.h"
#include "engine/MovieFileStream.h"
#include "engine/ScreenManager.h"
#include "engine/platform/HeadlessPlatform.h"
#include "engine/platform/SdlPlatform.h"
#include "game/PlayScreen.h"
#include "media/PictureAhead.h"
#include "player/Player.h"
#include "screens/GameLevelSelectScreen.h"
#include "screens/LogoScreen.h"
#include "screens/MainMenuScreen.h"

namespace
{

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double CpuMs()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

std::string DefaultGameFolder()
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    const std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string(".");
    return exe.substr(0, exe.rfind('/')) + "/../game";
}

// Counts what reaches the window, as the presentation hands it on.
class CountingSdlPlatform : public SdlPlatform
{
  public:
    void Present(const uint32_t* pixels, int width, int height, const std::vector<PresentRect>& rects) override
    {
        ++presents;
        wholeBytes += static_cast<double>(width) * height * 4;
        for (const PresentRect& rect : rects)
            bytes += static_cast<double>(rect.width) * rect.height * 4;
        SdlPlatform::Present(pixels, width, height, rects);
    }
    int presents = 0;
    double bytes = 0;
    double wholeBytes = 0;
};

bool Prepare(const std::string& game, std::unique_ptr<Platform> platform)
{
    if (HeadlessPlatform* headless = dynamic_cast<HeadlessPlatform*>(platform.get()))
    {
        headless->SetProgramFolder(game);
        headless->SetUsableDesktopSize({4096, 4096});
        headless->SetKeepFrames(false);
    }
    Platform::Install(std::move(platform));
    FileSystem::Get().SetProgramDirectory(game);
    if (!FileSystem::Get().Init("."))
    {
        std::printf("error cannot-open-game-folder %s\n", game.c_str());
        return false;
    }
    swf::setFileOpener(OpenMovieFile);
    for (const DisplaySize size : {DisplaySize{640, 480}, DisplaySize{1024, 768}, DisplaySize{2048, 1536}})
        Application::Get().AddRequestedMode(size.width, size.height);
    return true;
}

// Frames until one is presented (the clock of a headless run stands still).
void RenderUntilPresented(HeadlessPlatform& platform)
{
    const int before = platform.PresentCount();
    for (int i = 0; i < 10 && platform.PresentCount() == before; ++i)
        (void)Application::Get().RunFrame();
}

int StartFigures(int w, int h, const std::string& game)
{
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuMs();
    auto owned = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& platform = *owned;
    if (!Prepare(game, std::move(owned)) || !Application::Get().Open(false, "Quorvo", w, h))
        return 1;
    ScreenManager::Get().SetScreen(&LogoScreen::Get(), true);
    RenderUntilPresented(platform);
    std::printf("start %dx%d wall_ms %.1f cpu_ms %.1f peak_mib %.1f\n", w, h, Since(start), CpuMs() - cpuStart,
                PeakMiB());
    return 0;
}

// Straight from the main menu after the change of size (cold), or the
// player's way: the level choice comes first and idles until the pictures it
// renders ahead are ready (their time is reported apart).
int PlayFigures(const std::string& game, bool ahead)
{
    auto owned = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& platform = *owned;
    if (!Prepare(game, std::move(owned)) || !Application::Get().Open(false, "Quorvo", 1024, 768))
        return 1;
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    RenderUntilPresented(platform);
    if (!Application::Get().SetDisplayMode(2048, 1536, false))
        return 1;
    PlayScreen::Get().SetGameType(GameType::Marathon);
    double aheadMs = 0;
    if (ahead)
    {
        ScreenManager::Get().SetScreen(&GameLevelSelectScreen::Get(), true);
        RenderUntilPresented(platform);
        // With a display rate the loop has time to spare between frames
        // (the headless clock stands still), which is when it renders ahead.
        platform.SetRefreshRate(60);
        const double cpuStart = CpuMs();
        for (int i = 0; i < 1000 && PictureAhead::Get().Pending(); ++i)
            (void)Application::Get().RunFrame();
        aheadMs = CpuMs() - cpuStart;
        platform.SetRefreshRate(0);
    }
    ScreenManager::Get().SetScreen(&PlayScreen::Get(), true);
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuMs();
    RenderUntilPresented(platform);
    std::printf("play 2048x1536 wall_ms %.1f cpu_ms %.1f peak_mib %.1f ahead_cpu_ms %.1f\n", Since(start),
                CpuMs() - cpuStart, PeakMiB(), aheadMs);
    return 0;
}

int MenuFigures(const std::string& game)
{
    auto owned = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& platform = *owned;
    if (!Prepare(game, std::move(owned)) || !Application::Get().Open(false, "Quorvo", 2048, 1536))
        return 1;
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), true);
    RenderUntilPresented(platform);
    std::vector<double> wall, cpu;
    for (int i = 0; i < 7; ++i)
    {
        const Clock::time_point start = Clock::now();
        const double cpuStart = CpuMs();
        ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), false);
        RenderUntilPresented(platform);
        wall.push_back(Since(start));
        cpu.push_back(CpuMs() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("menu 2048x1536 wall_ms %.1f cpu_ms %.1f (median of 7)\n", wall[3], cpu[3]);
    return 0;
}

// A player who acts every 120 ms: moving the mover, swapping or flipping it,
// in a fixed pseudo-random order; and who calls the queue in every 3 s.
int NextKey(unsigned& state)
{
    state = state * 1103515245u + 12345u;
    const int keys[] = {KeyCode::Left, KeyCode::Right, KeyCode::Up, KeyCode::Down, ' ', ' ', ' ', KeyCode::Tab};
    return keys[(state >> 16) % 8];
}

int MarathonFigures(const std::string& game)
{
    auto owned = std::make_unique<CountingSdlPlatform>();
    CountingSdlPlatform& platform = *owned;
    if (!Prepare(game, std::move(owned)) || !Application::Get().Open(false, "Quorvo", 1024, 768))
        return 1;
    Application& app = Application::Get();
    PlayScreen::Get().SetGameType(GameType::Marathon);
    PlayScreen::Get().difficulty = Difficulty::Easy;
    ScreenManager::Get().SetScreen(&PlayScreen::Get(), true);
    // The entry itself (rendering every picture) is not part of the figure.
    for (int i = 0; i < 30; ++i)
    {
        (void)app.RunFrame();
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    platform.presents = 0;
    platform.bytes = platform.wholeBytes = 0;

    constexpr double Seconds = 10.0;
    const auto period = std::chrono::microseconds(16667);
    unsigned seed = 12345u;
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuMs();
    Clock::time_point next = start;
    Clock::time_point nextKey = start;
    Clock::time_point nextDrop = start;
    while (Since(start) < Seconds * 1000.0 && app.RunFrame())
    {
        if (Clock::now() >= nextKey)
        {
            ScreenManager::Get().OnKeyDown(NextKey(seed), false);
            nextKey += std::chrono::milliseconds(120);
        }
        if (Clock::now() >= nextDrop)
        {
            ScreenManager::Get().OnKeyDown(KeyCode::Enter, false);
            nextDrop += std::chrono::milliseconds(3000);
        }
        next += period;
        std::this_thread::sleep_until(next);
    }
    const double wall = Since(start);
    const double cpu = CpuMs() - cpuStart;
    std::printf("marathon 1024x768 cpu_pct %.2f presents_per_s %.1f bytes_per_s %.0f whole_window_bytes_per_s %.0f\n",
                cpu / wall * 100.0, platform.presents * 1000.0 / wall, platform.bytes * 1000.0 / wall,
                platform.wholeBytes * 1000.0 / wall);
    return 0;
}

// The floor for idling: a window and a loop that only waits for events.
int FloorFigures()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return 1;
    SDL_Window* window = SDL_CreateWindow("floor", 0, 0, 640, 480, SDL_WINDOW_SHOWN);
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuMs();
    SDL_Event event;
    while (Since(start) < 10000.0)
        (void)SDL_WaitEventTimeout(&event, 1000);
    std::printf("floor cpu_pct %.3f\n", (CpuMs() - cpuStart) / Since(start) * 100.0);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    const auto gameArg = [&](int index) { return argc > index ? std::string(argv[index]) : DefaultGameFolder(); };
    int result = 2;
    if (what == "start" && argc > 3)
        result = StartFigures(std::atoi(argv[2]), std::atoi(argv[3]), gameArg(4));
    else if (what == "play" || what == "play-ahead")
        result = PlayFigures(gameArg(2), what == "play-ahead");
    else if (what == "menu")
        result = MenuFigures(gameArg(2));
    else if (what == "marathon")
        result = MarathonFigures(gameArg(2));
    else if (what == "floor")
        return FloorFigures();
    else
        std::fprintf(stderr, "usage: %s start <w> <h> | play | play-ahead | menu | marathon | floor [game folder]\n",
                     argv[0]);
    if (what != "floor" && result != 2)
    {
        ScreenManager::Get().SetScreen(nullptr, true);
        ScreenManager::Get().Update();
        DestroyGameObjects();
        ShutdownEngine();
    }
    return result;
}
