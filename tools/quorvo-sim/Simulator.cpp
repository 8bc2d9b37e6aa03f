#include "tools/quorvo-sim/Simulator.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <memory>
#include <ostream>
#include <physfs.h>
#include <sstream>
#include <unistd.h>

#include "app/Application.h"
#include "data/ProfileStore.h"
#include "data/PuzzleLevel.h"
#include "engine/FileSystem.h"
#include "engine/KeyCode.h"
#include "engine/MovieFileStream.h"
#include "engine/PadButton.h"
#include "engine/ScreenManager.h"
#include "engine/platform/HeadlessPlatform.h"
#include "game/PlayScreen.h"
#include "player/Player.h"

namespace
{

constexpr int DisplayWidth = 640;
constexpr int DisplayHeight = 480;
constexpr int64_t FirstStartTick = 1000;

template <typename T> bool ParseNumber(const std::string& word, T& value)
{
    const char* first = word.data();
    const char* last = word.data() + word.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && !word.empty();
}

bool ParseCode(const std::string& word, BlockType& code)
{
    int value = 0;
    if (!ParseNumber(word, value) || value < 0 || value > 7)
        return false;
    code = static_cast<BlockType>(value);
    return true;
}

bool ParseKey(const std::string& name, int& key)
{
    static const struct
    {
        const char* name;
        int key;
    } named[] = {{"up", KeyCode::Up}, {"down", KeyCode::Down}, {"left", KeyCode::Left},   {"right", KeyCode::Right},
                 {"space", ' '},      {"tab", KeyCode::Tab},   {"enter", KeyCode::Enter}, {"escape", KeyCode::Escape}};
    for (const auto& entry : named)
    {
        if (name == entry.name)
        {
            key = entry.key;
            return true;
        }
    }
    if (name.size() == 1)
    {
        const unsigned char c = static_cast<unsigned char>(name[0]);
        if (c < 0x21 || c > 0x7E)
            return false;
        // Letters arrive in lower case, as the keyboard delivers them.
        key = (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
        return true;
    }
    if (name.size() > 1 && name[0] == '#')
        return ParseNumber(name.substr(1), key);
    return false;
}

bool ParsePadButton(const std::string& name, PadButton& button)
{
    static const struct
    {
        const char* name;
        PadButton button;
    } named[] = {{"a", PadButton::A},           {"b", PadButton::B},
                 {"x", PadButton::X},           {"y", PadButton::Y},
                 {"back", PadButton::Back},     {"start", PadButton::Start},
                 {"up", PadButton::DPadUp},     {"down", PadButton::DPadDown},
                 {"left", PadButton::DPadLeft}, {"right", PadButton::DPadRight}};
    for (const auto& entry : named)
    {
        if (name == entry.name)
        {
            button = entry.button;
            return true;
        }
    }
    return false;
}

std::string Digits(const std::vector<int>& values)
{
    std::string text;
    for (int v : values)
        text += static_cast<char>('0' + v);
    return text;
}

} // namespace

const char* Simulator::Usage()
{
    return "usage: quorvo-sim < script\n"
           "commands: profile NAME; mode marathon|timeattack|puzzle; difficulty N; level PATH; start MS;\n"
           "  board C0..C59; queue Q0..Q5; moves N; key NAME; mouse X Y; lclick X Y;\n"
           "  rclick X Y; mclick X Y; focus on|off; pad N added|removed; pad N BUTTON down|up;\n"
           "  frame MS; frames FROM TO STEP; dump\n";
}

bool Simulator::Open(const std::string& gameArchive, const std::string& saveFolder, std::string& error)
{
    char buffer[4096];
    const std::string folder = getcwd(buffer, sizeof buffer) ? buffer : ".";
    auto headless = std::make_unique<HeadlessPlatform>();
    platform = headless.get();
    platform->SetProgramFolder(folder);
    platform->SetTicks(0);
    Platform::Install(std::move(headless));

    FileSystem& files = FileSystem::Get();
    files.SetProgramDirectory(folder);
    if (!files.Init("."))
    {
        error = "cannot open the resource file system in " + folder;
        return false;
    }
    if (!files.UseSaveFolder(saveFolder))
    {
        error = "cannot keep save files in " + saveFolder;
        return false;
    }
    // The game's data come after the working folder, so its files win.
    if (!PHYSFS_mount(gameArchive.c_str(), nullptr, 1))
    {
        error = "cannot mount the game data " + gameArchive;
        return false;
    }

    // Movies are read through the resource file system, as in the game.
    swf::setFileOpener(OpenMovieFile);
    swf::setCommandHandler([](swf::MovieInstance*, const std::string&, const std::string&) {});

    Application& app = Application::Get();
    app.AddRequestedMode(DisplayWidth, DisplayHeight);
    if (!app.Open(false, "Quorvo", DisplayWidth, DisplayHeight))
    {
        error = "cannot open the 640x480 display";
        return false;
    }
    platform->SetKeepFrames(false);
    return true;
}

int Simulator::Run(std::istream& script, std::ostream& out, std::string& error)
{
    std::string line;
    int number = 0;
    while (std::getline(script, line))
    {
        ++number;
        // A profile name is the rest of the line, spaces and '#' included.
        const size_t start = line.find_first_not_of(" \t");
        const size_t afterWord = start == std::string::npos ? start : line.find_first_of(" \t\r", start);
        if (start != std::string::npos && line.compare(start, afterWord - start, "profile") == 0)
        {
            const size_t first =
                afterWord == std::string::npos ? afterWord : line.find_first_not_of(" \t\r", afterWord);
            const std::string name = first == std::string::npos
                                         ? std::string()
                                         : line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
            std::string message;
            if (!UseProfile(name, message))
            {
                error = "line " + std::to_string(number) + ": " + message;
                return 2;
            }
            continue;
        }
        // '#' starts a comment, except in the "#N" key code of a key command.
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string word; words >> word;)
        {
            const size_t hash = word.find('#');
            const bool keyCode = hash == 0 && parts.size() == 1 && parts[0] == "key" && word.size() > 1;
            if (hash == std::string::npos || keyCode)
            {
                parts.push_back(word);
                continue;
            }
            if (hash > 0)
                parts.push_back(word.substr(0, hash));
            break;
        }
        if (parts.empty())
            continue;
        // A level path may hold spaces (set names do): it is the rest of the line.
        if (parts[0] == "level" && parts.size() > 2)
        {
            std::string path = parts[1];
            for (size_t i = 2; i < parts.size(); ++i)
                path += " " + parts[i];
            parts.resize(2);
            parts[1] = path;
        }
        std::string message;
        if (!Execute(parts, out, message))
        {
            error = "line " + std::to_string(number) + ": " + message;
            return 2;
        }
    }
    return 0;
}

