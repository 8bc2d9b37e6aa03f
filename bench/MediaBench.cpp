// Media benchmarks: how long the main menu takes from being requested to its
// first full picture (cold caches, re-entry, warm bitmaps) at three display
// sizes, and what the mixer costs per second of sound with four effects and
// the menu music playing. Run with the game folder as the argument (default:
// the build tree's game folder).
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/Application.h"
#include "app/Shutdown.h"
#include "engine/FileSystem.h"
#include "engine/MovieFileStream.h"
#include "engine/Screen.h"
#include "engine/ScreenManager.h"
#include "engine/platform/HeadlessAudioBackend.h"
#include "engine/platform/HeadlessPlatform.h"
#include "media/BitmapCache.h"
#include "media/FontCache.h"
#include "media/MovieLibrary.h"
#include "media/Sound.h"
#include "media/SoundManager.h"
#include "player/Player.h"
#include "screens/MainMenuScreen.h"

namespace
{

using Clock = std::chrono::steady_clock;

struct Blank : Screen
{
    void OnEnter() override {}
    void OnExit() override {}
};

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string DefaultGameFolder(const char* argv0)
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string(argv0);
    const size_t slash = exe.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : exe.substr(0, slash);
    return dir + "/../game";
}

struct Timing
{
    double wallMs = 0;
    double cpuMs = 0; // this process's processor time: less disturbed by a busy machine
};

// One frame in which the menu is entered, drawn in full and presented.
Timing EnterMenu(HeadlessPlatform& platform, bool release)
{
    platform.ClearFrames();
    const std::clock_t cpuStart = std::clock();
    const Clock::time_point start = Clock::now();
    ScreenManager::Get().SetScreen(&MainMenuScreen::Get(), release);
    Application::Get().Render();
    Timing timing;
    timing.wallMs = Milliseconds(start);
    timing.cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (platform.Frames().empty())
    {
        std::printf("  (no frame was presented)\n");
    }
    return timing;
}

void LeaveMenu(Blank& blank)
{
    ScreenManager::Get().SetScreen(&blank, true);
    Application::Get().Render();
}

// Forgets every rendered picture, movie and font, as at program start.
void DropCaches(Blank& blank)
{
    LeaveMenu(blank);
    MovieLibrary::Destroy();
    BitmapCache::Destroy();
    FontCache::Destroy();
    swf::shutdownPlayer();
    swf::setFileOpener(OpenMovieFile);
}

void MenuFigures(HeadlessPlatform& platform)
{
    const int sizes[][2] = {{640, 480}, {1024, 768}, {2048, 1536}};
    Blank blank;
    bool open = false;
    std::printf("Main menu, request to first full present, ms wall / ms processor:\n");
    std::printf("  %-11s %15s %15s %15s\n", "size", "cold", "re-entry", "warm");
    for (const auto& size : sizes)
    {
        Application& app = Application::Get();
        const bool ok =
            open ? app.SetDisplayMode(size[0], size[1], false) : app.Open(false, "Quorvo", size[0], size[1]);
        if (!ok)
        {
            std::printf("  %dx%d: the display could not be opened\n", size[0], size[1]);
            continue;
        }
        open = true;
        DropCaches(blank);
        const Timing cold = EnterMenu(platform, true);
        LeaveMenu(blank); // releases the menu's bitmaps: re-rendered on return
        const Timing again = EnterMenu(platform, true);
        const Timing warm = EnterMenu(platform, false); // bitmaps kept
        char label[32];
        std::snprintf(label, sizeof label, "%dx%d", size[0], size[1]);
        std::printf("  %-11s %7.1f / %5.1f %7.1f / %5.1f %7.1f / %5.1f\n", label, cold.wallMs, cold.cpuMs, again.wallMs,
                    again.cpuMs, warm.wallMs, warm.cpuMs);
    }
    LeaveMenu(blank);
    ScreenManager::Get().SetScreen(nullptr, true);
    ScreenManager::Get().Update();
}

void MixerFigures()
{
    SoundManager& sounds = SoundManager::Get();
    auto backend = std::make_unique<HeadlessAudioBackend>();
    HeadlessAudioBackend* output = backend.get();
    if (!sounds.Open(std::move(backend)))
    {
        std::printf("Mixer: no device\n");
        return;
    }
    std::vector<Sound*> loaded;
    for (const char* name :
         {"Data/Sounds/ButtonHighlight", "Data/Sounds/ButtonPress", "Data/Sounds/Flip", "Data/Sounds/Swap"})
    {
        Sound* effect = sounds.LoadEffect(name);
        (void)effect->Play(true);
        loaded.push_back(effect);
    }
    Sound* music = sounds.LoadMusic("Data/Sounds/Tiger");
    (void)music->Play(true);
    loaded.push_back(music);

    constexpr int Seconds = 60;
    constexpr int Rate = 22050;
    const std::clock_t cpuStart = std::clock();
    const Clock::time_point wallStart = Clock::now();
    for (int s = 0; s < Seconds; ++s)
    {
        output->ClearSamples();
        output->Pump(Rate);
    }
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wallMs = Milliseconds(wallStart);
    int playing = 0;
    for (Sound* sound : loaded)
    {
        playing += sound->IsPlaying() ? 1 : 0;
    }
    std::printf("Mixer, 4 looping effects + streamed music (%d of 5 voices busy at the end):\n", playing);
    std::printf("  CPU time per second of audio: %.2f ms (%.2f %% of one core; wall %.2f ms)\n", cpuMs / Seconds,
                cpuMs / Seconds / 10.0, wallMs / Seconds);
    for (Sound* sound : loaded)
    {
        sound->Release();
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string game = argc > 1 ? argv[1] : DefaultGameFolder(argv[0]);
    auto headless = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& platform = *headless;
    platform.SetProgramFolder(game);
    platform.SetUsableDesktopSize({4096, 4096});
    Platform::Install(std::move(headless));
    FileSystem::Get().SetProgramDirectory(game);
    if (!FileSystem::Get().Init("."))
    {
        std::printf("Cannot open the game folder %s\n", game.c_str());
        return 1;
    }
    swf::setFileOpener(OpenMovieFile);
    const int sizes[][2] = {{320, 240},   {640, 480},   {800, 600},   {1024, 768},  {1152, 864}, {1280, 960},
                            {1600, 1200}, {1792, 1344}, {1856, 1392}, {1920, 1440}, {2048, 1536}};
    for (const auto& size : sizes)
    {
        Application::Get().AddRequestedMode(size[0], size[1]);
    }
    std::printf("Game folder: %s\n", game.c_str());

    MixerFigures();
    MenuFigures(platform);
    if (!platform.Messages().empty())
    {
        std::printf("Messages shown: %zu (first: %s)\n", platform.Messages().size(),
                    platform.Messages().front().text.c_str());
    }
    MainMenuScreen::Destroy();
    DestroyGameObjects();
    ShutdownEngine();
    return 0;
}
