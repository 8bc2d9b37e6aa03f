#include "engine/FileSystem.h"

#include "app/Application.h"
#include "engine/platform/Platform.h"

#include <physfs.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

FileSystem* instance = nullptr;

std::string CurrentDirectory()
{
    std::vector<char> buffer(256);
    while (getcwd(buffer.data(), buffer.size()) == nullptr)
    {
        if (errno != ERANGE)
            return std::string(".");
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

// Saves go to "<folder>/Data"; they can if Data is a writable directory, or
// if it is absent and the folder itself can be written.
bool CanWriteSavesIn(const std::string& folder)
{
    std::string data = folder + "/Data";
    struct stat st;
    if (stat(data.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) && access(data.c_str(), W_OK | X_OK) == 0;
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

// "$XDG_DATA_HOME/quorvo", or "~/.local/share/quorvo"; empty if neither is known.
std::string UserSaveFolder()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/quorvo";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/quorvo";
    return std::string();
}

// mkdir -p; true when the directory exists afterwards.
bool MakeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1))
    {
        std::string part = slash == std::string::npos ? path : path.substr(0, slash);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// An installed game keeps its program in <prefix>/games (or <prefix>/bin)
// and its data in <prefix>/share/games/quorvo; a game folder (the build's,
// or a copy of it) has its data beside the program. The data folder of an
// installed game, or nothing for a game folder.
std::optional<std::string> InstalledDataFolder(const std::string& programFolder)
{
    struct stat st;
    if (stat((programFolder + "/Quorvo.VKR").c_str(), &st) == 0 || IsFolder(programFolder + "/Data"))
        return std::nullopt;
    const std::string data = programFolder + "/../share/games/quorvo";
    char* resolved = IsFolder(data) ? realpath(data.c_str(), nullptr) : nullptr;
    if (!resolved)
        return std::nullopt;
    std::string folder(resolved);
    std::free(resolved);
    return folder;
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    return dir.empty() ? name : dir + "/" + name;
}

bool HasArchiveExtension(const char* name)
{
    const char* dot = std::strrchr(name, '.');
    return dot && strcasecmp(dot, ".VKR") == 0;
}

} // namespace

FileSystem& FileSystem::Get()
{
    if (!instance)
        instance = new FileSystem();
    return *instance;
}

void FileSystem::Destroy()
{
    delete instance;
    instance = nullptr;
}

FileSystem::~FileSystem()
{
    if (initialised)
        PHYSFS_deinit();
}

bool FileSystem::Init(const char* rootPath)
{
    if (!rootPath || !rootPath[0])
        rootPath = ".";
    // Relative paths (the root, the save files) are taken from the program's
    // own folder, whatever folder the game was started from.
    std::string folder = programDirectory.empty() ? Platform::Get().ProgramFolder() : programDirectory;
    const std::optional<std::string> installedData = InstalledDataFolder(folder);
    if (installedData)
        folder = *installedData;
    if (!folder.empty() && chdir(folder.c_str()) != 0)
        std::fprintf(stderr, "Cannot change to the program folder %s\n", folder.c_str());

    if (!initialised)
    {
        if (!PHYSFS_init(nullptr))
        {
            Application::Get().ShowMessage("Warning: Unable to initialize PhysicsFS.");
            return false;
        }
        initialised = true;
        // Installed copies often link their data in from elsewhere.
        PHYSFS_permitSymbolicLinks(1);
    }

    // PhysicsFS wants a platform path; an absolute one does not depend on a
    // later change of the current directory.
    std::string root = rootPath[0] == '/'                ? std::string(rootPath)
                       : std::strcmp(rootPath, ".") == 0 ? CurrentDirectory()
                                                         : JoinPath(CurrentDirectory(), rootPath);
    mountedDirectory = CurrentDirectory();
    if (!PHYSFS_mount(root.c_str(), nullptr, 1))
    {
        Application::Get().ShowMessage("Warning: Unable to add root path to PhysicsFS.");
        return false;
    }

    // Archives are recognised by their content; the extension only picks
    // which files of the root are mounted. PhysicsFS lists in byte order.
    char** names = PHYSFS_enumerateFiles("");
    if (names)
    {
        for (char** name = names; *name; ++name)
        {
            if (!HasArchiveExtension(*name))
                continue;
            std::string archive = root + "/" + *name;
            if (!PHYSFS_mount(archive.c_str(), nullptr, 1))
            {
                Application::Get().ShowMessage("Warning: Unable to add Velkar (.VKR) data file to PhysicsFS.");
                PHYSFS_freeList(names);
                return false;
            }
        }
        PHYSFS_freeList(names);
    }

    writeDirectory = ".";
    // The saves of an installed game belong to the user, whoever may write
    // to the shared data folder.
    if (installedData)
        (void)UseSaveFolder(UserSaveFolder());
    else
        MountSaveFolderIfNeeded();
    return true;
}

// An installed game's folder is read-only: its saves then live in the user's
// data folder, mounted ahead of the program folder so they are read back.
bool FileSystem::MountSaveFolderIfNeeded()
{
    if (CanWriteSavesIn(CurrentDirectory()))
        return true;
    return UseSaveFolder(UserSaveFolder());
}

bool FileSystem::UseSaveFolder(const std::string& folder)
{
    if (!initialised || folder.empty() || !MakeDirectories(folder + "/Data"))
        return false;
    if (!PHYSFS_mount(folder.c_str(), nullptr, 0))
        return false;
    writeDirectory = folder;
    return true;
}

std::string FileSystem::WritePath(const std::string& relativePath) const
{
    if (writeDirectory == ".")
        return relativePath;
    return writeDirectory + "/" + relativePath;
}

std::optional<std::string> FileSystem::ResourcePathOf(const std::string& systemPath) const
{
    // Resolve links and ".." so that a path cannot climb out of a Data folder.
    // A file about to be created does not exist yet: resolve its folder.
    std::string path;
    if (char* resolved = realpath(systemPath.c_str(), nullptr))
    {
        path = resolved;
        std::free(resolved);
    }
    else
    {
        size_t slash = systemPath.rfind('/');
        std::string name = slash == std::string::npos ? systemPath : systemPath.substr(slash + 1);
        std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : systemPath.substr(0, slash);
        char* resolvedFolder = realpath(folder.c_str(), nullptr);
        if (!resolvedFolder || name.empty() || name == "." || name == "..")
        {
            std::free(resolvedFolder);
            return std::nullopt;
        }
        path = std::string(resolvedFolder) + "/" + name;
        std::free(resolvedFolder);
    }
    std::vector<std::string> roots{mountedDirectory};
    if (writeDirectory != ".")
        roots.push_back(writeDirectory);
    for (const std::string& root : roots)
    {
        if (root.empty())
            continue;
        char* resolvedRoot = realpath(root.c_str(), nullptr);
        if (!resolvedRoot)
            continue;
        std::string prefix = std::string(resolvedRoot) + (std::strcmp(resolvedRoot, "/") == 0 ? "Data/" : "/Data/");
        std::free(resolvedRoot);
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0)
            return path.substr(prefix.size() - 5);
    }
    return std::nullopt;
}