bool Simulator::SetTick(int64_t ms, std::string& error)
{
    if (ms < tick)
    {
        error = "tick " + std::to_string(ms) + " goes back from " + std::to_string(tick);
        return false;
    }
    tick = ms;
    platform->SetTicks(static_cast<uint64_t>(ms));
    return true;
}

bool Simulator::UseProfile(const std::string& name, std::string& error)
{
    if (name.empty())
    {
        error = "'profile' needs a name";
        return false;
    }
    ProfileStore& profiles = ProfileStore::Get();
    int free = -1;
    for (int slot = 0; slot < ProfileStore::SlotCount; ++slot)
    {
        const std::string& held = profiles.GetProfileName(slot);
        if (held == name)
        {
            profiles.SetCurrentProfile(slot);
            return true;
        }
        if (held.empty() && free < 0)
            free = slot;
    }
    if (free < 0)
    {
        error = "no free profile slot for '" + name + "'";
        return false;
    }
    profiles.SetProfileName(free, name);
    profiles.SetCurrentProfile(free);
    return true;
}

void Simulator::Frame()
{
    (void)Application::Get().RunFrame();
}

bool Simulator::RequireStarted(const std::string& command, std::string& error) const
{
    if (started)
        return true;
    error = "'" + command + "' before the first start";
    return false;
}

