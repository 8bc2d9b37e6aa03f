#include "fixtures/MovieFixtures.h"
#include "player/ButtonDefinition.h"
#include "player/ControlTags.h"
#include "player/MemoryStream.h"
#include "player/MovieDefinition.h"
#include "player/Player.h"
#include "player/PlayerHooks.h"
#include "player/ShapeDefinition.h"
#include "player/SpriteDefinition.h"

#include <gtest/gtest.h>

using namespace swftest;
using swf::ControlTag;

namespace
{

Bytes squareShape()
{
    return square(1, {255, 0, 0, 255}, 200);
}

Bytes placeAt(int id, int depth)
{
    return placeWith(id, depth, std::nullopt);
}

// A three-frame movie: a shape, a sprite with its own frames, labels and an export.
MovieBuilder sampleMovie()
{
    MovieBuilder m(3, 11000, 8000, 12.0, 7);
    m.tag(2, squareShape());
    TagList inner;
    inner.tag(2, squareShape()); // a definition inside a sprite is ignored
    inner.tag(26, placeAt(1, 1)).showFrame().showFrame().end();
    m.tag(39, defineSprite(7, 2, inner));
    m.tag(26, placeAt(1, 1)).tag(43, frameLabel("intro")).showFrame();
    m.tag(26, placeAt(7, 2)).tag(12, Bytes{0x06, 0x00}).showFrame();
    m.tag(28, removeObject2(1)).tag(43, frameLabel("outro")).tag(56, exportAssets({{1, "Square"}, {99, "Nothing"}}));
    m.showFrame().end();
    return m;
}

} // namespace

TEST(MovieLoadingTest, DictionaryPlaylistsLabelsAndExports)
{
    auto movie = readMovie(sampleMovie().fws());
    ASSERT_TRUE(movie->isValid());
    EXPECT_STREQ(movie->characterById(1)->kindName(), "shape");
    auto* sprite = dynamic_cast<swf::SpriteDefinition*>(movie->characterById(7));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(movie->dictionary().size(), 2u);

    ASSERT_EQ(movie->playlist(0).size(), 1u);
    EXPECT_EQ(movie->playlist(0)[0]->kind(), ControlTag::Kind::PlaceObject);
    ASSERT_EQ(movie->playlist(1).size(), 2u);
    EXPECT_EQ(movie->playlist(1)[1]->kind(), ControlTag::Kind::DoAction);
    ASSERT_EQ(movie->playlist(2).size(), 1u);
    EXPECT_EQ(movie->playlist(2)[0]->kind(), ControlTag::Kind::RemoveObject);
    EXPECT_TRUE(movie->playlist(3).empty());

    EXPECT_EQ(movie->frameByLabel("intro").value_or(-1), 0);
    EXPECT_EQ(movie->frameByLabel("outro").value_or(-1), 2);
    EXPECT_FALSE(movie->frameByLabel("Intro").has_value());

    EXPECT_EQ(movie->exportedResource("Square"), movie->characterById(1));
    EXPECT_EQ(movie->exportedResource("Nothing"), nullptr);

    // The sprite kept its own frames; the shape inside it went nowhere.
    EXPECT_EQ(sprite->frameCount(), 2);
    ASSERT_EQ(sprite->playlist(0).size(), 1u);
    EXPECT_TRUE(sprite->playlist(1).empty());
    EXPECT_EQ(sprite->characterById(1), movie->characterById(1));
}

TEST(MovieLoadingTest, EndTagRules)
{
    // Tags that run exactly to the end with a final End load every frame.
    MovieBuilder full(2);
    full.tag(2, squareShape()).showFrame().tag(26, placeAt(1, 1)).showFrame().end();
    auto all = readMovie(full.fws());
    EXPECT_EQ(all->playlist(1).size(), 1u);
    EXPECT_EQ(all->loadingFrame(), 2);

    // An End before the end position stops loading there.
    MovieBuilder early(2);
    early.tag(2, squareShape()).showFrame().end().tag(26, placeAt(1, 1)).showFrame().end();
    auto cut = readMovie(early.fws());
    EXPECT_NE(cut->characterById(1), nullptr);
    EXPECT_TRUE(cut->playlist(1).empty());
    EXPECT_EQ(cut->loadingFrame(), 1);

    // A file length shorter than the data ends the loop at that length.
    MovieBuilder oneShowFrame(2);
    oneShowFrame.showFrame();
    MovieBuilder shortLength(2);
    shortLength.showFrame().tag(2, squareShape()).end();
    shortLength.fileLength(static_cast<uint32_t>(oneShowFrame.fws().size()));
    auto stopped = readMovie(shortLength.fws());
    EXPECT_EQ(stopped->loadingFrame(), 1);
    EXPECT_EQ(stopped->characterById(1), nullptr);
}

