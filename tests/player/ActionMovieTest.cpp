// Scripts inside real movies: frame actions, clip events, event methods, text fields, drags
// and FSCommand, through the loader, the timeline and the renderer.
#include "FakeSprite.h"
#include "fixtures/MovieFixtures.h"

#include "player/ActionSpriteObject.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/Player.h"
#include "player/ScriptGlobals.h"
#include "player/SpriteInstance.h"
#include "player/TextField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace swf;
using namespace swftest;
using swf::test::ActionBuilder;

namespace
{

constexpr int DefineShapeTag = 2;
constexpr int PlaceObject2Tag = 26;
constexpr int DoActionCode = 12;
constexpr int DefineSpriteTag = 39;
constexpr uint32_t LoadEvent = 1u << 0;
constexpr uint32_t EnterFrameEvent = 1u << 1;
constexpr Colour Red{255, 0, 0, 255};

// PlaceObject2 with a name and clip event handlers (movie version 6 and later: 32-bit flags).
Bytes placeWithEvents(int id, int depth, const std::string& name,
                      const std::vector<std::pair<uint32_t, ActionBuilder>>& handlers)
{
    BitWriter w;
    w.WriteU8(0x80 | 0x20 | 0x02); // clip actions, name, character
    w.WriteU16(uint16_t(depth));
    w.WriteU16(uint16_t(id));
    w.WriteString(name);
    w.WriteU16(0);
    uint32_t all = 0;
    for (const auto& handler : handlers)
        all |= handler.first;
    w.WriteU32(all);
    for (const auto& [event, code] : handlers)
    {
        w.WriteU32(event);
        w.WriteU32(uint32_t(code.bytes.size()));
        w.WriteBytes(code.bytes);
    }
    w.WriteU32(0);
    return w.Bytes();
}

void runOn(SpriteInstance& sprite, const ActionBuilder& code)
{
    executeActions(*record(code), spriteScript(sprite).environment());
}

ScriptValue member(SpriteInstance& sprite, const std::string& name)
{
    ScriptValue value;
    spriteScript(sprite).object().getMember(name, value);
    return value;
}

class ActionMovieTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        setCommandHandler(nullptr);
        releaseScriptGlobals();
    }

    Ref<MovieInstance> start(const MovieBuilder& builder)
    {
        movie = readMovie(builder.fws());
        return started(*movie);
    }

    // A movie of `frames` frames holding sprite 5 (one frame showing a red square) placed as
    // "box", with `code` on the first frame.
    Ref<MovieInstance> startWithBox(const ActionBuilder& code, int frames = 1, double fps = 10.0)
    {
        MovieBuilder mb(frames, 4000, 4000, fps);
        mb.tag(DefineShapeTag, square(1, Red));
        mb.tag(DefineSpriteTag, defineSprite(5, 1, TagList().tag(PlaceObject2Tag, place(1, 1)).showFrame().end()));
        mb.tag(PlaceObject2Tag, place(5, 1, 0, 0, "box")).tag(DoActionCode, code.bytes);
        for (int i = 0; i < frames; ++i)
            mb.showFrame();
        return start(mb.end());
    }

    Ref<MovieDefinition> movie;
};

} // namespace

TEST_F(ActionMovieTest, FrameActionsChooseTheFrameThatIsShown)
{
    // Frame 0 shows red, frame 1 ("green") green, frame 2 blue; frame 0's action picks the frame
    // the engine's frame-0 render shows: by label, or by a numeric GotoFrame2 with play clear.
    const std::pair<ActionBuilder, uint32_t> cases[] = {{ActionBuilder().gotoLabel("green"), 0xFF00FF00u},
                                                        {ActionBuilder().pushInt(2).action(0x9F, {0}), 0xFF0000FFu}};
    for (const auto& [code, shown] : cases)
    {
        MovieBuilder mb(3, 2000, 2000);
        mb.tag(DefineShapeTag, square(1, Red)).tag(DefineShapeTag, square(2, {0, 255, 0, 255}));
        mb.tag(DefineShapeTag, square(3, {0, 0, 255, 255}));
        mb.tag(PlaceObject2Tag, place(1, 1)).tag(DoActionCode, code.bytes).showFrame();
        mb.tag(43, frameLabel("green")).tag(PlaceObject2Tag, place(2, 1, 0, 0, "", true)).showFrame();
        mb.tag(PlaceObject2Tag, place(3, 1, 0, 0, "", true)).showFrame().end();
        EXPECT_EQ(shown, renderFrame(*readMovie(mb.fws()), 0, 100, 100).at(50, 50));
    }
}

