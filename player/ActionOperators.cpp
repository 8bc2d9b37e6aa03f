#include "player/ActionOperators.h"

#include "player/ScriptEnvironment.h"
#include "player/ScriptFunction.h"
#include "player/ScriptGlobals.h"
#include "player/ScriptString.h"

#include <cmath>
#include <limits>

namespace swf
{

namespace
{

// A full stack drops the result; the record is abandoned at its next Push.
void put(ScriptEnvironment& env, ScriptValue value)
{
    (void)env.push(std::move(value));
}

void putBool(ScriptEnvironment& env, bool value)
{
    put(env, ScriptValue::fromBool(value));
}

// Division by zero is spelled out rather than left to the floating-point unit, so the result
// is the same under every compiler setting: x/0 is an infinity of x's sign, 0/0 is NaN.
double divide(double dividend, double divisor)
{
    if (divisor != 0.0)
        return dividend / divisor;
    if (dividend == 0.0 || std::isnan(dividend))
        return std::numeric_limits<double>::quiet_NaN();
    bool negative = std::signbit(dividend) != std::signbit(divisor);
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

// A value used as text in Add2: strings, and objects and functions through their text.
bool addsAsText(const ScriptValue& value)
{
    return value.isString() || value.isObject() || value.isFunction();
}

// Less2/Greater: strings compare as text, everything else as numbers; a NaN operand makes the
// comparison undefined.
void compareLoose(ScriptEnvironment& env, const ScriptValue& left, const ScriptValue& right, bool greater)
{
    if (left.isString() && right.isString())
    {
        putBool(env, greater ? left.stringValue() > right.stringValue() : left.stringValue() < right.stringValue());
        return;
    }
    double l = left.toNumber();
    double r = right.toNumber();
    if (std::isnan(l) || std::isnan(r))
    {
        put(env, ScriptValue());
        return;
    }
    putBool(env, greater ? l > r : l < r);
}

uint32_t toUint32(const ScriptValue& value)
{
    return static_cast<uint32_t>(value.toInt32());
}

int32_t fromUint32(uint32_t bits)
{
    int64_t wide = bits;
    if (wide >= 2147483648LL)
        wide -= 4294967296LL;
    return static_cast<int32_t>(wide);
}

// StringExtract: `count` characters from the 1-based `index`; an index below 1 starts at the
// first character, a negative count takes the rest.
std::string extract(const std::string& text, double index, double count)
{
    std::vector<uint32_t> codes = decodeUtf8(text);
    double first = std::isnan(index) ? 0.0 : std::trunc(index) - 1.0;
    if (first < 0.0)
        first = 0.0;
    if (first >= static_cast<double>(codes.size()))
        return std::string();
    std::size_t start = static_cast<std::size_t>(first);
    std::size_t available = codes.size() - start;
    std::size_t take = available;
    if (!std::isnan(count) && count >= 0.0 && count < static_cast<double>(available))
        take = static_cast<std::size_t>(count);
    if (std::isnan(count))
        take = 0;
    return encodeUtf8(codes, start, take);
}

} // namespace

bool looseEquals(const ScriptValue& a, const ScriptValue& b)
{
    using Kind = ScriptValue::Kind;
    if (a.kind() == b.kind())
    {
        switch (a.kind())
        {
        case Kind::Undefined:
            return true;
        case Kind::String:
            return a.stringValue() == b.stringValue();
        case Kind::Number:
            return a.numberValue() == b.numberValue();
        case Kind::Object:
            return a.objectValue()->identity() == b.objectValue()->identity();
        case Kind::NativeFunction:
            return a.nativeFunction() == b.nativeFunction();
        case Kind::ScriptFunction:
            return a.scriptFunction() == b.scriptFunction();
        }
    }
    if (a.isUndefined() || b.isUndefined())
        return false;
    // An object with its own text (a text field) compares by that text.
    std::string text;
    if (a.isObject() && a.objectValue()->textValue(text))
        return looseEquals(ScriptValue(text), b);
    if (b.isObject() && b.objectValue()->textValue(text))
        return looseEquals(a, ScriptValue(text));
    if (a.isObject() || b.isObject() || a.isFunction() || b.isFunction())
        return false;
    // Remaining mix: a string and a number compare as numbers.
    return a.toNumber() == b.toNumber();
}

bool strictEquals(const ScriptValue& a, const ScriptValue& b)
{
    return a.kind() == b.kind() && looseEquals(a, b);
}

ScriptValue memberOf(const ScriptValue& owner, const std::string& name)
{
    ScriptValue value;
    if (owner.isObject())
        owner.objectValue()->getMember(name, value);
    else if (owner.isString())
        stringMember(owner.stringValue(), name, value);
    return value;
}

bool runStackOperator(uint8_t code, ScriptEnvironment& env)
{
    switch (code)
    {
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    { // Add, Subtract, Multiply, Divide
        double a = env.pop().toNumber();
        double b = env.pop().toNumber();
        double result = code == 0x0A ? b + a : code == 0x0B ? b - a : code == 0x0C ? b * a : divide(b, a);
        put(env, result);
        return true;
    }
    case 0x0E:
    case 0x49:
    { // Equals, Equals2
        ScriptValue a = env.pop();
        ScriptValue b = env.pop();
        putBool(env, looseEquals(b, a));
        return true;
    }
    case 0x0F:
    { // Less: numbers, 1 or 0
        double a = env.pop().toNumber();
        double b = env.pop().toNumber();
        putBool(env, b < a);
        return true;
    }
    case 0x10:
    case 0x11:
    { // And, Or
        bool a = env.pop().toBool();
        bool b = env.pop().toBool();
        putBool(env, code == 0x10 ? (b && a) : (b || a));
        return true;
    }
    case 0x12: // Not
        putBool(env, !env.pop().toBool());
        return true;
    case 0x13:
    case 0x29:
    case 0x68:
    { // StringEquals, StringLess, StringGreater
        std::string a = env.pop().toString();
        std::string b = env.pop().toString();
        putBool(env, code == 0x13 ? b == a : code == 0x29 ? b < a : b > a);
        return true;
    }
    case 0x14: // StringLength
        put(env, static_cast<double>(decodeUtf8(env.pop().toString()).size()));
        return true;
    case 0x15:
    { // StringExtract
        double count = env.pop().toNumber();
        double index = env.pop().toNumber();
        std::string text = env.pop().toString();
        put(env, extract(text, index, count));
        return true;
    }
    case 0x17: // Pop
        env.pop();
        return true;
    case 0x18: // ToInteger
        put(env, static_cast<double>(env.pop().toInt32()));
        return true;
    case 0x21:
    { // StringAdd
        std::string a = env.pop().toString();
        std::string b = env.pop().toString();
        put(env, limitScriptString(b + a));
        return true;
    }
    case 0x32:
    { // CharToAscii
        std::vector<uint32_t> codes = decodeUtf8(env.pop().toString());
        put(env, codes.empty() ? 0.0 : static_cast<double>(codes[0]));
        return true;
    }
    case 0x33:
    { // AsciiToChar
        int32_t value = env.pop().toInt32();
        std::string text;
        if (value > 0)
            appendUtf8(text, static_cast<uint32_t>(value));
        put(env, text);
        return true;
    }
    case 0x47:
    { // Add2
        ScriptValue a = env.pop();
        ScriptValue b = env.pop();
        if (addsAsText(a) || addsAsText(b))
            put(env, limitScriptString(b.toString() + a.toString()));
        else
            put(env, b.toNumber() + a.toNumber());
        return true;
    }
    case 0x48:
    case 0x67:
    { // Less2, Greater
        ScriptValue a = env.pop();
        ScriptValue b = env.pop();
        compareLoose(env, b, a, code == 0x67);
        return true;
    }
    case 0x4A: // ToNumber
        put(env, env.pop().toNumber());
        return true;
    case 0x4B: // ToString
        put(env, env.pop().toString());
        return true;
    case 0x4C: // PushDuplicate
        put(env, ScriptValue(env.top()));
        return true;
    case 0x4D:
    { // StackSwap
        ScriptValue a = env.pop();
        ScriptValue b = env.pop();
        put(env, std::move(a));
        put(env, std::move(b));
        return true;
    }
    case 0x4E:
    { // GetMember
        std::string name = env.pop().toString();
        ScriptValue owner = env.pop();
        put(env, memberOf(owner, name));
        return true;
    }
    case 0x4F:
    { // SetMember
        ScriptValue value = env.pop();
        std::string name = env.pop().toString();
        ScriptValue owner = env.pop();
        if (owner.isObject())
            owner.objectValue()->setMember(name, value);
        return true;
    }
    case 0x50:
    case 0x51: // Increment, Decrement
        put(env, env.pop().toNumber() + (code == 0x50 ? 1.0 : -1.0));
        return true;
    case 0x60:
    case 0x61:
    case 0x62:
    case 0x63:
    case 0x64:
    case 0x65:
    {
        // BitAnd, BitOr, BitXor, BitLShift, BitRShift, BitURShift: 32-bit integers, shift
        // counts taken modulo 32.
        ScriptValue a = env.pop();
        ScriptValue b = env.pop();
        uint32_t right = toUint32(a);
        uint32_t left = toUint32(b);
        unsigned shift = right & 31u;
        double result = 0.0;
        switch (code)
        {
        case 0x60:
            result = fromUint32(left & right);
            break;
        case 0x61:
            result = fromUint32(left | right);
            break;
        case 0x62:
            result = fromUint32(left ^ right);
            break;
        case 0x63:
            result = fromUint32(left << shift);
            break;
        case 0x64:
        {
            // Arithmetic shift of a negative number, spelled out for pre-C++20 compilers.
            int32_t value = fromUint32(left);
            result = value >= 0 ? static_cast<double>(value >> shift) : static_cast<double>(~((~value) >> shift));
            break;
        }
        default:
            result = static_cast<double>(left >> shift);
            break;
        }
        put(env, result);
        return true;
    }
    case 0x66:
    { // StrictEquals
        ScriptValue a = env.pop();
        ScriptValue b = env.pop();
        putBool(env, strictEquals(b, a));
        return true;
    }
    default:
        return false;
    }
}

} // namespace swf
