#include "SaveDataFixture.h"

#include "data/PuzzleLevel.h"
#include "data/XmlText.h"
#include "fixtures/TestPaths.h"

#include <tinyxml.h>

#include <filesystem>

namespace
{

namespace fs = std::filesystem;

class ShippedLevelsTest : public SaveDataFixture
{
};

// Every puzzle the game ships loads without a warning, places only blocks
// inside the field with a colour the game draws, allows 1..99 moves, and
// each set is numbered 001, 002, ... without gaps.
TEST_F(ShippedLevelsTest, EveryShippedPuzzleIsPlayable)
{
    const fs::path source = SourcePath("assets/levels");
    if (!fs::is_directory(source))
        GTEST_SKIP() << "no level sources in this tree";
    fs::copy(source, PathOf("Data/Levels"), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    Mount();

    const std::vector<std::string> sets = ListPuzzleSets();
    ASSERT_FALSE(sets.empty());
    for (const std::string& set : sets)
    {
        const std::vector<std::string> files = ListPuzzleFiles(set);
        ASSERT_FALSE(files.empty()) << set;
        for (size_t i = 0; i < files.size(); ++i)
        {
            const std::string path = PuzzlePath(set, files[i]);
            SCOPED_TRACE(path);
            EXPECT_EQ(files[i], PuzzleFileName(static_cast<long long>(i) + 1));

            PuzzleCells cells;
            cells.fill(BlockType::Empty);
            int moves = 0;
            ASSERT_TRUE(LoadPuzzleLevel(path, cells, moves));
            EXPECT_TRUE(TakeMessages().empty());
            EXPECT_GE(moves, 1);
            EXPECT_LE(moves, 99);

            TiXmlDocument document;
            ASSERT_TRUE(LoadXmlDocument(path, document));
            int blocks = 0;
            for (TiXmlElement* block = document.FirstChildElement("qvl")->FirstChildElement("block"); block;
                 block = block->NextSiblingElement("block"))
            {
                int x = -1, y = -1, colour = -1;
                ASSERT_EQ(block->QueryIntAttribute("x", &x), TIXML_SUCCESS);
                ASSERT_EQ(block->QueryIntAttribute("y", &y), TIXML_SUCCESS);
                ASSERT_EQ(block->QueryIntAttribute("color", &colour), TIXML_SUCCESS);
                EXPECT_TRUE(x >= 0 && x < PuzzleColumns && y >= 0 && y < PuzzleRows) << x << "," << y;
                EXPECT_TRUE(IsBlockColour(static_cast<BlockType>(colour)) || colour == 7) << colour;
                ++blocks;
            }
            EXPECT_GT(blocks, 0);
            std::string next = NextPuzzlePath(path);
            if (i + 1 < files.size())
            {
                EXPECT_EQ(next, PuzzlePath(set, files[i + 1]));
            }
        }
    }
}

} // namespace
