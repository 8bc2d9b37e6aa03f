// The timeline: frames advanced by time, go-tos, placement rules, nested sprites and buttons.
#include "fixtures/MovieFixtures.h"
#include "player/ActionRecord.h"
#include "player/ButtonInstance.h"
#include "player/PlayerHooks.h"
#include "player/SpriteInstance.h"
#include "player/TagLoaders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using namespace swftest;
using swf::DisplayObject;
using swf::SpriteInstance;

namespace
{

// Records which action records ran (by their first byte) while the test holds it.
class ActionLog
{
  public:
    ActionLog()
    {
        swf::ensurePlayerInitialised();
        saved = swf::actionHooks();
        swf::ActionHooks hooks;
        hooks.runActions = [](SpriteInstance&, const swf::ActionRecord& r)
        { ran.push_back(r.bytes().empty() ? -1 : r.bytes()[0]); };
        swf::setActionHooks(hooks);
        ran.clear();
    }
    ~ActionLog() { swf::setActionHooks(saved); }
    static inline std::vector<int> ran;
    // Returns what ran since the last call.
    static std::vector<int> take() { return std::exchange(ran, {}); }

  private:
    swf::ActionHooks saved;
};

Bytes shape(int id, int size = 200)
{
    return square(id, {255, 0, 0, 255}, size);
}

Bytes moveTo(int depth, int tx)
{
    return placeWith(std::nullopt, depth, MatrixSpec{{}, {}, tx, 0});
}

// Shape 1 at depth 1 in frame 0, moved each frame; shape 2 appears at depth 2 in frame 2 and is
// removed in frame 4. Each frame carries an action whose first byte is the frame number.
class TimelineTest : public ::testing::Test
{
  protected:
    TimelineTest()
    {
        std::vector<Tags> frames(6);
        frames[0] = {{2, shape(1)}, {2, shape(2)}};
        frames[2] = {{26, place(2, 2)}};
        frames[4] = {{28, removeObject2(2)}};
        for (int f = 0; f < 6; ++f)
        {
            frames[f].emplace_back(26, f == 0 ? place(1, 1) : moveTo(1, f * 100));
            frames[f].emplace_back(12, Bytes{uint8_t(f)});
        }
        movie = readMovie(framesOf(frames));
        inst = movie->createInstance();
    }

    float xAt(int depth) { return root().displayList().objectAt(depth)->matrix().m02; }
    SpriteInstance& root() { return inst->rootSprite(); }

    ActionLog log;
    swf::Ref<swf::MovieDefinition> movie;
    swf::Ref<swf::MovieInstance> inst;
};

} // namespace

