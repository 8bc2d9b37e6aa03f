// Scripts inside real movies: frame actions, clip events, event methods, text fields, drags
// and FSCommand, through the loader, the timeline and the renderer.
#include "ActionTestSupport.h"
#include "FontTestSupport.h"
#include "fixtures/SwfBuilder.h"

#include "player/ActionSpriteObject.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/Player.h"
#include "player/ScriptGlobals.h"
#include "player/SpriteInstance.h"
#include "player/TextField.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace swf;
using swf::test::ActionBuilder;
using namespace swftest;

namespace
{

constexpr int DefineShapeTag = 2;
constexpr int PlaceObject2Tag = 26;
constexpr int DoActionCode = 12;
constexpr int DefineSpriteTag = 39;
constexpr int FrameLabelTag = 43;
constexpr uint32_t LoadEvent = 1u << 0;
constexpr uint32_t EnterFrameEvent = 1u << 1;

Bytes square(int id, Colour colour)
{
    ShapeBuilder s;
    s.bounds(0, 2000, 0, 2000);
    int fill = s.solidFill(colour);
    s.rectangle(0, 0, 2000, 2000, fill);
    return s.payload(id);
}

Bytes place(int id, int depth, const std::string& name = std::string(), bool replace = false)
{
    Place2 p;
    p.depth = depth;
    p.characterId = id;
    p.move = replace;
    p.matrix = MatrixSpec{};
    if (!name.empty())
        p.name = name;
    return p.payload();
}

// PlaceObject2 with a name and clip event handlers (movie version 6 and later: 32-bit flags).
Bytes placeWithEvents(int id, int depth, const std::string& name,
                      const std::vector<std::pair<uint32_t, ActionBuilder>>& handlers)
{
    BitWriter w;
    w.u8(0x80 | 0x20 | 0x02); // clip actions, name, character
    w.u16(static_cast<uint16_t>(depth));
    w.u16(static_cast<uint16_t>(id));
    w.string(name);
    w.u16(0);
    uint32_t all = 0;
    for (const auto& handler : handlers)
        all |= handler.first;
    w.u32(all);
    for (const auto& handler : handlers)
    {
        w.u32(handler.first);
        w.u32(static_cast<uint32_t>(handler.second.bytes.size()));
        w.append(handler.second.bytes);
    }
    w.u32(0);
    return w.bytes();
}

Bytes actions(const ActionBuilder& code)
{
    return doAction(code.bytes);
}

// An empty sprite of `frames` frames.
Bytes emptySprite(int id, int frames)
{
    TagList tags;
    for (int i = 0; i < frames; ++i)
        tags.showFrame();
    tags.end();
    return defineSprite(id, frames, tags);
}

void runOn(SpriteInstance& sprite, const ActionBuilder& code)
{
    executeActions(*code.record(), spriteScript(sprite).environment());
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
        Ref<MovieInstance> instance = movie->createInstance();
        instance->restart();
        instance->advance(0.0001f);
        return instance;
    }

    Ref<MovieDefinition> movie;
};

} // namespace

TEST_F(ActionMovieTest, FrameActionsChooseTheFrameThatIsShown)
{
    // Frame 0 shows red, frame 1 ("green") green, frame 2 blue. Frame 0's action jumps to the
    // label, so the engine's frame-0 render shows green.
    MovieBuilder mb(3, 2000, 2000);
    mb.tag(DefineShapeTag, square(1, {255, 0, 0, 255}));
    mb.tag(DefineShapeTag, square(2, {0, 255, 0, 255}));
    mb.tag(DefineShapeTag, square(3, {0, 0, 255, 255}));
    mb.tag(PlaceObject2Tag, place(1, 1)).tag(DoActionCode, actions(ActionBuilder().gotoLabel("green"))).showFrame();
    mb.tag(FrameLabelTag, frameLabel("green")).tag(PlaceObject2Tag, place(2, 1, "", true)).showFrame();
    mb.tag(PlaceObject2Tag, place(3, 1, "", true)).showFrame().end();
    movie = readMovie(mb.fws());
    Picture shown = renderFrame(*movie, 0, 100, 100);
    EXPECT_EQ(0xFF00FF00u, shown.at(50, 50));

    // The same movie with a numeric GotoFrame2 to frame 2 and the play flag clear.
    MovieBuilder numbered(3, 2000, 2000);
    numbered.tag(DefineShapeTag, square(1, {255, 0, 0, 255}));
    numbered.tag(DefineShapeTag, square(2, {0, 255, 0, 255}));
    numbered.tag(DefineShapeTag, square(3, {0, 0, 255, 255}));
    numbered.tag(PlaceObject2Tag, place(1, 1))
        .tag(DoActionCode, actions(ActionBuilder().pushInt(2).action(0x9F, {0})))
        .showFrame();
    numbered.tag(PlaceObject2Tag, place(2, 1, "", true)).showFrame();
    numbered.tag(PlaceObject2Tag, place(3, 1, "", true)).showFrame().end();
    movie = readMovie(numbered.fws());
    EXPECT_EQ(0xFF0000FFu, renderFrame(*movie, 0, 100, 100).at(50, 50));
}

