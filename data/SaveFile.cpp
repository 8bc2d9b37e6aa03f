#include "data/SaveFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// Makes the rename itself durable; a failure here loses nothing, so it is
// not reported.
void SyncDirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0)
    {
        fsync(descriptor);
        close(descriptor);
    }
}

} // namespace

SaveFile::SaveFile(std::string target) : targetPath(std::move(target)), temporaryPath(targetPath + ".tmp") {}

SaveFile::~SaveFile()
{
    if (!committed)
        Abandon();
}

bool SaveFile::Open()
{
    failed = false;
    committed = false;
    file = std::fopen(temporaryPath.c_str(), "w");
    created = file != nullptr;
    if (!file)
    {
        failed = true;
        return false;
    }
    return true;
}

void SaveFile::Write(std::string_view text)
{
    if (!file || failed)
    {
        failed = true;
        return;
    }
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size())
        failed = true;
}

bool SaveFile::Commit()
{
    if (!file)
        return false;
    // Buffered data may only fail to reach the disk here, so each step counts.
    if (std::fflush(file) != 0 || std::ferror(file))
        failed = true;
    if (!failed && fsync(fileno(file)) != 0 && errno != EINVAL)
        failed = true;
    int closeResult = std::fclose(file);
    file = nullptr;
    if (closeResult != 0)
        failed = true;
    if (failed || std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0)
    {
        Abandon();
        return false;
    }
    committed = true;
    created = false;
    SyncDirectoryOf(targetPath);
    return true;
}

void SaveFile::RemoveStaleTemporary(const std::string& targetPath)
{
    std::remove((targetPath + ".tmp").c_str());
}

void SaveFile::Abandon()
{
    if (file)
    {
        std::fclose(file);
        file = nullptr;
    }
    // Only a file this writer made is removed, never something else in the way.
    if (created)
        std::remove(temporaryPath.c_str());
    created = false;
    failed = true;
}
