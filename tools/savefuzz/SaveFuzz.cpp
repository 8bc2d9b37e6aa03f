// Fuzz entry for the save files and the level reader. The first byte picks
// the file (options, profiles, high scores or a puzzle level), the rest is its
// content. Whatever a reader accepts must survive a save and a second load
// unchanged: the second save writes the same bytes as the first, and the
// second load shows no warning.
#include "data/GameOptions.h"
#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "data/PuzzleLevel.h"
#include "engine/FileSystem.h"
#include "engine/platform/HeadlessPlatform.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace
{

HeadlessPlatform* platform = nullptr;
std::string folder; // the game's scratch program folder
fs::path started;   // where the fuzzer was started: its corpus paths are relative to it

// The scratch folder goes when the fuzzer exits.
struct ScratchFolder
{
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!folder.empty())
            fs::remove_all(folder, ignored);
    }
} scratch;

// The game saves relative to its program folder, so each input runs there;
// the fuzzer's own files stay relative to where it was started.
struct InFolder
{
    InFolder() { fs::current_path(folder); }
    ~InFolder() { fs::current_path(started); }
};

struct SaveKind
{
    const char* path;
    bool (*load)();
    bool (*save)();
    void (*forget)();
};

const SaveKind Kinds[] = {
    {"Data/GameOpts.opt", LoadGameOptions, SaveGameOptions, GameOptions::Destroy},
    {"Data/Profiles.pro", LoadProfiles, SaveProfiles, ProfileStore::Destroy},
    {"Data/HighScores.hsc", LoadHighScores, SaveHighScores, HighScoreTables::Destroy},
};
constexpr const char* LevelPath = "Data/Levels/Fuzz/001.qvl";

bool Setup()
{
    char pattern[] = "/tmp/quorvo-savefuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made)
        return false;
    folder = made;
    fs::create_directories(folder + "/Data");
    auto headless = std::make_unique<HeadlessPlatform>();
    platform = headless.get();
    platform->SetProgramFolder(made);
    platform->SetEchoMessages(false);
    Platform::Install(std::move(headless));
    FileSystem::Get().SetProgramDirectory(made);
    started = fs::current_path();
    const bool mounted = FileSystem::Get().Init(".");
    fs::current_path(started);
    return mounted;
}

void Write(const std::string& resourcePath, const uint8_t* data, size_t size)
{
    const fs::path path = folder + "/" + resourcePath;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string Read(const std::string& resourcePath)
{
    std::ifstream in(folder + "/" + resourcePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] void Fail(const char* what, const std::string& path)
{
    std::fprintf(stderr, "savefuzz: %s (%s)\n", what, path.c_str());
    std::abort();
}

// Repeated identical messages within a second are merged; every input
// starts a fresh second so none is hidden by the previous input's.
void NextInput()
{
    platform->AdvanceTicks(5000);
    platform->ClearMessages();
    std::error_code ignored;
    fs::remove_all(folder + "/Data", ignored);
    fs::create_directories(folder + "/Data");
}

void FuzzSaveFile(const SaveKind& kind, const uint8_t* data, size_t size)
{
    Write(kind.path, data, size);
    kind.forget();
    const bool accepted = kind.load();
    if (!kind.save())
        return;
    const std::string first = Read(kind.path);
    kind.forget();
    platform->ClearMessages();
    platform->AdvanceTicks(5000);
    if (!kind.load())
        Fail("a saved file is refused when read back", kind.path);
    if (!platform->Messages().empty())
        Fail("reading back a saved file warns", kind.path);
    if (!kind.save())
        Fail("saving again failed", kind.path);
    if (Read(kind.path) != first)
        Fail(accepted ? "an accepted file changes over a round trip" : "defaults change over a round trip", kind.path);
    kind.forget();
}

void FuzzLevel(const uint8_t* data, size_t size)
{
    Write(LevelPath, data, size);
    PuzzleCells cells{};
    int moves = 0;
    if (!LoadPuzzleLevel(LevelPath, cells, moves, nullptr))
        return;
    if (moves < 0 || moves > MaxPuzzleMoves)
        Fail("move count outside its range", LevelPath);
    const std::string copy = "Data/Levels/Fuzz/002.qvl";
    if (!SavePuzzleLevel(folder + "/" + copy, cells, moves))
        Fail("saving a level failed", copy);
    PuzzleCells again{};
    int movesAgain = -1;
    if (!LoadPuzzleLevel(copy, again, movesAgain, nullptr) || again != cells || movesAgain != moves)
        Fail("a level changes over a round trip", copy);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = Setup();
    if (!ready || size == 0)
        return 0;
    InFolder here;
    NextInput();
    const unsigned kind = data[0] % 4;
    if (kind < 3)
        FuzzSaveFile(Kinds[kind], data + 1, size - 1);
    else
        FuzzLevel(data + 1, size - 1);
    return 0;
}