TEST_F(ActionMovieTest, LoadAndEnterFrameEvents)
{
    // Load events at the first advance and at placement, on the sprite itself as target.
    ActionBuilder frame0;
    frame0.pushString("onLoad").defineFunction("", {}, ActionBuilder().increment("/:rootLoads")).op(0x1D);
    frame0.pushString("onEnterFrame").defineFunction("", {}, ActionBuilder().increment("/:rootFrames")).op(0x1D);
    ActionBuilder spriteLoad = ActionBuilder().increment("/:spriteLoads").setNumber("mine", 1);
    MovieBuilder mb(1, 2000, 2000, 10.0);
    mb.tag(DefineSpriteTag, emptySprite(5, 3));
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 1, "box", {{LoadEvent, spriteLoad}}));
    // Enter-frame once per played frame; a stopped sprite plays no frames and gets no more.
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 2, "ticker", {{EnterFrameEvent, ActionBuilder().increment("/:ticks")}}));
    mb.tag(PlaceObject2Tag,
           placeWithEvents(5, 3, "stopper", {{EnterFrameEvent, ActionBuilder().increment("/:stops").op(0x07)}}));
    Ref<MovieInstance> instance = start(mb.tag(DoActionCode, frame0.bytes).showFrame().end());
    for (int i = 0; i < 4; ++i)
        instance->advance(0.1f); // one frame each at 10 frames per second
    SpriteInstance& root = instance->rootSprite();
    EXPECT_DOUBLE_EQ(1.0, member(root, "rootLoads").toNumber());
    EXPECT_DOUBLE_EQ(1.0, member(root, "spriteLoads").toNumber());
    EXPECT_DOUBLE_EQ(1.0, member(*root.displayList().findByName("box")->asSprite(), "mine").toNumber());
    EXPECT_TRUE(member(root, "mine").isUndefined());
    EXPECT_DOUBLE_EQ(5.0, member(root, "ticks").toNumber());
    EXPECT_DOUBLE_EQ(5.0, member(root, "rootFrames").toNumber());
    EXPECT_DOUBLE_EQ(1.0, member(root, "stops").toNumber());
}

TEST_F(ActionMovieTest, RunawayScriptsInAMovieStillRender)
{
    // Frame 1 goes back to 0 and forward to 1 again, which queues its action anew: once a step.
    MovieBuilder loop(2, 2000, 2000, 10.0);
    loop.showFrame().tag(DoActionCode, ActionBuilder().increment("count").gotoFrame(0).gotoFrame(1).bytes);
    Ref<MovieInstance> instance = start(loop.showFrame().end());
    for (int i = 0; i < 5; ++i)
        instance->advance(0.1f);
    const double count = member(instance->rootSprite(), "count").toNumber();
    EXPECT_TRUE(count >= 1 && count <= 12) << count; // at most the two do-actions steps of each advance

    // A self-jump, a runaway recursive function and a sprite that clones itself on load.
    ActionBuilder frame0;
    frame0.defineFunction("r", {}, ActionBuilder().callFunction("r", 0)).callFunction("r", 0);
    frame0.setNumber("reached", 1).jump(-5);
    ActionBuilder cloneSelf = ActionBuilder().increment("/:n");
    cloneSelf.pushString("").pushString("c").getVariable("/:n").op(0x47).getVariable("/:n").pushInt(100).op(0x47);
    MovieBuilder mb(1, 2000, 2000);
    mb.tag(DefineShapeTag, square(1, Red)).tag(DefineSpriteTag, emptySprite(5, 1)).tag(PlaceObject2Tag, place(1, 1));
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 2, "seed", {{LoadEvent, cloneSelf.op(0x24)}}));
    instance = start(mb.tag(DoActionCode, frame0.bytes).showFrame().end());
    EXPECT_DOUBLE_EQ(1.0, member(instance->rootSprite(), "reached").toNumber());
    const double clones = member(instance->rootSprite(), "n").toNumber();
    EXPECT_TRUE(clones > 10 && clones <= MaxNesting) << clones;
    EXPECT_EQ(0xFFFF0000u, renderInstance(*instance, 100, 100).at(50, 50));
}

