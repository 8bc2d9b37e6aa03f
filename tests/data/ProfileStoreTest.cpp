#include "SaveDataFixture.h"

#include <sys/stat.h>
#include <tuple>

namespace
{

class ProfileStoreTest : public SaveDataFixture
{
  protected:
    bool LoadFrom(const std::string& text) { return WriteAndLoad("Data/Profiles.pro", text, LoadProfiles); }
    static ProfileStore& Store() { return ProfileStore::Get(); }
    static std::set<std::string> Puzzles(int slot) { return Store().slots[slot].completedPuzzles; }
    // Quits and starts again: only what was saved comes back.
    void Restart()
    {
        DestroyRecords();
        ASSERT_TRUE(LoadProfiles());
    }
};

TEST_F(ProfileStoreTest, BrokenFilesFreeEverySlotAndAreReported)
{
    Store().slots[2].name = "Kim";
    Store().slots[2].completedPuzzles.insert("Easy/001.qvl");
    Store().SetCurrentProfile(2);
    EXPECT_FALSE(LoadProfiles());
    EXPECT_TRUE(Store().slots[2].name.empty() && Puzzles(2).empty());
    EXPECT_EQ(Store().GetCurrentProfile(), 2) << "loading never changes the chosen profile";
    EXPECT_FALSE(LoadFrom("<profiles><profile name=\"a\" index=\"0\"></profiles>"));
    // Files nested too deep: PuzzleLevelTest (every reader shares the depth limit).
    EXPECT_EQ(TakeMessages().size(), 1u) << "a damaged file is reported";

    for (const auto& [text, fault] : {std::pair{"<players/>", "#1"}, {"<!--profiles--><x/>", "#2"}})
    {
        EXPECT_FALSE(LoadFrom(text));
        EXPECT_EQ(
            TakeMessages().at(0).rfind(std::string("Warning: Malformed Player Profiles File (") + fault + ").", 0), 0u);
    }
}

TEST_F(ProfileStoreTest, ReaderSkipsBadProfilesMergesRepeatedSlotsAndTakesLongFiles)
{
    EXPECT_TRUE(
        LoadFrom("<profiles>\n  <profile name=\"Four\" index=\"4\"><puzzle name=\"A/001.qvl\"/></profile>\n"
                 "  <profile name=\"Minus\" index=\"-1\"/>\n  <profile name=\"Word\" index=\"one\"/>\n"
                 "  <profile index=\"1\"><puzzle name=\"A/002.qvl\"/></profile>\n  profile\n"
                 "  <profile name=\"Ann\" index=\"0\">\n    <puzzle name=\"B/002.qvl\"/>\n    <puzzle/>\n    puzzle\n"
                 "    <other name=\"C/001.qvl\"/>\n  </profile>\n"
                 "  <profile name=\"Annie\" index=\"0\"><puzzle name=\"B/001.qvl\"/></profile>\n"
                 "  <profile name=\"Bo\" index=\" 3\"/>\n</profiles>\n"));
    EXPECT_EQ(
        std::make_tuple(Store().slots[0].name, Store().slots[1].name, Store().slots[2].name, Store().slots[3].name),
        std::make_tuple("Annie", "", "", "Bo"));
    EXPECT_EQ(Puzzles(0), (std::set<std::string>{"B/001.qvl", "B/002.qvl"}));
    EXPECT_TRUE(Puzzles(1).empty() && Messages().empty());

    // Raw '>' in values, markup inside comments and hundreds of rows are legal
    // and must not look like deep nesting.
    std::string text = "<profiles><!-- <a><a><a> --><profile name=\"x>y\" index='1'>";
    for (int i = 0; i < 400; ++i)
        text += "<puzzle name=\"set>" + std::to_string(1000 + i) + "\" />";
    ASSERT_TRUE(LoadFrom(text + "</profile></profiles>"));
    EXPECT_EQ(Store().slots[1].name + " " + std::to_string(Puzzles(1).size()), "x>y 400");
}

TEST_F(ProfileStoreTest, EveryChangeIsSavedAtOnceInSlotAndByteOrder)
{
    ASSERT_TRUE(SaveProfiles());
    EXPECT_EQ(ReadFile("Data/Profiles.pro"), "<profiles>\n</profiles>\n");
    Store().SetProfileName(1, "Ann");
    Store().SetCurrentProfile(1);
    for (const char* path :
         {"Data/Levels/b/001.qvl", "Data/Levels/B/010.qvl", "Data/Levels/B/002.qvl", "Data/Levels/B/002.qvl"})
        Store().MarkPuzzleCompleted(path);
    Store().SetProfileName(3, "Bo");
    EXPECT_EQ(ReadFile("Data/Profiles.pro"), "<profiles>\n\t<profile name=\"Ann\" index=\"1\">\n"
                                             "\t\t<puzzle name=\"B/002.qvl\"/>\n\t\t<puzzle name=\"B/010.qvl\"/>\n"
                                             "\t\t<puzzle name=\"b/001.qvl\"/>\n\t</profile>\n"
                                             "\t<profile name=\"Bo\" index=\"3\">\n\t</profile>\n</profiles>\n");
    Store().DeleteProfile(1);

    // Reserved characters in profile and set names survive a restart.
    Store().SetProfileName(2, "A&B<\"'>");
    Store().SetProfileName(0, "Tab\there");
    Store().SetCurrentProfile(2);
    Store().MarkPuzzleCompleted("Data/Levels/x \"y\" & z/001.qvl");
    Store().MarkPuzzleCompleted("Data/Levels/R&B/002.qvl");
    Restart();
    EXPECT_TRUE(Puzzles(1).empty());
    EXPECT_EQ(std::make_tuple(Store().GetProfileName(0), Store().GetProfileName(1), Store().slots[2].name,
                              Store().GetProfileName(3)),
              std::make_tuple("Tab\there", "", "A&B<\"'>", "Bo"));
    EXPECT_EQ(Puzzles(2), (std::set<std::string>{"x \"y\" & z/001.qvl", "R&B/002.qvl"}));
    Store().SetCurrentProfile(2);
    EXPECT_TRUE(Store().IsPuzzleCompleted("R&B/002.qvl") && Messages().empty());
}

TEST_F(ProfileStoreTest, MarkingNeedsAProfileAndALevelPathAndNewProfilesStartEmpty)
{
    Store().SetProfileName(0, "Ann");
    const std::string before = ReadFile("Data/Profiles.pro");
    Store().MarkPuzzleCompleted("Data/Levels/Easy/001.qvl"); // no profile chosen yet
    Store().SetCurrentProfile(0);
    for (const char* path : {"", "x.qvl", "Data/Levels/", "Data/Level/E/001.qvl", "data/levels/E/001.qvl"})
        Store().MarkPuzzleCompleted(path);
    EXPECT_EQ(std::make_pair(Puzzles(0).size(), ReadFile("Data/Profiles.pro")), std::make_pair(size_t{0}, before));
    Store().SetCurrentProfile(7);
    EXPECT_EQ(std::make_tuple(Store().GetCurrentProfile(), Store().IsPuzzleCompleted("Easy/001.qvl"),
                              Store().GetProfileName(-1), Store().GetProfile(4)),
              std::make_tuple(-1, false, "", nullptr));

    // A file may name a profile "" and still list puzzles: a new profile there starts empty.
    EXPECT_TRUE(LoadFrom("<profiles><profile name=\"\" index=\"2\"><puzzle name=\"E/001.qvl\"/></profile></profiles>"));
    Store().SetProfileName(2, "Dee");
    EXPECT_TRUE(Puzzles(2).empty());
    Store().SetCurrentProfile(2);
    Store().MarkPuzzleCompleted("Data/Levels/E/002.qvl");
    Store().SetProfileName(2, "Deb"); // renaming keeps the progress
    EXPECT_EQ(Puzzles(2), std::set<std::string>{"E/002.qvl"});
}

} // namespace