TEST_F(ActionMovieTest, LoadEventsAtTheFirstAdvanceAndAtPlacement)
{
    ActionBuilder rootLoad;
    rootLoad.pushString("/:rootLoads").getVariable("/:rootLoads").op(0x50).op(0x1D);
    ActionBuilder frame0;
    frame0.pushString("onLoad").defineFunction("", {}, rootLoad).op(0x1D);
    ActionBuilder spriteLoad;
    spriteLoad.pushString("/:spriteLoads").getVariable("/:spriteLoads").op(0x50).op(0x1D);
    spriteLoad.setNumber("mine", 1); // the clip event's target is the sprite itself

    MovieBuilder mb(1);
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 1, "box", {{LoadEvent, spriteLoad}}));
    mb.tag(DoActionCode, actions(frame0)).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    instance->advance(0.25f);
    SpriteInstance& root = instance->rootSprite();
    EXPECT_DOUBLE_EQ(1.0, member(root, "rootLoads").toNumber());
    EXPECT_DOUBLE_EQ(1.0, member(root, "spriteLoads").toNumber());
    SpriteInstance* box = root.displayList().findByName("box")->asSprite();
    ASSERT_NE(nullptr, box);
    EXPECT_DOUBLE_EQ(1.0, member(*box, "mine").toNumber());
    EXPECT_TRUE(member(root, "mine").isUndefined());
}

TEST_F(ActionMovieTest, EnterFrameOncePerPlayedFrame)
{
    ActionBuilder tick;
    tick.pushString("/:ticks").getVariable("/:ticks").op(0x50).op(0x1D);
    ActionBuilder tickAndStop;
    tickAndStop.pushString("/:stopperTicks").getVariable("/:stopperTicks").op(0x50).op(0x1D).op(0x07);
    ActionBuilder method;
    method.pushString("/:rootFrames").getVariable("/:rootFrames").op(0x50).op(0x1D);
    ActionBuilder frame0;
    frame0.pushString("onEnterFrame").defineFunction("", {}, method).op(0x1D);

    MovieBuilder mb(1, 2000, 2000, 10.0);
    mb.tag(DefineSpriteTag, emptySprite(5, 3));
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 1, "ticker", {{EnterFrameEvent, tick}}));
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 2, "stopper", {{EnterFrameEvent, tickAndStop}}));
    mb.tag(DoActionCode, actions(frame0)).showFrame().end();
    Ref<MovieInstance> instance = start(mb); // one frame played
    for (int i = 0; i < 4; ++i)
        instance->advance(0.1f); // one frame each at 10 frames per second
    SpriteInstance& root = instance->rootSprite();
    EXPECT_DOUBLE_EQ(5.0, member(root, "ticks").toNumber());
    EXPECT_DOUBLE_EQ(5.0, member(root, "rootFrames").toNumber());
    // A stopped sprite plays no frames and so gets no more enter-frame events.
    EXPECT_DOUBLE_EQ(1.0, member(root, "stopperTicks").toNumber());
}

