#include "SaveDataFixture.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <sys/stat.h>

namespace
{

class GameOptionsTest : public SaveDataFixture
{
  protected:
    bool LoadFrom(const std::string& text)
    {
        WriteFile("Data/GameOpts.opt", text);
        return LoadGameOptions();
    }
};

TEST_F(GameOptionsTest, MissingOrUnreadableFileKeepsDefaultsSilently)
{
    EXPECT_FALSE(LoadGameOptions());
    EXPECT_FALSE(LoadFrom(""));
    EXPECT_FALSE(LoadFrom("<opts><display width=\"800\"></opts>"));
    const GameOptions& options = GameOptions::Get();
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    EXPECT_TRUE(options.fullscreen);
    EXPECT_EQ(options.effectsVolume, 1.0f);
    EXPECT_EQ(options.musicVolume, 1.0f);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(GameOptionsTest, EmptyRootLoadsDefaults)
{
    GameOptions::Get().width = 1024;
    GameOptions::Get().effectsVolume = 0.3f;
    EXPECT_TRUE(LoadFrom("<opts/>"));
    // Missing elements leave their fields as they were.
    EXPECT_EQ(GameOptions::Get().width, 1024);
    EXPECT_EQ(GameOptions::Get().effectsVolume, 0.3f);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(GameOptionsTest, EveryMalformedFileHasItsMessage)
{
    struct Case
    {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"<options/>", "Warning: Malformed Game Options File (#1)."},
        {"<!--opts--><x/>", "Warning: Malformed Game Options File (#2)."},
        {"<opts>display</opts>", "Warning: Malformed Game Options File (#3)."},
        {"<opts>sounds</opts>", "Warning: Malformed Game Options File (#4)."},
        {"<opts>music</opts>", "Warning: Malformed Game Options File (#5)."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(LoadFrom(c.text));
        EXPECT_EQ(TakeMessages(), std::vector<std::string>{c.message});
    }
}

TEST_F(GameOptionsTest, FieldsReadBeforeAFaultKeepTheirValues)
{
    EXPECT_FALSE(LoadFrom("<opts><display width=\"800\" height=\"600\" fullscreen=\"0\"/>"
                          "<sounds volume=\"0.25\"/>music</opts>"));
    const GameOptions& options = GameOptions::Get();
    EXPECT_EQ(options.width, 800);
    EXPECT_EQ(options.height, 600);
    EXPECT_FALSE(options.fullscreen);
    EXPECT_FLOAT_EQ(options.effectsVolume, 0.25f);
    EXPECT_EQ(options.musicVolume, 1.0f);
    EXPECT_EQ(TakeMessages().size(), 1u);
}

TEST_F(GameOptionsTest, DisplayAttributesFollowTheirOwnRules)
{
    EXPECT_TRUE(LoadFrom("<opts><display width=\"1024\" height=\"768\" fullscreen=\"2\"/></opts>"));
    EXPECT_EQ(GameOptions::Get().width, 1024);
    EXPECT_FALSE(GameOptions::Get().fullscreen) << "only 1 means full screen";

    EXPECT_TRUE(LoadFrom("<opts><display width=\"wide\" height=\"600\" fullscreen=\"yes\"/></opts>"));
    EXPECT_EQ(GameOptions::Get().width, 640);
    EXPECT_EQ(GameOptions::Get().height, 600);
    EXPECT_TRUE(GameOptions::Get().fullscreen);

    EXPECT_TRUE(LoadFrom("<opts><display/></opts>"));
    EXPECT_EQ(GameOptions::Get().width, 640);
    EXPECT_EQ(GameOptions::Get().height, 480);
    EXPECT_TRUE(GameOptions::Get().fullscreen);
}

TEST_F(GameOptionsTest, VolumesStayFiniteAndWithinRange)
{
    struct Case
    {
        const char* effects;
        const char* music;
        float effectsExpected;
        float musicExpected;
    };
    const Case cases[] = {
        {"nan", "5", 1.0f, 1.0f},         {"inf", "-inf", 1.0f, 1.0f},   {"-0.5", "1.5", 0.0f, 1.0f},
        {"0.75xyz", "loud", 0.75f, 1.0f}, {"1e-1", "0.35", 0.1f, 0.35f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.effects) + " / " + c.music);
        GameOptions::Destroy();
        EXPECT_TRUE(LoadFrom(std::string("<opts><sounds volume=\"") + c.effects + "\"/><music volume=\"" + c.music +
                             "\"/></opts>"));
        EXPECT_FLOAT_EQ(GameOptions::Get().effectsVolume, c.effectsExpected);
        EXPECT_FLOAT_EQ(GameOptions::Get().musicVolume, c.musicExpected);
    }
    // An element without a volume keeps the current value.
    GameOptions::Get().musicVolume = 0.4f;
    EXPECT_TRUE(LoadFrom("<opts><music/></opts>"));
    EXPECT_FLOAT_EQ(GameOptions::Get().musicVolume, 0.4f);
}

TEST_F(GameOptionsTest, SaveWritesTheExactTextAndReadsItBack)
{
    GameOptions& options = GameOptions::Get();
    options.width = 800;
    options.height = 600;
    options.fullscreen = false;
    options.effectsVolume = 0.5f;
    options.musicVolume = 0.25f;
    ASSERT_TRUE(SaveGameOptions());
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), "<opts>\n"
                                             "\t<display width=\"800\" height=\"600\" fullscreen=\"0\"/>\n"
                                             "\t<sounds volume=\"0.50\"/>\n"
                                             "\t<music volume=\"0.25\"/>\n"
                                             "</opts>\n");
    GameOptions::Destroy();
    ASSERT_TRUE(LoadGameOptions());
    EXPECT_EQ(GameOptions::Get().width, 800);
    EXPECT_EQ(GameOptions::Get().height, 600);
    EXPECT_FALSE(GameOptions::Get().fullscreen);
    EXPECT_FLOAT_EQ(GameOptions::Get().effectsVolume, 0.5f);
    EXPECT_FLOAT_EQ(GameOptions::Get().musicVolume, 0.25f);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(GameOptionsTest, SaveCreatesTheDataFolderAndReplacesAReadOnlyFile)
{
    std::string dataFolder = PathOf("Data");
    ASSERT_EQ(std::system(("rm -rf '" + dataFolder + "'").c_str()), 0);
    ASSERT_TRUE(SaveGameOptions());
    EXPECT_NE(ReadFile("Data/GameOpts.opt").find("<opts>"), std::string::npos);

    ASSERT_EQ(chmod(PathOf("Data/GameOpts.opt").c_str(), 0444), 0);
    GameOptions::Get().width = 1024;
    ASSERT_TRUE(SaveGameOptions());
    EXPECT_NE(ReadFile("Data/GameOpts.opt").find("width=\"1024\""), std::string::npos);
}

TEST_F(GameOptionsTest, FailedSaveKeepsTheOldFileAndWarns)
{
    ASSERT_TRUE(SaveGameOptions());
    const std::string before = ReadFile("Data/GameOpts.opt");
    GameOptions::Get().width = 1600;
    bool saved = true;
    {
        FileSizeLimit limit(16); // the text is longer: its writes fail
        saved = SaveGameOptions();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), before);
    EXPECT_EQ(ReadFile("Data/GameOpts.opt.tmp"), "");
    EXPECT_EQ(TakeMessages(),
              std::vector<std::string>{"Warning: Unable to save Game Options File.  Ensure file is writable."});

