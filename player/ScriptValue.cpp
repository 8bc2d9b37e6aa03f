#include "player/ScriptValue.h"

#include "player/ScriptFunction.h"
#include "player/ScriptObject.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace swf
{

ScriptValue::ScriptValue(const ScriptValue& other) = default;
ScriptValue::ScriptValue(ScriptValue&& other) noexcept = default;
ScriptValue& ScriptValue::operator=(const ScriptValue& other) = default;
ScriptValue& ScriptValue::operator=(ScriptValue&& other) noexcept = default;
ScriptValue::~ScriptValue() = default;

ScriptValue::ScriptValue() = default;
ScriptValue::ScriptValue(int value) : valueKind(Kind::Number), number(value) {}
ScriptValue::ScriptValue(const char* value) : ScriptValue(std::string(value)) {}

ScriptValue::ScriptValue(double value) : valueKind(Kind::Number), number(value) {}

ScriptValue::ScriptValue(std::string value)
    : valueKind(Kind::String), text(std::make_shared<const std::string>(std::move(value)))
{
}

const std::string& ScriptValue::stringValue() const
{
    static const std::string empty;
    return text ? *text : empty;
}

ScriptValue::ScriptValue(ScriptObject* value) : ScriptValue(Ref<ScriptObject>(value)) {}

ScriptValue::ScriptValue(Ref<ScriptObject> value)
{
    // A null object reference is the undefined value: the format has no separate null.
    if (value)
    {
        valueKind = Kind::Object;
        object = std::move(value);
    }
}

ScriptValue::ScriptValue(NativeFunction value)
{
    if (value)
    {
        valueKind = Kind::NativeFunction;
        native = value;
    }
}

ScriptValue::ScriptValue(Ref<ScriptFunction> value)
{
    if (value)
    {
        valueKind = Kind::ScriptFunction;
        function = std::move(value);
    }
}

// Addresses are printed as 64-bit hexadecimal whatever the pointer size.
static std::string addressText(const char* label, const void* address)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "<%s 0x%llX>", label,
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
    return buffer;
}

std::string ScriptValue::toString() const
{
    switch (valueKind)
    {
    case Kind::String:
        return *text;
    case Kind::Number:
        return numberToString(number);
    case Kind::Undefined:
        return "undefined";
    case Kind::Object:
    {
        std::string own;
        if (object->textValue(own))
            return own;
        return addressText("object", object.get());
    }
    case Kind::NativeFunction:
        return addressText("c_function", reinterpret_cast<const void*>(native));
    case Kind::ScriptFunction:
        return addressText("as_function", function.get());
    }
    return "<bad type>";
}

double ScriptValue::toNumber() const
{
    switch (valueKind)
    {
    case Kind::String:
        if (!numberCached)
        {
            number = stringToNumber(*text);
            numberCached = true;
        }
        return number;
    case Kind::Number:
        return number;
    case Kind::Object:
    {
        std::string own;
        return object->textValue(own) ? stringToNumber(own) : 0.0;
    }
    default:
        return 0.0;
    }
}

bool ScriptValue::toBool() const
{
    switch (valueKind)
    {
    case Kind::String:
        if (*text == "false")
            return false;
        if (*text == "true")
            return true;
        return toNumber() != 0.0;
    case Kind::Number:
        // NaN compares unequal to 0, so it counts as true.
        return number != 0.0;
    case Kind::Object:
    case Kind::NativeFunction:
    case Kind::ScriptFunction:
        return true; // null references are stored as undefined
    case Kind::Undefined:
        break;
    }
    return false;
}

int32_t ScriptValue::toInt32() const
{
    return doubleToInt32(toNumber());
}

int32_t doubleToInt32(double value)
{
    if (!std::isfinite(value))
        return 0;
    double wrapped = std::fmod(std::trunc(value), 4294967296.0);
    if (wrapped < 0.0)
        wrapped += 4294967296.0;
    // wrapped is now an exact integer in [0, 2^32).
    int64_t bits = static_cast<int64_t>(wrapped);
    if (bits >= 2147483648LL)
        bits -= 4294967296LL;
    return static_cast<int32_t>(bits);
}

std::string numberToString(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0.0)
        return "0"; // also for -0
    // Same digits as printf's "%g", but independent of the C locale.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

double stringToNumber(const std::string& text)
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
    {
        negative = *p == '-';
        ++p;
    }
    // from_chars would take its own '-', so a second sign ("--1") is refused here.
    if (p >= end || *p == '+' || *p == '-')
        return 0.0;
    double value = 0.0;
    auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
    {
        // Overflow to infinity, underflow to zero: look at the exponent's sign.
        bool tiny = false;
        for (const char* q = p; q < result.ptr; ++q)
        {
            if ((*q == 'e' || *q == 'E') && q + 1 < result.ptr && q[1] == '-')
                tiny = true;
        }
        value = tiny ? 0.0 : HUGE_VAL;
    }
    else if (result.ec != std::errc())
    {
        return 0.0;
    }
    return negative ? -value : value;
}

} // namespace swf
