// Scripts inside real movies: frame actions, clip events, event methods, text fields and
// FSCommand, through the loader, the timeline and the renderer.
#include "fixtures/MovieFixtures.h"

#include "player/ActionInterpreter.h"
#include "player/ActionSpriteObject.h"
#include "player/MovieInstance.h"
#include "player/Player.h"
#include "player/ScriptGlobals.h"
#include "player/SpriteInstance.h"
#include "player/TextField.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace swf;
using namespace swftest;

namespace
{

using A = ActionBuilder;
constexpr uint32_t LoadEvent = 1u << 0;
constexpr uint32_t EnterFrameEvent = 1u << 1;

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

    // A one-frame movie of the tags with `code` as its frame action, started.
    Ref<MovieInstance> start(Tags tags, const A& code)
    {
        tags.emplace_back(12, code.bytes);
        movie = movieOf(tags, 2000, 2000);
        return started(*movie);
    }

    Ref<MovieDefinition> movie;
};

} // namespace

TEST_F(ActionMovieTest, FrameActionsChooseTheFrameThatIsShown)
{
    // Frame 0's action picks the frame the engine's frame-0 render shows: by label, or by a
    // numeric GotoFrame2 with play clear.
    const std::pair<A, uint32_t> cases[] = {{A().gotoLabel("blue"), 0xFF0000FFu},
                                            {A().pushInt(1).action(0x9F, {0}), 0xFF00FF00u}};
    for (const auto& [code, shown] : cases)
        EXPECT_EQ(shown, renderFrame(*readMovie(threeColourMovie(code)), 0, 100, 100).at(50, 50));
}

TEST_F(ActionMovieTest, LoadAndEnterFrameEventsAndFsCommand)
{
    using Call = std::tuple<MovieInstance*, std::string, std::string>;
    std::vector<Call> calls;
    setCommandHandler([&calls](MovieInstance* m, const std::string& c, const std::string& a)
                      { calls.emplace_back(m, c, a); });
    // Load events at the first advance and at placement, on the sprite itself as target.
    A frame0 = A().pushString("onLoad").defineFunction("", {}, A().increment("/:rootLoads")).op(0x1D);
    frame0.pushString("onEnterFrame").defineFunction("", {}, A().increment("/:rootFrames")).op(0x1D);
    frame0.getUrl("FSCommand:quit", "").getUrl("FSCOMMAND:quit", "").getUrl("FSCommand:", "x");
    A spriteLoad = A().increment("/:spriteLoads").setNumber("mine", 1).getUrl("FSCommand:child", "1");
    // Enter-frame once per played frame; a stopped sprite plays no frames and gets no more.
    Ref<MovieInstance> instance =
        start({{39, emptySprite(5, 3)},
               {26, placeWithEvents(5, 1, "box", {{LoadEvent, spriteLoad}})},
               {26, placeWithEvents(5, 2, "ticker", {{EnterFrameEvent, A().increment("/:ticks")}})},
               {26, placeWithEvents(5, 3, "stopper", {{EnterFrameEvent, A().increment("/:stops").op(0x07)}})}},
              frame0);
    // FSCommand reaches the handler with the movie, the command and its argument.
    EXPECT_EQ(
        (std::vector<Call>{{instance.get(), "child", "1"}, {instance.get(), "quit", ""}, {instance.get(), "", "x"}}),
        calls);
    for (int i = 0; i < 4; ++i)
        instance->advance(1.0f / 12); // one frame each
    SpriteInstance& root = instance->rootSprite();
    std::vector<std::string> seen = {member(*root.displayList().findByName("box")->asSprite(), "mine").toString()};
    for (const char* name : {"rootLoads", "spriteLoads", "mine", "ticks", "rootFrames", "stops"})
        seen.push_back(name + ("=" + member(root, name).toString()));
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "rootLoads=1", "spriteLoads=1", "mine=undefined", "ticks=5",
                                              "rootFrames=5", "stops=1"}));
}

TEST_F(ActionMovieTest, TextFieldMembers)
{
    EditTextSpec field;
    field.id = 2;
    field.font = std::make_pair(1, 400);
    field.colour = Colour{255, 255, 255, 255};
    field.text = "A";
    A code = A().getVariable("label.text").setVariableFromStack("before");
    code.setString("label.text", "AA").setNumber("label.textColor", 0xFF0000).setNumber("label._alpha", 150);
    code.getVariable("label").pushString("!").op(0x47).setVariableFromStack("joined");
    code.setNumber("label._visible", 0).getVariable("label._visible").setVariableFromStack("shown");
    Ref<MovieInstance> instance =
        start({{48, boxFont()}, {37, defineEditText(field)}, {26, place(2, 1, 0, 0, "label")}}, code);
    SpriteInstance& root = instance->rootSprite();
    auto* text = dynamic_cast<TextField*>(root.displayList().findByName("label"));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ((std::vector<std::string>{member(root, "before").toString(), text->text(),
                                        member(root, "joined").toString(), member(root, "shown").toString()}),
              (std::vector<std::string>{"A", "AA", "AA!", "0"}));
    // What the field draws with these is checked with the fields themselves.
    EXPECT_EQ((std::vector<float>{text->colorTransform().aMul, float(text->textColor()), float(text->visible())}),
              (std::vector<float>{1.0f, float(0xFF0000), 0.0f}));
}

TEST_F(ActionMovieTest, ScriptReferencesOutliveTheirMovieSafely)
{
    A code = A().getVariable("box").setVariableFromStack("_global.kept");
    code.getVariable("_root").setVariableFromStack("_global.keptRoot");
    code.getVariable("_root").setVariableFromStack("self"); // a cycle through the root's members
    start({{39, emptySprite(5, 1)}, {26, place(5, 1, 0, 0, "box")}}, code);
    movie = nullptr;
    ScriptValue kept;
    ASSERT_TRUE(scriptGlobalObject().getMember("kept", kept));
    ASSERT_TRUE(kept.isObject());
    ScriptValue x;
    EXPECT_FALSE(kept.objectValue()->getMember("_x", x));
    kept.objectValue()->setMember("_x", ScriptValue(5.0));
    EXPECT_EQ(nullptr, kept.objectValue()->scriptTarget());
    // A script of another movie that reaches through the dead reference does nothing.
    A reach = A().getVariable("_global.kept._x").setVariableFromStack("seen");
    Ref<MovieInstance> second =
        start({}, reach.pushString("_global.keptRoot").op(0x1C).pushString("").pushInt(3).op(0x24));
    const ScriptValue seen = member(second->rootSprite(), "seen");
    EXPECT_TRUE(seen.isUndefined() || seen.toNumber() == 5.0);
}
