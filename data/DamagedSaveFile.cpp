#include "data/DamagedSaveFile.h"

#include "app/Application.h"
#include "engine/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// More damaged copies than this are not kept; the oldest ones tell the story.
constexpr int MaxCopies = 99;

std::string CopyName(const std::string& path, int number)
{
    return path + (number == 1 ? ".damaged" : ".damaged-" + std::to_string(number));
}

// Moves path to a free copy name. A hard link never replaces an existing
// file, so an earlier copy is safe even from another running game.
std::optional<std::string> RenameToFreeName(const std::string& path)
{
    for (int number = 1; number <= MaxCopies; ++number)
    {
        const std::string copy = CopyName(path, number);
        if (link(path.c_str(), copy.c_str()) == 0)
        {
            if (unlink(path.c_str()) == 0)
                return copy;
            unlink(copy.c_str());
            return std::nullopt;
        }
        if (errno == EEXIST)
            continue;
        // File systems without hard links: check, then rename.
        if (access(copy.c_str(), F_OK) == 0)
            continue;
        if (std::rename(path.c_str(), copy.c_str()) == 0)
            return copy;
        return std::nullopt;
    }
    return std::nullopt;
}

// Copies path byte for byte to a free copy name of target.
std::optional<std::string> CopyToFreeName(const std::string& path, const std::string& target)
{
    const int source = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return std::nullopt;
    std::optional<std::string> result;
    for (int number = 1; number <= MaxCopies && !result; ++number)
    {
        const std::string copy = CopyName(target, number);
        const int out = open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (out < 0)
        {
            if (errno == EEXIST)
                continue;
            break;
        }
        bool ok = lseek(source, 0, SEEK_SET) == 0;
        char buffer[16384];
        for (ssize_t got; ok && (got = read(source, buffer, sizeof buffer)) != 0;)
            ok = got > 0 && write(out, buffer, static_cast<size_t>(got)) == got;
        ok = close(out) == 0 && ok;
        if (ok)
            result = copy;
        else
            unlink(copy.c_str());
        break;
    }
    close(source);
    return result;
}

} // namespace

std::optional<std::string> DamagedSaveFile::MoveAside(const std::string& path, const std::string& fallbackPath)
{
    if (std::optional<std::string> moved = RenameToFreeName(path))
        return moved;
    return CopyToFreeName(path, fallbackPath);
}

void DamagedSaveFile::SetAside(const std::string& resourcePath, const char* kind, const std::string& warning,
                               const std::string& reason)
{
    FileSystem& files = FileSystem::Get();
    std::string text = warning;
    if (text.empty())
        text = std::string("Warning: Unable to read ") + kind + (reason.empty() ? "." : " (" + reason + ").");
    else if (!reason.empty())
        text += " (" + reason + ")";

    // A file inside a data archive cannot be replaced by a save: nothing to keep.
    const std::optional<std::string> path = files.LooseFilePathOf(resourcePath);
    if (path)
    {
        const std::optional<std::string> copy = MoveAside(*path, files.WritePath(resourcePath));
        if (copy)
            text += "\n\nThe damaged file " + *path + " was kept as " + *copy + ".";
        else
            text += "\n\nThe damaged file " + *path + " could not be kept aside and will be replaced.";
    }
    Application::Get().ShowMessage(text);
}
