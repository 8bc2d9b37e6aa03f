#include "SaveDataFixture.h"

#include "data/PuzzleLevel.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace
{

PuzzleCells EmptyCells()
{
    PuzzleCells cells;
    cells.fill(BlockType::Empty);
    return cells;
}

BlockType At(const PuzzleCells& cells, int x, int y)
{
    return cells[static_cast<size_t>(y * PuzzleColumns + x)];
}

class PuzzleLevelTest : public SaveDataFixture
{
  protected:
    // Loads text saved as a level; cells and moves start Empty and 0.
    bool LoadText(const std::string& text)
    {
        WriteFile("Data/Levels/Test/001.qvl", text);
        cells = EmptyCells();
        moves = 0;
        return LoadPuzzleLevel("Data/Levels/Test/001.qvl", cells, moves);
    }
    int CountNotEmpty() const { return PuzzleCellCount - std::count(cells.begin(), cells.end(), BlockType::Empty); }

    PuzzleCells cells = EmptyCells();
    int moves = 0;
};

TEST_F(PuzzleLevelTest, ReaderMessages)
{
    const std::string unable = "Warning: Unable to load Puzzle Level.", bad = "Warning: Malformed Puzzle Level File (";
    const std::pair<const char*, std::string> cases[] = {
        {"", unable},
        {"<qvl moves=\"3\">", unable},
        {"<level moves=\"3\"/>", bad + "#1)."},
        {"<!--qvl--><x/>", bad + "#2)."},
        {"<qvl><block x=\"0\" y=\"0\" color=\"1\"/></qvl>", bad + "#3 -- Unable to locate Moves count)."},
        {"<qvl moves=\"3\">block</qvl>", bad + "#4)."},
        {"<qvl moves=\"3\"><block color=\"1\"/></qvl>", bad + "#5 - Unable to locate block attribute x)."},
        {"<qvl moves=\"3\"><block x=\"1\" color=\"1\"/></qvl>", bad + "#5 - Unable to locate block attribute y)."},
        {"<qvl moves=\"3\"><block x=\"1\" y=\"2\"/></qvl>", bad + "#5 - Unable to locate block attribute color)."},
    };
    for (const auto& [text, message] : cases)
    {
        SCOPED_TRACE(text);
        EXPECT_FALSE(LoadText(text));
        const std::vector<std::string> shown = TakeMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].rfind(message + "\n\nData/Levels/Test/001.qvl", 0), 0u) << shown[0];
        EXPECT_EQ(CountNotEmpty(), 0);
    }

    EXPECT_FALSE(LoadPuzzleLevel("Data/Levels/Test/404.qvl", cells, moves));
    const std::string missing = "Warning: Unable to load Puzzle Level.\n\nData/Levels/Test/404.qvl: no such file.";
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{missing});

    // A damaged file nested far too deep is refused, not parsed.
    std::string deep = "<qvl moves=\"1\">";
    for (int i = 0; i < 300; ++i)
        deep += "<b x=\"a>b\">";
    EXPECT_FALSE(LoadText(deep + "</qvl>"));
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Warning: Unable to load Puzzle Level.\n\n"
                                                       "Data/Levels/Test/001.qvl: elements are nested more "
                                                       "than 256 deep."});

    // A caller may take the text instead and decide when to show it.
    std::string warning;
    EXPECT_FALSE(LoadPuzzleLevel("Data/Levels/Test/404.qvl", cells, moves, &warning));
    EXPECT_EQ(std::make_pair(warning, Messages().empty()), std::make_pair(missing, true));

    // A fault keeps what was read before it.
    EXPECT_FALSE(LoadText("<qvl moves=\"7\"><block x=\"0\" y=\"0\" color=\"0\"/><block x=\"1\" y=\"0\" color=\"4\"/>"
                          "<block x=\"2\" color=\"4\"/><block x=\"3\" y=\"0\" color=\"3\"/></qvl>"));
    EXPECT_EQ(std::make_tuple(moves, At(cells, 0, 0), At(cells, 1, 0), CountNotEmpty()),
              std::make_tuple(7, BlockType::Red, BlockType::Green, 2));
}

