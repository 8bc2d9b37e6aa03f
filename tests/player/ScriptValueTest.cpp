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

TEST(ScriptValueTest, ConversionsFollowTheFormat)
{
    const double inf = std::numeric_limits<double>::infinity();
    Ref<TextObject> field = makeRef<TextObject>("42");
    Ref<ScriptObject> plain = makeRef<ScriptObject>();
    // Numbers print like %g without locale or sign of zero; objects and functions as their full address.
    const std::pair<ScriptValue, std::string> shown[] = {
        {ScriptValue(1.0), "1"},
        {ScriptValue(1.5), "1.5"},
        {ScriptValue(-3.25), "-3.25"},
        {ScriptValue(1e5), "100000"},
        {ScriptValue(1e6), "1e+06"},
        {ScriptValue(1.0 / 3.0), "0.333333"},
        {ScriptValue(0.1 + 0.2), "0.3"},
        {ScriptValue(-0.0), "0"},
        {ScriptValue(std::nan("")), "NaN"},
        {ScriptValue(-inf), "-Infinity"},
        {ScriptValue(), "undefined"},
        {ScriptValue::fromBool(true), "1"},
        {ScriptValue::fromBool(false), "0"},
        {ScriptValue(field.get()), "42"},
        {ScriptValue(plain), hexAddress("object", plain.get())},
        {ScriptValue(&nativeStub), hexAddress("c_function", reinterpret_cast<const void*>(&nativeStub))}};
    for (const auto& [value, text] : shown)
        EXPECT_EQ(text, value.toString());
    // Strings convert through their leading number.
    const std::pair<ScriptValue, double> numbers[] = {{ScriptValue(" 12.5abc"), 12.5},
                                                      {ScriptValue("-3"), -3},
                                                      {ScriptValue("+4"), 4},
                                                      {ScriptValue("2.5e2"), 250},
                                                      {ScriptValue("abc"), 0},
                                                      {ScriptValue(""), 0},
                                                      {ScriptValue("--1"), 0},
                                                      {ScriptValue("1e-400"), 0},
                                                      {ScriptValue(), 0},
                                                      {ScriptValue(&nativeStub), 0},
                                                      {ScriptValue(makeRef<ScriptObject>()), 0},
                                                      {ScriptValue(field.get()), 42}};
    for (const auto& [value, number] : numbers)
        EXPECT_DOUBLE_EQ(number, value.toNumber()) << value.toString();
    EXPECT_TRUE(std::isinf(ScriptValue("1e400").toNumber()));
    // The remembered number does not go stale across copies.
    ScriptValue text("7");
    EXPECT_DOUBLE_EQ(7.0, text.toNumber());
    ScriptValue copy = text;
    EXPECT_DOUBLE_EQ(7.0, copy.toNumber());
    // Booleans.
    const std::pair<ScriptValue, bool> truths[] = {
        {ScriptValue("false"), false},     {ScriptValue("true"), true},
        {ScriptValue("0"), false},         {ScriptValue("2"), true},
        {ScriptValue("abc"), false},       {ScriptValue(0.0), false},
        {ScriptValue(std::nan("")), true}, {ScriptValue(makeRef<ScriptObject>()), true},
        {ScriptValue(&nativeStub), true},  {ScriptValue(), false}};
    for (const auto& [value, truth] : truths)
        EXPECT_EQ(truth, value.toBool()) << value.toString();
    // Integers are defined for every double.
    const std::pair<double, int32_t> integers[] = {{std::nan(""), 0},
                                                   {inf, 0},
                                                   {-inf, 0},
                                                   {-1.9, -1},
                                                   {2.9, 2},
                                                   {4294967296.0 + 5.0, 5},
                                                   {2147483648.0, std::numeric_limits<int32_t>::min()},
                                                   {4294967295.0, -1},
                                                   {1e300, 0}};
    for (const auto& [value, integer] : integers)
        EXPECT_EQ(integer, doubleToInt32(value)) << value;
    EXPECT_EQ(7, ScriptValue("7.9").toInt32());
}

TEST(ScriptStringTest, CharactersAreDecodedFromUtf8AndBadBytesCountOnce)
{
    EXPECT_EQ(5u, decodeUtf8("h\xC3\xA9llo").size());
    EXPECT_EQ((std::vector<uint32_t>{'a', 0xFFFD, 0xFFFD, 0xFFFD}), decodeUtf8("a\xFF\xE2\x82"));
    EXPECT_EQ((std::vector<std::string>{"\xE2\x82\xAC", ""}),
              (std::vector<std::string>{encodeUtf8({0x20AC}, 0, 1), encodeUtf8({0x41}, 3, 1)}));
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
