// Movies that lie about their frames, place themselves, multiply or ask for huge times, and the
// fuzz regression inputs: each loads, plays and draws within bounds.
#include "fixtures/MovieFixtures.h"
#include "fixtures/TestPaths.h"
#include "player/MemoryStream.h"
#include "player/Player.h"
#include "player/SpriteDefinition.h"
#include "player/SpriteInstance.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace swftest;

namespace
{

const Bytes RedSquare = square(1, {255, 0, 0, 255}, 500);

// A sprite of one frame placing each id at depths 1, 2, ...
Bytes spritePlacing(int id, const std::vector<int>& ids)
{
    TagList tags;
    for (size_t i = 0; i < ids.size(); ++i)
        tags.tag(26, place(ids[i], int(i) + 1));
    return defineSprite(id, 1, tags.showFrame().end());
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
    TagList inner;
    inner.tag(26, place(1, 1)).showFrame().tag(26, place(1, 2)).showFrame().end();
    m.tag(2, RedSquare).tag(39, defineSprite(2, 0, inner)).tag(26, place(1, 1)).tag(26, place(2, 2)).showFrame();
    m.tag(26, place(1, 3)).showFrame().tag(26, place(1, 4)).showFrame().end();
    auto movie = readMovie(m.fws());
    auto* sprite = dynamic_cast<swf::SpriteDefinition*>(movie->characterById(2));
    ASSERT_NE(sprite, nullptr);
    // Tags past the declared frames are dropped.
    EXPECT_EQ((std::vector<size_t>{size_t(movie->frameCount()), movie->playlist(0).size(), movie->playlist(1).size(),
                                   size_t(sprite->frameCount()), sprite->playlist(0).size()}),
              (std::vector<size_t>{1, 2, 0, 0, 0}));

    auto inst = started(*movie);
    inst->advance(1.0f);
    inst->gotoFrame(2);
    swf::SpriteInstance* empty = inst->rootSprite().displayList().objectAt(2)->asSprite();
    ASSERT_NE(empty, nullptr);
    empty->gotoFrame(3);
    EXPECT_EQ(
        (std::vector<size_t>{size_t(inst->currentFrame()), size_t(empty->currentFrame()), empty->displayList().size()}),
        (std::vector<size_t>{0, 0, 0}));
    EXPECT_EQ(renderInstance(*inst, 100, 100).countNonTransparent(), 25 * 25);

    // A movie with no frames at all (a bad header gives one too) plays and draws nothing.
    auto none = readMovie(Bytes{'X', 'W', 'S', 8, 0, 0, 0, 0});
    EXPECT_EQ(renderFrame(*none, 0, 10, 10).countNonTransparent(), 0);
    renderFrame(*none, 5, 10, 10);
}

TEST(PlayerRobustnessTest, SelfPlacingAndMultiplyingSpritesStopAtTheirLimits)
{
    // 5 places itself; 6 and 7 place each other.
    TagList self;
    self.tag(26, place(1, 1)).tag(26, place(5, 2)).showFrame().end();
    auto movie = movieOf({{2, RedSquare},
                          {39, defineSprite(5, 1, self)},
                          {39, spritePlacing(6, {7})},
                          {39, spritePlacing(7, {6})},
                          {26, place(5, 1)},
                          {26, place(6, 2)}},
                         2000, 2000);
    auto inst = started(*movie);
    inst->advance(0.5f);
    EXPECT_EQ(deepestLevel(inst->rootSprite()), swf::SpriteInstance::MaxNesting);
    EXPECT_EQ(renderInstance(*inst, 100, 100).at(10, 10), 0xFFFF0000u);

    // Each level places four of the sprite: the object budget stops it.
    auto fan = movieOf({{39, spritePlacing(5, {5, 5, 5, 5})}, {26, place(5, 1)}}, 2000, 2000);
    auto many = started(*fan);
    EXPECT_LE(many->liveObjects(), swf::MovieInstance::MaxObjects);
    EXPECT_GT(many->liveObjects(), swf::MovieInstance::MaxObjects / 2);
}

TEST(PlayerRobustnessTest, HugeFrameCountsAndTimeSteps)
{
    MovieBuilder m(65535, 2000, 2000, 255.0);
    m.tag(2, RedSquare).tag(26, place(1, 1)).showFrame();
    for (int i = 0; i < 200; ++i)
        m.tag(39, defineSprite(100 + i, 65535, TagList().showFrame().end())); // declared frames cost no memory
    auto movie = readMovie(m.end().fws());
    EXPECT_EQ(movie->frameCount(), 65535);
    auto inst = movie->createInstance();
    inst->gotoFrame(65534);
    EXPECT_EQ(inst->currentFrame(), 65534);
    inst->advance(1e9f); // bounded work per advance
    inst->advance(std::numeric_limits<float>::infinity());
    inst->advance(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(renderInstance(*inst, 20, 20).at(1, 1), 0xFFFF0000u);

    // A zero frame rate never advances past the first frame and does not hang.
    MovieBuilder still(3, 2000, 2000);
    auto stillMovie = readMovie(still.frameRateRaw(0).showFrame().showFrame().showFrame().end().fws());
    auto s = started(*stillMovie);
    s->advance(100.0f);
    EXPECT_EQ(s->currentFrame(), 0);
}

TEST(PlayerRobustnessTest, FuzzRegressionInputsLoadAndRender)
{
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourcePath("tests/player/fuzz-regressions")))
    {
        if (entry.path().extension() != ".fuzz")
            continue;
        ++inputs;
        const std::string text = ReadText(entry.path().string());
        const Bytes bytes(text.begin(), text.end());
        // Every path opens the same bytes, so imports of any name reach this movie again.
        swf::setFileOpener([&bytes](const std::string&) -> std::unique_ptr<swf::FileStream>
                           { return std::make_unique<swf::MemoryStream>(bytes); });
        auto movie = swf::loadMovieDefinition("fuzz.swf");
        ASSERT_TRUE(movie) << entry.path();
        auto inst = started(*movie);
        renderInstance(*inst, 48, 36);
        inst->advance(0.25f);
        inst->gotoFrame(3);
        inst->gotoFrame(1);
        renderInstance(*inst, 48, 36);
        swf::shutdownPlayer();
    }
    EXPECT_GE(inputs, 3);
    swf::setFileOpener(nullptr);
}
