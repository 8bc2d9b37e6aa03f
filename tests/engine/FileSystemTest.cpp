#include "engine/FileSystem.h"
#include "data/GameOptions.h"
#include "engine/MovieFileStream.h"
#include "fixtures/HeadlessApp.h"
#include "fixtures/ScopedEnv.h"
#include "player/Player.h"

#include <cstdio>
#include <cstdlib>
#include <physfs.h>
#include <tuple>
#include <unistd.h>

namespace
{

class FileSystemTest : public HeadlessApp
{
  protected:
    void TearDown() override
    {
        GameOptions::Destroy();
        HeadlessApp::TearDown();
    }

    // Builds a zip archive named archiveName in the program folder from
    // files given as (path inside the archive, text).
    void MakeArchive(const std::string& archiveName, const std::vector<std::pair<std::string, std::string>>& files)
    {
        for (const auto& [path, text] : files)
            WriteFile("staging/" + path, text);
        std::string command = "cd '" + PathOf("staging") + "' && zip -q -r '../" + archiveName +
                              ".zip' . && cd .. && mv '" + archiveName + ".zip' '" + archiveName +
                              "' && rm -rf staging";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    bool Mount() { return FileSystem::Get().Init("."); }

    std::string Read(const std::string& path) { return FileSystem::Get().ReadWholeFile(path).value_or("<missing>"); }

    std::vector<std::string> Messages()
    {
        std::vector<std::string> texts;
        for (const auto& message : Platform().Messages())
            texts.push_back(message.text);
        return texts;
    }

    ScopedEnv dataHome{"XDG_DATA_HOME"}, home{"HOME"};
};

TEST_F(FileSystemTest, LooseFilesWinOverArchivesFoundByExtensionInAnyCase)
{
    WriteFile("Data/Graphics/Background.swf", "loose");
    MakeArchive("Game.VKR", {{"Data/Graphics/Background.swf", "packed"}, {"Data/Graphics/Logo.swf", "logo"}});
    MakeArchive("extra.vkr", {{"Data/Sounds/Click", "click"}});
    MakeArchive("notes.zip", {{"Data/Fonts/Overload", "not mounted"}});
    ASSERT_TRUE(Mount());

    // Paths are case-sensitive.
    for (const auto& [path, text] : {std::pair{"Data/Graphics/Background.swf", "loose"},
                                     {"Data/Graphics/Logo.swf", "logo"},
                                     {"Data/Sounds/Click", "click"},
                                     {"Data/Fonts/Overload", "<missing>"},
                                     {"data/graphics/logo.swf", "<missing>"}})
        EXPECT_EQ(Read(path), text) << path;
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FileSystemTest, RunsFromLooseFilesAloneAndRefusesABrokenArchive)
{
    WriteFile("Data/Levels/Set/001.qvl", "<qvl moves=\"1\"/>");
    ASSERT_TRUE(Mount());
    FileSystem& files = FileSystem::Get();
    EXPECT_EQ(std::make_tuple(files.Exists("Data/Levels/Set/001.qvl"), files.IsDirectory("Data/Levels/Set"),
                              files.IsDirectory("Data/Levels/Set/001.qvl"), files.Exists("Data/Levels/Set/002.qvl")),
              std::make_tuple(true, true, false, false));
    EXPECT_EQ(files.OpenRead("Data/Levels/Set/002.qvl"), nullptr);
    EXPECT_FALSE(files.ReadWholeFile("Data/Levels/Set/002.qvl") || files.ReadWholeFile("Data/Levels/Set/001.qvl", 10));
    EXPECT_EQ(files.ReadWholeFile("Data/Levels/Set/001.qvl", 16), "<qvl moves=\"1\"/>");
    EXPECT_EQ(OpenMovieFile("Data/Nothing.swf"), nullptr);
    EXPECT_TRUE(Messages().empty());

    FileSystem::Destroy();
    WriteFile("Broken.VKR", "this is not an archive");
    EXPECT_FALSE(Mount());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning: Unable to add Velkar (.VKR) data file to PhysicsFS."});
}

TEST_F(FileSystemTest, AMissingRootIsReported)
{
    EXPECT_FALSE(FileSystem::Get().Init("no-such-folder"));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Warning: Unable to add root path to PhysicsFS."});
    EXPECT_EQ(FileSystem::Get().OpenRead("Data"), nullptr);
}

TEST_F(FileSystemTest, ListingsSeparateFilesFromDirectoriesAcrossMounts)
{
    WriteFile("Data/Levels/1 Easy/001.qvl", "a");
    WriteFile("Data/Levels/1 Easy/002.qvl", "b");
    WriteFile("Data/Levels/readme.txt", "c");
    MakeArchive("Sets.VKR", {{"Data/Levels/2 Hard/001.qvl", "d"}, {"Data/Levels/1 Easy/003.qvl", "e"}});
    ASSERT_TRUE(Mount());

    std::vector<std::string> names{"kept"};
    EXPECT_EQ(FileSystem::Get().ListFiles("Data/Levels/1 Easy", names), 4);
    EXPECT_EQ(names, (std::vector<std::string>{"kept", "001.qvl", "002.qvl", "003.qvl"}));
    names.clear();
    EXPECT_EQ(FileSystem::Get().ListFiles("Data/Levels", names), 1);
    EXPECT_EQ(names, std::vector<std::string>{"readme.txt"});
    EXPECT_EQ(FileSystem::Get().ListDirectories("Data/Levels"), (std::vector<std::string>{"1 Easy", "2 Hard"}));
    EXPECT_TRUE(FileSystem::Get().ListDirectories("Data/Nowhere").empty());

    names.clear();
    FileSystem::Get().ListFiles("", names);
    EXPECT_EQ(names, std::vector<std::string>{"Sets.VKR"});
    EXPECT_EQ(FileSystem::Get().ListDirectories(""), std::vector<std::string>{"Data"});
}

TEST_F(FileSystemTest, LinkedFilesAndFoldersAreFollowed)
{
    WriteFile("elsewhere/Set/001.qvl", "<qvl moves=\"1\"/>");
    WriteFile("elsewhere/Overload", "font");
    WriteFile("Data/Fonts/.keep", "");
    WriteFile("Data/Levels/.keep", "");
    ASSERT_EQ(symlink(PathOf("elsewhere/Set").c_str(), PathOf("Data/Levels/Linked").c_str()), 0);
    ASSERT_EQ(symlink(PathOf("elsewhere/Overload").c_str(), PathOf("Data/Fonts/Overload").c_str()), 0);
    ASSERT_TRUE(Mount());
    EXPECT_EQ(Read("Data/Fonts/Overload"), "font");
    EXPECT_EQ(FileSystem::Get().ListDirectories("Data/Levels"), std::vector<std::string>{"Linked"});
    EXPECT_EQ(Read("Data/Levels/Linked/001.qvl"), "<qvl moves=\"1\"/>");
}

TEST_F(FileSystemTest, HandlesAndMovieStreamsReadSeekAndTellThroughTheArchive)
{
    MakeArchive("Art.VKR", {{"Data/digits", "0123456789"}, {"Data/Graphics/Logo.swf", "FWS-movie-bytes"}});
    ASSERT_TRUE(Mount());
    FileSystem& files = FileSystem::Get();
    PHYSFS_File* handle = files.OpenRead("Data/digits");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(files.FileLength(handle), 10);
    char buffer[16] = {};
    EXPECT_EQ(files.Read(handle, buffer, 3, 2), 2u);
    EXPECT_EQ(std::string(buffer, 6), "012345");
    EXPECT_TRUE(files.Seek(handle, 2, SEEK_SET) && files.Seek(handle, 3, SEEK_CUR));
    EXPECT_EQ(files.Seek(handle, 1, 7), 0) << "an unknown origin does nothing";
    EXPECT_EQ(files.Seek(handle, -9, SEEK_CUR), 0);
    EXPECT_EQ(std::make_pair(files.Tell(handle), files.AtEnd(handle)), (std::pair<int64_t, bool>(5, false)));
    EXPECT_NE(files.Seek(handle, 0, SEEK_END), 0);
    EXPECT_TRUE(files.AtEnd(handle));
    // Asking for more than is left gives the whole objects that were there.
    EXPECT_NE(files.Seek(handle, 4, SEEK_SET), 0);
    EXPECT_EQ(files.Read(handle, buffer, 4, 4), 1u);
    files.Close(handle);

    std::unique_ptr<swf::FileStream> stream = OpenMovieFile("Data/Graphics/Logo.swf");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->read(buffer, 3), 3);
    EXPECT_EQ(stream->write("x", 1), -1);
    EXPECT_EQ(stream->seek(10), 10);
    EXPECT_EQ(stream->read(buffer, 8), 5);
    EXPECT_TRUE(std::string(buffer, 5) == "bytes" && stream->atEnd());
    EXPECT_EQ(stream->seek(-1), 15) << "an impossible position leaves the stream where it was";
    stream->seek(0);
    stream->seekToEnd();
    EXPECT_EQ(stream->tell(), 15);
    EXPECT_EQ(stream->close(), 0);
    EXPECT_EQ(stream->read(buffer, 1), 0);
    // Installed as the player's opener, every movie path goes through the archive.
    swf::setFileOpener(OpenMovieFile);
    EXPECT_NE(swf::openFile("Data/Graphics/Logo.swf"), nullptr);
    EXPECT_EQ(swf::openFile("Data/Graphics/Missing.swf"), nullptr);
    swf::setFileOpener(nullptr);
}

TEST_F(FileSystemTest, PickedFilesMapToResourcePathsOnlyInsideData)
{
    WriteFile("Data/Levels/Mine/001.qvl", "<qvl moves=\"1\"/>");
    WriteFile("Other/Data/Levels/Mine/001.qvl", "<qvl moves=\"2\"/>");
    WriteFile("Data.qvl", "");
    ASSERT_TRUE(Mount());
    FileSystem& files = FileSystem::Get();
    EXPECT_EQ(files.ProgramDirectory(), Folder());
    // Another folder that happens to be called Data is not the game's; "" stands for none.
    const std::pair<const char*, const char*> picks[] = {
        {"Data/Levels/Mine/001.qvl", "Data/Levels/Mine/001.qvl"},
        {"Data/Levels/../Levels/Mine/001.qvl", "Data/Levels/Mine/001.qvl"},
        {"Other/Data/Levels/Mine/001.qvl", ""},
        {"Data/../Data.qvl", ""},
        {"Data/Levels/Mine/new.qvl", "Data/Levels/Mine/new.qvl"},
        {"Data/Nowhere/new.qvl", ""},
        {"Data/Levels/..", ""}};
    for (const auto& [picked, resource] : picks)
        EXPECT_EQ(files.ResourcePathOf(PathOf(picked)).value_or(""), resource) << picked;
}

TEST_F(FileSystemTest, ReadOnlyInstallSavesInTheUserDataFolder)
{
    // "Data" is a plain file here, so no save can be written beside the program.
    ASSERT_EQ(std::system(("rm -rf '" + PathOf("Data") + "'").c_str()), 0);
    WriteFile("Data", "");
    MakeArchive("Game.VKR", {{"Data/GameOpts.opt", "<opts><display width=\"800\" height=\"600\"/></opts>"},
                             {"Data/Fonts/Overload", "font"}});
    setenv("XDG_DATA_HOME", PathOf("xdg").c_str(), 1);
    ASSERT_TRUE(Mount());
    EXPECT_EQ(FileSystem::Get().WriteDirectory(), PathOf("xdg") + "/quorvo");

    ASSERT_TRUE(LoadGameOptions());
    EXPECT_EQ(GameOptions::Get().width, 800);
    GameOptions::Get().width = 1024;
    ASSERT_TRUE(SaveGameOptions());
    EXPECT_NE(ReadFile("xdg/quorvo/Data/GameOpts.opt").find("width=\"1024\""), std::string::npos);

    // The saved copy is read ahead of the archive's, also after a restart.
    GameOptions::Destroy();
    FileSystem::Destroy();
    ASSERT_TRUE(Mount());
    ASSERT_TRUE(LoadGameOptions());
    EXPECT_EQ(std::make_pair(GameOptions::Get().width, Read("Data/Fonts/Overload")),
              std::make_pair(1024, std::string("font")));
    WriteFile("xdg/quorvo/Data/Levels/Mine/001.qvl", "<qvl moves=\"1\"/>");
    EXPECT_EQ(FileSystem::Get().ResourcePathOf(PathOf("xdg/quorvo/Data/Levels/Mine/001.qvl")),
              "Data/Levels/Mine/001.qvl");

    // Without XDG_DATA_HOME the folder is under the home directory.
    FileSystem::Destroy();
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", PathOf("home").c_str(), 1);
    ASSERT_TRUE(Mount());
    EXPECT_EQ(FileSystem::Get().WriteDirectory(), PathOf("home") + "/.local/share/quorvo");
    EXPECT_EQ(FileSystem::Get().WritePath("Data/Profiles.pro"),
              PathOf("home") + "/.local/share/quorvo/Data/Profiles.pro");
    EXPECT_TRUE(Messages().empty());
}

} // namespace