TEST_F(ActionMovieTest, SelfRequeueingGotoRunsOnceAStepAndReturns)
{
    // Frame 1 goes back to 0 and forward to 1 again, which queues frame 1's action anew.
    ActionBuilder loop;
    loop.pushString("count").getVariable("count").op(0x50).op(0x1D).gotoFrame(0).gotoFrame(1);
    MovieBuilder mb(2, 2000, 2000, 10.0);
    mb.showFrame().tag(DoActionCode, actions(loop)).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    for (int i = 0; i < 5; ++i)
        instance->advance(0.1f);
    double count = member(instance->rootSprite(), "count").toNumber();
    EXPECT_GE(count, 1.0);
    EXPECT_LE(count, 12.0); // at most the two do-actions steps of each advance
}

TEST_F(ActionMovieTest, HostileScriptsInAMovieStillRender)
{
    // A self-jump, a runaway recursive function and a sprite that clones itself on load.
    ActionBuilder recurse;
    recurse.pushInt(0).pushString("r").op(0x3D);
    ActionBuilder frame0;
    frame0.defineFunction("r", {}, recurse).pushInt(0).pushString("r").op(0x3D);
    frame0.setNumber("reached", 1).jump(-5);
    ActionBuilder cloneSelf;
    cloneSelf.pushString("/:n").getVariable("/:n").op(0x50).op(0x1D);
    cloneSelf.pushString("").pushString("c").getVariable("/:n").op(0x47).getVariable("/:n").pushInt(100).op(0x47).op(
        0x24);

    MovieBuilder mb(1, 2000, 2000);
    mb.tag(DefineShapeTag, square(1, {255, 0, 0, 255}));
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag, place(1, 1));
    mb.tag(PlaceObject2Tag, placeWithEvents(5, 2, "seed", {{LoadEvent, cloneSelf}}));
    mb.tag(DoActionCode, actions(frame0)).showFrame().end();
    movie = readMovie(mb.fws());
    Ref<MovieInstance> instance = movie->createInstance();
    instance->restart();
    instance->advance(0.0001f);
    EXPECT_DOUBLE_EQ(1.0, member(instance->rootSprite(), "reached").toNumber());
    double clones = member(instance->rootSprite(), "n").toNumber();
    EXPECT_GT(clones, 10.0);
    EXPECT_LE(clones, static_cast<double>(MaxNesting));
    EXPECT_EQ(0xFFFF0000u, renderInstance(*instance, 100, 100).at(50, 50));
}

TEST_F(ActionMovieTest, SpritePropertiesInPixelsPercentAndDegrees)
{
    ActionBuilder code;
    code.setNumber("box._x", 30).setNumber("box._y", 40).setNumber("box._xscale", 200);
    code.getVariable("box._target").setVariableFromStack("boxTarget");
    code.getVariable("_target").setVariableFromStack("rootTarget");
    code.getVariable("_url").setVariableFromStack("url");
    code.getVariable("box._width").setVariableFromStack("width");
    code.getVariable("_currentframe").setVariableFromStack("frame");
    code.getVariable("box._parent").getVariable("_level0").op(0x66).setVariableFromStack("parentIsRoot");
    MovieBuilder mb(2, 4000, 4000);
    mb.tag(DefineShapeTag, square(1, {255, 0, 0, 255}));
    TagList inner;
    inner.tag(PlaceObject2Tag, place(1, 1)).showFrame().end();
    mb.tag(DefineSpriteTag, defineSprite(5, 1, inner));
    mb.tag(PlaceObject2Tag, place(5, 1, "box")).tag(DoActionCode, actions(code)).showFrame().showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    SpriteInstance& root = instance->rootSprite();
    DisplayObject* box = root.displayList().findByName("box");
    ASSERT_NE(nullptr, box);
    EXPECT_FLOAT_EQ(600.0f, box->matrix().m02);
    EXPECT_FLOAT_EQ(800.0f, box->matrix().m12);
    EXPECT_FLOAT_EQ(2.0f, box->matrix().m00);
    EXPECT_EQ("/box", member(root, "boxTarget").toString());
    EXPECT_EQ("/_root", member(root, "rootTarget").toString());
    EXPECT_EQ("velkarswf", member(root, "url").toString());
    EXPECT_DOUBLE_EQ(200.0, member(root, "width").toNumber());
    EXPECT_DOUBLE_EQ(1.0, member(root, "frame").toNumber());
    EXPECT_EQ("1", member(root, "parentIsRoot").toString());
    // The red square moved by (30, 40) pixels and doubled in width.
    Picture pic = renderInstance(*instance, 200, 200);
    EXPECT_EQ(0xFFFF0000u, pic.at(100, 60));
    EXPECT_EQ(0xFFFF0000u, pic.at(199, 139));
    EXPECT_EQ(0u, pic.at(10, 10));
}