TEST_F(PuzzleLevelTest, ReaderAcceptsWhatTheGameStores)
{
    // Other children are skipped, numbers read like "%d", a later entry wins,
    // Windows line ends and a declaration are fine.
    EXPECT_TRUE(
        LoadText("<?xml version=\"1.0\"?>\r\n<qvl moves=\"12 moves\">\r\n<note text=\"hi\"/>\r\n"
                 "<block x=\" 5\" y=\"9abc\" color=\"7\"/>\r\n<block x=\"0\" y=\"0\" color=\"2\"/>\r\n"
                 "<block x=\"0\" y=\"0\" color=\"5\"/>\r\n<block x=\"+1\" y=\"0\" color=\"1\"/>\r\n</qvl>\r\n"));
    EXPECT_EQ(std::make_tuple(moves, At(cells, 5, 9), At(cells, 0, 0), At(cells, 1, 0), CountNotEmpty()),
              std::make_tuple(12, BlockType::Wild, BlockType::NoPicture, BlockType::Orange, 3));

    // Entries outside the field or with unknown codes are skipped.
    EXPECT_TRUE(LoadText("<qvl moves=\"4\"><block x=\"2\" y=\"3\" color=\"1\"/><block x=\"6\" y=\"0\" color=\"0\"/>"
                         "<block x=\"-1\" y=\"9\" color=\"0\"/><block x=\"0\" y=\"10\" color=\"0\"/>"
                         "<block x=\"3\" y=\"40\" color=\"0\"/><block x=\"a\" y=\"1\" color=\"0\"/>"
                         "<block x=\"1\" y=\"b\" color=\"0\"/><block x=\"1\" y=\"1\" color=\"green\"/>"
                         "<block x=\"1\" y=\"2\" color=\"42\"/><block x=\"1\" y=\"3\" color=\"-1\"/>"
                         "<block x=\"1\" y=\"4\" color=\"6\"/><block x=\"99999999999\" y=\"0\" color=\"0\"/>"
                         "<block x=\"4\" y=\"9\" color=\"3\"/></qvl>"));
    EXPECT_EQ(std::make_tuple(At(cells, 2, 3), At(cells, 4, 9), CountNotEmpty(), Messages().empty()),
              std::make_tuple(BlockType::Orange, BlockType::Purple, 2, true));

    // Move counts are read safely; a non-numeric one keeps the previous puzzle's.
    for (const auto& [count, kept] : {std::pair{"x", 7}, {"-3", 0}, {"99999999999", MaxPuzzleMoves}})
    {
        WriteFile("Data/Levels/Test/001.qvl", std::string("<qvl moves=\"") + count + "\"/>");
        moves = 7;
        EXPECT_TRUE(LoadPuzzleLevel("Data/Levels/Test/001.qvl", cells, moves));
        EXPECT_EQ(moves, kept) << count;
    }

    // Backslashes in the path are slashes.
    WriteFile("Data/Levels/Set/002.qvl", "<qvl moves=\"9\"><block x=\"0\" y=\"9\" color=\"2\"/></qvl>");
    EXPECT_TRUE(LoadPuzzleLevel("Data\\Levels\\Set\\002.qvl", cells, moves));
    EXPECT_EQ(std::make_pair(moves, At(cells, 0, 9)), std::make_pair(9, BlockType::Blue));
}

