#include "player/Player.h"

#include "player/MovieDefinition.h"
#include "player/PlayerHooks.h"
#include "player/TagLoaders.h"

#include <set>
#include <unordered_map>
#include <vector>

namespace swf
{

namespace
{

// Import chains deeper than this are refused (each level is a nested load).
constexpr int MaxImportDepth = 16;

struct PlayerGlobals
{
    FileOpener opener;
    CommandHandler commands;
    ActionHooks hooks;
    std::unordered_map<std::string, Ref<MovieDefinition>> library;
    // Paths being read by loadLibraryMovie: an import cycle meets them and is refused.
    std::set<std::string> loading;
    std::vector<void (*)()> shutdownHooks;
};

PlayerGlobals& globals()
{
    static PlayerGlobals g;
    return g;
}

} // namespace

void setFileOpener(FileOpener opener)
{
    globals().opener = std::move(opener);
}

void setCommandHandler(CommandHandler handler)
{
    globals().commands = std::move(handler);
}

const CommandHandler& commandHandler()
{
    return globals().commands;
}

void setActionHooks(const ActionHooks& hooks)
{
    globals().hooks = hooks;
}

const ActionHooks& actionHooks()
{
    return globals().hooks;
}

std::unique_ptr<FileStream> openFile(const std::string& path)
{
    if (!globals().opener)
        return nullptr;
    std::unique_ptr<FileStream> stream = globals().opener(path);
    if (!stream || stream->error != 0)
        return nullptr;
    return stream;
}

Ref<MovieDefinition> loadMovieDefinition(const std::string& path)
{
    std::unique_ptr<FileStream> stream = openFile(path);
    if (!stream)
        return nullptr;
    ensurePlayerInitialised();
    Ref<MovieDefinition> movie = makeRef<MovieDefinition>();
    movie->read(*stream);
    stream.reset();
    // Glyphs are drawn as outlines, so a ".gsc" glyph cache beside the movie is never needed
    // and is treated as absent.
    return movie;
}

Ref<MovieDefinition> loadLibraryMovie(const std::string& path)
{
    PlayerGlobals& g = globals();
    auto it = g.library.find(path);
    if (it != g.library.end())
        return it->second;
    if (g.loading.count(path) || g.loading.size() >= MaxImportDepth)
        return nullptr;
    g.loading.insert(path);
    Ref<MovieDefinition> movie = loadMovieDefinition(path);
    g.loading.erase(path);
    if (movie)
        g.library[path] = movie;
    return movie;
}

void addShutdownHook(void (*hook)())
{
    if (!hook)
        return;
    for (auto existing : globals().shutdownHooks)
        if (existing == hook)
            return;
    globals().shutdownHooks.push_back(hook);
}

void shutdownPlayer()
{
    PlayerGlobals& g = globals();
    g.library.clear();
    for (auto hook : g.shutdownHooks)
        hook();
}

} // namespace swf
