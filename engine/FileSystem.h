#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PHYSFS_File;

// The read-only virtual file system over the program folder and its ".VKR"
// data archives. Every game file is read through it; save files are written
// with the operating system's file functions into WriteDirectory().
class FileSystem
{
  public:
    static FileSystem& Get();
    static void Destroy();

    FileSystem() = default;
    virtual ~FileSystem();
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;

    // Folder that Init makes the current directory, in place of the one the
    // platform reports (the executable's folder); used by tests and tools.
    void SetProgramDirectory(const std::string& directory) { programDirectory = directory; }

    // Makes the program folder the current
    // directory, then mounts rootPath (relative to the program folder), then every archive in
    // it named "*.VKR" (any case), and, when the program folder cannot be
    // written, the per-user save folder ahead of both. Shows a warning and
    // returns false when PhysicsFS or one of the mounts fails.
    [[nodiscard]] bool Init(const char* rootPath);
    bool IsInitialised() const { return initialised; }

    [[nodiscard]] PHYSFS_File* OpenRead(const std::string& path);
    // Objects of objectSize bytes read (whole objects only), 0 at the end or on error.
    unsigned Read(PHYSFS_File* handle, void* buffer, unsigned objectSize, unsigned count);
    // whence 0 = from the start, 1 = from the current position, 2 = file
    // length minus offset. Nonzero on success, 0 on failure or unknown whence.
    int Seek(PHYSFS_File* handle, int offset, int whence);
    int64_t Tell(PHYSFS_File* handle);
    int64_t FileLength(PHYSFS_File* handle);
    bool AtEnd(PHYSFS_File* handle);
    void Close(PHYSFS_File* handle);

    // The whole file, or nothing when it cannot be opened or read completely
    // or is longer than maxBytes.
    [[nodiscard]] std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = SIZE_MAX);

    // Length of a file in bytes; nothing when it cannot be opened.
    [[nodiscard]] std::optional<int64_t> FileLengthOf(const std::string& path);
    // Operating-system path of the file that path reads, when it is a loose
    // file in a mounted folder (not inside an archive).
    [[nodiscard]] std::optional<std::string> LooseFilePathOf(const std::string& path);
    // The mounted folders and archives, in search order.
    [[nodiscard]] std::vector<std::string> SearchPath() const;

    bool Exists(const std::string& path);
    bool IsDirectory(const std::string& path);
    // Appends the names of the non-directory entries of dir; returns out's new size.
    int ListFiles(const std::string& dir, std::vector<std::string>& out);
    std::vector<std::string> ListDirectories(const std::string& dir);

    // Folder that save files are written under (their "Data/..." paths are
    // relative to it): the program folder when it can be written, else the
    // per-user data folder. "." before Init.
    const std::string& WriteDirectory() const { return writeDirectory; }
    // Sends the save files to folder/Data (made when missing) and mounts
    // folder ahead of the program folder, so they are read back from there.
    // After Init; false when the folder cannot be made or mounted.
    [[nodiscard]] bool UseSaveFolder(const std::string& folder);
    // Operating-system path for writing the resource path relativePath.
    std::string WritePath(const std::string& relativePath) const;

    // The resource path ("Data/...") of a file the user picked by its
    // operating-system path (an existing file, or a new one in an existing
    // folder), when that lies inside the Data folder of the program folder or
    // of the save folder; nothing otherwise.
    [[nodiscard]] std::optional<std::string> ResourcePathOf(const std::string& systemPath) const;
    // The program folder as an absolute path (valid after Init).
    const std::string& ProgramDirectory() const { return mountedDirectory; }

    // Creates a directory; an existing one or a failure is ignored.
    bool MakeDirectory(const char* path);
    // Gives the owner write permission on an existing file.
    bool MakeWritable(const char* path);

  private:
    bool MountSaveFolderIfNeeded();

    bool initialised = false;
    std::string programDirectory; // empty: ask the platform
    std::string writeDirectory = ".";
    std::string mountedDirectory; // absolute program folder, set by Init
};

// Callbacks through which the Ogg Vorbis decoder (ov_open_callbacks) reads a
// sound from a handle of OpenRead; the datasource is the PHYSFS_File.
// Signatures match vorbisfile's ov_callbacks (ogg_int64_t is int64_t).
size_t OggReadCallback(void* destination, size_t size, size_t count, void* source);
int OggSeekCallback(void* source, int64_t offset, int whence); // 0 on success, -1 on failure
int OggCloseCallback(void* source);
long OggTellCallback(void* source);
