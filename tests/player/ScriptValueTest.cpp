#include "player/ScriptValue.h"
#include "player/ScriptObject.h"
#include "player/ScriptString.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace swf;

namespace
{

// An object with its own text, as a text field is.
class TextObject : public ScriptObject
{
  public:
    explicit TextObject(std::string t) : text(std::move(t)) {}
    bool textValue(std::string& out) const override
    {
        out = text;
        return true;
    }
    std::string text;
};

ScriptValue nativeStub(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>&)
{
    return ScriptValue();
}

std::string hexAddress(const char* label, const void* p)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "<%s 0x%llX>", label,
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
    return buffer;
}

} // namespace

TEST(ScriptValueTest, KindsAreNumberedAsTheFormatNumbersThem)
{
    EXPECT_EQ(0, static_cast<int>(ScriptValue().kind()));
    EXPECT_EQ(1, static_cast<int>(ScriptValue("a").kind()));
    EXPECT_EQ(2, static_cast<int>(ScriptValue(1.0).kind()));
    Ref<ScriptObject> object = makeRef<ScriptObject>();
    EXPECT_EQ(3, static_cast<int>(ScriptValue(object).kind()));
    EXPECT_EQ(4, static_cast<int>(ScriptValue(&nativeStub).kind()));
    // A null object reference is undefined: the format has no separate null.
    EXPECT_TRUE(ScriptValue(static_cast<ScriptObject*>(nullptr)).isUndefined());
}

TEST(ScriptValueTest, NumbersPrintLikePercentGWithoutLocaleOrSignOfZero)
{
    EXPECT_EQ("1", ScriptValue(1.0).toString());
    EXPECT_EQ("1.5", ScriptValue(1.5).toString());
    EXPECT_EQ("-3.25", ScriptValue(-3.25).toString());
    EXPECT_EQ("100000", ScriptValue(100000.0).toString());
    EXPECT_EQ("1e+06", ScriptValue(1e6).toString());
    EXPECT_EQ("0.333333", ScriptValue(1.0 / 3.0).toString());
    EXPECT_EQ("0.3", ScriptValue(0.1 + 0.2).toString());
    EXPECT_EQ("0", ScriptValue(-0.0).toString());
    EXPECT_EQ("NaN", ScriptValue(std::nan("")).toString());
    EXPECT_EQ("-Infinity", ScriptValue(-std::numeric_limits<double>::infinity()).toString());
    EXPECT_EQ("undefined", ScriptValue().toString());
    EXPECT_EQ("1", ScriptValue::fromBool(true).toString());
    EXPECT_EQ("0", ScriptValue::fromBool(false).toString());
}

TEST(ScriptValueTest, ObjectsAndFunctionsPrintTheirTextOrFullAddress)
{
    Ref<ScriptObject> plain = makeRef<ScriptObject>();
    EXPECT_EQ(hexAddress("object", plain.get()), ScriptValue(plain).toString());
    Ref<TextObject> field = makeRef<TextObject>("hello");
    EXPECT_EQ("hello", ScriptValue(field.get()).toString());
    EXPECT_EQ(hexAddress("c_function", reinterpret_cast<const void*>(&nativeStub)),
              ScriptValue(&nativeStub).toString());
}

TEST(ScriptValueTest, StringsConvertThroughTheirLeadingNumber)
{
    EXPECT_DOUBLE_EQ(12.5, ScriptValue(" 12.5abc").toNumber());
    EXPECT_DOUBLE_EQ(-3.0, ScriptValue("-3").toNumber());
    EXPECT_DOUBLE_EQ(4.0, ScriptValue("+4").toNumber());
    EXPECT_DOUBLE_EQ(250.0, ScriptValue("2.5e2").toNumber());
    EXPECT_DOUBLE_EQ(0.0, ScriptValue("abc").toNumber());
    EXPECT_DOUBLE_EQ(0.0, ScriptValue("").toNumber());
    EXPECT_DOUBLE_EQ(0.0, ScriptValue("--1").toNumber());
    EXPECT_TRUE(std::isinf(ScriptValue("1e400").toNumber()));
    EXPECT_DOUBLE_EQ(0.0, ScriptValue("1e-400").toNumber());
    EXPECT_DOUBLE_EQ(0.0, ScriptValue().toNumber());
    EXPECT_DOUBLE_EQ(0.0, ScriptValue(&nativeStub).toNumber());
    EXPECT_DOUBLE_EQ(0.0, ScriptValue(makeRef<ScriptObject>()).toNumber());
    Ref<TextObject> field = makeRef<TextObject>("42");
    EXPECT_DOUBLE_EQ(42.0, ScriptValue(field.get()).toNumber());
    // The remembered number does not go stale across copies.
    ScriptValue text("7");
    EXPECT_DOUBLE_EQ(7.0, text.toNumber());
    ScriptValue copy = text;
    EXPECT_DOUBLE_EQ(7.0, copy.toNumber());
}

