#include "fixtures/MovieFixtures.h"
#include "fixtures/TestPaths.h"
#include "player/MemoryStream.h"
#include "player/MovieInstance.h"
#include "player/Player.h"
#include "player/SpriteDefinition.h"
#include "player/SpriteInstance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace swftest;

namespace
{

Bytes square(int id)
{
    return swftest::square(id, {255, 0, 0, 255}, 500);
}

int deepestLevel(swf::SpriteInstance& sprite)
{
    int deepest = sprite.nestingLevel();
    for (const auto& entry : sprite.displayList().entries())
        if (swf::SpriteInstance* child = entry.object->asSprite())
            deepest = std::max(deepest, deepestLevel(*child));
    return deepest;
}

} // namespace

TEST(PlayerRobustnessTest, MoreShowFramesThanDeclaredAndZeroFrameSprites)
{
    MovieBuilder m(1, 2000, 2000);
    m.tag(2, square(1));
    TagList inner;
    inner.tag(26, place(1, 1)).showFrame().tag(26, place(1, 2)).showFrame().end();
    m.tag(39, defineSprite(2, 0, inner));
    m.tag(26, place(1, 1)).tag(26, place(2, 2)).showFrame();
    m.tag(26, place(1, 3)).showFrame();
    m.tag(26, place(1, 4)).showFrame().end();
    auto movie = readMovie(m.fws());
    EXPECT_EQ(movie->frameCount(), 1);
    EXPECT_EQ(movie->playlist(0).size(), 2u);
    EXPECT_TRUE(movie->playlist(1).empty()); // tags past the declared frames are dropped
    auto* sprite = dynamic_cast<swf::SpriteDefinition*>(movie->characterById(2));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->frameCount(), 0);
    EXPECT_TRUE(sprite->playlist(0).empty());

    auto inst = movie->createInstance();
    inst->advance(0.0001f);
    inst->advance(1.0f);
    inst->gotoFrame(2);
    EXPECT_EQ(inst->currentFrame(), 0);
    swf::SpriteInstance* empty = inst->rootSprite().displayList().objectAt(2)->asSprite();
    ASSERT_NE(empty, nullptr);
    empty->gotoFrame(3);
    EXPECT_EQ(empty->currentFrame(), 0);
    EXPECT_EQ(empty->displayList().size(), 0u);
    Picture p = renderInstance(*inst, 100, 100);
    EXPECT_EQ(p.countNonTransparent(), 25 * 25);

    // A movie with no frames at all (a bad header gives one too) plays and draws nothing.
    auto none = readMovie(Bytes{'X', 'W', 'S', 8, 0, 0, 0, 0});
    Picture q = renderFrame(*none, 0, 10, 10);
    EXPECT_EQ(q.countNonTransparent(), 0);
    renderFrame(*none, 5, 10, 10);
}

TEST(PlayerRobustnessTest, SelfPlacingSpritesStopAtTheNestingLimit)
{
    MovieBuilder m(1, 2000, 2000);
    m.tag(2, square(1));
    TagList self;
    self.tag(26, place(1, 1)).tag(26, place(5, 2)).showFrame().end();
    m.tag(39, defineSprite(5, 1, self));
    // 6 and 7 place each other.
    TagList six;
    six.tag(26, place(7, 1)).showFrame().end();
    TagList seven;
    seven.tag(26, place(6, 1)).showFrame().end();
    m.tag(39, defineSprite(6, 1, six)).tag(39, defineSprite(7, 1, seven));
    m.tag(26, place(5, 1)).tag(26, place(6, 2)).showFrame().end();
    auto movie = readMovie(m.fws());
    auto inst = movie->createInstance();
    inst->advance(0.0001f);
    inst->advance(0.5f);
    EXPECT_EQ(deepestLevel(inst->rootSprite()), swf::SpriteInstance::MaxNesting);
    Picture p = renderInstance(*inst, 100, 100);
    EXPECT_EQ(p.at(10, 10), 0xFFFF0000u);
}

TEST(PlayerRobustnessTest, MultiplyingSpritesStopAtTheObjectBudget)
{
    MovieBuilder m(1, 2000, 2000);
    TagList fan;
    for (int d = 1; d <= 4; ++d)
        fan.tag(26, place(5, d));
    fan.showFrame().end();
    m.tag(39, defineSprite(5, 1, fan)).tag(26, place(5, 1)).showFrame().end();
    auto movie = readMovie(m.fws());
    auto start = std::chrono::steady_clock::now();
    {
        auto inst = movie->createInstance();
        inst->advance(0.0001f);
        EXPECT_LE(inst->liveObjects(), swf::MovieInstance::MaxObjects);
        EXPECT_GT(inst->liveObjects(), swf::MovieInstance::MaxObjects / 2);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(PlayerRobustnessTest, HugeFrameCountsAndTimeSteps)
{
    MovieBuilder m(65535, 2000, 2000, 255.0);
    m.tag(2, square(1)).tag(26, place(1, 1)).showFrame();
    TagList inner;
    inner.showFrame().end();
    for (int i = 0; i < 200; ++i)
        m.tag(39, defineSprite(100 + i, 65535, inner)); // declared frames cost no memory
    m.end();
    auto movie = readMovie(m.fws());
    EXPECT_EQ(movie->frameCount(), 65535);
    auto inst = movie->createInstance();
    inst->gotoFrame(65534);
    EXPECT_EQ(inst->currentFrame(), 65534);
    inst->advance(1e9f); // bounded work per advance
    inst->advance(std::numeric_limits<float>::infinity());
    inst->advance(std::numeric_limits<float>::quiet_NaN());
    Picture p = renderInstance(*inst, 20, 20);
    EXPECT_EQ(p.at(1, 1), 0xFFFF0000u);

    // A zero frame rate never advances past the first frame and does not hang.
    MovieBuilder still(3, 2000, 2000);
    still.frameRateRaw(0).showFrame().showFrame().showFrame().end();
    auto stillMovie = readMovie(still.fws());
    auto s = stillMovie->createInstance();
    s->advance(0.0001f);
    s->advance(100.0f);
    EXPECT_EQ(s->currentFrame(), 0);
}

TEST(PlayerRobustnessTest, FuzzRegressionInputsLoadAndRender)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(SourcePath("tests/player/fuzz-regressions")))
        if (entry.path().extension() == ".fuzz")
            names.push_back(entry.path().string());
    ASSERT_GE(names.size(), 3u);
    for (const std::string& name : names)
    {
        std::ifstream in(name, std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // Every path opens the same bytes, so imports of any name reach this movie again.
        swf::setFileOpener([&bytes](const std::string&) -> std::unique_ptr<swf::FileStream>
                           { return std::make_unique<swf::MemoryStream>(bytes); });
        auto movie = swf::loadMovieDefinition("fuzz.swf");
        ASSERT_TRUE(movie) << name;
        auto inst = movie->createInstance();
        inst->restart();
        inst->advance(0.0001f);
        renderInstance(*inst, 48, 36);
        inst->advance(0.25f);
        inst->gotoFrame(3);
        inst->gotoFrame(1);
        renderInstance(*inst, 48, 36);
        swf::shutdownPlayer();
    }
    swf::setFileOpener(nullptr);
}
