#include "app/Shutdown.h"

#include "app/Application.h"
#include "data/GameOptions.h"
#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "engine/FileSystem.h"
#include "engine/ScreenManager.h"
#include "engine/platform/Platform.h"
#include "screens/StartScreen.h"
#if __has_include("media/SoundManager.h")
#include "media/SoundManager.h"
#define QUORVO_HAVE_SOUND 1
#endif
#if __has_include("media/MovieLibrary.h")
#include "media/MovieLibrary.h"
#define QUORVO_HAVE_MOVIES 1
#endif
#if __has_include("media/BitmapCache.h")
#include "media/BitmapCache.h"
#define QUORVO_HAVE_BITMAPS 1
#endif
#if __has_include("player/Player.h")
#include "player/Player.h"
#define QUORVO_HAVE_PLAYER 1
#endif

void DestroyGameObjects()
{
    // Screens first (they may still refer to the stores), then the stores.
    StartScreen::Destroy();
    GameOptions::Destroy();
    ProfileStore::Destroy();
    HighScoreTables::Destroy();
}

void ShutdownEngine()
{
#ifdef QUORVO_HAVE_SOUND
    SoundManager::Destroy();
#endif
    FileSystem::Destroy();
    ScreenManager::Destroy();
#ifdef QUORVO_HAVE_MOVIES
    MovieLibrary::Destroy();
#endif
#ifdef QUORVO_HAVE_BITMAPS
    BitmapCache::Destroy();
#endif
    Application::Destroy();
#ifdef QUORVO_HAVE_PLAYER
    swf::shutdownPlayer();
#endif
    // The platform goes last: everything above may still close windows or
    // show messages through it.
    Platform::Uninstall();
}