bool Simulator::Execute(const std::vector<std::string>& words, std::ostream& out, std::string& error)
{
    const std::string& command = words[0];
    const size_t arguments = words.size() - 1;
    auto wrongCount = [&](size_t expected)
    {
        if (arguments == expected)
            return false;
        error = "'" + command + "' takes " + std::to_string(expected) + " argument(s)";
        return true;
    };
    PlayScreen& play = PlayScreen::Get();
    ScreenManager& screens = ScreenManager::Get();

    if (command == "mode")
    {
        if (wrongCount(1))
            return false;
        if (words[1] == "marathon")
            nextType = GameType::Marathon;
        else if (words[1] == "timeattack")
            nextType = GameType::TimeAttack;
        else if (words[1] == "puzzle")
            nextType = GameType::PuzzleChallenge;
        else
        {
            error = "unknown mode '" + words[1] + "'";
            return false;
        }
        return true;
    }
    if (command == "difficulty")
    {
        if (wrongCount(1))
            return false;
        if (!ParseNumber(words[1], nextDifficulty))
        {
            error = "bad difficulty '" + words[1] + "'";
            return false;
        }
        return true;
    }
    if (command == "level")
    {
        if (wrongCount(1))
            return false;
        PuzzleCells cells;
        cells.fill(BlockType::Empty);
        int moves = 0;
        std::string warning;
        // Checked quietly first, so a bad level gives one line of error only.
        if (!LoadPuzzleLevel(words[1], cells, moves, &warning) || !play.LoadPuzzle(words[1]))
        {
            // The warning's lines (message, file and reason) become one.
            std::replace(warning.begin(), warning.end(), '\n', ' ');
            error = "cannot load level '" + words[1] + "'" + (warning.empty() ? "" : ": " + warning);
            return false;
        }
        return true;
    }
    if (command == "start")
    {
        int64_t ms = 0;
        if (wrongCount(1))
            return false;
        if (!ParseNumber(words[1], ms) || ms < FirstStartTick)
        {
            error = "start needs a tick of at least 1000, not '" + words[1] + "'";
            return false;
        }
        if (!SetTick(ms, error))
            return false;
        play.DismissDialog();
        play.SetGameType(nextType);
        play.difficulty = nextDifficulty;
        screens.SetScreen(&play, false);
        started = true;
        Frame();
        return true;
    }
    if (command == "board" || command == "queue")
    {
        const bool isBoard = command == "board";
        if (!RequireStarted(command, error) || wrongCount(isBoard ? Board::CellCount : Board::Columns))
            return false;
        Board::Codes codes{};
        for (size_t i = 0; i < arguments; ++i)
        {
            if (!ParseCode(words[i + 1], codes[i]))
            {
                error = "bad block code '" + words[i + 1] + "'";
                return false;
            }
        }
        if (isBoard)
        {
            play.GetBoard().SetCodes(codes);
        }
        else
        {
            for (int c = 0; c < Board::Columns; ++c)
                play.GetBoard().Queue(c).SetType(codes[static_cast<size_t>(c)]);
        }
        return true;
    }
    if (command == "moves")
    {
        int moves = 0;
        if (!RequireStarted(command, error) || wrongCount(1))
            return false;
        if (!ParseNumber(words[1], moves))
        {
            error = "bad move count '" + words[1] + "'";
            return false;
        }
        play.SetPuzzleMoves(moves);
        return true;
    }
    if (command == "key")
    {
        int key = 0;
        if (wrongCount(1))
            return false;
        if (!ParseKey(words[1], key))
        {
            error = "unknown key '" + words[1] + "'";
            return false;
        }
        screens.OnKeyDown(key, false);
        return true;
    }
    if (command == "mouse" || command == "lclick" || command == "rclick" || command == "mclick")
    {
        int x = 0;
        int y = 0;
        if (wrongCount(2))
            return false;
        if (!ParseNumber(words[1], x) || !ParseNumber(words[2], y))
        {
            error = "bad position '" + words[1] + " " + words[2] + "'";
            return false;
        }
        if (command == "mouse")
        {
            screens.OnMouseMove(x, y);
        }
        else if (command == "lclick")
        {
            screens.OnLeftButtonDown(x, y);
            screens.OnLeftButtonUp(x, y);
        }
        else if (command == "rclick")
        {
            screens.OnRightButtonDown(x, y);
            screens.OnRightButtonUp(x, y);
        }
        else
        {
            screens.OnMiddleButtonDown(x, y);
            screens.OnMiddleButtonUp(x, y);
        }
        return true;
    }
    if (command == "focus")
    {
        if (wrongCount(1))
            return false;
        if (words[1] != "on" && words[1] != "off")
        {
            error = "focus is 'on' or 'off', not '" + words[1] + "'";
            return false;
        }
        // Handled by the next frame, as the window's own messages are.
        platform->PushEvent({words[1] == "on" ? PlatformEvent::Type::Activate : PlatformEvent::Type::Deactivate});
        return true;
    }
    if (command == "pad")
    {
        // A game controller plugged in or out, or one of its buttons.
        int pad = 0;
        PadButton button = PadButton::A;
        if (arguments == 2 && ParseNumber(words[1], pad) && (words[2] == "added" || words[2] == "removed"))
        {
            platform->PushPad(words[2] == "added" ? PlatformEvent::Type::PadAdded : PlatformEvent::Type::PadRemoved,
                              pad);
            return true;
        }
        if (arguments == 3 && ParseNumber(words[1], pad) && ParsePadButton(words[2], button) &&
            (words[3] == "down" || words[3] == "up"))
        {
            platform->PushPad(words[3] == "down" ? PlatformEvent::Type::PadButtonDown
                                                 : PlatformEvent::Type::PadButtonUp,
                              pad, static_cast<int>(button));
            return true;
        }
        error = "pad needs N added|removed or N BUTTON down|up";
        return false;
    }
    if (command == "frame")
    {
        int64_t ms = 0;
        if (wrongCount(1))
            return false;
        if (!ParseNumber(words[1], ms))
        {
            error = "bad tick '" + words[1] + "'";
            return false;
        }
        if (!SetTick(ms, error))
            return false;
        Frame();
        return true;
    }
    if (command == "frames")
    {
        int64_t from = 0;
        int64_t to = 0;
        int64_t step = 0;
        if (wrongCount(3))
            return false;
        if (!ParseNumber(words[1], from) || !ParseNumber(words[2], to) || !ParseNumber(words[3], step) || step < 1)
        {
            error = "frames needs FROM TO STEP with a step of at least 1";
            return false;
        }
        for (int64_t ms = from; ms <= to; ms += step)
        {
            if (!SetTick(ms, error))
                return false;
            Frame();
        }
        return true;
    }
    if (command == "dump")
    {
        if (!RequireStarted(command, error) || wrongCount(0))
            return false;
        out << StateLine() << "\n";
        return true;
    }
    error = "unknown command '" + command + "'";
    return false;
}