TEST(MovieLoadingTest, BadHeadersAndMissingFiles)
{
    Bytes notMovie = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0};
    auto empty = readMovie(notMovie);
    EXPECT_FALSE(empty->isValid());
    EXPECT_EQ(empty->frameCount(), 0);
    EXPECT_EQ(empty->widthPixels(), 0);

    auto tiny = readMovie(Bytes{'F', 'W'});
    EXPECT_EQ(tiny->frameCount(), 0);

    // Without an opener nothing loads; with one, a missing path is null and a non-movie empty.
    swf::setFileOpener(nullptr);
    EXPECT_FALSE(swf::loadMovieDefinition("a.swf"));
    MemoryFiles files;
    files.add("junk.swf", notMovie);
    EXPECT_FALSE(swf::loadMovieDefinition("missing.swf"));
    auto junk = swf::loadMovieDefinition("junk.swf");
    ASSERT_TRUE(junk);
    EXPECT_EQ(junk->frameCount(), 0);
    EXPECT_EQ(junk->refCount(), 1);

    // A stream whose error is set counts as not opened.
    swf::setFileOpener(
        [](const std::string&)
        {
            auto s = std::make_unique<swf::MemoryStream>(Bytes{'F', 'W', 'S'});
            s->error = 3;
            return std::unique_ptr<swf::FileStream>(std::move(s));
        });
    EXPECT_FALSE(swf::loadMovieDefinition("x.swf"));
    swf::setFileOpener(nullptr);
}

TEST(MovieLoadingTest, ImportsThroughTheLibraryCache)
{
    MemoryFiles files;
    MovieBuilder lib(1);
    lib.tag(2, squareShape()).tag(56, exportAssets({{1, "Box"}})).showFrame().end();
    files.add("lib.swf", lib.fws());

    MovieBuilder user(1);
    user.tag(57, importAssets("lib.swf", {{20, "Box"}, {21, "Missing"}}));
    user.tag(26, placeAt(20, 1)).showFrame().end();
    files.add("a.swf", user.fws());
    files.add("b.swf", user.fws());

    auto a = swf::loadMovieDefinition("a.swf");
    auto b = swf::loadMovieDefinition("b.swf");
    ASSERT_TRUE(a && b);
    ASSERT_NE(a->characterById(20), nullptr);
    EXPECT_EQ(a->characterById(20), b->characterById(20)); // the same library definition
    EXPECT_EQ(a->characterById(21), nullptr);
    EXPECT_EQ(files.opens("lib.swf"), 1);
    EXPECT_GT(renderFrame(*a, 0, 20, 20).countNonTransparent(), 0);

    // The importer keeps its source alive after the cache is dropped.
    swf::CharacterDefinition* imported = a->characterById(20);
    swf::shutdownPlayer();
    EXPECT_EQ(a->characterById(20), imported);
    EXPECT_STREQ(imported->kindName(), "shape");

    // After shutdown the cache is empty: the library is read again.
    auto c = swf::loadMovieDefinition("b.swf");
    EXPECT_EQ(files.opens("lib.swf"), 2);
    swf::shutdownPlayer();
}

TEST(MovieLoadingTest, ImportCyclesAreRefused)
{
    MemoryFiles files;
    MovieBuilder x(1);
    x.tag(2, squareShape()).tag(56, exportAssets({{1, "X"}})).tag(57, importAssets("y.swf", {{2, "Y"}}));
    x.showFrame().end();
    MovieBuilder y(1);
    y.tag(2, squareShape()).tag(56, exportAssets({{1, "Y"}})).tag(57, importAssets("x.swf", {{2, "X"}}));
    y.showFrame().end();
    MovieBuilder self(1);
    self.tag(57, importAssets("self.swf", {{3, "Z"}})).showFrame().end();
    files.add("x.swf", x.fws());
    files.add("y.swf", y.fws());
    files.add("self.swf", self.fws());

    auto mx = swf::loadLibraryMovie("x.swf");
    ASSERT_TRUE(mx);
    EXPECT_NE(mx->characterById(2), nullptr); // y loaded; y's import of x was refused
    auto ms = swf::loadMovieDefinition("self.swf");
    ASSERT_TRUE(ms);
    EXPECT_EQ(ms->characterById(3), nullptr);
    swf::shutdownPlayer();
}

