#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "fixtures/TestPaths.h"
#include "game/RulesFixture.h"

namespace
{

// Every file the game's data build produces, from its inventory.
std::set<std::string> InventoryPaths()
{
    std::set<std::string> paths;
    std::ifstream in(SourcePath("assets/inventory.txt"));
    for (std::string line, kind, path; std::getline(in, line);)
        if (std::istringstream(line) >> kind >> path && kind[0] != '#')
            paths.insert(path);
    return paths;
}

using GameDataNamesTest = RulesFixture;

// A misspelt picture or sound name shows an empty block or plays silence
// without any error, so the names are checked against the data build.
TEST_F(GameDataNamesTest, EveryPictureAndSoundTheBoardUsesIsBuilt)
{
    const std::set<std::string> built = InventoryPaths();
    ASSERT_FALSE(built.empty());

    std::vector<std::string> pictures = {Block::DimMoviePath, Block::WarningMoviePath};
    for (int code : {0, 1, 2, 3, 4, 7})
        for (bool queue : {false, true})
            pictures.emplace_back(Block::PicturePath(static_cast<BlockType>(code), queue));
    pictures.push_back(mover->CurrentPicture().GetMovie());
    rules->FlipMover();
    pictures.push_back(mover->CurrentPicture().GetMovie());
    for (const std::string& path : pictures)
        EXPECT_EQ(built.count(path), 1u) << path;

    // Drive the rules through a swap, a refusal and a set to hear every sound.
    Layout({"RRGR.."});
    rules->FlipMover();
    rules->PlaceMover(2, 9);
    ASSERT_TRUE(rules->TrySwap());
    Settle();
    rules->PlaceMover(4, 0);
    EXPECT_FALSE(rules->TrySwap());
    ASSERT_EQ(host.CountSound("Data/Sounds/TigerStab"), 1);
    std::set<std::string> sounds(host.sounds.begin(), host.sounds.end());
    EXPECT_EQ(sounds.size(), 4u);
    for (const std::string& name : sounds)
        EXPECT_EQ(built.count(name + ".ogg"), 1u) << name;
}

} // namespace