TEST(ScriptValueTest, BooleanConversionFollowsTheFormat)
{
    EXPECT_FALSE(ScriptValue("false").toBool());
    EXPECT_TRUE(ScriptValue("true").toBool());
    EXPECT_FALSE(ScriptValue("0").toBool());
    EXPECT_TRUE(ScriptValue("2").toBool());
    EXPECT_FALSE(ScriptValue("abc").toBool());
    EXPECT_FALSE(ScriptValue(0.0).toBool());
    EXPECT_TRUE(ScriptValue(std::nan("")).toBool());
    EXPECT_TRUE(ScriptValue(makeRef<ScriptObject>()).toBool());
    EXPECT_TRUE(ScriptValue(&nativeStub).toBool());
    EXPECT_FALSE(ScriptValue().toBool());
}

TEST(ScriptValueTest, IntegerConversionIsDefinedForEveryDouble)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(0, doubleToInt32(std::nan("")));
    EXPECT_EQ(0, doubleToInt32(inf));
    EXPECT_EQ(0, doubleToInt32(-inf));
    EXPECT_EQ(-1, doubleToInt32(-1.9));
    EXPECT_EQ(2, doubleToInt32(2.9));
    EXPECT_EQ(5, doubleToInt32(4294967296.0 + 5.0));
    EXPECT_EQ(std::numeric_limits<int32_t>::min(), doubleToInt32(2147483648.0));
    EXPECT_EQ(-1, doubleToInt32(4294967295.0));
    EXPECT_EQ(0, doubleToInt32(1e300)); // a multiple of 2^32
    EXPECT_EQ(7, ScriptValue("7.9").toInt32());
}

TEST(ScriptStringTest, CharactersAreDecodedFromUtf8AndBadBytesCountOnce)
{
    EXPECT_EQ(5u, decodeUtf8("h\xC3\xA9llo").size());
    std::vector<uint32_t> codes = decodeUtf8("a\xFF\xE2\x82");
    ASSERT_EQ(4u, codes.size());
    EXPECT_EQ(0xFFFDu, codes[1]);
    EXPECT_EQ("\xE2\x82\xAC", encodeUtf8({0x20AC}, 0, 1));
    EXPECT_EQ("", encodeUtf8({0x41}, 3, 1));
    std::string huge(MaxScriptString + 10, 'x');
    EXPECT_EQ(MaxScriptString, limitScriptString(huge).size());
}

TEST(ScriptObjectTest, MembersAreCaseSensitiveAndBounded)
{
    Ref<ScriptObject> object = makeRef<ScriptObject>();
    object->setMember("Score", ScriptValue(3.0));
    ScriptValue value;
    EXPECT_TRUE(object->getMember("Score", value));
    EXPECT_DOUBLE_EQ(3.0, value.toNumber());
    EXPECT_FALSE(object->getMember("score", value));
    for (std::size_t i = 0; i < ScriptObject::MaxMembers + 5; ++i)
        object->setMember("m" + std::to_string(i), ScriptValue(1.0));
    EXPECT_EQ(ScriptObject::MaxMembers, object->memberCount());
    // Existing members can still change once the table is full.
    object->setMember("Score", ScriptValue(4.0));
    EXPECT_TRUE(object->getMember("Score", value));
    EXPECT_DOUBLE_EQ(4.0, value.toNumber());
}
