#include "FakeSprite.h"

#include "player/ScriptGlobals.h"
#include "player/ScriptString.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

using namespace swf;
using namespace swf::test;

namespace
{

class ActionRobustnessTest : public ::testing::Test
{
  protected:
    void TearDown() override
    {
        root->clearScripts();
        releaseScriptGlobals();
    }

    void runBytes(const std::vector<uint8_t>& bytes)
    {
        Ref<ActionRecord> record = makeRef<ActionRecord>(bytes);
        executeActions(*record, root->env);
    }

    Ref<FakeSprite> root = makeRef<FakeSprite>();
};

} // namespace

TEST_F(ActionRobustnessTest, EndlessLoopsAreAbandonedOnceWithinTheBudget)
{
    // x = x + 1, then loop forever. Frames and clones run the same record again and again; the
    // runaway record costs one budget, not one per run.
    Ref<ActionRecord> record = swftest::record(ActionBuilder().increment("x").jump(-5).setNumber("x", 9));
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i)
        executeActions(*record, root->env);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(record->isRunaway());
    EXPECT_DOUBLE_EQ(1.0, root->variable("x").toNumber());
    // A well-behaved record runs every time, with a fresh budget.
    Ref<ActionRecord> step = swftest::record(ActionBuilder().increment("y"));
    executeActions(*step, root->env);
    executeActions(*step, root->env);
    EXPECT_FALSE(step->isRunaway());
    EXPECT_DOUBLE_EQ(2.0, root->variable("y").toNumber());
}

TEST_F(ActionRobustnessTest, BranchesOutOfTheRecordEndIt)
{
    root->run(ActionBuilder().setNumber("a", 1).jump(-500).setNumber("a", 2));
    EXPECT_DOUBLE_EQ(1.0, root->variable("a").toNumber());
    root->run(ActionBuilder().setNumber("b", 1).jump(30000).setNumber("b", 2));
    EXPECT_DOUBLE_EQ(1.0, root->variable("b").toNumber());
    root->run(ActionBuilder().setNumber("c", 1).pushBool(true).branchIf(-60).setNumber("c", 2));
    EXPECT_DOUBLE_EQ(1.0, root->variable("c").toNumber());
    // A branch exactly to the end is a normal finish.
    ActionBuilder tail;
    tail.setNumber("d", 2);
    root->run(ActionBuilder().setNumber("d", 1).jump(static_cast<int16_t>(tail.size())).append(tail));
    EXPECT_DOUBLE_EQ(1.0, root->variable("d").toNumber());
}

TEST_F(ActionRobustnessTest, TruncatedActionsAreNeverReadPastTheRecord)
{
    ActionBuilder good;
    good.setNumber("ok", 1);
    std::vector<std::vector<uint8_t>> cases = {
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
        std::vector<uint8_t> record = good.bytes;
        record.insert(record.end(), bytes.begin(), bytes.end());
        root->setMember("ok", ScriptValue());
        runBytes(record);
        EXPECT_DOUBLE_EQ(1.0, root->variable("ok").toNumber());
        // The same bytes alone, where the action starts at the last bytes of the record.
        runBytes(bytes);
    }
}

TEST_F(ActionRobustnessTest, HostileOperandsHaveDefinedResults)
{
    ActionBuilder code;
    for (int i = 0; i < 10; ++i)
        code.op(0x17); // Pop on an empty stack
    code.pushInt(7).storeRegister(255).pushString("").pushInt(99).op(0x22).op(0x17);
    code.pushString("").pushInt(1000).pushInt(5).op(0x23);
    code.pushInt(0).op(0x30).op(0x17);                           // RandomNumber(0)
    code.pushInt(1).pushInt(40).op(0x63).op(0x17);               // shift by 40
    code.pushInt(0).pushInt(0).op(0x0D).op(0x18).op(0x17);       // ToInteger(NaN)
    code.pushNumber(1e300).pushNumber(-1e300).op(0x65).op(0x17); // huge shifts
    code.pushNumber(1e300).op(0x33).op(0x17);                    // AsciiToChar(huge)
    code.pushNumber(-1e300).pushInt(1e9).op(0x3D).op(0x17);      // CallFunction with a silly count
    code.pushNumber(1e300).pushString("x").pushString("y").op(0x52).op(0x17);
    code.setNumber("_root.nosuch.x", 1);
    code.setNumber("done", 1);
    root->run(code);
    EXPECT_DOUBLE_EQ(1.0, root->variable("done").toNumber());
    EXPECT_EQ(0u, root->env.stackSize());
}

TEST_F(ActionRobustnessTest, RandomRecordsRunWithoutFaults)
{
    // Records made of random actions with plausible and implausible operands. The point is
    // that nothing crashes or hangs (run this under ASan/UBSan); the loop also checks the
    // state left behind is clean.
    std::mt19937 random(1234);
    const uint8_t codes[] = {0x04, 0x05, 0x06, 0x07, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14,
                             0x15, 0x17, 0x18, 0x1C, 0x1D, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x30,
                             0x32, 0x33, 0x34, 0x3C, 0x3D, 0x3E, 0x41, 0x45, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D,
                             0x4E, 0x4F, 0x50, 0x51, 0x52, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x81,
                             0x83, 0x87, 0x88, 0x8B, 0x8C, 0x94, 0x96, 0x99, 0x9A, 0x9B, 0x9D, 0x9E, 0x9F};
    for (int round = 0; round < 400; ++round)
    {
        std::vector<uint8_t> bytes;
        int actions = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < actions; ++i)
        {
            uint8_t code = codes[random() % sizeof codes];
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
        runBytes(bytes);
        EXPECT_EQ(0u, root->env.stackSize());
        EXPECT_EQ(0, root->env.callDepth());
        EXPECT_EQ(0u, root->env.withCount());
    }
    EXPECT_EQ(0, runningActionNesting());
}
