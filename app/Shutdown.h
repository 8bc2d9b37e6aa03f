#pragma once

// Has the screen manager let go of the screens, then destroys the game's
// screens and stores (the last step of the main loop's run, while the engine
// is still up).
void DestroyGameObjects();

// Tears the engine down in its fixed order: sound, file system, screen
// manager, movie library, bitmap cache, application, then the movie player's
// global state. Used at exit and by tests.
void ShutdownEngine();
