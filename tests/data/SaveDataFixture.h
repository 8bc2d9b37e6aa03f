#pragma once

#include "data/GameOptions.h"
#include "data/HighScoreTables.h"
#include "data/ProfileStore.h"
#include "engine/FileSystem.h"
#include "fixtures/HeadlessApp.h"

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <vector>

// While alive, any write that would make a file longer than `bytes` fails with
// EFBIG, as on a full disk or over a quota.
class FileSizeLimit
{
  public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

// A headless application whose program folder holds the files a test writes,
// with the file system mounted over it and fresh save-data records.
class SaveDataFixture : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        DestroyRecords();
        FileSystem::Destroy();
        ASSERT_TRUE(FileSystem::Get().Init("."));
    }

    void TearDown() override
    {
        DestroyRecords();
        HeadlessApp::TearDown();
    }

    // Forgets every in-memory record, as quitting the game does.
    static void DestroyRecords()
    {
        GameOptions::Destroy();
        ProfileStore::Destroy();
        HighScoreTables::Destroy();
    }

    // Saves `text` as the file at `path`, then reads it with `load`.
    bool WriteAndLoad(const std::string& path, const std::string& text, bool (*load)())
    {
        WriteFile(path, text);
        return load();
    }

    std::vector<std::string> Messages()
    {
        std::vector<std::string> texts;
        for (const auto& message : Platform().Messages())
            texts.push_back(message.text);
        return texts;
    }

    std::vector<std::string> TakeMessages()
    {
        std::vector<std::string> texts = Messages();
        Platform().ClearMessages();
        return texts;
    }
};
