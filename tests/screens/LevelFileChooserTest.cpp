// Saving and loading levels through the in-game chooser: names it refuses,
// the question before replacing a file, the round trip, and a game folder
// that cannot be written.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "data/LevelLibrary.h"
#include "fixtures/ScopedEnv.h"
#include "screens/LevelEditorFixture.h"

namespace
{

class LevelFileChooserTest : public LevelEditorFixture
{
  protected:
    LevelFileChooser& Chooser() { return Editor().Chooser(); }
    void ClearName()
    {
        for (int i = 0; i < 50; ++i)
            Key(KeyCode::Backspace);
    }
    void SaveAs(const std::string& set, const std::string& number)
    {
        Key('s');
        ASSERT_EQ(Chooser().GetMode(), LevelFileChooser::Mode::Save);
        ClearName();
        Type(set);
        Key(KeyCode::Tab);
        ClearName();
        Type(number);
        Key(KeyCode::Enter);
    }
    // Picks a level in the Load list with the keys, then loads it.
    void LoadWithKeys(const std::string& path)
    {
        Key('l');
        ASSERT_EQ(Chooser().GetMode(), LevelFileChooser::Mode::Load);
        for (int i = 0; i < 1000 && Chooser().PickedText() != path; ++i)
            Key(KeyCode::Down);
        ASSERT_EQ(Chooser().PickedText(), path);
        Key(KeyCode::Enter);
        EXPECT_FALSE(Chooser().IsOpen());
    }
};

TEST_F(LevelFileChooserTest, RefusesUnusableNamesAndAsksBeforeReplacing)
{
    const std::pair<std::string, const char*> refused[] = {
        {"", "Please type a name for the set."},
        {"a/b", "Set names cannot hold \"/\" or \"\\\"."},
        {"a\\b", "Set names cannot hold \"/\" or \"\\\"."},
        {"..", "Set names cannot hold \"..\"."},
        {"x..y", "Set names cannot hold \"..\"."},
        {".", "Set names cannot hold \"..\"."},
        {"tab\there", "Set names cannot hold control characters."},
        {std::string(41, 'a'), "Set names have at most 40 letters."},
    };
    for (const auto& [name, problem] : refused)
        EXPECT_EQ(SetNameProblem(name), problem) << name;
    EXPECT_EQ(SetNameProblem(std::string(40, 'a')), "");

    Enter();
    SaveAs("a/b", "1"); // refused in the chooser, which stays open
    EXPECT_EQ(Chooser().MessageText(), refused[1].second);
    Key(KeyCode::Escape);
    SaveAs("Mine", "0");
    EXPECT_EQ(Chooser().MessageText(), "Puzzle numbers run from 1 to 999.");
    Key(KeyCode::Escape);
    EXPECT_FALSE(std::filesystem::exists(PathOf("Data/Levels/Mine")));

    PaintThreeReds();
    SaveAs("Mine", "2");
    ASSERT_FALSE(Chooser().IsOpen());
    const std::string saved = ReadFile("Data/Levels/Mine/002.qvl");
    EXPECT_NE(saved.find("<block x=\"3\" y=\"9\" color=\"0\"/>"), std::string::npos);

    // Saving again offers the same place; it exists, so the chooser asks.
    ClickCell(5, 0);
    Key('s');
    EXPECT_EQ(std::make_pair(Chooser().SetName(), Chooser().Number()), std::make_pair(std::string("Mine"), 2));
    Key(KeyCode::Enter);
    EXPECT_EQ(
        std::make_pair(Chooser().GetMode(), Chooser().MessageText()),
        std::make_pair(LevelFileChooser::Mode::Overwrite, std::string("Puzzle 2 of this set exists. Replace it?")));
    Key('n');
    EXPECT_EQ(std::make_pair(Chooser().GetMode(), ReadFile("Data/Levels/Mine/002.qvl")),
              std::make_pair(LevelFileChooser::Mode::Save, saved));
    Key(KeyCode::Enter);
    Key('y');
    EXPECT_FALSE(Chooser().IsOpen());
    EXPECT_NE(ReadFile("Data/Levels/Mine/002.qvl").find("<block x=\"5\" y=\"0\""), std::string::npos);
}

TEST_F(LevelFileChooserTest, SavedLevelLoadsBackAndABrokenFileChangesNothing)
{
    Enter();
    PaintThreeReds();
    for (int i = 0; i < 6; ++i)
        Key('+');
    SaveAs("my set", "3");
    ASSERT_TRUE(std::filesystem::exists(PathOf("Data/Levels/my set/003.qvl")));
    EXPECT_EQ(Editor().LevelPath(), "Data/Levels/my set/003.qvl");
    const Board::Codes level = Editor().Codes();

    // Another level, then the saved one back from the list.
    for (int column : {0, 1, 3})
        ClickCell(column, 9, true);
    LoadWithKeys("Data/Levels/my set/003.qvl");
    EXPECT_EQ(std::make_pair(Editor().Codes(), Editor().Moves()), std::make_pair(level, 7));

    // A file that does not load keeps the level as it was; a count out of
    // range is brought into 1..99.
    WriteFile("Data/Levels/my set/004.qvl", "<qvl moves=\"5\"><block x=\"0\"");
    WriteFile("Data/Levels/my set/005.qvl", "<qvl moves=\"500\"></qvl>");
    LoadWithKeys("Data/Levels/my set/004.qvl");
    EXPECT_EQ(std::make_pair(Editor().Codes(), Editor().Moves()), std::make_pair(level, 7));
    LoadWithKeys("Data/Levels/my set/005.qvl");
    EXPECT_EQ(std::make_pair(EditorRow(9), Editor().Moves()), std::make_pair(std::string("666666"), 99));
}

TEST_F(LevelFileChooserTest, ReadOnlyGameFolderSavesIntoTheUserFolder)
{
    ScopedEnv dataHome("XDG_DATA_HOME", PathOf("xdg"));
    // "Data" is a plain file: nothing can be written beside the program.
    std::filesystem::remove_all(PathOf("Data"));
    WriteFile("Data", "");
    Enter();
    PaintThreeReds();
    SaveAs("Mine", "1");
    const std::vector<std::string> sets = ListPuzzleSets();
    EXPECT_EQ(std::make_tuple(Chooser().IsOpen(),
                              ReadFile("xdg/quorvo/Data/Levels/Mine/001.qvl").find("color=\"0\"") != std::string::npos,
                              std::find(sets.begin(), sets.end(), "Mine") != sets.end()),
              std::make_tuple(false, true, true));
}

} // namespace