TEST_F(TimelineTest, AdvancesRunFramesByTime)
{
    inst->advance(0.0001f);
    EXPECT_EQ(inst->currentFrame(), 0);
    ASSERT_EQ(root().displayList().size(), 1u);
    DisplayObject* first = root().displayList().objectAt(1);
    EXPECT_EQ(first->characterId(), 1);
    // Load step and the first advance each ran frame 0's action, as moves.
    EXPECT_EQ(ActionLog::take(), (std::vector<int>{0, 0}));
    inst->advance(0.0001f);
    EXPECT_EQ(root().displayList().objectAt(1), first);
    EXPECT_EQ(inst->currentFrame(), 0); // not a whole frame time yet

    inst->advance(0.25f); // three frames at 12 per second
    EXPECT_EQ(ActionLog::take(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(std::make_pair(inst->currentFrame(), xAt(1)), std::make_pair(3, 300.0f));
    EXPECT_NE(root().displayList().objectAt(2), nullptr);

    // Frame 4 removes depth 2 at the sweep of the same advance.
    inst->advance(1.0f / 12);
    EXPECT_EQ(inst->currentFrame(), 4);
    EXPECT_EQ(root().displayList().objectAt(2), nullptr);

    // The loop back to frame 0 clears what frame 0 does not place again.
    inst->advance(2.0f / 12);
    EXPECT_EQ((std::vector<float>{float(inst->currentFrame()), float(inst->hasLooped()),
                                  float(root().displayList().size()), xAt(1)}),
              (std::vector<float>{0, 1, 1, 0}));

    // A go-to backwards from frame 5 leaves what frame 0 places and only queues its action.
    inst->advance(5.02f / 12);
    ASSERT_EQ(inst->currentFrame(), 5);
    ActionLog::take();
    inst->gotoFrame(0);
    EXPECT_EQ((std::vector<float>{float(inst->currentFrame()), float(root().displayList().size()), xAt(1),
                                  float(ActionLog::ran.size())}),
              (std::vector<float>{0, 1, 0, 0}));
    ASSERT_EQ(root().pendingActions().size(), 1u);
    root().doActions();
    EXPECT_EQ(ActionLog::take(), (std::vector<int>{0}));
}

TEST_F(TimelineTest, GotoForwardFromAFreshInstanceAndStopping)
{
    inst->gotoFrame(3);
    EXPECT_EQ(root().playState(), swf::PlayState::Stop);
    EXPECT_EQ(std::make_pair(inst->currentFrame(), xAt(1)), std::make_pair(3, 300.0f));
    EXPECT_NE(root().displayList().objectAt(2), nullptr);
    // Frames passed on the way run no actions; only frame 3's is queued.
    ASSERT_EQ(root().pendingActions().size(), 1u);
    EXPECT_EQ(root().pendingActions()[0]->bytes()[0], 3);

    // A playing movie sent to frame 3 is stopped: the counter keeps counting but nothing of
    // the timeline executes.
    auto playing = movie->createInstance();
    playing->advance(0.0001f);
    playing->gotoFrame(3);
    playing->rootSprite().doActions();
    ActionLog::take();
    playing->advance(2.0f / 12);
    const swf::DisplayList& shown = playing->rootSprite().displayList();
    EXPECT_EQ((std::vector<float>{float(playing->currentFrame()), float(shown.size()), shown.objectAt(1)->matrix().m02,
                                  float(ActionLog::ran.size())}),
              (std::vector<float>{5, 2, 300, 0}));
}

TEST(TimelineRulesTest, PlacementRules)
{
    const CxformSpec half{std::vector<double>{0.5, 0.5, 0.5, 0.5}, {}};
    // The move flag with a character at an empty depth places it. Then a replace without matrix
    // or colour takes both from the old object, and the same character under another name is a
    // new object, not a move.
    auto movie = readMovie(framesOf({{{2, shape(1)},
                                      {2, shape(2)},
                                      {26, place(2, 3, 0, 0, "", true)},
                                      {26, Place2{5, 1, false, {}, half, {}, "a", {}}.payload()}},
                                     {{26, Place2{5, 2, true, {}, {}, {}, {}, {}}.payload()},
                                      {26, Place2{3, 1, false, {}, {}, {}, "b", {}}.payload()}},
                                     {}}));
    auto inst = started(*movie);
    SpriteInstance& root = inst->rootSprite();
    // Each depth's object as "character name red-multiplier".
    auto at = [&root](int depth)
    {
        DisplayObject* o = root.displayList().objectAt(depth);
        return o ? std::to_string(o->characterId()) + " " + o->name() + " " + std::to_string(o->colorTransform().rMul)
                 : "none";
    };
    EXPECT_EQ(at(3) + ", " + at(5), "2  1.000000, 1 a 0.500000");
    inst->gotoFrame(1);
    EXPECT_EQ(at(3) + ", " + at(5), "1 b 1.000000, 2  0.500000");
    // Entries stay in depth order.
    const auto& entries = root.displayList().entries();
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LT(entries[i - 1].object->depth(), entries[i].object->depth());
}

TEST(TimelineRulesTest, NestedSpritesOneFrameSpritesAndVisibility)
{
    ActionLog log;
    TagList twoFrames;
    twoFrames.tag(26, place(1, 1)).tag(26, place(12, 2, 0, 0, "inner")).tag(12, Bytes{20}).showFrame();
    twoFrames.tag(26, moveTo(1, 500)).tag(12, Bytes{21}).showFrame().end();
    TagList oneFrame;
    oneFrame.tag(26, place(1, 1)).tag(12, Bytes{30}).showFrame().end();
    auto movie = readMovie(framesOf({{{2, shape(1)},
                                      {39, emptySprite(12, 5)},
                                      {39, defineSprite(10, 2, twoFrames)},
                                      {39, defineSprite(11, 1, oneFrame)},
                                      {26, place(10, 1, 0, 0, "two")},
                                      {26, place(11, 2, 0, 0, "one")}}},
                                    8, 4));
    auto inst = movie->createInstance();
    inst->advance(0.0001f);
    SpriteInstance& root = inst->rootSprite();
    SpriteInstance* two = root.displayList().findByName("two")->asSprite();
    SpriteInstance* one = root.displayList().findByName("one")->asSprite();
    ASSERT_TRUE(two && one);
    EXPECT_EQ(std::make_pair(two->nestingLevel(), two->movieInstance()), std::make_pair(1, inst.get()));
    DisplayObject* oneChild = one->displayList().objectAt(1);
    ASSERT_NE(oneChild, nullptr);
    // Three frames of the root are three of each nested sprite, not three for each frame of
    // its parent: "inner" (five frames, inside "two") is at frame 3, not 27 frames on.
    inst->advance(0.25f);
    SpriteInstance* inner = two->displayList().findByName("inner")->asSprite();
    EXPECT_EQ((std::vector<int>{inst->currentFrame(), two->currentFrame(), inner->currentFrame()}),
              (std::vector<int>{3, 1, 3}));

    // The one-frame sprite ran its frame 0 once, at its placement, and never sweeps.
    for (int i = 0; i < 6; ++i)
        inst->advance(1.0f / 12);
    const std::vector<int> ran = ActionLog::take();
    EXPECT_EQ(std::count(ran.begin(), ran.end(), 30), 1);
    EXPECT_EQ(one->displayList().objectAt(1), oneChild);
    EXPECT_GE(std::count(ran.begin(), ran.end(), 21), 2); // the two-frame sprite keeps cycling

    // An invisible sprite does not advance.
    two->setVisible(false);
    int frame = two->currentFrame();
    inst->advance(1.0f / 12);
    inst->advance(1.0f / 12);
    EXPECT_EQ(two->currentFrame(), frame);

    // restart puts the counters back without executing anything.
    inst->rootSprite().restart();
    EXPECT_EQ(inst->currentFrame(), 0);
    EXPECT_FALSE(inst->hasLooped());
}

TEST(TimelineRulesTest, ButtonsShowTheirUpState)
{
    // DefineButton 5: shape 1 at depth 1 for the up state, shape 2 at depth 2 for over, down and
    // hit test (identity matrices), then the actions: Stop.
    const Bytes buttonTag{5, 0, 0x01, 1, 0, 1, 0, 0, 0x0E, 2, 0, 2, 0, 0, 0, 0x07, 0};
    auto movie = readMovie(framesOf({{{2, shape(1, 100)}, {2, shape(2, 300)}, {7, buttonTag}, {26, place(5, 1)}}}));
    auto inst = started(*movie);
    auto* button = dynamic_cast<swf::ButtonInstance*>(inst->rootSprite().displayList().objectAt(1));
    ASSERT_NE(button, nullptr);
    auto shown = button->shownChildren();
    ASSERT_EQ(shown.size(), 1u);
    // The hit area is the hit-test record. Drawn is the up shape (100 twips = 1 px here), not the
    // larger over/down shape.
    Picture pic = renderInstance(*inst, 20, 20);
    EXPECT_EQ((std::vector<int>{shown[0]->characterId(), button->pointTest(250, 250), button->pointTest(350, 10),
                                pic.alpha(0, 0), pic.alpha(10, 10)}),
              (std::vector<int>{1, true, false, 255, 0}));
}
