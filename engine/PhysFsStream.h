#pragma once

#include "player/FileStream.h"

#include <memory>
#include <string>

struct PHYSFS_File;

// The movie player's read stream over a file of the resource file system.
// It owns the handle and closes it when closed or destroyed.
class PhysFsStream : public swf::FileStream {
public:
    explicit PhysFsStream(PHYSFS_File* handle) : handle(handle) {}
    ~PhysFsStream() override;
    PhysFsStream(const PhysFsStream&) = delete;
    PhysFsStream& operator=(const PhysFsStream&) = delete;

    // The player's file opener: null (and no message) when the file cannot
    // be opened.
    static std::unique_ptr<swf::FileStream> Open(const std::string& path);

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