TEST(MovieLoadingTest, ClipEventHandlersPerMovieVersion)
{
    auto placeWithClipActions = [](bool wide)
    {
        BitWriter w;
        w.WriteBits(1, 1); // clip actions
        w.WriteBits(0, 6);
        w.WriteBits(0, 1); // not a move
        w.WriteU16(3);     // depth
        auto flags = [&](uint32_t v)
        {
            if (wide)
                w.WriteU32(v);
            else
                w.WriteU16(static_cast<uint16_t>(v));
        };
        w.WriteU16(0);                // reserved
        flags((1u << 0) | (1u << 1)); // all events
        flags((1u << 0) | (1u << 1)); // load and enter frame share one record
        w.WriteU32(2);
        w.WriteU8(0x07);
        w.WriteU8(0x00);
        flags(1u << 10); // press
        w.WriteU32(1);
        w.WriteU8(0x00);
        flags(0);
        return w.Bytes();
    };
    for (int version : {5, 6})
    {
        MovieBuilder m(1, 2000, 2000, 12.0, version);
        m.tag(26, placeWithClipActions(version >= 6)).showFrame().end();
        auto movie = readMovie(m.fws());
        ASSERT_EQ(movie->playlist(0).size(), 1u) << version;
        auto* tag = static_cast<swf::PlaceObjectTag*>(movie->playlist(0)[0].get());
        ASSERT_EQ(tag->eventHandlers.size(), 3u) << version;
        EXPECT_EQ(tag->eventHandlers[0].first, swf::EventLoad);
        EXPECT_EQ(tag->eventHandlers[1].first, swf::EventEnterFrame);
        EXPECT_EQ(tag->eventHandlers[0].second, tag->eventHandlers[1].second);
        EXPECT_EQ(tag->eventHandlers[0].second->bytes(), (Bytes{0x07, 0x00}));
        EXPECT_EQ(tag->eventHandlers[2].first, swf::EventPress);
        EXPECT_EQ(tag->depth, 3);
        EXPECT_EQ(tag->placement, swf::PlaceObjectTag::Placement::Move);
    }
}

TEST(MovieLoadingTest, ButtonRecordsActionsAndSounds)
{
    // One record (up and hit test states, character 1 at depth 4, identity matrix, colour
    // transform halving red, green and blue), then two condition actions, the first with the
    // offset to the next.
    const Bytes buttonTag{9, 0, 0, 15, 0, 0x09, 1, 0, 4, 0, 0, 0x68, 0x80, 0x20, 8, 4,
                          0, 0, 7, 0,  8, 0,    6, 0, 0, 0, 0, 1,    0,    7,    0};
    // No sound for the first state change, sound 33 with an envelope of one point for the second.
    const Bytes sound{9, 0, 0, 0, 33, 0, 0x08, 1, 0, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0};
    MovieBuilder m(1, 2000, 2000);
    m.tag(34, buttonTag).tag(17, sound).showFrame().end();
    auto movie = readMovie(m.fws());
    auto* button = dynamic_cast<swf::ButtonDefinition*>(movie->characterById(9));
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->records().size(), 1u);
    EXPECT_EQ(button->records()[0].depth, 4);
    EXPECT_EQ(button->records()[0].states, 0x09);
    EXPECT_FLOAT_EQ(button->records()[0].cxform.rMul, 0.5f);
    ASSERT_EQ(button->actions().size(), 2u);
    EXPECT_EQ(button->actions()[0].conditions, 8);
    EXPECT_EQ(button->actions()[0].record->bytes(), (Bytes{0x06, 0x00, 0x00}));
    EXPECT_EQ(button->actions()[1].record->bytes(), (Bytes{0x07, 0x00}));
    EXPECT_EQ(button->soundIds()[0], 0);
    EXPECT_EQ(button->soundIds()[1], 33);
    EXPECT_EQ(button->soundIds()[2], 0);
}
