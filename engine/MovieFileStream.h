#pragma once

#include "player/FileStream.h"

#include <memory>
#include <string>

struct PHYSFS_File;

// The movie player's read stream over a file of the resource file system.
// It owns the handle and closes it when closed or destroyed.
class MovieFileStream : public swf::FileStream
{
  public:
    explicit MovieFileStream(PHYSFS_File* handle) : handle(handle) {}
    ~MovieFileStream() override;
    MovieFileStream(const MovieFileStream&) = delete;
    MovieFileStream& operator=(const MovieFileStream&) = delete;

    int read(void* buffer, int count) override;
    int write(const void* buffer, int count) override; // always -1: movies are read-only
    int64_t seek(int64_t position) override;
    void seekToEnd() override;
    int64_t tell() const override;
    bool atEnd() const override;
    int close() override;

  private:
    PHYSFS_File* handle = nullptr;
};

// The movie player's file opener (swf::setFileOpener): null, and no message,
// when the file cannot be opened.
std::unique_ptr<swf::FileStream> OpenMovieFile(const std::string& path);
