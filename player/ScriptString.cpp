#include "player/ScriptString.h"

namespace swf
{

std::vector<uint32_t> decodeUtf8(const std::string& text)
{
    std::vector<uint32_t> codes;
    codes.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end)
    {
        unsigned char lead = *p;
        int extra = 0;
        uint32_t code = 0;
        uint32_t minimum = 0;
        if (lead < 0x80)
        {
            codes.push_back(lead);
            ++p;
            continue;
        }
        else if ((lead & 0xE0) == 0xC0)
        {
            extra = 1, code = lead & 0x1F, minimum = 0x80;
        }
        else if ((lead & 0xF0) == 0xE0)
        {
            extra = 2, code = lead & 0x0F, minimum = 0x800;
        }
        else if ((lead & 0xF8) == 0xF0)
        {
            extra = 3, code = lead & 0x07, minimum = 0x10000;
        }
        else
        {
            codes.push_back(0xFFFD);
            ++p;
            continue;
        }
        if (end - p <= extra)
        {
            codes.push_back(0xFFFD);
            ++p;
            continue;
        }
        bool valid = true;
        for (int i = 1; i <= extra; ++i)
        {
            if ((p[i] & 0xC0) != 0x80)
            {
                valid = false;
                break;
            }
            code = (code << 6) | (p[i] & 0x3F);
        }
        // Over-long forms, surrogates and values past U+10FFFF are not characters.
        if (!valid || code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        {
            codes.push_back(0xFFFD);
            ++p;
            continue;
        }
        codes.push_back(code);
        p += extra + 1;
    }
    return codes;
}

void appendUtf8(std::string& out, uint32_t code)
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80)
    {
        out += static_cast<char>(code);
    }
    else if (code < 0x800)
    {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string encodeUtf8(const std::vector<uint32_t>& codes, std::size_t from, std::size_t count)
{
    std::string out;
    if (from >= codes.size())
        return out;
    std::size_t last = count > codes.size() - from ? codes.size() : from + count;
    for (std::size_t i = from; i < last; ++i)
        appendUtf8(out, codes[i]);
    return out;
}

std::string limitScriptString(std::string text)
{
    if (text.size() > MaxScriptString)
    {
        std::size_t cut = MaxScriptString;
        // Do not leave half a character at the end.
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut;
        text.resize(cut);
    }
    return text;
}

} // namespace swf
