#include "player/TextUtf8.h"

namespace swf
{

char32_t decodeUtf8(const std::string& text, std::size_t& pos)
{
    const std::size_t size = text.size();
    if (pos >= size)
        return 0;
    const unsigned char lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;

    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0)
    {
        extra = 1;
        code = lead & 0x1F;
        minimum = 0x80;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        extra = 2;
        code = lead & 0x0F;
        minimum = 0x800;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        extra = 3;
        code = lead & 0x07;
        minimum = 0x10000;
    }
    else
    {
        // A continuation byte or 0xF8..0xFF cannot start a character.
        return ReplacementCharacter;
    }

    for (int i = 0; i < extra; ++i)
    {
        if (pos >= size)
            return ReplacementCharacter;
        const unsigned char next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return ReplacementCharacter;
        code = (code << 6) | (next & 0x3F);
        ++pos;
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return ReplacementCharacter;
    return code;
}

std::string utf8Prefix(const std::string& text, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n)
        (void)decodeUtf8(text, pos);
    return text.substr(0, pos);
}

std::size_t utf8Length(const std::string& text)
{
    std::size_t pos = 0;
    std::size_t n = 0;
    while (pos < text.size())
    {
        (void)decodeUtf8(text, pos);
        ++n;
    }
    return n;
}

} // namespace swf
