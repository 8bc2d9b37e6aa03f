#include "ActionTestSupport.h"

#include "player/ScriptGlobals.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace swf;
using namespace swf::test;

namespace
{

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

} // namespace

TEST_F(ActionInterpreterTest, PushTypesGiveTheirValues)
{
    EXPECT_EQ("hello", eval(ActionBuilder().pushString("hello")).toString());
    ScriptValue boolean = eval(ActionBuilder().pushBool(true));
    EXPECT_TRUE(boolean.isNumber());
    EXPECT_EQ("1", boolean.toString());
    // The null type pushes undefined, the undefined type the number 0.
    EXPECT_TRUE(eval(ActionBuilder().pushNullType()).isUndefined());
    ScriptValue zero = eval(ActionBuilder().pushUndefinedType());
    EXPECT_TRUE(zero.isNumber());
    EXPECT_DOUBLE_EQ(0.0, zero.toNumber());
    EXPECT_DOUBLE_EQ(-123456.0, eval(ActionBuilder().pushInt(-123456)).toNumber());
    EXPECT_DOUBLE_EQ(1.5, eval(ActionBuilder().pushNumber(1.5)).toNumber());
    // 32-bit float 2.5 is 0x40200000.
    EXPECT_DOUBLE_EQ(2.5, eval(ActionBuilder().push({1, 0x00, 0x00, 0x20, 0x40})).toNumber());
}

TEST_F(ActionInterpreterTest, OnePushCarriesSeveralValuesInOrder)
{
    ActionBuilder code;
    std::vector<uint8_t> values = ActionBuilder::stringValue("a");
    std::vector<uint8_t> second = ActionBuilder::intValue(7);
    values.insert(values.end(), second.begin(), second.end());
    code.push(values).op(0x21); // StringAdd: "a" + "7"
    EXPECT_EQ("a7", eval(code).toString());
}

TEST_F(ActionInterpreterTest, RegistersAndConstantPool)
{
    EXPECT_DOUBLE_EQ(9.0, eval(ActionBuilder().pushInt(9).storeRegister(2).op(0x17).pushRegister(2)).toNumber());
    // An index outside the registers pushes 0, and a store there is ignored.
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushRegister(200)).toNumber());
    EXPECT_DOUBLE_EQ(5.0, eval(ActionBuilder().pushInt(5).storeRegister(255).op(0x17).pushInt(5)).toNumber());
    ActionBuilder pooled;
    pooled.constantPool({"zero", "one"}).pushConstant(1);
    EXPECT_EQ("one", eval(pooled).toString());
    ActionBuilder outside;
    outside.constantPool({"zero"}).pushConstant(300);
    ScriptValue missing = eval(outside);
    EXPECT_TRUE(missing.isNumber());
    EXPECT_DOUBLE_EQ(0.0, missing.toNumber());
    // Without a ConstantPool in the record there is no pool at all.
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushConstant(0)).toNumber());
}

TEST_F(ActionInterpreterTest, ConstantPoolEntriesBeyondTheActionReadInvalid)
{
    // Count says 3, but only one string fits in the action.
    ActionBuilder code;
    code.action(0x88, {3, 0, 'o', 'k', 0}).pushConstant(0).pushConstant(2).op(0x21);
    EXPECT_EQ("ok<invalid>", eval(code).toString());
}

TEST_F(ActionInterpreterTest, Arithmetic)
{
    EXPECT_DOUBLE_EQ(7.0, eval(ActionBuilder().pushInt(3).pushInt(4).op(0x0A)).toNumber());
    EXPECT_DOUBLE_EQ(-1.0, eval(ActionBuilder().pushInt(3).pushInt(4).op(0x0B)).toNumber());
    EXPECT_DOUBLE_EQ(12.0, eval(ActionBuilder().pushInt(3).pushInt(4).op(0x0C)).toNumber());
    EXPECT_DOUBLE_EQ(0.75, eval(ActionBuilder().pushInt(3).pushInt(4).op(0x0D)).toNumber());
    EXPECT_EQ("Infinity", eval(ActionBuilder().pushInt(3).pushInt(0).op(0x0D)).toString());
    EXPECT_EQ("-Infinity", eval(ActionBuilder().pushInt(-3).pushInt(0).op(0x0D)).toString());
    EXPECT_EQ("NaN", eval(ActionBuilder().pushInt(0).pushInt(0).op(0x0D)).toString());
    EXPECT_DOUBLE_EQ(6.0, eval(ActionBuilder().pushInt(5).op(0x50)).toNumber());
    EXPECT_DOUBLE_EQ(4.0, eval(ActionBuilder().pushString("5").op(0x51)).toNumber());
    EXPECT_DOUBLE_EQ(-2.0, eval(ActionBuilder().pushNumber(-2.7).op(0x18)).toNumber());
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushInt(0).pushInt(0).op(0x0D).op(0x18)).toNumber());
}

