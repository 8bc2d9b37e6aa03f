#include "XmlDocument.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

const std::string* XmlElement::Attribute(const std::string& key) const
{
    auto it = attributes.find(key);
    return it == attributes.end() ? nullptr : &it->second;
}

std::string XmlElement::LocalName() const
{
    const size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

namespace
{

class XmlParser
{
  public:
    XmlParser(const std::string& source, std::string& error) : s(source), error(error) {}

    std::unique_ptr<XmlElement> Document()
    {
        if (!SkipProlog())
            return nullptr;
        if (Eof() || s[pos] != '<')
            return Fail("no root element");
        auto root = Element(0);
        if (!root)
            return nullptr;
        // Only comments, processing instructions and white space may follow.
        while (!Eof())
        {
            SkipSpace();
            if (Eof())
                break;
            if (StartsWith("<!--"))
            {
                if (!SkipPast("-->"))
                    return Fail("unterminated comment");
            }
            else if (StartsWith("<?"))
            {
                if (!SkipPast("?>"))
                    return Fail("unterminated processing instruction");
            }
            else
            {
                return Fail("content after the root element");
            }
        }
        return root;
    }

  private:
    static constexpr int MaxDepth = 256;

    bool Eof() const { return pos >= s.size(); }
    bool StartsWith(const char* text) const { return s.compare(pos, std::char_traits<char>::length(text), text) == 0; }
    // Counts forward from the last call, so numbering every element stays linear.
    int Line()
    {
        const size_t end = std::min(pos, s.size());
        if (end < countedTo)
        {
            countedTo = 0;
            countedLines = 1;
        }
        for (; countedTo < end; ++countedTo)
            countedLines += s[countedTo] == '\n';
        return countedLines;
    }
    std::nullptr_t Fail(const std::string& what)
    {
        if (error.empty())
            error = "line " + std::to_string(Line()) + ": " + what;
        return nullptr;
    }
    void SkipSpace()
    {
        while (!Eof() && std::isspace(static_cast<unsigned char>(s[pos])))
            ++pos;
    }
    bool SkipPast(const char* end)
    {
        const size_t at = s.find(end, pos);
        if (at == std::string::npos)
            return false;
        pos = at + std::char_traits<char>::length(end);
        return true;
    }
    static bool IsNameChar(char c)
    {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '-' || c == '.' ||
               static_cast<unsigned char>(c) >= 0x80;
    }
    std::string Name()
    {
        const size_t start = pos;
        while (!Eof() && IsNameChar(s[pos]))
            ++pos;
        return s.substr(start, pos - start);
    }

    bool SkipProlog()
    {
        if (StartsWith("\xEF\xBB\xBF"))
            pos += 3;
        for (;;)
        {
            SkipSpace();
            if (StartsWith("<?"))
            {
                if (!SkipPast("?>"))
                    return Fail("unterminated processing instruction"), false;
            }
            else if (StartsWith("<!--"))
            {
                if (!SkipPast("-->"))
                    return Fail("unterminated comment"), false;
            }
            else if (StartsWith("<!DOCTYPE"))
            {
                // Skip the declaration, internal subset included.
                int depth = 0;
                while (!Eof())
                {
                    const char c = s[pos++];
                    if (c == '[')
                        ++depth;
                    else if (c == ']')
                        --depth;
                    else if (c == '>' && depth <= 0)
                        break;
                }
            }
            else
            {
                return true;
            }
        }
    }

    // Appends the text of raw with character references decoded.
    bool Decode(const std::string& raw, std::string& out)
    {
        for (size_t i = 0; i < raw.size(); ++i)
        {
            if (raw[i] != '&')
            {
                out += raw[i];
                continue;
            }
            const size_t semi = raw.find(';', i);
            if (semi == std::string::npos)
                return Fail("unterminated character reference"), false;
            const std::string ref = raw.substr(i + 1, semi - i - 1);
            i = semi;
            if (ref == "lt")
                out += '<';
            else if (ref == "gt")
                out += '>';
            else if (ref == "amp")
                out += '&';
            else if (ref == "quot")
                out += '"';
            else if (ref == "apos")
                out += '\'';
            else if (ref.size() > 1 && ref[0] == '#')
            {
                const bool hex = ref[1] == 'x' || ref[1] == 'X';
                const std::string digits = ref.substr(hex ? 2 : 1);
                char* end = nullptr;
                const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
                if (digits.empty() || *end != 0 || code == 0 || code > 0x10FFFF)
                    return Fail("bad character reference"), false;
                AppendUtf8(out, uint32_t(code));
            }
            else
            {
                return Fail("unknown entity &" + ref + ";"), false;
            }
        }
        return true;
    }

    static void AppendUtf8(std::string& out, uint32_t c)
    {
        if (c < 0x80)
        {
            out += char(c);
        }
        else if (c < 0x800)
        {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
        else if (c < 0x10000)
        {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
        else
        {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }

    // Character data goes into the element's text and, to keep its order among
    // child elements, into a "#text" child.
    static void AddText(XmlElement& element, const std::string& text)
    {
        element.text += text;
        auto node = std::make_unique<XmlElement>();
        node->name = "#text";
        node->text = text;
        element.children.push_back(std::move(node));
    }

    std::unique_ptr<XmlElement> Element(int depth)
    {
        if (depth > MaxDepth)
            return Fail("elements nested too deeply");
        auto element = std::make_unique<XmlElement>();
        element->line = Line();
        ++pos; // '<'
        element->name = Name();
        if (element->name.empty())
            return Fail("element without a name");
        for (;;)
        {
            SkipSpace();
            if (Eof())
                return Fail("unterminated start tag <" + element->name + ">");
            if (StartsWith("/>"))
            {
                pos += 2;
                return element;
            }
            if (s[pos] == '>')
            {
                ++pos;
                break;
            }
            const std::string key = Name();
            if (key.empty())
                return Fail("bad attribute in <" + element->name + ">");
            SkipSpace();
            if (Eof() || s[pos] != '=')
                return Fail("attribute " + key + " without a value");
            ++pos;
            SkipSpace();
            if (Eof() || (s[pos] != '"' && s[pos] != '\''))
                return Fail("attribute " + key + " value not quoted");
            const char quote = s[pos++];
            const size_t end = s.find(quote, pos);
            if (end == std::string::npos)
                return Fail("unterminated attribute value");
            std::string value;
            if (!Decode(s.substr(pos, end - pos), value))
                return nullptr;
            pos = end + 1;
            element->attributes[key] = value;
        }
        // Content up to the matching end tag.
        for (;;)
        {
            if (Eof())
                return Fail("missing </" + element->name + ">");
            if (StartsWith("</"))
            {
                pos += 2;
                const std::string closing = Name();
                SkipSpace();
                if (closing != element->name || Eof() || s[pos] != '>')
                    return Fail("</" + closing + "> does not close <" + element->name + ">");
                ++pos;
                return element;
            }
            if (StartsWith("<!--"))
            {
                if (!SkipPast("-->"))
                    return Fail("unterminated comment");
            }
            else if (StartsWith("<![CDATA["))
            {
                const size_t start = pos + 9;
                const size_t end = s.find("]]>", start);
                if (end == std::string::npos)
                    return Fail("unterminated CDATA section");
                AddText(*element, s.substr(start, end - start));
                pos = end + 3;
            }
            else if (StartsWith("<?"))
            {
                if (!SkipPast("?>"))
                    return Fail("unterminated processing instruction");
            }
            else if (s[pos] == '<')
            {
                auto child = Element(depth + 1);
                if (!child)
                    return nullptr;
                element->children.push_back(std::move(child));
            }
            else
            {
                const size_t end = s.find('<', pos);
                const size_t stop = end == std::string::npos ? s.size() : end;
                std::string text;
                if (!Decode(s.substr(pos, stop - pos), text))
                    return nullptr;
                pos = stop;
                AddText(*element, text);
            }
        }
    }

    const std::string& s;
    std::string& error;
    size_t pos = 0;
    size_t countedTo = 0;
    int countedLines = 1;
};

} // namespace

std::unique_ptr<XmlElement> ParseXml(const std::string& source, std::string& error)
{
    error.clear();
    XmlParser parser(source, error);
    return parser.Document();
}
