#include "SaveDataFixture.h"
#include "fixtures/ScopedEnv.h"

#include <clocale>
#include <cstdlib>
#include <sys/stat.h>
#include <tuple>

namespace
{

class GameOptionsTest : public SaveDataFixture
{
  protected:
    bool LoadFrom(const std::string& text) { return WriteAndLoad("Data/GameOpts.opt", text, LoadGameOptions); }
};

TEST_F(GameOptionsTest, BadFilesKeepWhatWasReadAndMalformedOnesHaveTheirMessage)
{
    // Each text is refused with the fault number of its place here.
    const char* const texts[] = {"<options/>", "<!--opts--><x/>", "<opts>display</opts>", "<opts>sounds</opts>",
                                 "<opts>music</opts>"};
    for (int fault = 1; fault <= 5; ++fault)
    {
        EXPECT_FALSE(LoadFrom(texts[fault - 1]));
        const std::vector<std::string> shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u) << texts[fault - 1];
        EXPECT_EQ(shown[0].rfind("Warning: Malformed Game Options File (#" + std::to_string(fault) + ").", 0), 0u)
            << shown[0];
    }
    // Fields read before the fault keep their values.
    EXPECT_FALSE(LoadFrom("<opts><display width=\"800\" height=\"600\" fullscreen=\"0\"/>"
                          "<sounds volume=\"0.25\"/>music</opts>"));
    const GameOptions& o = GameOptions::Get();
    EXPECT_EQ(std::make_tuple(o.height, o.fullscreen, o.effectsVolume, o.musicVolume),
              std::make_tuple(600, false, 0.25f, 1.0f));
}

TEST_F(GameOptionsTest, AttributesFollowTheirOwnRules)
{
    GameOptions::Get().width = 1024;
    EXPECT_TRUE(LoadFrom("<opts/>")); // missing elements leave their fields alone
    EXPECT_EQ(GameOptions::Get().width, 1024);
    // Only 1 means full screen; an attribute that is missing or not a number is its default.
    const std::tuple<const char*, int, int, bool> displays[] = {
        {"width=\"800\" height=\"768\" fullscreen=\"2\"", 800, 768, false},
        {"width=\"wide\" height=\"600\" fullscreen=\"yes\"", 640, 600, true},
        {"width=\"1024\" fullscreen=\"0\"", 1024, 480, false},
    };
    for (const auto& [attributes, width, height, fullscreen] : displays)
    {
        EXPECT_TRUE(LoadFrom(std::string("<opts><display ") + attributes + "/></opts>"));
        const GameOptions& o = GameOptions::Get();
        EXPECT_EQ(std::make_tuple(o.width, o.height, o.fullscreen), std::make_tuple(width, height, fullscreen));
    }

    // Volumes stay finite and within range.
    const std::tuple<const char*, const char*, float, float> volumes[] = {
        {"nan", "5", 1.0f, 1.0f},         {"inf", "-inf", 1.0f, 1.0f},   {"-0.5", "1.5", 0.0f, 1.0f},
        {"0.75xyz", "loud", 0.75f, 1.0f}, {"1e-1", "0.35", 0.1f, 0.35f},
    };
    for (const auto& [effects, music, effectsVolume, musicVolume] : volumes)
    {
        GameOptions::Destroy();
        EXPECT_TRUE(LoadFrom(std::string("<opts><sounds volume=\"") + effects + "\"/><music volume=\"" + music +
                             "\"/></opts>"));
        EXPECT_FLOAT_EQ(GameOptions::Get().effectsVolume, effectsVolume) << effects;
        EXPECT_FLOAT_EQ(GameOptions::Get().musicVolume, musicVolume) << music;
    }
    GameOptions::Get().musicVolume = 0.4f;
    EXPECT_TRUE(LoadFrom("<opts><music/></opts>"));
    EXPECT_FLOAT_EQ(GameOptions::Get().musicVolume, 0.4f);
}

TEST_F(GameOptionsTest, SaveWritesTheExactTextReplacingEvenAReadOnlyFile)
{
    ASSERT_EQ(std::system(("rm -rf '" + PathOf("Data") + "'").c_str()), 0);
    ASSERT_TRUE(SaveGameOptions()); // creates the folder
    ASSERT_EQ(chmod(PathOf("Data/GameOpts.opt").c_str(), 0444), 0);
    GameOptions& options = GameOptions::Get();
    options.width = 800;
    options.height = 600;
    options.fullscreen = false;
    options.effectsVolume = 0.5f;
    options.musicVolume = 0.25f;
    ASSERT_TRUE(SaveGameOptions());
    EXPECT_EQ(ReadFile("Data/GameOpts.opt"), "<opts>\n\t<display width=\"800\" height=\"600\" fullscreen=\"0\"/>\n"
                                             "\t<sounds volume=\"0.50\"/>\n\t<music volume=\"0.25\"/>\n</opts>\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(GameOptionsTest, NumbersIgnoreTheUserLocale)
{
    // A decimal-comma locale built in the test folder; skipped where that cannot be done.
    const std::string localeFolder = PathOf("locale");
    if (std::system(("mkdir -p '" + localeFolder + "' && localedef -i de_DE -f UTF-8 '" + localeFolder +
                     "/de_DE.UTF-8' >/dev/null 2>&1")
                        .c_str()) != 0)
        GTEST_SKIP() << "cannot build a de_DE locale here";
    ScopedEnv locales("LOCPATH", localeFolder);
    const std::string previousLocale = std::setlocale(LC_ALL, nullptr);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    GameOptions::Get().effectsVolume = 0.5f;
    GameOptions::Get().musicVolume = 0.75f;
    const bool saved = SaveGameOptions();
    GameOptions::Destroy();
    const bool loaded = LoadGameOptions();
    std::setlocale(LC_ALL, previousLocale.c_str());
    if (!german)
        GTEST_SKIP() << "the de_DE locale does not load";
    EXPECT_TRUE(saved && loaded && ReadFile("Data/GameOpts.opt").find("volume=\"0.50\"") != std::string::npos);
    EXPECT_FLOAT_EQ(GameOptions::Get().musicVolume, 0.75f);
}

} // namespace