TEST_F(ActionInterpreterTest, Add2ConcatenatesWhenEitherSideIsText)
{
    EXPECT_EQ("a1", eval(ActionBuilder().pushString("a").pushInt(1).op(0x47)).toString());
    EXPECT_EQ("1a", eval(ActionBuilder().pushInt(1).pushString("a").op(0x47)).toString());
    ScriptValue sum = eval(ActionBuilder().pushInt(1).pushInt(2).op(0x47));
    EXPECT_TRUE(sum.isNumber());
    EXPECT_DOUBLE_EQ(3.0, sum.toNumber());
    // Add (SWF 4) is always numeric.
    EXPECT_DOUBLE_EQ(3.0, eval(ActionBuilder().pushString("1").pushString("2").op(0x0A)).toNumber());
}

TEST_F(ActionInterpreterTest, ComparisonsAndLogicGiveOneOrZero)
{
    EXPECT_EQ("1", eval(ActionBuilder().pushString("5").pushInt(5).op(0x0E)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushString("5").pushInt(5).op(0x49)).toString());
    EXPECT_EQ("0", eval(ActionBuilder().pushString("5").pushInt(5).op(0x66)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushNullType().pushNullType().op(0x49)).toString());
    EXPECT_EQ("0", eval(ActionBuilder().pushNullType().pushInt(0).op(0x49)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushInt(2).pushInt(3).op(0x0F)).toString());
    EXPECT_EQ("0", eval(ActionBuilder().pushInt(3).pushInt(2).op(0x0F)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushInt(3).pushInt(2).op(0x67)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushString("abc").pushString("abd").op(0x48)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushString("10").pushInt(9).op(0x67)).toString());
    // A NaN operand makes Less2 undefined.
    EXPECT_TRUE(eval(ActionBuilder().pushInt(0).pushInt(0).op(0x0D).pushInt(1).op(0x48)).isUndefined());
    EXPECT_EQ("1", eval(ActionBuilder().pushInt(1).pushString("true").op(0x10)).toString());
    EXPECT_EQ("0", eval(ActionBuilder().pushInt(1).pushString("x").op(0x10)).toString());
    EXPECT_EQ("0", eval(ActionBuilder().pushInt(1).pushInt(0).op(0x10)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushInt(0).pushInt(2).op(0x11)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushInt(0).op(0x12)).toString());
    EXPECT_EQ("0", eval(ActionBuilder().pushString("true").op(0x12)).toString());
}

TEST_F(ActionInterpreterTest, StringActionsCountCharacters)
{
    EXPECT_EQ("1", eval(ActionBuilder().pushString("ab").pushString("ab").op(0x13)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushString("ab").pushString("b").op(0x29)).toString());
    EXPECT_EQ("1", eval(ActionBuilder().pushString("b").pushString("ab").op(0x68)).toString());
    EXPECT_DOUBLE_EQ(5.0, eval(ActionBuilder().pushString("h\xC3\xA9llo").op(0x14)).toNumber());
    EXPECT_EQ("ell", eval(ActionBuilder().pushString("hello").pushInt(2).pushInt(3).op(0x15)).toString());
    EXPECT_EQ("he", eval(ActionBuilder().pushString("hello").pushInt(0).pushInt(2).op(0x15)).toString());
    EXPECT_EQ("llo", eval(ActionBuilder().pushString("hello").pushInt(3).pushInt(-1).op(0x15)).toString());
    EXPECT_EQ("", eval(ActionBuilder().pushString("hello").pushInt(9).pushInt(2).op(0x15)).toString());
    EXPECT_EQ("\xC3\xA9", eval(ActionBuilder().pushString("h\xC3\xA9llo").pushInt(2).pushInt(1).op(0x15)).toString());
    EXPECT_DOUBLE_EQ(65.0, eval(ActionBuilder().pushString("AB").op(0x32)).toNumber());
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushString("").op(0x32)).toNumber());
    EXPECT_EQ("A", eval(ActionBuilder().pushInt(65).op(0x33)).toString());
    EXPECT_EQ("\xE2\x82\xAC", eval(ActionBuilder().pushInt(0x20AC).op(0x33)).toString());
    EXPECT_EQ("", eval(ActionBuilder().pushInt(0).op(0x33)).toString());
    EXPECT_DOUBLE_EQ(12.0, eval(ActionBuilder().pushString("12").op(0x4A)).toNumber());
    EXPECT_TRUE(eval(ActionBuilder().pushInt(12).op(0x4B)).isString());
}

