// Movies read from bytes: the dictionary, the frames' control tags, labels, exports and
// imports, the end of the tags, clip events and buttons.
#include "fixtures/MovieFixtures.h"
#include "player/ButtonDefinition.h"
#include "player/ControlTags.h"
#include "player/MemoryStream.h"
#include "player/Player.h"
#include "player/PlayerHooks.h"
#include "player/SpriteDefinition.h"

#include <gtest/gtest.h>

using namespace swftest;
using swf::ControlTag;

namespace
{

const Bytes Square = square(1, {255, 0, 0, 255}, 200);

} // namespace

TEST(MovieLoadingTest, DictionaryPlaylistsLabelsAndExports)
{
    // A shape, a sprite with its own frames (a definition inside it is ignored), labels, an export.
    TagList inner;
    inner.tag(2, Square).tag(26, place(1, 1)).showFrame().showFrame().end();
    auto movie = readMovie(framesOf(
        {{{2, Square}, {39, defineSprite(7, 2, inner)}, {26, place(1, 1)}, {43, frameLabel("intro")}},
         {{26, place(7, 2)}, {12, Bytes{0x06, 0x00}}},
         {{28, removeObject2(1)}, {43, frameLabel("outro")}, {56, exportAssets({{1, "Square"}, {99, "Nothing"}})}}},
        7));
    ASSERT_TRUE(movie->isValid());
    EXPECT_STREQ(movie->characterById(1)->kindName(), "shape");
    auto* sprite = dynamic_cast<swf::SpriteDefinition*>(movie->characterById(7));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(movie->dictionary().size(), 2u);

    using Kind = ControlTag::Kind;
    std::vector<std::vector<Kind>> kinds(4);
    for (int frame = 0; frame < 4; ++frame)
        for (const auto& tag : movie->playlist(frame))
            kinds[frame].push_back(tag->kind());
    EXPECT_EQ(kinds, (std::vector<std::vector<Kind>>{
                         {Kind::PlaceObject}, {Kind::PlaceObject, Kind::DoAction}, {Kind::RemoveObject}, {}}));

    EXPECT_EQ((std::vector<int>{movie->frameByLabel("intro").value_or(-1), movie->frameByLabel("outro").value_or(-1),
                                movie->frameByLabel("Intro").value_or(-1)}),
              (std::vector<int>{0, 2, -1}));
    EXPECT_EQ(movie->exportedResource("Square"), movie->characterById(1));
    EXPECT_EQ(movie->exportedResource("Nothing"), nullptr);

    EXPECT_EQ(
        (std::vector<size_t>{size_t(sprite->frameCount()), sprite->playlist(0).size(), sprite->playlist(1).size()}),
        (std::vector<size_t>{2, 1, 0}));
    EXPECT_EQ(sprite->characterById(1), movie->characterById(1));
}

TEST(MovieLoadingTest, EndTagRules)
{
    // Tags that run exactly to the end with a final End load every frame.
    auto all = readMovie(framesOf({{{2, Square}}, {{26, place(1, 1)}}}));
    EXPECT_EQ(std::make_pair(all->playlist(1).size(), all->loadingFrame()), std::make_pair(size_t(1), 2));

    // An End before the end position stops loading there.
    MovieBuilder early(2);
    early.tag(2, Square).showFrame().end().tag(26, place(1, 1)).showFrame().end();
    auto cut = readMovie(early.fws());
    EXPECT_NE(cut->characterById(1), nullptr);
    EXPECT_EQ(std::make_pair(cut->playlist(1).size(), cut->loadingFrame()), std::make_pair(size_t(0), 1));

    // A file length shorter than the data ends the loop at that length.
    MovieBuilder shortLength(2);
    shortLength.showFrame().tag(2, Square).end();
    shortLength.fileLength(static_cast<uint32_t>(MovieBuilder(2).showFrame().fws().size()));
    auto stopped = readMovie(shortLength.fws());
    EXPECT_EQ(stopped->loadingFrame(), 1);
    EXPECT_EQ(stopped->characterById(1), nullptr);
}

