// Scripts against their sprites: target paths, variable lookup, functions, timeline actions,
// properties and the sprite services.
#include "ScriptTest.h"

#include "player/ScriptFunction.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace swf;
using namespace swftest;

namespace
{

using A = ActionBuilder;

using ScriptEnvironmentTest = ScriptTest;

} // namespace

TEST_F(ScriptEnvironmentTest, TargetPathsWithSlashesColonsAndDots)
{
    button()->setMember("x", ScriptValue(5.0));
    root()->setMember("lives", ScriptValue(3.0));
    const std::tuple<SpriteScriptObject*, std::string, std::string> paths[] = {
        {root(), "/menu/button:x", "5"},
        {root(), "menu.button.x", "5"},
        {root(), "_root.menu.button.x", "5"},
        {menu(), "button:x", "5"},
        {button(), "../..:lives", "3"},
        {button(), "/:lives", "3"},
        {button(), "_parent._parent.lives", "3"},
        {button(), "_level0.lives", "3"},
        // Case-sensitive, and unresolved paths are harmless.
        {root(), "/Menu/button:x", "undefined"},
        {root(), "nosuch.x", "undefined"},
        {root(), "/a/b/c:x", "undefined"},
        {root(), "_parent.x", "undefined"}};
    for (const auto& [where, path, shown] : paths)
        EXPECT_EQ(shown, eval(A().getVariable(path), where).toString()) << path;
    // Writes go to the named sprite, or nowhere.
    run(A().setNumber("/score:points", 12).setNumber("button.clicks", 2), menu());
    run(A().setNumber("_root.nosuch.x", 1).setNumber("/nosuch:y", 1));
    EXPECT_EQ((std::vector<std::string>{variable("points", sprite("score")).toString(),
                                        variable("clicks", button()).toString(), variable("x").toString(),
                                        variable("y").toString()}),
              (std::vector<std::string>{"12", "2", "undefined", "undefined"}));
    // _root and _level0 are the same sprite; GetProperty of a missing sprite pushes undefined.
    EXPECT_EQ("1", eval(A().getVariable("_root").getVariable("_level0").op(0x66), button()).toString());
    EXPECT_EQ(root(), eval(A().getVariable("_root"), button()).objectValue());
    EXPECT_TRUE(eval(A().pushString("/ghost").pushInt(0).op(0x22)).isUndefined());
}

TEST_F(ScriptEnvironmentTest, LookupOrderWithThenLocalsThenTargetThenRootThenGlobal)
{
    scriptGlobalObject().setMember("v", ScriptValue("global"));
    scriptGlobalObject().setMember("onlyGlobal", ScriptValue("g"));
    EXPECT_EQ("global", eval(A().getVariable("v"), button()).toString());
    button()->setMember("v", ScriptValue("target"));
    EXPECT_EQ("target", eval(A().getVariable("v"), button()).toString());
    EXPECT_EQ("g", eval(A().getVariable("onlyGlobal"), button()).toString());
    // "this" is the target sprite; a child is a member of its parent.
    EXPECT_EQ(button(), eval(A().getVariable("this"), button()).objectValue());
    EXPECT_EQ(button(), eval(A().getVariable("button"), menu()).objectValue());

    // A local shadows the target's member; a With object shadows the local.
    Ref<ScriptObject> scope = makeRef<ScriptObject>();
    scope->setMember("v", ScriptValue("with"));
    root()->setMember("scope", ScriptValue(scope));
    A inner = A().getVariable("v").setVariableFromStack("/:sawWith");
    A body = A().pushString("v").pushString("local").op(0x3C).getVariable("v").setVariableFromStack("/:sawLocal");
    body.getVariable("_root.scope").with(uint16_t(inner.size())).append(inner);
    body.getVariable("v").setVariableFromStack("/:afterWith");
    run(A().defineFunction("f", {}, body).callFunction("f", 0), button());
    // The local died with the call.
    EXPECT_EQ(
        (std::vector<std::string>{variable("sawLocal").toString(), variable("sawWith").toString(),
                                  variable("afterWith").toString(), eval(A().getVariable("v"), button()).toString()}),
        (std::vector<std::string>{"local", "with", "local", "target"}));
}