TEST_F(ActionInterpreterTest, BitOperationsWorkOn32BitIntegersWithMaskedShifts)
{
    EXPECT_DOUBLE_EQ(2.0, eval(ActionBuilder().pushInt(6).pushInt(3).op(0x60)).toNumber());
    EXPECT_DOUBLE_EQ(7.0, eval(ActionBuilder().pushInt(6).pushInt(3).op(0x61)).toNumber());
    EXPECT_DOUBLE_EQ(5.0, eval(ActionBuilder().pushInt(6).pushInt(3).op(0x62)).toNumber());
    // Shift counts are taken modulo 32: 40 shifts by 8.
    EXPECT_DOUBLE_EQ(256.0, eval(ActionBuilder().pushInt(1).pushInt(40).op(0x63)).toNumber());
    EXPECT_DOUBLE_EQ(-2147483648.0, eval(ActionBuilder().pushInt(1).pushInt(31).op(0x63)).toNumber());
    EXPECT_DOUBLE_EQ(1.0, eval(ActionBuilder().pushInt(2).pushInt(-31).op(0x64)).toNumber());
    EXPECT_DOUBLE_EQ(-4.0, eval(ActionBuilder().pushInt(-8).pushInt(1).op(0x64)).toNumber());
    EXPECT_DOUBLE_EQ(4294967295.0, eval(ActionBuilder().pushInt(-1).pushInt(0).op(0x65)).toNumber());
    EXPECT_DOUBLE_EQ(2147483647.0, eval(ActionBuilder().pushInt(-1).pushInt(1).op(0x65)).toNumber());
    // NaN, infinities and huge numbers convert without undefined behaviour.
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushInt(0).pushInt(0).op(0x0D).pushInt(3).op(0x61)).toNumber() - 3.0);
    EXPECT_DOUBLE_EQ(1.0, eval(ActionBuilder().pushNumber(4294967297.0).pushInt(1).op(0x60)).toNumber());
}

TEST_F(ActionInterpreterTest, StackShufflesAndEmptyPops)
{
    EXPECT_DOUBLE_EQ(1.0, eval(ActionBuilder().pushInt(1).pushInt(2).op(0x4D).op(0x0B)).toNumber());
    EXPECT_DOUBLE_EQ(8.0, eval(ActionBuilder().pushInt(4).op(0x4C).op(0x0A)).toNumber());
    EXPECT_DOUBLE_EQ(1.0, eval(ActionBuilder().pushInt(1).pushInt(2).op(0x17)).toNumber());
    ActionBuilder pops;
    for (int i = 0; i < 10; ++i)
        pops.op(0x17);
    pops.op(0x4C).op(0x0A); // duplicate and add two undefined values
    EXPECT_DOUBLE_EQ(0.0, eval(pops).toNumber());
}

TEST_F(ActionInterpreterTest, JumpsAndConditions)
{
    // i = 0; while (i < 10) i = i + 1
    ActionBuilder loopBody;
    loopBody.pushString("i").getVariable("i").op(0x50).op(0x1D);
    ActionBuilder code;
    code.setNumber("i", 0);
    ActionBuilder test;
    test.getVariable("i").pushInt(10).op(0x0F).op(0x12);
    std::size_t testSize = test.size() + 5; // the test and its If
    code.append(test).branchIf(static_cast<int16_t>(loopBody.size() + 5));
    code.append(loopBody).jump(static_cast<int16_t>(-(static_cast<int>(loopBody.size() + 5 + testSize))));
    root->run(code);
    EXPECT_DOUBLE_EQ(10.0, root->variable("i").toNumber());

    // NaN is true in a condition: the If skips the assignment.
    ActionBuilder skip;
    skip.setNumber("hit", 0);
    ActionBuilder assign;
    assign.setNumber("hit", 1);
    skip.pushInt(0).pushInt(0).op(0x0D).branchIf(static_cast<int16_t>(assign.size())).append(assign);
    root->run(skip);
    EXPECT_DOUBLE_EQ(0.0, root->variable("hit").toNumber());
}

TEST_F(ActionInterpreterTest, UnhandledActionsAreSkipped)
{
    ActionBuilder code;
    code.pushString("a").op(0x45);      // TargetPath: not handled, nothing popped or pushed
    code.action(0x8D, {1, 2}).op(0x31); // WaitForFrame2-style data and MBStringLength
    EXPECT_EQ("a", eval(code).toString());
}

TEST_F(ActionInterpreterTest, EndActionStopsTheRecord)
{
    ActionBuilder code;
    code.setNumber("x", 1).op(0x00).setNumber("x", 2);
    root->run(code);
    EXPECT_DOUBLE_EQ(1.0, root->variable("x").toNumber());
}