TEST(MovieLoadingTest, BadHeadersAndMissingFiles)
{
    Bytes notMovie = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0};
    auto empty = readMovie(notMovie);
    EXPECT_EQ((std::vector<int>{empty->isValid(), empty->frameCount(), empty->widthPixels()}),
              (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(readMovie(Bytes{'F', 'W'})->frameCount(), 0);

    // Without an opener nothing loads; with one, a missing path is null and a non-movie empty.
    swf::setFileOpener(nullptr);
    EXPECT_FALSE(swf::loadMovieDefinition("a.swf"));
    MemoryFiles files;
    files.add("junk.swf", notMovie);
    EXPECT_FALSE(swf::loadMovieDefinition("missing.swf"));
    auto junk = swf::loadMovieDefinition("junk.swf");
    ASSERT_TRUE(junk);
    EXPECT_EQ((std::vector<int>{junk->frameCount(), junk->refCount()}), (std::vector<int>{0, 1}));

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

TEST(MovieLoadingTest, ImportsThroughTheLibraryCacheAndCyclesAreRefused)
{
    MemoryFiles files;
    files.add("lib.swf", framesOf({{{2, Square}, {56, exportAssets({{1, "Box"}})}}}));
    const Bytes user = framesOf({{{57, importAssets("lib.swf", {{20, "Box"}, {21, "Missing"}})}, {26, place(20, 1)}}});
    files.add("a.swf", user);
    files.add("b.swf", user);
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

    // x and y import each other, self.swf itself.
    for (const char* name : {"x", "y"})
    {
        const std::string other = name[0] == 'x' ? "y" : "x";
        files.add(std::string(name) + ".swf", framesOf({{{2, Square},
                                                         {56, exportAssets({{1, name}})},
                                                         {57, importAssets(other + ".swf", {{2, other}})}}}));
    }
    files.add("self.swf", framesOf({{{57, importAssets("self.swf", {{3, "Z"}})}}}));
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
    // Load and enter frame share one record; flags are 16 bits wide before version 6.
    const std::vector<std::pair<uint32_t, ActionBuilder>> handlers = {
        {(1u << 0) | (1u << 1), ActionBuilder().op(0x07).op(0x00)}, {1u << 10, ActionBuilder().op(0x00)}};
    for (int version : {5, 6})
    {
        auto movie = readMovie(
            framesOf({{{39, emptySprite(5, 1)}, {26, placeWithEvents(5, 3, "c", handlers, version >= 6)}}}, version));
        ASSERT_EQ(movie->playlist(0).size(), 1u) << version;
        auto* tag = static_cast<swf::PlaceObjectTag*>(movie->playlist(0)[0].get());
        ASSERT_EQ(tag->eventHandlers.size(), 3u) << version;
        const auto& events = tag->eventHandlers;
        EXPECT_EQ((std::vector<int>{events[0].first, events[1].first, events[2].first, tag->depth}),
                  (std::vector<int>{swf::EventLoad, swf::EventEnterFrame, swf::EventPress, 3}));
        EXPECT_EQ(events[0].second, events[1].second);
        EXPECT_EQ(events[0].second->bytes(), (Bytes{0x07, 0x00}));
        EXPECT_EQ(tag->name, "c");
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
    auto movie = readMovie(framesOf({{{34, buttonTag}, {17, sound}}}));
    auto* button = dynamic_cast<swf::ButtonDefinition*>(movie->characterById(9));
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->records().size(), 1u);
    ASSERT_EQ(button->actions().size(), 2u);
    const auto& r = button->records()[0];
    const int* sounds = button->soundIds();
    EXPECT_EQ(
        (std::vector<float>{float(r.depth), float(r.states), r.cxform.rMul, float(button->actions()[0].conditions),
                            float(sounds[0]), float(sounds[1]), float(sounds[2])}),
        (std::vector<float>{4, 0x09, 0.5f, 8, 0, 33, 0}));
    EXPECT_EQ(button->actions()[0].record->bytes(), (Bytes{0x06, 0x00, 0x00}));
    EXPECT_EQ(button->actions()[1].record->bytes(), (Bytes{0x07, 0x00}));
}
