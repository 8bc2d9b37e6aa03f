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
