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
    const std::tuple<const char*, AttributeRead, int32_t> cases[] = {
        {"12abc", AttributeRead::Ok, 12},
        {" 3", AttributeRead::Ok, 3},
        {"0x10", AttributeRead::Ok, 0},
        {"2.9", AttributeRead::Ok, 2},
        {"-7", AttributeRead::Ok, -7},
        {"+8", AttributeRead::Ok, 8},
        {"99999999999", AttributeRead::Ok, INT32_MAX},
        {"-99999999999", AttributeRead::Ok, INT32_MIN},
        {"abc", AttributeRead::NotANumber, 55},
        {"", AttributeRead::NotANumber, 55},
        {"- 1", AttributeRead::NotANumber, 55},
    };
    for (const auto& [text, result, expected] : cases)
    {
        TiXmlElement element("e");
        element.SetAttribute("v", text);
        int32_t value = 55;
        const AttributeRead read = ReadIntAttribute(element, "v", value);
        EXPECT_EQ(std::make_pair(read, value), std::make_pair(result, expected)) << text;
    }
    TiXmlElement element("e");
    int32_t value = 55;
    const AttributeRead read = ReadIntAttribute(element, "v", value);
    EXPECT_EQ(std::make_pair(read, value), std::make_pair(AttributeRead::Absent, 55));
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
