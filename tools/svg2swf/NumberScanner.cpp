#include "NumberScanner.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace
{

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Length of the number at the start of s, by the SVG number grammar:
// sign? (digits ("." digits?)? | "." digits) exponent?
size_t NumberLength(std::string_view s)
{
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
    {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.')
    {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E'))
    {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        size_t expDigits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
        {
            ++j;
            ++expDigits;
        }
        if (expDigits > 0)
            i = j;
    }
    return i;
}

std::optional<double> ToDouble(std::string_view s)
{
    const std::string copy(s);
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (end == copy.c_str() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

void NumberScanner::SkipSeparators()
{
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    if (pos < text.size() && text[pos] == ',')
    {
        ++pos;
        while (pos < text.size() && IsSpace(text[pos]))
            ++pos;
    }
}

bool NumberScanner::AtEnd()
{
    SkipSeparators();
    return pos >= text.size();
}

char NumberScanner::Peek()
{
    SkipSeparators();
    return pos < text.size() ? text[pos] : 0;
}

std::optional<double> NumberScanner::Number()
{
    SkipSeparators();
    const size_t length = NumberLength(text.substr(pos));
    if (length == 0)
        return std::nullopt;
    auto value = ToDouble(text.substr(pos, length));
    if (value)
        pos += length;
    return value;
}

std::optional<bool> NumberScanner::Flag()
{
    SkipSeparators();
    if (pos < text.size() && (text[pos] == '0' || text[pos] == '1'))
        return text[pos++] == '1';
    return std::nullopt;
}

std::optional<double> ParseLength(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    const size_t length = NumberLength(text);
    if (length == 0)
        return std::nullopt;
    return ToDouble(text.substr(0, length));
}