TEST_F(ActionInterpreterTest, StringMethodsAndMembers)
{
    EXPECT_DOUBLE_EQ(5.0, eval(ActionBuilder().pushString("hello").pushString("length").op(0x4E)).toNumber());
    // "hello".substring(1, 3)
    EXPECT_EQ(
        "el",
        eval(ActionBuilder().pushInt(3).pushInt(1).pushInt(2).pushString("hello").pushString("substring").op(0x52))
            .toString());
    EXPECT_EQ(
        "lo",
        eval(ActionBuilder().pushInt(3).pushInt(1).pushString("hello").pushString("substring").op(0x52)).toString());
    EXPECT_EQ(
        "el",
        eval(ActionBuilder().pushInt(1).pushInt(3).pushInt(2).pushString("hello").pushString("substring").op(0x52))
            .toString());
    EXPECT_DOUBLE_EQ(
        2.0,
        eval(ActionBuilder().pushString("l").pushInt(1).pushString("hello").pushString("indexOf").op(0x52)).toNumber());
    EXPECT_DOUBLE_EQ(
        3.0,
        eval(ActionBuilder().pushInt(3).pushString("l").pushInt(2).pushString("hello").pushString("indexOf").op(0x52))
            .toNumber());
    EXPECT_DOUBLE_EQ(
        -1.0,
        eval(ActionBuilder().pushString("z").pushInt(1).pushString("hello").pushString("indexOf").op(0x52)).toNumber());
    EXPECT_DOUBLE_EQ(
        101.0,
        eval(ActionBuilder().pushInt(1).pushInt(1).pushString("hello").pushString("charCodeAt").op(0x52)).toNumber());
    EXPECT_EQ(
        "NaN",
        eval(ActionBuilder().pushInt(9).pushInt(1).pushString("hello").pushString("charCodeAt").op(0x52)).toString());
}

TEST_F(ActionInterpreterTest, MathObjectOnTheGlobal)
{
    EXPECT_DOUBLE_EQ(
        2.0,
        eval(ActionBuilder().pushNumber(2.7).pushInt(1).getVariable("math").pushString("floor").op(0x52)).toNumber());
    EXPECT_DOUBLE_EQ(
        3.0,
        eval(ActionBuilder().pushNumber(2.5).pushInt(1).getVariable("Math").pushString("round").op(0x52)).toNumber());
    EXPECT_DOUBLE_EQ(M_PI, eval(ActionBuilder().getVariable("math.pi")).toNumber());
    EXPECT_DOUBLE_EQ(M_SQRT2, eval(ActionBuilder().getVariable("_global.math.sqrt2")).toNumber());
    EXPECT_DOUBLE_EQ(
        3.0, eval(ActionBuilder().pushInt(9).pushInt(1).getVariable("math").pushString("sqrt").op(0x52)).toNumber());
    EXPECT_DOUBLE_EQ(
        4.0, eval(ActionBuilder().pushInt(-4).pushInt(1).getVariable("math").pushString("abs").op(0x52)).toNumber());
    for (int i = 0; i < 20; ++i)
    {
        double r = eval(ActionBuilder().pushInt(0).getVariable("math").pushString("random").op(0x52)).toNumber();
        EXPECT_GE(r, 0.0);
        EXPECT_LT(r, 1.0);
    }
}

TEST_F(ActionInterpreterTest, RandomNumberStaysInRangeAndZeroIsSafe)
{
    for (int i = 0; i < 50; ++i)
    {
        double value = eval(ActionBuilder().pushInt(6).op(0x30)).toNumber();
        EXPECT_GE(value, 0.0);
        EXPECT_LT(value, 6.0);
        EXPECT_EQ(value, std::floor(value));
    }
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushInt(0).op(0x30)).toNumber());
    EXPECT_DOUBLE_EQ(0.0, eval(ActionBuilder().pushInt(-5).op(0x30)).toNumber());
}

TEST_F(ActionInterpreterTest, TraceReachesTheInstalledHandler)
{
    std::vector<std::string> lines;
    setTraceHandler([](const std::string& text, void* context)
                    { static_cast<std::vector<std::string>*>(context)->push_back(text); },
                    &lines);
    root->run(ActionBuilder().pushString("hi").op(0x26).pushBool(true).op(0x26));
    setTraceHandler(nullptr, nullptr);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("hi", lines[0]);
    EXPECT_EQ("1", lines[1]);
}

TEST_F(ActionInterpreterTest, GetTimeReadsTheMovieClockInMilliseconds)
{
    root->time = 1.2345;
    EXPECT_DOUBLE_EQ(1234.0, eval(ActionBuilder().op(0x34)).toNumber());
}