PHYSFS_File* FileSystem::OpenRead(const std::string& path)
{
    if (!initialised)
        return nullptr;
    return PHYSFS_openRead(path.c_str());
}

unsigned FileSystem::Read(PHYSFS_File* handle, void* buffer, unsigned objectSize, unsigned count)
{
    if (!handle || objectSize == 0 || count == 0)
        return 0;
    PHYSFS_sint64 bytes = PHYSFS_readBytes(handle, buffer, static_cast<PHYSFS_uint64>(objectSize) * count);
    if (bytes <= 0)
        return 0;
    return static_cast<unsigned>(bytes / objectSize);
}

int FileSystem::Seek(PHYSFS_File* handle, int offset, int whence)
{
    if (!handle)
        return 0;
    PHYSFS_sint64 target;
    switch (whence)
    {
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = PHYSFS_tell(handle) + offset;
        break;
    case SEEK_END:
        // Every caller passes 0 here; the offset counts back from the end.
        target = PHYSFS_fileLength(handle) - offset;
        break;
    default:
        return 0;
    }
    if (target < 0)
        return 0;
    return PHYSFS_seek(handle, static_cast<PHYSFS_uint64>(target));
}

int64_t FileSystem::Tell(PHYSFS_File* handle)
{
    return handle ? PHYSFS_tell(handle) : -1;
}

int64_t FileSystem::FileLength(PHYSFS_File* handle)
{
    return handle ? PHYSFS_fileLength(handle) : -1;
}

bool FileSystem::AtEnd(PHYSFS_File* handle)
{
    return !handle || PHYSFS_eof(handle) != 0;
}

void FileSystem::Close(PHYSFS_File* handle)
{
    if (handle)
        PHYSFS_close(handle);
}

std::optional<std::string> FileSystem::ReadWholeFile(const std::string& path, size_t maxBytes)
{
    PHYSFS_File* handle = OpenRead(path);
    if (!handle)
        return std::nullopt;
    std::string bytes;
    PHYSFS_sint64 length = PHYSFS_fileLength(handle);
    if (length > 0 && static_cast<uint64_t>(length) > maxBytes)
    {
        PHYSFS_close(handle);
        return std::nullopt;
    }
    if (length > 0)
        bytes.reserve(static_cast<size_t>(length));
    char chunk[16384];
    for (;;)
    {
        PHYSFS_sint64 got = PHYSFS_readBytes(handle, chunk, sizeof chunk);
        if (got < 0)
        {
            PHYSFS_close(handle);
            return std::nullopt;
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<size_t>(got) > maxBytes)
        {
            PHYSFS_close(handle);
            return std::nullopt;
        }
        bytes.append(chunk, static_cast<size_t>(got));
    }
    PHYSFS_close(handle);
    return bytes;
}

