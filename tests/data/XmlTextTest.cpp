#include "data/XmlText.h"
#include "data/SaveFile.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace
{

TEST(XmlText, EscapedNamesParseBackUnchanged)
{
    EXPECT_EQ(EscapeXml("R&B <\"x\"> 'y'"), "R&amp;B &lt;&quot;x&quot;&gt; &apos;y&apos;");
    EXPECT_EQ(EscapeXml("a\tb\nc"), "a&#9;b&#10;c");
    const std::string names[] = {"A&B<\"", "x \"y\" & z", "caf\xc3\xa9", "Tab\tand\r\nlines", "&amp;", ""};
    for (const std::string& name : names)
    {
        TiXmlDocument document;
        document.Parse(("<p name=\"" + EscapeXml(name) + "\"/>").c_str());
        ASSERT_FALSE(document.Error()) << name;
        EXPECT_EQ(document.FirstChildElement("p")->Attribute("name"), name);
    }
}

TEST(XmlText, IntegerAttributesReadLikeAScanOfAnInteger)
{
    struct Case
    {
        const char* text;
        AttributeRead result;
        int32_t value;
    };
    const Case cases[] = {
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
    for (const Case& c : cases)
    {
        TiXmlElement element("e");
        element.SetAttribute("v", c.text);
        int32_t value = 55;
        EXPECT_EQ(ReadIntAttribute(element, "v", value), c.result) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    TiXmlElement element("e");
    int32_t value = 55;
    EXPECT_EQ(ReadIntAttribute(element, "v", value), AttributeRead::Absent);
    EXPECT_EQ(value, 55);
}

TEST(XmlText, DecimalAttributes)
{
    TiXmlElement element("e");
    double value = -1.0;
    element.SetAttribute("v", "0.75xyz");
    EXPECT_EQ(ReadDoubleAttribute(element, "v", value), AttributeRead::Ok);
    EXPECT_DOUBLE_EQ(value, 0.75);
    element.SetAttribute("v", "nan");
    EXPECT_EQ(ReadDoubleAttribute(element, "v", value), AttributeRead::Ok);
    EXPECT_TRUE(std::isnan(value));
    value = -1.0;
    element.SetAttribute("v", "loud");
    EXPECT_EQ(ReadDoubleAttribute(element, "v", value), AttributeRead::NotANumber);
    EXPECT_EQ(ReadDoubleAttribute(element, "w", value), AttributeRead::Absent);
    EXPECT_EQ(value, -1.0);
    EXPECT_EQ(FormatC("%1.2f|%1.2f|%d", 1.0, 0.35f, -4), "1.00|0.35|-4");
}

class SaveFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/savefile-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string folder;
};

TEST_F(SaveFileTest, AbandonedOrFailedWritesLeaveTheTargetAlone)
{
    const std::string target = folder + "/file.txt";
    std::ofstream(target) << "old";
    {
        SaveFile file(target);
        ASSERT_TRUE(file.Open());
        file.Write("half");
    } // destroyed without Commit, as when the writer gives up
    EXPECT_EQ(Read(target), "old");
    EXPECT_FALSE(std::ifstream(target + ".tmp").good());

    SaveFile unopened(target);
    unopened.Write("x");
    EXPECT_FALSE(unopened.Commit());

    SaveFile nowhere(folder + "/missing/file.txt");
    EXPECT_FALSE(nowhere.Open());
    EXPECT_FALSE(nowhere.Commit());
    EXPECT_EQ(Read(target), "old");
}

} // namespace
