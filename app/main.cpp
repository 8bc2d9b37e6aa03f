// The game's entry point: process-wide preparation, the main loop, and the
// engine's teardown.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/QuitSignal.h"
#include "app/Shutdown.h"
#include "engine/MovieFileStream.h"
#include "engine/platform/Platform.h"
#include "game/Random.h"
#include "player/Player.h"

int main(int argc, char** argv)
{
    // The command line is settled before anything of the display is touched.
    const CommandLine command = CommandLine::Parse(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    switch (command.action)
    {
    case CommandLine::Action::Help:
        std::fputs(CommandLine::Usage().c_str(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("%s\n", CommandLine::VersionLine().c_str());
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "%s\n%s", command.error.c_str(), CommandLine::Usage().c_str());
        return 2;
    case CommandLine::Action::Play:
        break;
    }

    Platform& platform = Platform::Get();
    // The main thread keeps its normal priority: the loop sleeps between
    // frames, and a game should not outrank the desktop it runs on.
    platform.RaiseTimerResolution();

    const int bits = platform.DesktopBitsPerPixel();
    if (bits > 0 && bits < 15)
    {
        platform.ShowMessageBox("Warning: Color setting too low.",
                                "This game is meant to be played at 16 bit color or higher.  Please adjust your "
                                "Windows display settings for best results.");
    }

    // Seeded with the milliseconds since the system started (the platform's
    // own tick count starts at zero with the process, so it would give every
    // run the same games).
    const auto uptime = std::chrono::steady_clock::now().time_since_epoch();
    std::srand(static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(uptime).count()));
    Random::Game().Seed(Random::TickSeed());

    // Every movie file is read through the resource file system.
    swf::setFileOpener(OpenMovieFile);
    // Movies may send commands to their host; the game has none to answer.
    swf::setCommandHandler([](swf::MovieInstance*, const std::string&, const std::string&) {});

    // Logging out or a kill ends the game as its close box does.
    QuitSignal::Install();
    Application::Get().SetCheckGameData(true);
    Application::Get().SetDisplayOverride(command.fullscreen, command.size);

    // The result carries no meaning for the process: every failure has
    // already been shown to the player.
    (void)Application::Get().Run();

    platform.RestoreTimerResolution();
    ShutdownEngine();
    return 0;
}
