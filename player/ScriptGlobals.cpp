#include "player/ScriptGlobals.h"

#include "player/ScriptObject.h"
#include "player/ScriptString.h"

#include <cmath>
#include <random>

namespace swf
{

namespace
{

Ref<ScriptObject>& globalHolder()
{
    static Ref<ScriptObject> holder;
    return holder;
}

double argument(const std::vector<ScriptValue>& args, std::size_t index)
{
    // A missing argument is undefined, which converts to 0.
    return index < args.size() ? args[index].toNumber() : 0.0;
}

template <double (*F)(double)>
ScriptValue unary(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>& args)
{
    return ScriptValue(F(argument(args, 0)));
}

double roundHalfUp(double x)
{
    return std::floor(x + 0.5);
}

double absolute(double x)
{
    return std::fabs(x);
}
double arcCos(double x)
{
    return std::acos(x);
}
double arcSin(double x)
{
    return std::asin(x);
}
double arcTan(double x)
{
    return std::atan(x);
}
double ceiling(double x)
{
    return std::ceil(x);
}
double cosine(double x)
{
    return std::cos(x);
}
double exponential(double x)
{
    return std::exp(x);
}
double floorOf(double x)
{
    return std::floor(x);
}
double logarithm(double x)
{
    return std::log(x);
}
double sine(double x)
{
    return std::sin(x);
}
double squareRoot(double x)
{
    return std::sqrt(x);
}
double tangent(double x)
{
    return std::tan(x);
}

ScriptValue mathRandom(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>&)
{
    static std::mt19937_64 engine(std::random_device{}());
    return ScriptValue(std::uniform_real_distribution<double>(0.0, 1.0)(engine));
}

ScriptValue mathAtan2(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>& args)
{
    return ScriptValue(std::atan2(argument(args, 0), argument(args, 1)));
}

ScriptValue mathPow(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>& args)
{
    return ScriptValue(std::pow(argument(args, 0), argument(args, 1)));
}

ScriptValue mathMin(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>& args)
{
    double a = argument(args, 0), b = argument(args, 1);
    return ScriptValue(std::isnan(a) || std::isnan(b) ? NAN : (a < b ? a : b));
}

ScriptValue mathMax(ScriptEnvironment&, const ScriptValue&, const std::vector<ScriptValue>& args)
{
    double a = argument(args, 0), b = argument(args, 1);
    return ScriptValue(std::isnan(a) || std::isnan(b) ? NAN : (a > b ? a : b));
}

// Sets a member under its lower-case name and the capitalised spelling movies are written
// with ("pi" and "PI", "abs" only once since both spell it alike).
void setBoth(ScriptObject& object, const char* lower, const char* upper, const ScriptValue& value)
{
    object.setOwnMember(lower, value);
    if (upper)
        object.setOwnMember(upper, value);
}

Ref<ScriptObject> makeMath()
{
    Ref<ScriptObject> math(new ScriptObject());
    setBoth(*math, "e", "E", std::exp(1.0));
    setBoth(*math, "ln2", "LN2", std::log(2.0));
    setBoth(*math, "log2e", "LOG2E", 1.0 / std::log(2.0));
    setBoth(*math, "ln10", "LN10", std::log(10.0));
    setBoth(*math, "log10e", "LOG10E", 1.0 / std::log(10.0));
    setBoth(*math, "pi", "PI", std::acos(-1.0));
    setBoth(*math, "sqrt1_2", "SQRT1_2", std::sqrt(0.5));
    setBoth(*math, "sqrt2", "SQRT2", std::sqrt(2.0));
    math->setOwnMember("abs", &unary<absolute>);
    math->setOwnMember("acos", &unary<arcCos>);
    math->setOwnMember("asin", &unary<arcSin>);
    math->setOwnMember("atan", &unary<arcTan>);
    math->setOwnMember("ceil", &unary<ceiling>);
    math->setOwnMember("cos", &unary<cosine>);
    math->setOwnMember("exp", &unary<exponential>);
    math->setOwnMember("floor", &unary<floorOf>);
    math->setOwnMember("log", &unary<logarithm>);
    math->setOwnMember("random", &mathRandom);
    math->setOwnMember("round", &unary<roundHalfUp>);
    math->setOwnMember("sin", &unary<sine>);
    math->setOwnMember("sqrt", &unary<squareRoot>);
    math->setOwnMember("tan", &unary<tangent>);
    math->setOwnMember("atan2", &mathAtan2);
    math->setOwnMember("pow", &mathPow);
    math->setOwnMember("min", &mathMin);
    math->setOwnMember("max", &mathMax);
    return math;
}

// String methods index characters from 0.
ScriptValue stringCharCodeAt(ScriptEnvironment&, const ScriptValue& self, const std::vector<ScriptValue>& args)
{
    std::vector<uint32_t> codes = decodeUtf8(self.toString());
    double index = std::trunc(argument(args, 0));
    if (std::isnan(index) || index < 0.0 || index >= static_cast<double>(codes.size()))
        return ScriptValue(NAN);
    return ScriptValue(static_cast<double>(codes[static_cast<std::size_t>(index)]));
}

ScriptValue stringIndexOf(ScriptEnvironment&, const ScriptValue& self, const std::vector<ScriptValue>& args)
{
    std::vector<uint32_t> text = decodeUtf8(self.toString());
    std::vector<uint32_t> wanted = decodeUtf8(args.empty() ? std::string("undefined") : args[0].toString());
    double from = args.size() > 1 ? std::trunc(argument(args, 1)) : 0.0;
    if (std::isnan(from) || from < 0.0)
        from = 0.0;
    if (from > static_cast<double>(text.size()))
        return ScriptValue(wanted.empty() ? static_cast<double>(text.size()) : -1.0);
    for (std::size_t i = static_cast<std::size_t>(from); i + wanted.size() <= text.size(); ++i)
    {
        if (std::equal(wanted.begin(), wanted.end(), text.begin() + static_cast<std::ptrdiff_t>(i)))
            return ScriptValue(static_cast<double>(i));
    }
    return ScriptValue(-1.0);
}

ScriptValue stringSubstring(ScriptEnvironment&, const ScriptValue& self, const std::vector<ScriptValue>& args)
{
    std::vector<uint32_t> codes = decodeUtf8(self.toString());
    double length = static_cast<double>(codes.size());
    auto clampIndex = [length](double value)
    {
        value = std::trunc(value);
        if (std::isnan(value) || value < 0.0)
            return 0.0;
        return value > length ? length : value;
    };
    double start = clampIndex(argument(args, 0));
    double end = args.size() > 1 && !args[1].isUndefined() ? clampIndex(args[1].toNumber()) : length;
    if (start > end)
        std::swap(start, end);
    return ScriptValue(encodeUtf8(codes, static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

} // namespace

ScriptObject& scriptGlobalObject()
{
    Ref<ScriptObject>& holder = globalHolder();
    if (!holder)
    {
        holder = Ref<ScriptObject>(new ScriptObject());
        Ref<ScriptObject> math = makeMath();
        holder->setOwnMember("math", ScriptValue(math));
        holder->setOwnMember("Math", ScriptValue(math));
    }
    return *holder;
}

void releaseScriptGlobals()
{
    Ref<ScriptObject>& holder = globalHolder();
    if (holder)
    {
        // Scripts may have stored the global object in itself or in its members.
        Ref<ScriptObject> global = holder;
        holder.reset();
        global->clearMembers();
    }
}

bool stringMember(const std::string& text, const std::string& name, ScriptValue& out)
{
    if (name == "length")
    {
        out = ScriptValue(static_cast<double>(decodeUtf8(text).size()));
        return true;
    }
    if (name == "charCodeAt")
    {
        out = ScriptValue(&stringCharCodeAt);
        return true;
    }
    if (name == "indexOf")
    {
        out = ScriptValue(&stringIndexOf);
        return true;
    }
    if (name == "substring")
    {
        out = ScriptValue(&stringSubstring);
        return true;
    }
    return false;
}

} // namespace swf
