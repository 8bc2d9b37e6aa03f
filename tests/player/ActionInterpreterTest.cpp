#include "FakeSprite.h"

#include "player/ScriptGlobals.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace swf;
using namespace swf::test;

namespace
{

using A = ActionBuilder;

class ActionInterpreterTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        root->clearScripts();
        releaseScriptGlobals();
    }

    // Runs `code`, then stores the stack top in "result" and returns it.
    ScriptValue eval(ActionBuilder code)
    {
        code.setVariableFromStack("result");
        root->run(code);
        return root->variable("result");
    }

    Ref<FakeSprite> root = makeRef<FakeSprite>();
};

// CallMethod: the arguments (pushed last first by `args`), their count, the object, the name.
A method(A args, int count, A object, const std::string& name)
{
    return args.pushInt(count).append(object).pushString(name).op(0x52);
}

A nan()
{
    return A().pushInt(0).pushInt(0).op(0x0D);
}

} // namespace

TEST_F(ActionInterpreterTest, ActionsGiveTheirValues)
{
    const A hello = A().pushString("hello");
    const A math = A().getVariable("math");
    const std::pair<A, std::string> cases[] = {
        // Push types: the null type pushes undefined, the undefined type the number 0; 2.5 as a float.
        {A().pushString("hello"), "hello"},
        {A().pushBool(true), "1"},
        {A().push({2}), "undefined"},
        {A().push({3}), "0"},
        {A().pushInt(-123456), "-123456"},
        {A().pushNumber(1.5), "1.5"},
        {A().push({1, 0x00, 0x00, 0x20, 0x40}), "2.5"},
        // One push of a string and an integer, then StringAdd.
        {A().push({0, 'a', 0, 7, 7, 0, 0, 0}).op(0x21), "a7"},
        // Registers: an index outside them pushes 0, a store there is ignored.
        {A().pushInt(9).storeRegister(2).op(0x17).pushRegister(2), "9"},
        {A().pushRegister(200), "0"},
        {A().pushInt(5).storeRegister(255).op(0x17).pushInt(5), "5"},
        // The constant pool; indexes beyond it and a pool cut short by its action.
        {A().constantPool({"zero", "one"}).pushConstant(1), "one"},
        {A().constantPool({"zero"}).pushConstant(300), "0"},
        {A().pushConstant(0), "0"},
        {A().action(0x88, {3, 0, 'o', 'k', 0}).pushConstant(0).pushConstant(2).op(0x21), "ok<invalid>"},
        // Arithmetic.
        {A().pushInt(3).pushInt(4).op(0x0A), "7"},
        {A().pushInt(3).pushInt(4).op(0x0B), "-1"},
        {A().pushInt(3).pushInt(4).op(0x0C), "12"},
        {A().pushInt(3).pushInt(4).op(0x0D), "0.75"},
        {A().pushInt(3).pushInt(0).op(0x0D), "Infinity"},
        {A().pushInt(-3).pushInt(0).op(0x0D), "-Infinity"},
        {nan(), "NaN"},
        {A().pushInt(5).op(0x50), "6"},
        {A().pushString("5").op(0x51), "4"},
        {A().pushNumber(-2.7).op(0x18), "-2"},
        {nan().op(0x18), "0"},
        // Add2 concatenates when either side is text; Add is always numeric.
        {A().pushString("a").pushInt(1).op(0x47), "a1"},
        {A().pushInt(1).pushString("a").op(0x47), "1a"},
        {A().pushInt(1).pushInt(2).op(0x47), "3"},
        {A().pushString("1").pushString("2").op(0x0A), "3"},
        // Comparisons and logic give 1 or 0; a NaN operand makes Less2 undefined.
        {A().pushString("5").pushInt(5).op(0x0E), "1"},
        {A().pushString("5").pushInt(5).op(0x49), "1"},
        {A().pushString("5").pushInt(5).op(0x66), "0"},
        {A().push({2}).push({2}).op(0x49), "1"},
        {A().push({2}).pushInt(0).op(0x49), "0"},
        {A().pushInt(2).pushInt(3).op(0x0F), "1"},
        {A().pushInt(3).pushInt(2).op(0x0F), "0"},
        {A().pushInt(3).pushInt(2).op(0x67), "1"},
        {A().pushString("abc").pushString("abd").op(0x48), "1"},
        {A().pushString("10").pushInt(9).op(0x67), "1"},
        {nan().pushInt(1).op(0x48), "undefined"},
        {A().pushInt(1).pushString("true").op(0x10), "1"},
        {A().pushInt(1).pushString("x").op(0x10), "0"},
        {A().pushInt(1).pushInt(0).op(0x10), "0"},
        {A().pushInt(0).pushInt(2).op(0x11), "1"},
        {A().pushInt(0).op(0x12), "1"},
        {A().pushString("true").op(0x12), "0"},
        // String actions count characters, not bytes.
        {A().pushString("ab").pushString("ab").op(0x13), "1"},
        {A().pushString("ab").pushString("b").op(0x29), "1"},
        {A().pushString("b").pushString("ab").op(0x68), "1"},
        {A().pushString("h\xC3\xA9llo").op(0x14), "5"},
        {A().pushString("hello").pushInt(2).pushInt(3).op(0x15), "ell"},
        {A().pushString("hello").pushInt(0).pushInt(2).op(0x15), "he"},
        {A().pushString("hello").pushInt(3).pushInt(-1).op(0x15), "llo"},
        {A().pushString("hello").pushInt(9).pushInt(2).op(0x15), ""},
        {A().pushString("h\xC3\xA9llo").pushInt(2).pushInt(1).op(0x15), "\xC3\xA9"},
        {A().pushString("AB").op(0x32), "65"},
        {A().pushString("").op(0x32), "0"},
        {A().pushInt(65).op(0x33), "A"},
        {A().pushInt(0x20AC).op(0x33), "\xE2\x82\xAC"},
        {A().pushInt(0).op(0x33), ""},
        {A().pushString("12").op(0x4A).pushInt(1).op(0x0A), "13"},
        {A().pushInt(12).op(0x4B).pushInt(1).op(0x47), "121"},
        // Bit operations on 32-bit integers, shift counts modulo 32.
        {A().pushInt(6).pushInt(3).op(0x60), "2"},
        {A().pushInt(6).pushInt(3).op(0x61), "7"},
        {A().pushInt(6).pushInt(3).op(0x62), "5"},
        {A().pushInt(1).pushInt(40).op(0x63), "256"},
        {A().pushInt(2).pushInt(-31).op(0x64), "1"},
        {A().pushInt(-8).pushInt(1).op(0x64), "-4"},
        {nan().pushInt(3).op(0x61), "3"},
        {A().pushNumber(4294967297.0).pushInt(1).op(0x60), "1"},
        // Stack shuffles; pops of an empty stack give undefined.
        {A().pushInt(1).pushInt(2).op(0x4D).op(0x0B), "1"},
        {A().pushInt(4).op(0x4C).op(0x0A), "8"},
        {A().pushInt(1).pushInt(2).op(0x17), "1"},
        {A().op(0x17).op(0x17).op(0x17).op(0x4C).op(0x0A), "0"},
        // Unhandled actions are skipped (TargetPath, WaitForFrame2-style data, MBStringLength).
        {A().pushString("a").op(0x45).action(0x8D, {1, 2}).op(0x31), "a"},
        // String methods and members.
        {A().pushString("hello").pushString("length").op(0x4E), "5"},
        {method(A().pushInt(3).pushInt(1), 2, hello, "substring"), "el"},
        {method(A().pushInt(3), 1, hello, "substring"), "lo"},
        {method(A().pushInt(1).pushInt(3), 2, hello, "substring"), "el"},
        {method(A().pushString("l"), 1, hello, "indexOf"), "2"},
        {method(A().pushInt(3).pushString("l"), 2, hello, "indexOf"), "3"},
        {method(A().pushString("z"), 1, hello, "indexOf"), "-1"},
        {method(A().pushInt(1), 1, hello, "charCodeAt"), "101"},
        {method(A().pushInt(9), 1, hello, "charCodeAt"), "NaN"},
        // The Math object on the global, under either case.
        {method(A().pushNumber(2.7), 1, math, "floor"), "2"},
        {method(A().pushNumber(2.5), 1, A().getVariable("Math"), "round"), "3"},
        {method(A().pushInt(9), 1, math, "sqrt"), "3"},
        {method(A().pushInt(-4), 1, math, "abs"), "4"},
        // RandomNumber of nothing is 0.
        {A().pushInt(0).op(0x30), "0"},
        {A().pushInt(-5).op(0x30), "0"},
    };
    for (const auto& [code, shown] : cases)
        EXPECT_EQ(shown, eval(code).toString()) << "expected " << shown;

    const std::pair<A, double> numbers[] = {
        {A().pushInt(1).pushInt(31).op(0x63), -2147483648.0}, {A().pushInt(-1).pushInt(0).op(0x65), 4294967295.0},
        {A().pushInt(-1).pushInt(1).op(0x65), 2147483647.0},  {A().getVariable("math.pi"), M_PI},
        {A().getVariable("_global.math.sqrt2"), M_SQRT2},
    };
    for (const auto& [code, value] : numbers)
        EXPECT_DOUBLE_EQ(value, eval(code).toNumber());
    EXPECT_TRUE(eval(A().pushBool(true)).isNumber());
    EXPECT_TRUE(eval(A().push({3})).isNumber());
    EXPECT_TRUE(eval(A().pushInt(12).op(0x4B)).isString());
}