TEST_F(ActionMovieTest, SpritePropertiesInPixelsPercentAndDegrees)
{
    ActionBuilder code;
    code.setNumber("box._x", 30).setNumber("box._y", 40).setNumber("box._xscale", 200);
    const std::tuple<const char*, const char*, const char*> seen[] = {{"box._target", "boxTarget", "/box"},
                                                                      {"_target", "rootTarget", "/_root"},
                                                                      {"_url", "url", "velkarswf"},
                                                                      {"box._width", "width", "200"},
                                                                      {"_currentframe", "frame", "1"}};
    for (const auto& [name, stored, shown] : seen)
        code.getVariable(name).setVariableFromStack(stored);
    code.getVariable("box._parent").getVariable("_level0").op(0x66).setVariableFromStack("parentIsRoot");
    Ref<MovieInstance> instance = startWithBox(code, 2);
    SpriteInstance& root = instance->rootSprite();
    DisplayObject* box = root.displayList().findByName("box");
    ASSERT_NE(nullptr, box);
    EXPECT_FLOAT_EQ(600.0f, box->matrix().m02);
    EXPECT_FLOAT_EQ(800.0f, box->matrix().m12);
    EXPECT_FLOAT_EQ(2.0f, box->matrix().m00);
    for (const auto& [name, stored, shown] : seen)
        EXPECT_EQ(shown, member(root, stored).toString()) << name;
    EXPECT_EQ("1", member(root, "parentIsRoot").toString());
    // The red square moved by (30, 40) pixels and doubled in width.
    Picture pic = renderInstance(*instance, 200, 200);
    EXPECT_EQ(0xFFFF0000u, pic.at(100, 60));
    EXPECT_EQ(0xFFFF0000u, pic.at(199, 139));
    EXPECT_EQ(0u, pic.at(10, 10));
}

TEST_F(ActionMovieTest, CloneRemoveDragAndWriteProperties)
{
    ActionBuilder code;
    code.pushString("box").pushString("copy").pushInt(7).op(0x24).setNumber("copy._x", 50);
    Ref<MovieInstance> instance = startWithBox(code); // one frame: the placement never runs again
    SpriteInstance& root = instance->rootSprite();
    DisplayObject* copy = root.displayList().findByName("copy");
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(7, copy->depth());
    EXPECT_EQ(5, copy->characterId());
    EXPECT_FLOAT_EQ(1000.0f, copy->matrix().m02);
    runOn(root, ActionBuilder().pushString("copy").op(0x25));
    instance->advance(0.1f);
    EXPECT_EQ(nullptr, root.displayList().findByName("copy"));
    DisplayObject* box = root.displayList().findByName("box");
    ASSERT_NE(nullptr, box);

    // startDrag("box", true): locked to the mouse centre; then constrained to 0..100 x 0..50
    // pixels; EndDrag leaves the sprite where it is.
    runOn(root, ActionBuilder().pushBool(false).pushBool(true).pushString("box").op(0x27));
    instance->setMouseState(120, 30, 0);
    instance->advance(0.1f);
    EXPECT_FLOAT_EQ(2400.0f, box->matrix().m02);
    EXPECT_FLOAT_EQ(600.0f, box->matrix().m12);
    ActionBuilder bounded;
    bounded.pushInt(0).pushInt(0).pushInt(100).pushInt(50).pushBool(true).pushBool(true).pushString("box").op(0x27);
    runOn(root, bounded);
    instance->setMouseState(180, 190, 0);
    instance->advance(0.1f);
    EXPECT_FLOAT_EQ(2000.0f, box->matrix().m02);
    EXPECT_FLOAT_EQ(1000.0f, box->matrix().m12);
    runOn(root, ActionBuilder().op(0x28));
    instance->setMouseState(10, 10, 0);
    instance->advance(0.1f);
    EXPECT_FLOAT_EQ(2000.0f, box->matrix().m02);

    // Property writes stay finite, rotation keeps the scale, unknown indexes are ignored.
    ActionBuilder props;
    props.setNumber("box._x", 0).setNumber("box._xscale", 50).setNumber("box._rotation", 90);
    props.getVariable("box._rotation").setVariableFromStack("rotation");
    props.getVariable("box._xscale").setVariableFromStack("xscale");
    props.setNumber("box._width", 30).getVariable("box._width").setVariableFromStack("width");
    props.setNumber("box._y", 1e300);
    props.pushString("box").pushInt(0).pushInt(0).pushInt(0).op(0x0D).op(0x23); // _x = NaN is ignored
    props.pushString("box").pushInt(99).op(0x22).setVariableFromStack("p99");
    props.pushString("box").pushInt(99).pushInt(1).op(0x23);
    runOn(root, props);
    EXPECT_NEAR(90.0, member(root, "rotation").toNumber(), 1e-3);
    EXPECT_NEAR(50.0, member(root, "xscale").toNumber(), 1e-3);
    EXPECT_NEAR(30.0, member(root, "width").toNumber(), 1e-3);
    EXPECT_TRUE(std::isfinite(box->matrix().m12));
    EXPECT_FLOAT_EQ(0.0f, box->matrix().m02);
    EXPECT_TRUE(member(root, "p99").isUndefined());
}

