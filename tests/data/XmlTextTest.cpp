#include "data/XmlText.h"
#include "data/SaveFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <climits>
#include <tuple>

#include "fixtures/HeadlessApp.h"

namespace
{

TEST(XmlText, IntegerAttributesReadLikeAScanOfAnInteger)
{
    // A null text leaves the attribute out.
    const AttributeRead ok = AttributeRead::Ok, nan = AttributeRead::NotANumber, none = AttributeRead::Absent;
    const int32_t hi = INT32_MAX, lo = INT32_MIN;
    const std::tuple<const char*, AttributeRead, int32_t> cases[] = {
        {"12abc", ok, 12}, {" 3", ok, 3}, {"0x10", ok, 0},         {"2.9", ok, 2},
        {"-7", ok, -7},    {"+8", ok, 8}, {"99999999999", ok, hi}, {"-99999999999", ok, lo},
        {"abc", nan, 55},  {"", nan, 55}, {"- 1", nan, 55},        {nullptr, none, 55},
    };
    for (const auto& [text, result, expected] : cases)
    {
        TiXmlElement element("e");
        if (text)
            element.SetAttribute("v", text);
        int32_t value = 55;
        const AttributeRead read = ReadIntAttribute(element, "v", value);
        EXPECT_EQ(std::make_pair(read, value), std::make_pair(result, expected)) << (text ? text : "(absent)");
    }
}

using SaveFileTest = HeadlessApp;

TEST_F(SaveFileTest, AbandonedOrFailedWritesLeaveTheTargetAlone)
{
    WriteFile("file.txt", "old");
    {
        SaveFile file(PathOf("file.txt"));
        ASSERT_TRUE(file.Open());
        file.Write("half");
    } // destroyed without Commit, as when the writer gives up
    EXPECT_EQ(ReadFile("file.txt") + "|" + ReadFile("file.txt.tmp"), "old|");

    SaveFile unopened(PathOf("file.txt"));
    unopened.Write("x");
    EXPECT_FALSE(unopened.Commit());
    SaveFile nowhere(PathOf("missing/file.txt"));
    EXPECT_FALSE(nowhere.Open() || nowhere.Commit());
    EXPECT_EQ(ReadFile("file.txt"), "old");
}

} // namespace
