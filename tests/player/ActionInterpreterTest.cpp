// The interpreter on its own: each action's result, control flow, and records that are cut
// short, hostile or random.
#include "ScriptTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

using namespace swf;
using namespace swftest;

namespace
{

using A = ActionBuilder;
using ActionInterpreterTest = ScriptTest;

A nan()
{
    return A().pushInt(0).pushInt(0).op(0x0D);
}

// The loop `name = 0; while (name < rounds) name = name + 1`.
A countingLoop(const std::string& name, int rounds)
{
    A body = A().increment(name);
    A test = A().getVariable(name).pushInt(rounds).op(0x0F).op(0x12);
    A code = A().setNumber(name, 0).append(test).branchIf(int16_t(body.size() + 5));
    return code.append(body).jump(int16_t(-int(body.size() + 5 + test.size() + 5)));
}

} // namespace

TEST_F(ActionInterpreterTest, ActionsGiveTheirValues)
{
    // "operands and actions => result": integers and numbers with a point are pushed as such,
    // 'text' as a string, true as a boolean, nan as 0 / 0, and #XX is the action of code XX.
    const char* const rows[] = {
        "'hello' => hello", "true => 1", "-123456 => -123456", "1.5 => 1.5",
        // Arithmetic.
        "3 4 #0A => 7", "3 4 #0B => -1", "3 4 #0C => 12", "3 4 #0D => 0.75", "3 0 #0D => Infinity",
        "-3 0 #0D => -Infinity", "nan => NaN", "5 #50 => 6", "'5' #51 => 4", "-2.7 #18 => -2", "nan #18 => 0",
        // Add2 concatenates when either side is text; Add is always numeric.
        "'a' 1 #47 => a1", "1 'a' #47 => 1a", "1 2 #47 => 3", "'1' '2' #0A => 3",
        // Comparisons and logic give 1 or 0; a NaN operand makes Less2 undefined.
        "'5' 5 #0E => 1", "'5' 5 #49 => 1", "'5' 5 #66 => 0", "2 3 #0F => 1", "3 2 #0F => 0", "3 2 #67 => 1",
        "'abc' 'abd' #48 => 1", "'10' 9 #67 => 1", "nan 1 #48 => undefined", "1 'true' #10 => 1", "1 'x' #10 => 0",
        "1 0 #10 => 0", "0 2 #11 => 1", "0 #12 => 1", "'true' #12 => 0",
        // String actions count characters, not bytes.
        "'ab' 'ab' #13 => 1", "'ab' 'b' #29 => 1", "'b' 'ab' #68 => 1", "'h\xC3\xA9llo' #14 => 5",
        "'hello' 2 3 #15 => ell", "'hello' 0 2 #15 => he", "'hello' 3 -1 #15 => llo", "'hello' 9 2 #15 => ",
        "'h\xC3\xA9llo' 2 1 #15 => \xC3\xA9", "'AB' #32 => 65", "'' #32 => 0", "65 #33 => A",
        "8364 #33 => \xE2\x82\xAC", "0 #33 => ", "'12' #4A 1 #0A => 13", "12 #4B 1 #47 => 121",
        // Bit operations on 32-bit integers, shift counts modulo 32.
        "6 3 #60 => 2", "6 3 #61 => 7", "6 3 #62 => 5", "1 40 #63 => 256", "2 -31 #64 => 1", "-8 1 #64 => -4",
        "nan 3 #61 => 3", "4294967297.0 1 #60 => 1",
        // Stack shuffles; pops of an empty stack give undefined.
        "1 2 #4D #0B => 1", "4 #4C #0A => 8", "1 2 #17 => 1", "#17 #17 #17 #4C #0A => 0",
        // String members and methods, called with their arguments (last first) and their count.
        "'hello' 'length' #4E => 5", "3 1 2 'hello' 'substring' #52 => el", "3 1 'hello' 'substring' #52 => lo",
        "1 3 2 'hello' 'substring' #52 => el", "'l' 1 'hello' 'indexOf' #52 => 2", "3 'l' 2 'hello' 'indexOf' #52 => 3",
        "'z' 1 'hello' 'indexOf' #52 => -1", "1 1 'hello' 'charCodeAt' #52 => 101",
        "9 1 'hello' 'charCodeAt' #52 => NaN",
        // The Math object on the global, under either case.
        "2.7 1 'math' #1C 'floor' #52 => 2", "2.5 1 'Math' #1C 'round' #52 => 3", "9 1 'math' #1C 'sqrt' #52 => 3",
        "-4 1 'math' #1C 'abs' #52 => 4",
        // RandomNumber of nothing is 0.
        "0 #30 => 0", "-5 #30 => 0"};
    for (const std::string row : rows)
    {
        const std::size_t arrow = row.find(" => ");
        std::istringstream tokens(row.substr(0, arrow));
        A code;
        for (std::string t; tokens >> t;)
        {
            if (t[0] == '#')
                code.op(uint8_t(std::stoi(t.substr(1), nullptr, 16)));
            else if (t[0] == '\'')
                code.pushString(t.substr(1, t.size() - 2));
            else if (t == "true" || t == "nan")
                code.append(t == "nan" ? nan() : A().pushBool(true));
            else if (t.find('.') != std::string::npos)
                code.pushNumber(std::stod(t));
            else
                code.pushInt(std::stoi(t));
        }
        EXPECT_EQ(row.substr(arrow + 4), eval(code).toString()) << row;
    }

    const std::pair<A, std::string> cases[] = {
        // Push types: the null type pushes undefined, the undefined type the number 0; 2.5 as a float.
        {A().push({2}), "undefined"},
        {A().push({3}), "0"},
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
        // The undefined type against itself and 0.
        {A().push({2}).push({2}).op(0x49), "1"},
        {A().push({2}).pushInt(0).op(0x49), "0"},
        // Unhandled actions are skipped (TargetPath, WaitForFrame2-style data, MBStringLength).
        {A().pushString("a").op(0x45).action(0x8D, {1, 2}).op(0x31), "a"},
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

TEST_F(ActionInterpreterTest, JumpsBranchesAndEnd)
{
    // Each resolved path component costs one action of the budget, once: a loop of 3000 rounds
    // reading and writing menu.button.n is far inside it.
    run(countingLoop("i", 10).append(countingLoop("menu.button.n", 3000)));
    EXPECT_EQ(std::make_pair(variable("i").toNumber(), eval(A().getVariable("menu.button.n")).toNumber()),
              std::make_pair(10.0, 3000.0));
    // Each record sets x to 1 and must stop before setting it to 2: NaN is true in a condition,
    // End stops the record, and branches out of the record end it, also one exactly to its end.
    const A two = A().setNumber("x", 2);
    const A records[] = {A().append(nan()).branchIf(int16_t(two.size())),
                         A().op(0x00),
                         A().jump(-500),
                         A().jump(30000),
                         A().pushBool(true).branchIf(-60),
                         A().jump(int16_t(two.size()))};
    for (const A& record : records)
    {
        run(A().setNumber("x", 1).append(record).append(two));
        EXPECT_DOUBLE_EQ(1.0, variable("x").toNumber()) << testing::PrintToString(record.bytes);
    }
}

TEST_F(ActionInterpreterTest, EndlessLoopsAreAbandonedOnceWithinTheBudget)
{
    // x = x + 1, then loop forever. Frames and clones run the same record again and again; the
    // runaway record costs one budget, not one per run: later runs do nothing.
    Ref<ActionRecord> record = swftest::record(A().increment("x").jump(-5).setNumber("x", 9));
    for (int i = 0; i < 100; ++i)
        executeActions(*record, root()->environment());
    // A well-behaved record runs every time, with a fresh budget.
    Ref<ActionRecord> step = swftest::record(A().increment("y"));
    executeActions(*step, root()->environment());
    executeActions(*step, root()->environment());
    EXPECT_EQ((std::vector<double>{double(record->isRunaway()), variable("x").toNumber(), double(step->isRunaway()),
                                   variable("y").toNumber()}),
              (std::vector<double>{1, 1, 0, 2}));
}

TEST_F(ActionInterpreterTest, CutAndHostileActionsAreNeverReadPastTheRecord)
{
    const std::vector<uint8_t> cases[] = {
        {0x96},                                  // header cut after the code
        {0x96, 0x05},                            // header cut inside the length
        {0x96, 0xFF, 0xFF, 0x00},                // length far beyond the record
        {0x96, 0x04, 0x00, 0x00, 'a', 'b', 'c'}, // string without its terminator
        {0x96, 0x03, 0x00, 0x07, 0x01, 0x02},    // integer cut short
        {0x96, 0x02, 0x00, 0x06, 0x00},          // double cut short
        {0x9B, 0x03, 0x00, 'f', 0x00, 0x05},     // DefineFunction cut inside its counts
        {0x88, 0x02, 0x00, 0xFF, 0xFF},          // pool count beyond its data
        {0x83, 0x02, 0x00, 'F', 'S'},            // GetURL without terminators
        {0x94, 0x01, 0x00, 0x10},                // With cut inside its size
        {0x99, 0x01, 0x00, 0x10},                // Jump cut inside its offset
        {0x87, 0x00, 0x00},                      // StoreRegister without its index
    };
    for (const std::vector<uint8_t>& bytes : cases)
    {
        std::vector<uint8_t> record = A().setNumber("ok", 1).bytes;
        record.insert(record.end(), bytes.begin(), bytes.end());
        root()->setMember("ok", ScriptValue());
        run(record);
        EXPECT_DOUBLE_EQ(1.0, variable("ok").toNumber());
        // The same bytes alone, where the action starts at the last bytes of the record.
        run(bytes);
    }
    // Operands out of every range leave a clean stack.
    A code;
    for (int i = 0; i < 10; ++i)
        code.op(0x17); // Pop on an empty stack
    code.pushInt(7).storeRegister(255).pushString("").pushInt(99).op(0x22).op(0x17);
    code.pushString("").pushInt(1000).pushInt(5).op(0x23);
    code.pushNumber(1e300).pushNumber(-1e300).op(0x65).op(0x17); // huge shifts
    code.pushNumber(1e300).op(0x33).op(0x17);                    // AsciiToChar(huge)
    code.pushNumber(-1e300).pushInt(1e9).op(0x3D).op(0x17);      // CallFunction with a silly count
    code.pushNumber(1e300).pushString("x").pushString("y").op(0x52).op(0x17);
    run(code.setNumber("_root.nosuch.x", 1).setNumber("done", 1));
    EXPECT_DOUBLE_EQ(1.0, variable("done").toNumber());
    EXPECT_EQ(0u, root()->environment().stackSize());
}

TEST_F(ActionInterpreterTest, RandomRecordsRunWithoutFaults)
{
    // Records made of random actions with plausible and implausible operands. The point is
    // that nothing crashes or hangs (run this under ASan/UBSan); the loop also checks the
    // state left behind is clean.
    std::mt19937 random(1234);
    for (int round = 0; round < 400; ++round)
    {
        std::vector<uint8_t> bytes;
        int actions = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < actions; ++i)
        {
            // Any action code up to GotoFrame2, handled or not.
            const auto code = static_cast<uint8_t>(random() % 0xA0);
            bytes.push_back(code);
            if (code >= 0x80)
            {
                std::size_t length = random() % 12;
                bytes.push_back(static_cast<uint8_t>(length));
                bytes.push_back(random() % 8 == 0 ? 0xFF : 0);
                for (std::size_t j = 0; j < length; ++j)
                    bytes.push_back(static_cast<uint8_t>(random() % 4 == 0 ? 0 : random()));
            }
        }
        run(bytes);
        EXPECT_EQ((std::vector<size_t>{root()->environment().stackSize(), size_t(root()->environment().callDepth()),
                                       root()->environment().withCount()}),
                  (std::vector<size_t>{0, 0, 0}));
    }
    EXPECT_EQ(0, runningActionNesting());
}