TEST_F(ActionMovieTest, CloneAndRemoveSprites)
{
    ActionBuilder code;
    code.pushString("box").pushString("copy").pushInt(7).op(0x24);
    code.setNumber("copy._x", 50);
    MovieBuilder mb(2, 4000, 4000, 10.0);
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag, place(5, 1, "box")).tag(DoActionCode, actions(code)).showFrame().showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    SpriteInstance& root = instance->rootSprite();
    DisplayObject* copy = root.displayList().findByName("copy");
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(7, copy->depth());
    EXPECT_EQ(5, copy->characterId());
    EXPECT_FLOAT_EQ(1000.0f, copy->matrix().m02);
    runOn(root, ActionBuilder().pushString("copy").op(0x25));
    instance->advance(0.1f);
    EXPECT_EQ(nullptr, root.displayList().findByName("copy"));
    EXPECT_NE(nullptr, root.displayList().findByName("box"));
}

TEST_F(ActionMovieTest, TextFieldMembers)
{
    using namespace fonttest;
    Font2Spec font;
    font.id = 1;
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
    mb.tag(PlaceObject2Tag, place(2, 1, "label")).tag(DoActionCode, actions(code)).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    SpriteInstance& root = instance->rootSprite();
    auto* text = dynamic_cast<TextField*>(root.displayList().findByName("label"));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ("A", member(root, "before").toString());
    EXPECT_EQ("AA", text->text());
    EXPECT_EQ("AA!", member(root, "joined").toString());
    EXPECT_FLOAT_EQ(1.0f, text->colorTransform().aMul);
    EXPECT_FLOAT_EQ(1.0f, text->colorTransform().rMul);
    EXPECT_FLOAT_EQ(0.0f, text->colorTransform().gMul);
    // White glyphs tinted red.
    Picture pic = renderInstance(*instance, 100, 100);
    EXPECT_EQ(0xFFFF0000u, pic.at(5, 10));
    runOn(root,
          ActionBuilder().setNumber("label._visible", 0).getVariable("label._visible").setVariableFromStack("shown"));
    EXPECT_FALSE(text->visible());
    EXPECT_EQ("0", member(root, "shown").toString());
    EXPECT_EQ(0u, renderInstance(*instance, 100, 100).at(5, 10));
}

TEST_F(ActionMovieTest, FsCommandReachesTheHandlerWithTheMovie)
{
    struct Call
    {
        MovieInstance* movie;
        std::string command, args;
    };
    std::vector<Call> calls;
    setCommandHandler(
        [&calls](MovieInstance* m, const std::string& c, const std::string& a) {
            calls.push_back({m, c, a});
        });
    ActionBuilder code;
    code.getUrl("FSCommand:quit", "").getUrl("FSCOMMAND:quit", "").getUrl("FSCommand:", "x");
    MovieBuilder mb(1);
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag,
           placeWithEvents(5, 1, "box", {{LoadEvent, ActionBuilder().getUrl("FSCommand:child", "1")}}));
    mb.tag(DoActionCode, actions(code)).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ("child", calls[0].command);
    EXPECT_EQ(instance.get(), calls[0].movie);
    EXPECT_EQ("quit", calls[1].command);
    EXPECT_EQ("", calls[1].args);
    EXPECT_EQ("", calls[2].command);
    EXPECT_EQ("x", calls[2].args);
}

