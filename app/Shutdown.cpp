#include "app/Shutdown.h"

#include "app/Application.h"
#include "data/GameOptions.h"
#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "engine/FileSystem.h"
#include "engine/ScreenManager.h"
#include "engine/platform/Platform.h"
#include "game/PlayScreen.h"
#include "game/TutorialScreen.h"
#include "media/BitmapCache.h"
#include "media/FontCache.h"
#include "media/MovieLibrary.h"
#include "media/PictureAhead.h"
#include "media/SoundManager.h"
#include "player/Player.h"
#include "screens/GameLevelSelectScreen.h"
#include "screens/GameTypeSelectScreen.h"
#include "screens/HighScoresScreen.h"
#include "screens/LevelEditorScreen.h"
#include "screens/LogoScreen.h"
#include "screens/MainMenuScreen.h"
#include "screens/NewProfileEntryScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/ProfileSelectScreen.h"
#include "screens/PuzzleLevelSelectScreen.h"

void DestroyGameObjects()
{
    // The manager lets go of the screens and their controls before they are
    // freed, so a later switch or frame cannot reach them. Screens go next
    // (they may still refer to the stores), then the stores.
    ScreenManager::Get().Clear();
    PlayScreen::Destroy();
    TutorialScreen::Destroy();
    PuzzleLevelSelectScreen::Destroy();
    LevelEditorScreen::Destroy();
    GameLevelSelectScreen::Destroy();
    GameTypeSelectScreen::Destroy();
    NewProfileEntryScreen::Destroy();
    ProfileSelectScreen::Destroy();
    LogoScreen::Destroy();
    MainMenuScreen::Destroy();
    OptionsScreen::Destroy();
    HighScoresScreen::Destroy();
    GameOptions::Destroy();
    ProfileStore::Destroy();
    HighScoreTables::Destroy();
}

void ShutdownEngine()
{
    SoundManager::Destroy();
    FileSystem::Destroy();
    ScreenManager::Destroy();
    PictureAhead::Destroy();
    MovieLibrary::Destroy();
    BitmapCache::Destroy();
    FontCache::Destroy();
    Application::Destroy();
    swf::shutdownPlayer();
    // The platform goes last: everything above may still close windows or
    // show messages through it.
    Platform::Uninstall();
}