    // The next save tries again and succeeds.
    ASSERT_TRUE(SaveGameOptions());
    EXPECT_NE(ReadFile("Data/GameOpts.opt").find("width=\"1600\""), std::string::npos);
}

TEST_F(GameOptionsTest, NumbersIgnoreTheUserLocale)
{
    // Build a decimal-comma locale in the test folder; skip where that cannot be done.
    std::string localeFolder = PathOf("locale");
    std::string command = "mkdir -p '" + localeFolder + "' && localedef -i de_DE -f UTF-8 '" + localeFolder +
                          "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        GTEST_SKIP() << "cannot build a de_DE locale here";
    const char* previousPath = std::getenv("LOCPATH");
    std::string savedPath = previousPath ? previousPath : "";
    setenv("LOCPATH", localeFolder.c_str(), 1);
    std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
    {
        previousPath ? setenv("LOCPATH", savedPath.c_str(), 1) : unsetenv("LOCPATH");
        GTEST_SKIP() << "the de_DE locale does not load";
    }

    GameOptions::Get().effectsVolume = 0.5f;
    GameOptions::Get().musicVolume = 0.75f;
    bool saved = SaveGameOptions();
    GameOptions::Destroy();
    bool loaded = LoadGameOptions();
    float effects = GameOptions::Get().effectsVolume;
    float music = GameOptions::Get().musicVolume;

    std::setlocale(LC_ALL, previousLocale.c_str());
    previousPath ? setenv("LOCPATH", savedPath.c_str(), 1) : unsetenv("LOCPATH");

    EXPECT_TRUE(saved);
    EXPECT_TRUE(loaded);
    EXPECT_NE(ReadFile("Data/GameOpts.opt").find("volume=\"0.50\""), std::string::npos);
    EXPECT_FLOAT_EQ(effects, 0.5f);
    EXPECT_FLOAT_EQ(music, 0.75f);
}

} // namespace
