#pragma once

#include "player/RefCounted.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace swf
{

class ScriptObject;
class ScriptFunction;
class ScriptEnvironment;
class ScriptValue;

// A built-in function: receives the environment, the value it was called on (undefined for a
// plain call) and its arguments, first argument first.
using NativeFunction = ScriptValue (*)(ScriptEnvironment& env, const ScriptValue& self,
                                       const std::vector<ScriptValue>& args);

// The value of a movie script: one of six kinds. Booleans are the numbers 1 and 0, and the
// null of the movie format is undefined here.
class ScriptValue
{
  public:
    enum class Kind : int
    {
        Undefined = 0,
        String = 1,
        Number = 2,
        Object = 3,
        NativeFunction = 4,
        ScriptFunction = 5,
    };

    ScriptValue();
    ScriptValue(double number);
    ScriptValue(int number);
    ScriptValue(std::string text);
    ScriptValue(const char* text);
    ScriptValue(ScriptObject* object);
    ScriptValue(Ref<ScriptObject> object);
    ScriptValue(NativeFunction function);
    ScriptValue(Ref<ScriptFunction> function);

    // Out of line: the object and function types are incomplete here.
    ScriptValue(const ScriptValue& other);
    ScriptValue(ScriptValue&& other) noexcept;
    ScriptValue& operator=(const ScriptValue& other);
    ScriptValue& operator=(ScriptValue&& other) noexcept;
    ~ScriptValue();

    static ScriptValue fromBool(bool value) { return ScriptValue(value ? 1.0 : 0.0); }

    Kind kind() const { return valueKind; }
    bool isUndefined() const { return valueKind == Kind::Undefined; }
    bool isString() const { return valueKind == Kind::String; }
    bool isNumber() const { return valueKind == Kind::Number; }
    bool isObject() const { return valueKind == Kind::Object; }
    bool isFunction() const { return valueKind == Kind::NativeFunction || valueKind == Kind::ScriptFunction; }

    // Conversions of the movie format's loose typing.
    std::string toString() const;
    double toNumber() const;
    bool toBool() const;
    // ECMAScript ToInt32: NaN and infinities give 0, other values are truncated and wrapped
    // modulo 2^32, so any double converts without undefined behaviour.
    int32_t toInt32() const;

    // Raw access; each is empty/null for other kinds.
    const std::string& stringValue() const;
    double numberValue() const { return number; }
    ScriptObject* objectValue() const { return object.get(); }
    NativeFunction nativeFunction() const { return native; }
    ScriptFunction* scriptFunction() const { return function.get(); }

  private:
    Kind valueKind = Kind::Undefined;
    // Shared, so copying a long string value costs nothing.
    std::shared_ptr<const std::string> text;
    // For a string, the number it converts to, remembered on first use.
    mutable double number = 0.0;
    mutable bool numberCached = false;
    Ref<ScriptObject> object;
    NativeFunction native = nullptr;
    Ref<ScriptFunction> function;
};

// The numeric helpers every arithmetic action shares.
int32_t doubleToInt32(double value);
std::string numberToString(double value);
double stringToNumber(const std::string& text);

} // namespace swf
