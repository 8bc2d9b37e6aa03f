#include "data/XmlText.h"

#include "engine/FileSystem.h"

#include <tinyxml.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>

namespace
{

locale_t CLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

// TinyXML builds and frees elements recursively, so a damaged file nested
// deeply enough would overflow the stack. Our files nest three levels; any
// file nested deeper than MaxNesting is refused.
constexpr int MaxNesting = 256;

// Checks nesting depth and attributes per element without parsing; empty
// when within the limits, else why not.
std::string CheckStructure(const std::string& text)
{
    int depth = 0;
    const size_t length = text.size();
    for (size_t i = 0; i < length; ++i)
    {
        if (text[i] != '<' || i + 1 >= length)
            continue;
        const char next = text[i + 1];
        if (next == '/')
        {
            depth -= depth > 0;
            continue;
        }
        if (text.compare(i, 4, "<!--") == 0)
        {
            size_t end = text.find("-->", i + 4);
            if (end == std::string::npos)
                return {}; // unterminated: the parser refuses it anyway
            i = end + 2;
            continue;
        }
        if (next == '!' || next == '?')
            continue;
        if (++depth > MaxNesting)
            return FormatC("elements are nested more than %d deep", MaxNesting);
        // Find the end of the start tag; '>' may appear inside quoted values.
        size_t j = i + 1;
        char quote = 0;
        int attributes = 0;
        for (; j < length; ++j)
        {
            const char c = text[j];
            if (quote)
            {
                if (c == quote)
                    quote = 0;
            }
            else if (c == '"' || c == '\'')
            {
                quote = c;
            }
            else if (c == '=')
            {
                if (++attributes > MaxXmlAttributes)
                    return FormatC("an element has more than %d attributes", MaxXmlAttributes);
            }
            else if (c == '>')
            {
                break;
            }
        }
        if (j >= length)
            return {};
        if (text[j - 1] == '/')
            --depth;
        i = j;
    }
    return {};
}

std::string SizeText(size_t bytes)
{
    return bytes >= (1u << 20) ? FormatC("%zu MB", bytes >> 20) : FormatC("%zu KB", bytes >> 10);
}

} // namespace

std::string EscapeXml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
    {
        switch (ch)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (static_cast<unsigned char>(ch) < 32)
            {
                // Raw line ends in attributes are not kept by every reader.
                char reference[8];
                std::snprintf(reference, sizeof reference, "&#%d;", static_cast<unsigned char>(ch));
                out += reference;
            }
            else
            {
                out += ch;
            }
        }
    }
    return out;
}

std::string FormatC(const char* format, ...)
{
    locale_t previous = uselocale(CLocale());
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0)
    {
        out.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(length));
    }
    va_end(args);
    uselocale(previous);
    return out;
}

XmlRead ReadXmlDocument(const std::string& path, TiXmlDocument& document, size_t maxBytes)
{
    XmlRead result;
    FileSystem& files = FileSystem::Get();
    if (!files.Exists(path))
        return result;
    result.status = XmlRead::Status::Damaged;
    std::optional<std::string> bytes = files.ReadWholeFile(path, maxBytes);
    if (!bytes)
    {
        const std::optional<int64_t> length = files.FileLengthOf(path);
        result.reason = length && static_cast<uint64_t>(*length) > maxBytes ? "it is larger than " + SizeText(maxBytes)
                                                                            : std::string("it cannot be read");
        return result;
    }
    result.reason = CheckStructure(*bytes);
    if (!result.reason.empty())
        return result;
    document.Clear();
    document.Parse(bytes->c_str());
    if (document.Error())
    {
        result.reason = bytes->empty()            ? std::string("it is empty")
                        : document.ErrorRow() > 0 ? FormatC("it is not well-formed XML (line %d: %s)",
                                                            document.ErrorRow(), document.ErrorDesc())
                                                  : FormatC("it is not well-formed XML (%s)", document.ErrorDesc());
        return result;
    }
    result.status = XmlRead::Status::Ok;
    return result;
}

bool LoadXmlDocument(const std::string& path, TiXmlDocument& document)
{
    return ReadXmlDocument(path, document, MaxLevelFileBytes).status == XmlRead::Status::Ok;
}

AttributeRead ReadIntAttribute(const TiXmlElement& element, const char* name, int32_t& value)
{
    const char* text = element.Attribute(name);
    if (!text)
        return AttributeRead::Absent;
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return AttributeRead::NotANumber;
    int64_t magnitude = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
    {
        if (magnitude <= int64_t(INT32_MAX) + 1)
            magnitude = magnitude * 10 + (*p - '0');
    }
    int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX)
        signedValue = INT32_MAX;
    if (signedValue < INT32_MIN)
        signedValue = INT32_MIN;
    value = static_cast<int32_t>(signedValue);
    return AttributeRead::Ok;
}

AttributeRead ReadDoubleAttribute(const TiXmlElement& element, const char* name, double& value)
{
    const char* text = element.Attribute(name);
    if (!text)
        return AttributeRead::Absent;
    char* end = nullptr;
    double parsed = strtod_l(text, &end, CLocale());
    if (end == text)
        return AttributeRead::NotANumber;
    value = parsed;
    return AttributeRead::Ok;
}
