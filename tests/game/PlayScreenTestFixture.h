#pragma once

#include <filesystem>
#include <string>

#include "app/Application.h"
#include "engine/FileSystem.h"
#include "engine/MovieFileStream.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"
#include "game/PlayScreen.h"
#include "player/Player.h"

// The play screen on a headless window whose clock the test sets: the window
// opens at tick 0, so the game's clock reads tick / 1000 seconds. The game's
// data archive is linked into the program folder when it has been built, so
// the pictures load as in the game.
class PlayScreenFixture : public HeadlessApp
{
  protected:
    void Open(int width = 640, int height = 480)
    {
        std::error_code ignored;
        const std::filesystem::path archive = std::filesystem::path(QUORVO_GAME_DIR) / "Quorvo.VKR";
        if (std::filesystem::exists(archive))
            std::filesystem::create_symlink(archive, PathOf("Quorvo.VKR"), ignored);
        Platform().SetTicks(0);
        ASSERT_TRUE(OpenWindow(width, height));
        ASSERT_TRUE(FileSystem::Get().Init("."));
        swf::setFileOpener(OpenMovieFile);
        Platform().SetKeepFrames(false);
    }

    PlayScreen& Play() { return PlayScreen::Get(); }

    // One frame of the main loop at tick ms.
    void Frame(uint64_t ms)
    {
        Platform().SetTicks(ms);
        (void)App().RunFrame();
        tick = ms;
    }
    // Frames from `from` to `to` (inclusive where the step lands on it).
    void Frames(uint64_t from, uint64_t to, uint64_t step = 16)
    {
        for (uint64_t ms = from; ms <= to; ms += step)
            Frame(ms);
    }
    // Starts a game of a type and difficulty at tick ms (the first frame).
    void Start(GameType type, int difficulty, uint64_t ms)
    {
        Play().SetGameType(type);
        Play().difficulty = difficulty;
        ScreenManager::Get().SetScreen(&Play(), false);
        Frame(ms);
    }
    void Key(int key) { ScreenManager::Get().OnKeyDown(key, false); }
    void ClearBoard()
    {
        Board::Codes codes{};
        codes.fill(BlockType::Empty);
        Play().GetBoard().SetCodes(codes);
    }
    // One row of a board as its codes' digits.
    [[nodiscard]] static std::string RowOf(Board& board, int row)
    {
        std::string text;
        for (int c = 0; c < Board::Columns; ++c)
            text += static_cast<char>('0' + static_cast<int>(board.Cell(c, row).GetType()));
        return text;
    }
    [[nodiscard]] std::string Row(int row) { return RowOf(Play().GetBoard(), row); }

    uint64_t tick = 0;
};
