#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TiXmlDocument;
class TiXmlElement;

// Helpers shared by the readers and writers of the game's XML files. Numbers
// are always written and read in the C locale, whatever locale the process is
// in, so that "0.50" never becomes "0,50".

// Text safe inside a double-quoted attribute: the five characters XML reserves
// become entities and control characters become character references.
std::string EscapeXml(std::string_view text);

// printf-style formatting in the C locale.
std::string FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Largest file of each kind the game reads; a bigger one is damaged.
constexpr size_t MaxOptionsFileBytes = 16u << 10;
constexpr size_t MaxHighScoresFileBytes = 64u << 10;
constexpr size_t MaxProfilesFileBytes = 1u << 20;
constexpr size_t MaxLevelFileBytes = 64u << 10;
// Our elements carry at most four attributes. The parser looks each new one
// up among those before it, so thousands would take quadratic time.
constexpr int MaxXmlAttributes = 256;

struct XmlRead
{
    enum class Status
    {
        Missing, // no such file
        Damaged, // present, but unreadable, too big, over a limit or not well-formed
        Ok,
    };
    Status status = Status::Missing;
    std::string reason; // why a damaged file was refused, for the player
};

// Reads and parses a file through the resource file system, refusing files
// longer than maxBytes, elements with more than MaxXmlAttributes attributes
// and nesting beyond reason before the parser sees them.
[[nodiscard]] XmlRead ReadXmlDocument(const std::string& path, TiXmlDocument& document, size_t maxBytes);
// The same for a level file; true when it was read.
[[nodiscard]] bool LoadXmlDocument(const std::string& path, TiXmlDocument& document);

enum class AttributeRead
{
    Absent,     // no such attribute
    NotANumber, // present, but does not start with a number
    Ok,
};

// Like a "%d" scan: leading white space is skipped and text after the number
// ignored ("12abc" is 12). Values beyond 32 bits saturate. value is written
// only when the result is Ok.
AttributeRead ReadIntAttribute(const TiXmlElement& element, const char* name, int32_t& value);
// The same for a decimal floating-point number ("0.75xyz" is 0.75). "nan" and
// "inf" are numbers here; callers decide what to do with them.
AttributeRead ReadDoubleAttribute(const TiXmlElement& element, const char* name, double& value);
