#pragma once

#include "player/FileStream.h"
#include "player/Forward.h"
#include "player/RefCounted.h"

#include <functional>
#include <memory>
#include <string>

namespace swf
{

// Opens a path for reading; returns null when the file cannot be opened.
using FileOpener = std::function<std::unique_ptr<FileStream>(const std::string& path)>;
// FSCommand handler: (movie instance, command text, argument text).
using CommandHandler = std::function<void(MovieInstance* movie, const std::string& command, const std::string& args)>;

// Every file the player reads comes through the opener; without one every load yields null.
void setFileOpener(FileOpener opener);
void setCommandHandler(CommandHandler handler);
const CommandHandler& commandHandler();
// Opens through the installed opener; null when none is set, or the file did not open.
[[nodiscard]] std::unique_ptr<FileStream> openFile(const std::string& path);

// Loads a movie; null when the file cannot be opened. A file that is not a movie gives an
// empty definition. The result holds one reference for the caller.
[[nodiscard]] Ref<MovieDefinition> loadMovieDefinition(const std::string& path);
// Loads through the library cache, which keeps each path loaded once (used by ImportAssets).
[[nodiscard]] Ref<MovieDefinition> loadLibraryMovie(const std::string& path);

// Called by shutdownPlayer after the library cache is dropped (glyph caches, script globals).
void addShutdownHook(void (*hook)());
// At program end: drops the library cache and the other global state of the player.
void shutdownPlayer();

} // namespace swf