TEST_F(ActionInterpreterTest, JumpsConditionsAndEnd)
{
    // i = 0; while (i < 10) i = i + 1
    A body = A().increment("i");
    A test = A().getVariable("i").pushInt(10).op(0x0F).op(0x12);
    A code = A().setNumber("i", 0).append(test).branchIf(int16_t(body.size() + 5));
    code.append(body).jump(int16_t(-int(body.size() + 5 + test.size() + 5)));
    root->run(code);
    EXPECT_DOUBLE_EQ(10.0, root->variable("i").toNumber());
    // NaN is true in a condition: the If skips the assignment.
    A assign = A().setNumber("hit", 1);
    root->run(A().setNumber("hit", 0).append(nan()).branchIf(int16_t(assign.size())).append(assign));
    EXPECT_DOUBLE_EQ(0.0, root->variable("hit").toNumber());
    // End stops the record.
    root->run(A().setNumber("x", 1).op(0x00).setNumber("x", 2));
    EXPECT_DOUBLE_EQ(1.0, root->variable("x").toNumber());
}

TEST_F(ActionInterpreterTest, LongLoopsOverDottedPathsFinish)
{
    // Each resolved path component costs one action of the budget, once: a loop of 3000 rounds
    // reading and writing a.b.n is far inside it.
    root->addChild("a").addChild("b");
    A body = A().increment("a.b.n");
    A test = A().getVariable("a.b.n").pushInt(3000).op(0x0F).op(0x12);
    A code = A().setNumber("a.b.n", 0).append(test).branchIf(int16_t(body.size() + 5));
    code.append(body).jump(int16_t(-int(body.size() + 5 + test.size() + 5)));
    root->run(code);
    EXPECT_DOUBLE_EQ(3000.0, eval(A().getVariable("a.b.n")).toNumber());
}