TEST_F(PuzzleLevelTest, WriterProducesTheExactText)
{
    PuzzleCells level = EmptyCells();
    ASSERT_TRUE(SavePuzzleLevel(PathOf("empty.qvl"), level, 3));
    EXPECT_EQ(ReadFile("empty.qvl"), "<qvl moves=\"3\">\n</qvl>\n");

    level[9 * 6 + 1] = BlockType::Wild;
    level[9 * 6 + 0] = BlockType::Blue;
    level[0 * 6 + 5] = BlockType::NoPicture;
    std::filesystem::create_directories(PathOf("Data/Levels/Mine"));
    ASSERT_TRUE(SavePuzzleLevel(PathOf("Data/Levels/Mine/001.qvl"), level, 12));
    EXPECT_EQ(ReadFile("Data/Levels/Mine/001.qvl"),
              "<qvl moves=\"12\">\n   <block x=\"5\" y=\"0\" color=\"5\"/>\n   <block x=\"0\" y=\"9\" color=\"2\"/>\n"
              "   <block x=\"1\" y=\"9\" color=\"7\"/>\n</qvl>\n");
    EXPECT_TRUE(Messages().empty());

    // Save and load reproduce every cell; blocks listed bottom-up come back written top-down.
    ASSERT_TRUE(LoadText("<qvl moves=\"20\"><block x=\"3\" y=\"9\" color=\"4\"/><block x=\"0\" y=\"5\" color=\"0\"/>"
                         "<block x=\"2\" y=\"0\" color=\"7\"/></qvl>"));
    PuzzleCells full = EmptyCells();
    for (int i = 0; i < PuzzleCellCount; i += 7)
        full[static_cast<size_t>(i)] = static_cast<BlockType>(i % 8 == 6 ? 7 : i % 8);
    full[2] = cells[2];
    ASSERT_TRUE(SavePuzzleLevel(PathOf("Data/Levels/Test/001.qvl"), full, 20));
    const std::string text = ReadFile("Data/Levels/Test/001.qvl");
    EXPECT_LT(text.find("x=\"2\" y=\"0\""), text.find("x=\"1\" y=\"1\""));

    cells = EmptyCells();
    ASSERT_TRUE(LoadPuzzleLevel("Data/Levels/Test/001.qvl", cells, moves));
    EXPECT_EQ(std::make_pair(cells, moves), std::make_pair(full, 20));
}

TEST_F(PuzzleLevelTest, PuzzleExistsNeedsAWellFormedFile)
{
    WriteFile("Data/Levels/A/001.qvl", "<qvl moves=\"1\"/>");
    WriteFile("Data/Levels/A/002.qvl", "<anything/>");
    WriteFile("Data/Levels/A/003.qvl", "<qvl moves=\"1\">");
    for (const auto& [number, exists] : {std::pair{1, true}, {2, true}, {3, false}, {4, false}})
        EXPECT_EQ(PuzzleExists("Data/Levels/A/00" + std::to_string(number) + ".qvl"), exists) << number;
    EXPECT_TRUE(Messages().empty());

    // The next puzzle follows the numbers, then the sets.
    std::filesystem::remove_all(PathOf("Data/Levels/A"));
    const std::string level = "<qvl moves=\"1\"/>";
    for (const char* name : {"1 Easy/015", "1 Easy/016", "4 Hard/001", "4 Hard/999", "4 Hard/1000", "stray"})
        WriteFile("Data/Levels/" + std::string(name) + ".qvl", level);
    WriteFile("Data/Levels/2 Empty/readme.txt", "no puzzles here");
    WriteFile("Data/Levels/3 Broken/001.qvl", "<qvl");

    // After 016 (no 017) comes the next set with a playable first puzzle; nothing follows the last set, a
    // set not in the listing or one whose name differs in case.
    std::vector<std::string> next;
    for (const char* path :
         {"1 Easy/015", "1 Easy/016", "4 Hard/999", "4 Hard/1000", "4 Hard/start", "9 Gone/001", "1 easy/016"})
        next.push_back(NextPuzzlePath("Data/Levels/" + std::string(path) + ".qvl"));
    next.push_back(NextPuzzlePath("015.qvl"));
    next.push_back(NextPuzzlePath(""));
    EXPECT_EQ(next, (std::vector<std::string>{"Data/Levels/1 Easy/016.qvl", "Data/Levels/4 Hard/001.qvl",
                                              "Data/Levels/4 Hard/1000.qvl", "", "Data/Levels/4 Hard/001.qvl", "", "",
                                              "", ""}));
    EXPECT_TRUE(Messages().empty());

    EXPECT_EQ(std::make_tuple(ListPuzzleSets(), ListPuzzleFiles("1 Easy"), ListPuzzleFiles("2 Empty")),
              std::make_tuple(std::vector<std::string>{"1 Easy", "2 Empty", "3 Broken", "4 Hard"},
                              std::vector<std::string>{"015.qvl", "016.qvl"}, std::vector<std::string>{}));
}

} // namespace