std::string Simulator::StateLine()
{
    PlayScreen& play = PlayScreen::Get();
    Board& board = play.GetBoard();
    BoardRules& rules = play.Rules();
    Scoring& scoring = play.GetScoring();

    std::vector<int> codes, falling, clearing, queue, warning;
    for (int i = 0; i < Board::CellCount; ++i)
    {
        Block& block = board.CellAtIndex(i);
        codes.push_back(static_cast<int>(block.GetType()));
        falling.push_back(block.IsFalling() ? 1 : 0);
        clearing.push_back(block.IsClearing() ? 1 : 0);
    }
    for (int c = 0; c < Board::Columns; ++c)
    {
        queue.push_back(static_cast<int>(board.Queue(c).GetType()));
        warning.push_back(board.Cell(c, 0).IsWarning() ? 1 : 0);
    }
    int moverColumn = 0;
    int moverRow = 0;
    rules.MoverCell(moverColumn, moverRow);

    const char* dialog = "none";
    if (play.Dialog().GetPurpose() == EndGameConfirmDialog::Purpose::Restart)
        dialog = "restart";
    else if (play.Dialog().GetPurpose() == EndGameConfirmDialog::Purpose::Menu)
        dialog = "menu";

    std::ostringstream line;
    line << "t=" << tick << " screen=" << (ScreenManager::Get().GetScreen() == &play ? "play" : "other")
         << " dialog=" << dialog << " over=" << play.IsOver() << " paused=" << play.IsPaused()
         << " solved=" << play.IsSolved() << " failed=" << play.IsFailed() << " score=" << scoring.Score()
         << " level=" << scoring.Level() << " moves=" << rules.MovesLeft() << " chainPoints=" << scoring.ChainPoints()
         << " chainMult=" << scoring.ChainMultiplier() << " mover=" << moverColumn << "," << moverRow << ","
         << play.Mover().GetOrientation() << " swapping=" << rules.IsSwapPending() << " board=" << Digits(codes)
         << " queue=" << Digits(queue) << " falling=" << Digits(falling) << " clearing=" << Digits(clearing)
         << " warning=" << Digits(warning) << " bubble=\"" << play.BubbleText() << "\" texts=\""
         << play.HudLine(0).GetText() << "|" << play.HudLine(1).GetText() << "|" << play.HudLine(2).GetText() << "\"";
    return line.str();
}