TEST_F(ActionMovieTest, TextFieldMembers)
{
    Font2Spec font;
    font.glyphs = {emBox()};
    font.codes = {'A'};
    EditTextSpec field;
    field.id = 2;
    field.font = std::make_pair(1, 400);
    field.colour = Colour{255, 255, 255, 255};
    field.text = "A";
    ActionBuilder code;
    code.getVariable("label.text").setVariableFromStack("before");
    code.setString("label.text", "AA").setNumber("label.textColor", 0xFF0000).setNumber("label._alpha", 150);
    code.getVariable("label").pushString("!").op(0x47).setVariableFromStack("joined");
    MovieBuilder mb(1, 2000, 2000);
    mb.tag(48, defineFont2(font)).tag(37, defineEditText(field));
    mb.tag(PlaceObject2Tag, place(2, 1, 0, 0, "label")).tag(DoActionCode, code.bytes).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    SpriteInstance& root = instance->rootSprite();
    auto* text = dynamic_cast<TextField*>(root.displayList().findByName("label"));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ("A", member(root, "before").toString());
    EXPECT_EQ("AA", text->text());
    EXPECT_EQ("AA!", member(root, "joined").toString());
    EXPECT_FLOAT_EQ(1.0f, text->colorTransform().aMul);
    EXPECT_FLOAT_EQ(0.0f, text->colorTransform().gMul);
    // White glyphs tinted red; hidden, none.
    EXPECT_EQ(0xFFFF0000u, renderInstance(*instance, 100, 100).at(5, 10));
    runOn(root,
          ActionBuilder().setNumber("label._visible", 0).getVariable("label._visible").setVariableFromStack("shown"));
    EXPECT_EQ("0", member(root, "shown").toString());
    EXPECT_EQ(0u, renderInstance(*instance, 100, 100).at(5, 10));
}

TEST_F(ActionMovieTest, FsCommandReachesTheHandlerWithTheMovie)
{
    std::vector<std::tuple<MovieInstance*, std::string, std::string>> calls;
    setCommandHandler([&calls](MovieInstance* m, const std::string& c, const std::string& a)
                      { calls.emplace_back(m, c, a); });
    ActionBuilder code;
    code.getUrl("FSCommand:quit", "").getUrl("FSCOMMAND:quit", "").getUrl("FSCommand:", "x");
    MovieBuilder mb(1);
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag,
           placeWithEvents(5, 1, "box", {{LoadEvent, ActionBuilder().getUrl("FSCommand:child", "1")}}));
    Ref<MovieInstance> instance = start(mb.tag(DoActionCode, code.bytes).showFrame().end());
    using Call = std::tuple<MovieInstance*, std::string, std::string>;
    EXPECT_EQ(
        (std::vector<Call>{{instance.get(), "child", "1"}, {instance.get(), "quit", ""}, {instance.get(), "", "x"}}),
        calls);
}

TEST_F(ActionMovieTest, ScriptReferencesOutliveTheirMovieSafely)
{
    ActionBuilder code;
    code.getVariable("box").setVariableFromStack("_global.kept");
    code.getVariable("_root").setVariableFromStack("_global.keptRoot");
    code.getVariable("_root").setVariableFromStack("self"); // a cycle through the root's members
    {
        Ref<MovieInstance> instance = startWithBox(code);
        movie = nullptr;
    }
    ScriptValue kept;
    ASSERT_TRUE(scriptGlobalObject().getMember("kept", kept));
    ASSERT_TRUE(kept.isObject());
    ScriptValue x;
    EXPECT_FALSE(kept.objectValue()->getMember("_x", x));
    kept.objectValue()->setMember("_x", ScriptValue(5.0));
    EXPECT_EQ(nullptr, kept.objectValue()->scriptTarget());
    // A script of another movie that reaches through the dead reference does nothing.
    ActionBuilder reach;
    reach.getVariable("_global.kept._x").setVariableFromStack("seen");
    reach.pushString("_global.keptRoot").op(0x1C).pushString("").pushInt(3).op(0x24);
    Ref<MovieInstance> second = start(MovieBuilder(1).tag(DoActionCode, reach.bytes).showFrame().end());
    const ScriptValue seen = member(second->rootSprite(), "seen");
    EXPECT_TRUE(seen.isUndefined() || seen.toNumber() == 5.0);
}
