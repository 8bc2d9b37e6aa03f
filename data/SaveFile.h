#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Writes a save file so that the old copy survives any failure: the text goes
// to "<target>.tmp" beside the target, every write, the flush and the close
// are checked, and only then is the temporary renamed over the target.
class SaveFile
{
  public:
    explicit SaveFile(std::string targetPath);
    ~SaveFile(); // removes the temporary file unless Commit succeeded
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    [[nodiscard]] bool Open();
    // Failures are remembered and reported by Commit.
    void Write(std::string_view text);
    // Flushes, syncs, closes and renames; false if anything failed since Open.
    [[nodiscard]] bool Commit();

    const std::string& TemporaryPath() const { return temporaryPath; }

    // Removes the temporary file a save interrupted by a crash or a kill left
    // beside targetPath; the target itself is untouched.
    static void RemoveStaleTemporary(const std::string& targetPath);

  private:
    void Abandon();

    std::string targetPath;
    std::string temporaryPath;
    FILE* file = nullptr;
    bool created = false; // the temporary file exists and is ours
    bool failed = false;
    bool committed = false;
};