TEST_F(ScriptEnvironmentTest, FunctionsTakeParametersReturnValuesAndKeepTheCallersStack)
{
    // function add(a, b) { var t = a + b; return t; }; missing arguments are undefined.
    A body = A().pushString("t").getVariable("a").getVariable("b").op(0x47).op(0x3C).getVariable("t").op(0x3E);
    A code = A().defineFunction("add", {"a", "b"}, body);
    code.pushInt(4).pushInt(3).callFunction("add", 2).setVariableFromStack("sum");
    run(code.pushInt(4).callFunction("add", 1).setVariableFromStack("half"));
    EXPECT_EQ((std::vector<std::string>{variable("sum").toString(), variable("half").toString(),
                                        variable("t").toString(), variable("a").toString()}),
              (std::vector<std::string>{"7", "4", "undefined", "undefined"}));
    // A body popping three times leaves the caller's pending operand.
    A greedy = A().defineFunction("f", {}, A().op(0x17).op(0x17).op(0x17).pushInt(1).op(0x3E));
    EXPECT_DOUBLE_EQ(41.0, eval(greedy.pushInt(40).callFunction("f", 0).op(0x0A)).toNumber());

    // obj.get = function () { return this.v; }; obj.get() sees obj as this.
    Ref<ScriptObject> object = makeRef<ScriptObject>();
    object->setMember("v", ScriptValue(8.0));
    root()->setMember("obj", ScriptValue(object));
    A method = A().getVariable("obj").pushString("get");
    method.defineFunction("", {}, A().getVariable("this").pushString("v").op(0x4E).op(0x3E)).op(0x4F);
    EXPECT_DOUBLE_EQ(8.0, eval(method.pushInt(0).getVariable("obj").pushString("get").op(0x52)).toNumber());
}

TEST_F(ScriptEnvironmentTest, RecursionWorksAndRunawayRecursionIsCut)
{
    // function fact(n) { if (n < 2) return 1; return n * fact(n - 1); }
    A tail = A().getVariable("n").getVariable("n").pushInt(1).op(0x0B).pushInt(1).pushString("fact").op(0x3D);
    A base = A().pushInt(1).op(0x3E);
    A body = A().getVariable("n").pushInt(2).op(0x0F).op(0x12).branchIf(int16_t(base.size()));
    body.append(base).append(tail.op(0x0C).op(0x3E));
    EXPECT_DOUBLE_EQ(3628800.0,
                     eval(A().defineFunction("fact", {"n"}, body).pushInt(10).callFunction("fact", 1)).toNumber());

    // function loop() { depth = depth + 1; loop(); } never returns: the nesting limit stops it.
    A runaway = A().setNumber("depth", 0);
    runaway.defineFunction("loop", {}, A().increment("/:depth").callFunction("loop", 0)).callFunction("loop", 0);
    run(runaway.setNumber("after", 1));
    EXPECT_LE(variable("depth").toNumber(), static_cast<double>(MaxNesting));
    EXPECT_GE(variable("depth").toNumber(), 100.0);
    EXPECT_EQ((std::vector<double>{variable("after").toNumber(), double(root()->environment().callDepth()),
                                   double(runningActionNesting())}),
              (std::vector<double>{1, 0, 0}));
}

TEST_F(ScriptEnvironmentTest, FunctionsKeepTheirCodeAndConstantsAfterTheRecordIsGone)
{
    {
        A code = A().constantPool({"kept"}).defineFunction("", {}, A().pushConstant(0).op(0x3E));
        executeActions(*swftest::record(code.setVariableFromStack("/_global:keeper")), root()->environment());
    } // the record is dropped here; the function holds its own reference
    ScriptValue function;
    ASSERT_TRUE(scriptGlobalObject().getMember("keeper", function));
    ASSERT_EQ(ScriptValue::Kind::ScriptFunction, function.kind());
    EXPECT_EQ("kept", callFunction(function, root()->environment(), nullptr, {}).toString());
    EXPECT_EQ(1, function.scriptFunction()->record().refCount());
}

