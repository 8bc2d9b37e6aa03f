// The game's entry point: process-wide preparation, the main loop, and the
// engine's teardown.
#include <cstdlib>

#include "app/Application.h"
#include "app/Shutdown.h"
#include "engine/platform/Platform.h"
#if __has_include("player/Player.h")
#include "player/Player.h"
#define QUORVO_HAVE_PLAYER 1
#endif
#if __has_include("engine/MovieFileStream.h")
#include "engine/MovieFileStream.h"
#define QUORVO_HAVE_MOVIE_FILES 1
#endif

int main()
{
    Platform& platform = Platform::Get();
    platform.RaiseTimerResolution();
    platform.RaiseThreadPriority();

    const int bits = platform.DesktopBitsPerPixel();
    if (bits > 0 && bits < 15) {
        platform.ShowMessageBox("Warning: Color setting too low.",
                                "This game is meant to be played at 16 bit color or higher.  Please adjust your "
                                "Windows display settings for best results.");
    }

    std::srand(static_cast<unsigned>(platform.GetTicks()));

#if defined(QUORVO_HAVE_PLAYER) && defined(QUORVO_HAVE_MOVIE_FILES)
    // Every movie file is read through the resource file system.
    swf::setFileOpener(OpenMovieFile);
#endif
#ifdef QUORVO_HAVE_PLAYER
    // Movies may send commands to their host; the game has none to answer.
    swf::setCommandHandler([](swf::MovieInstance*, const std::string&, const std::string&) {});
#endif

    // The result carries no meaning for the process: every failure has
    // already been shown to the player.
    (void)Application::Get().Run();

    platform.RestoreTimerResolution();
    ShutdownEngine();
    return 0;
}
