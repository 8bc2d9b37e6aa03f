#include "engine/MovieFileStream.h"

#include "engine/FileSystem.h"

#include <climits>
#include <cstdio>

MovieFileStream::~MovieFileStream()
{
    close();
}

std::unique_ptr<swf::FileStream> OpenMovieFile(const std::string& path)
{
    PHYSFS_File* handle = FileSystem::Get().OpenRead(path);
    if (!handle)
        return nullptr;
    return std::make_unique<MovieFileStream>(handle);
}

int MovieFileStream::read(void* buffer, int count)
{
    if (!handle || count <= 0)
        return 0;
    return static_cast<int>(FileSystem::Get().Read(handle, buffer, 1, static_cast<unsigned>(count)));
}

int MovieFileStream::write(const void*, int)
{
    return -1;
}

int64_t MovieFileStream::seek(int64_t position)
{
    if (handle && position >= 0 && position <= INT_MAX)
        FileSystem::Get().Seek(handle, static_cast<int>(position), SEEK_SET);
    return tell();
}

void MovieFileStream::seekToEnd()
{
    if (handle)
        FileSystem::Get().Seek(handle, 0, SEEK_END);
}

int64_t MovieFileStream::tell() const
{
    return handle ? FileSystem::Get().Tell(handle) : -1;
}

bool MovieFileStream::atEnd() const
{
    return FileSystem::Get().AtEnd(handle);
}

int MovieFileStream::close()
{
    if (handle)
    {
        FileSystem::Get().Close(handle);
        handle = nullptr;
    }
    return 0;
}