TEST_F(ScriptEnvironmentTest, TimelineActionsDriveTheTarget)
{
    // Each step: the actions, then the frame and play state they leave.
    const std::tuple<A, int, bool> steps[] = {
        {A().op(0x07), 0, false},
        {A().op(0x06), 0, true},
        {A().gotoFrame(3), 3, false},
        {A().op(0x04), 4, false},
        {A().op(0x05).op(0x05), 2, false},
        {A().gotoLabel("menu"), 4, false},
        {A().op(0x06).gotoLabel("nowhere"), 4, true},
        // GotoFrame2: labels or zero-based numbers used as they are, and its play flag.
        {A().pushString("end").action(0x9F, {1}), 7, true},
        {A().pushInt(5).action(0x9F, {0}), 5, false},
        {A().pushNumber(1e12).action(0x9F, {0}), 0, false},
        {A().gotoFrame(99), 9, false},
        {A().pushNumber(2.9).action(0x9F, {1}), 2, true},
        {A().pushString("nolabel").action(0x9F, {0}), 2, true},
        {A().pushInt(0).pushInt(0).op(0x0D).action(0x9F, {0}), 0, false}, // NaN is frame 0
        {A().op(0x05), 0, false},
    };
    for (const auto& [code, frame, playing] : steps)
    {
        run(code);
        EXPECT_EQ(frame, root()->currentFrame());
        EXPECT_EQ(playing, root()->isPlaying()) << "at frame " << frame;
    }
    // The value is popped.
    EXPECT_DOUBLE_EQ(9.0, eval(A().pushInt(9).pushInt(1).action(0x9F, {0})).toNumber());
    // Call runs another frame's actions without moving there.
    run(A().pushString("/menu:setup").action(0x9E, {}).pushInt(8).action(0x9E, {}).pushInt(99).action(0x9E, {}));
    EXPECT_EQ((std::vector<double>{variable("ready", menu()).toNumber(), double(menu()->currentFrame()),
                                   variable("eight").toNumber()}),
              (std::vector<double>{1, 0, 8}));
}

TEST_F(ScriptEnvironmentTest, PropertiesCloneRemoveAndDrag)
{
    auto property = [](SpriteScriptObject* sprite, int index)
    {
        ScriptValue value;
        return sprite->getProperty(index, value) ? value.toString() : "refused";
    };
    ASSERT_TRUE(button()->setProperty(6, ScriptValue(50.0)));
    EXPECT_DOUBLE_EQ(50.0, eval(A().pushString("menu/button").pushInt(6).op(0x22)).toNumber());
    run(A().pushString("/menu/button").pushInt(0).pushInt(120).op(0x23));
    // The empty path is the target itself; indexes outside the table are refused.
    run(A().pushString("").pushInt(1).pushInt(33).op(0x23));
    run(A().pushString("").pushInt(22).pushInt(1).op(0x23));
    EXPECT_EQ((std::vector<std::string>{property(button(), 0), property(root(), 1), property(root(), 22),
                                        eval(A().pushString("").pushInt(99).op(0x22)).toString(),
                                        eval(A().pushString("").pushInt(-1).op(0x22)).toString()}),
              (std::vector<std::string>{"120", "33", "refused", "undefined", "undefined"}));

    run(A().pushString("menu").pushString("copy").pushInt(16390).op(0x24));
    run(A().pushString("menu/button").op(0x25));
    movie->advance(1.0f / 12); // the removal takes effect at the next frame
    ASSERT_NE(nullptr, sprite("copy"));
    EXPECT_EQ((std::vector<int>{sprite("copy")->liveSprite()->depth(), button() != nullptr}),
              (std::vector<int>{16390, 0}));
    // startDrag("/menu", true, 1, 2, 3, 4), then stopDrag.
    const ActionDragState& drag = spriteScript(movie->rootSprite()).drag;
    run(A().pushInt(1).pushInt(2).pushInt(3).pushInt(4).pushBool(true).pushBool(true).pushString("/menu").op(0x27));
    EXPECT_EQ(menu(), drag.dragged.get());
    EXPECT_EQ((std::vector<double>{double(drag.lockCenter), double(drag.bounds.constrained), drag.bounds.left,
                                   drag.bounds.top, drag.bounds.right, drag.bounds.bottom}),
              (std::vector<double>{1, 1, 1, 2, 3, 4}));
    run(A().op(0x28), menu());
    EXPECT_EQ(nullptr, drag.dragged.get());
}