TEST_F(ActionMovieTest, DraggedSpriteFollowsTheMouseWithinItsBounds)
{
    MovieBuilder mb(1, 4000, 4000, 10.0);
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag, place(5, 1, "box")).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    SpriteInstance& root = instance->rootSprite();
    DisplayObject* box = root.displayList().findByName("box");
    ASSERT_NE(nullptr, box);
    // startDrag("box", true): locked to the mouse centre.
    runOn(root, ActionBuilder().pushBool(false).pushBool(true).pushString("box").op(0x27));
    instance->setMouseState(120, 30, 0);
    instance->advance(0.1f);
    EXPECT_FLOAT_EQ(2400.0f, box->matrix().m02);
    EXPECT_FLOAT_EQ(600.0f, box->matrix().m12);
    // Constrained to 0..100 x 0..50 pixels.
    runOn(root, ActionBuilder()
                    .pushInt(0)
                    .pushInt(0)
                    .pushInt(100)
                    .pushInt(50)
                    .pushBool(true)
                    .pushBool(true)
                    .pushString("box")
                    .op(0x27));
    instance->setMouseState(180, 190, 0);
    instance->advance(0.1f);
    EXPECT_FLOAT_EQ(2000.0f, box->matrix().m02);
    EXPECT_FLOAT_EQ(1000.0f, box->matrix().m12);
    // EndDrag: the sprite stays where it is.
    runOn(root, ActionBuilder().op(0x28));
    instance->setMouseState(10, 10, 0);
    instance->advance(0.1f);
    EXPECT_FLOAT_EQ(2000.0f, box->matrix().m02);
}

TEST_F(ActionMovieTest, ScriptReferencesOutliveTheirMovieSafely)
{
    ActionBuilder code;
    code.getVariable("box").setVariableFromStack("_global.kept");
    code.getVariable("_root").setVariableFromStack("_global.keptRoot");
    code.getVariable("_root").setVariableFromStack("self"); // a cycle through the root's members
    MovieBuilder mb(1);
    mb.tag(DefineSpriteTag, emptySprite(5, 1));
    mb.tag(PlaceObject2Tag, place(5, 1, "box")).tag(DoActionCode, actions(code)).showFrame().end();
    {
        Ref<MovieInstance> instance = start(mb);
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
    MovieBuilder other(1);
    ActionBuilder reach;
    reach.getVariable("_global.kept._x").setVariableFromStack("seen");
    reach.pushString("_global.keptRoot").op(0x1C).pushString("").pushInt(3).op(0x24);
    other.tag(DoActionCode, actions(reach)).showFrame().end();
    Ref<MovieInstance> second = start(other);
    EXPECT_TRUE(member(second->rootSprite(), "seen").isUndefined() ||
                member(second->rootSprite(), "seen").toNumber() == 5.0);
}

TEST_F(ActionMovieTest, PropertyWritesStayFiniteAndRotationKeepsScale)
{
    MovieBuilder mb(1, 4000, 4000);
    mb.tag(DefineShapeTag, square(1, {255, 0, 0, 255}));
    TagList inner;
    inner.tag(PlaceObject2Tag, place(1, 1)).showFrame().end();
    mb.tag(DefineSpriteTag, defineSprite(5, 1, inner));
    mb.tag(PlaceObject2Tag, place(5, 1, "box")).showFrame().end();
    Ref<MovieInstance> instance = start(mb);
    SpriteInstance& root = instance->rootSprite();
    DisplayObject* box = root.displayList().findByName("box");
    ASSERT_NE(nullptr, box);
    ActionBuilder code;
    code.setNumber("box._xscale", 50).setNumber("box._rotation", 90);
    code.getVariable("box._rotation").setVariableFromStack("rotation");
    code.getVariable("box._xscale").setVariableFromStack("xscale");
    code.setNumber("box._width", 30).getVariable("box._width").setVariableFromStack("width");
    code.setNumber("box._y", 1e300);
    code.pushString("box").pushInt(0).pushInt(0).op(0x0D).op(0x23); // _x = NaN is ignored
    code.pushString("box").pushInt(99).op(0x22).setVariableFromStack("p99");
    code.pushString("box").pushInt(99).pushInt(1).op(0x23);
    runOn(root, code);
    EXPECT_NEAR(90.0, member(root, "rotation").toNumber(), 1e-3);
    EXPECT_NEAR(50.0, member(root, "xscale").toNumber(), 1e-3);
    EXPECT_NEAR(30.0, member(root, "width").toNumber(), 1e-3);
    EXPECT_TRUE(std::isfinite(box->matrix().m12));
    EXPECT_FLOAT_EQ(0.0f, box->matrix().m02);
    EXPECT_TRUE(member(root, "p99").isUndefined());
}