std::optional<int64_t> FileSystem::FileLengthOf(const std::string& path)
{
    PHYSFS_File* handle = OpenRead(path);
    if (!handle)
        return std::nullopt;
    const PHYSFS_sint64 length = PHYSFS_fileLength(handle);
    PHYSFS_close(handle);
    return length < 0 ? std::nullopt : std::optional<int64_t>(length);
}

std::optional<std::string> FileSystem::LooseFilePathOf(const std::string& path)
{
    const char* where = initialised ? PHYSFS_getRealDir(path.c_str()) : nullptr;
    struct stat st;
    if (!where || stat(where, &st) != 0 || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return JoinPath(where, path);
}

std::vector<std::string> FileSystem::SearchPath() const
{
    std::vector<std::string> out;
    if (!initialised)
        return out;
    if (char** entries = PHYSFS_getSearchPath())
    {
        for (char** entry = entries; *entry; ++entry)
            out.emplace_back(*entry);
        PHYSFS_freeList(entries);
    }
    return out;
}

bool FileSystem::Exists(const std::string& path)
{
    return initialised && PHYSFS_exists(path.c_str()) != 0;
}

bool FileSystem::IsDirectory(const std::string& path)
{
    PHYSFS_Stat st;
    if (!initialised || !PHYSFS_stat(path.c_str(), &st))
        return false;
    if (st.filetype != PHYSFS_FILETYPE_SYMLINK)
        return st.filetype == PHYSFS_FILETYPE_DIRECTORY;
    // PhysicsFS reports a link without following it; links only exist in
    // mounted folders, so ask the operating system about the target.
    const char* folder = PHYSFS_getRealDir(path.c_str());
    struct stat target;
    return folder && stat((std::string(folder) + "/" + path).c_str(), &target) == 0 && S_ISDIR(target.st_mode);
}

int FileSystem::ListFiles(const std::string& dir, std::vector<std::string>& out)
{
    if (!initialised)
        return static_cast<int>(out.size());
    char** names = PHYSFS_enumerateFiles(dir.c_str());
    if (names)
    {
        for (char** name = names; *name; ++name)
        {
            if (!IsDirectory(JoinPath(dir, *name)))
                out.emplace_back(*name);
        }
        PHYSFS_freeList(names);
    }
    return static_cast<int>(out.size());
}

std::vector<std::string> FileSystem::ListDirectories(const std::string& dir)
{
    std::vector<std::string> out;
    if (!initialised)
        return out;
    char** names = PHYSFS_enumerateFiles(dir.c_str());
    if (names)
    {
        for (char** name = names; *name; ++name)
        {
            if (IsDirectory(JoinPath(dir, *name)))
                out.emplace_back(*name);
        }
        PHYSFS_freeList(names);
    }
    return out;
}

bool FileSystem::MakeDirectory(const char* path)
{
    mkdir(path, 0755);
    return true;
}

bool FileSystem::MakeWritable(const char* path)
{
    struct stat st;
    if (stat(path, &st) == 0 && !(st.st_mode & S_IWUSR))
        chmod(path, (st.st_mode & 07777) | S_IWUSR);
    return true;
}

size_t OggReadCallback(void* destination, size_t size, size_t count, void* source)
{
    auto* handle = static_cast<PHYSFS_File*>(source);
    if (!handle || size == 0 || count == 0)
        return 0;
    PHYSFS_sint64 bytes = PHYSFS_readBytes(handle, destination, static_cast<PHYSFS_uint64>(size) * count);
    return bytes <= 0 ? 0 : static_cast<size_t>(bytes) / size;
}

// vorbisfile wants 0 on success and -1 on failure, the reverse of PHYSFS_seek,
// and the usual fseek meaning of SEEK_END.
int OggSeekCallback(void* source, int64_t offset, int whence)
{
    auto* handle = static_cast<PHYSFS_File*>(source);
    if (!handle)
        return -1;
    PHYSFS_sint64 target;
    switch (whence)
    {
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = PHYSFS_tell(handle) + offset;
        break;
    case SEEK_END:
    {
        PHYSFS_sint64 length = PHYSFS_fileLength(handle);
        if (length < 0)
            return -1;
        target = length + offset;
        break;
    }
    default:
        return -1;
    }
    if (target < 0)
        return -1;
    return PHYSFS_seek(handle, static_cast<PHYSFS_uint64>(target)) ? 0 : -1;
}

int OggCloseCallback(void* source)
{
    FileSystem::Get().Close(static_cast<PHYSFS_File*>(source));
    return 0;
}

long OggTellCallback(void* source)
{
    auto* handle = static_cast<PHYSFS_File*>(source);
    return handle ? static_cast<long>(PHYSFS_tell(handle)) : -1;
}
