#include "SvgValues.h"

#include "NumberScanner.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace
{

struct NamedColour
{
    const char* name;
    uint32_t rgb;
};

// The CSS basic colours and the extended names artists reach for most.
constexpr NamedColour Names[] = {
    {"black", 0x000000},     {"silver", 0xC0C0C0},    {"gray", 0x808080},      {"grey", 0x808080},
    {"white", 0xFFFFFF},     {"maroon", 0x800000},    {"red", 0xFF0000},       {"purple", 0x800080},
    {"fuchsia", 0xFF00FF},   {"magenta", 0xFF00FF},   {"green", 0x008000},     {"lime", 0x00FF00},
    {"olive", 0x808000},     {"yellow", 0xFFFF00},    {"navy", 0x000080},      {"blue", 0x0000FF},
    {"teal", 0x008080},      {"aqua", 0x00FFFF},      {"cyan", 0x00FFFF},      {"orange", 0xFFA500},
    {"gold", 0xFFD700},      {"pink", 0xFFC0CB},      {"hotpink", 0xFF69B4},   {"brown", 0xA52A2A},
    {"violet", 0xEE82EE},    {"indigo", 0x4B0082},    {"crimson", 0xDC143C},   {"tomato", 0xFF6347},
    {"orchid", 0xDA70D6},    {"plum", 0xDDA0DD},      {"lavender", 0xE6E6FA},  {"ivory", 0xFFFFF0},
    {"beige", 0xF5F5DC},     {"khaki", 0xF0E68C},     {"salmon", 0xFA8072},    {"coral", 0xFF7F50},
    {"skyblue", 0x87CEEB},   {"darkgray", 0xA9A9A9},  {"darkgrey", 0xA9A9A9},  {"lightgray", 0xD3D3D3},
    {"lightgrey", 0xD3D3D3}, {"dimgray", 0x696969},   {"dimgrey", 0x696969},   {"whitesmoke", 0xF5F5F5},
    {"darkred", 0x8B0000},   {"darkgreen", 0x006400}, {"darkblue", 0x00008B},  {"darkorange", 0xFF8C00},
    {"limegreen", 0x32CD32}, {"royalblue", 0x4169E1}, {"steelblue", 0x4682B4}, {"turquoise", 0x40E0D0},
    {"chocolate", 0xD2691E}, {"goldenrod", 0xDAA520}, {"firebrick", 0xB22222}, {"tan", 0xD2B48C},
};

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

uint8_t ClampByte(double v)
{
    if (!(v > 0))
        return 0;
    if (v >= 255)
        return 255;
    return uint8_t(std::lround(v));
}

} // namespace

std::string Trim(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return std::string(text);
}

std::optional<Rgba> ParseColour(std::string_view input)
{
    const std::string text = Lower(Trim(input));
    if (text.size() >= 2 && text[0] == '#')
    {
        const std::string_view hex = std::string_view(text).substr(1);
        for (char c : hex)
            if (HexDigit(c) < 0)
                return std::nullopt;
        if (hex.size() == 3)
            return Rgba{uint8_t(HexDigit(hex[0]) * 17), uint8_t(HexDigit(hex[1]) * 17), uint8_t(HexDigit(hex[2]) * 17),
                        255};
        if (hex.size() == 6)
            return Rgba{uint8_t(HexDigit(hex[0]) * 16 + HexDigit(hex[1])),
                        uint8_t(HexDigit(hex[2]) * 16 + HexDigit(hex[3])),
                        uint8_t(HexDigit(hex[4]) * 16 + HexDigit(hex[5])), 255};
        return std::nullopt;
    }
    if (text.compare(0, 4, "rgb(") == 0 && text.back() == ')')
    {
        const std::string inner = text.substr(4, text.size() - 5);
        double values[3];
        size_t start = 0;
        for (int i = 0; i < 3; ++i)
        {
            const size_t comma = inner.find(',', start);
            if ((i < 2) != (comma != std::string::npos))
                return std::nullopt;
            const std::string part = Trim(
                std::string_view(inner).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            auto v = ParseLength(part);
            if (!v)
                return std::nullopt;
            values[i] = !part.empty() && part.back() == '%' ? *v * 255 / 100 : *v;
            start = comma + 1;
        }
        return Rgba{ClampByte(values[0]), ClampByte(values[1]), ClampByte(values[2]), 255};
    }
    for (const NamedColour& n : Names)
    {
        if (text == n.name)
            return Rgba{uint8_t(n.rgb >> 16), uint8_t((n.rgb >> 8) & 0xFF), uint8_t(n.rgb & 0xFF), 255};
    }
    return std::nullopt;
}

std::optional<Affine> ParseTransform(std::string_view text)
{
    Affine result;
    size_t pos = 0;
    for (;;)
    {
        while (pos < text.size() && (std::isspace(static_cast<unsigned char>(text[pos])) || text[pos] == ','))
            ++pos;
        if (pos >= text.size())
            return result;
        const size_t open = text.find('(', pos);
        if (open == std::string_view::npos)
            return std::nullopt;
        const std::string name = Trim(text.substr(pos, open - pos));
        const size_t close = text.find(')', open);
        if (close == std::string_view::npos)
            return std::nullopt;
        NumberScanner in(text.substr(open + 1, close - open - 1));
        std::vector<double> args;
        while (!in.AtEnd())
        {
            auto v = in.Number();
            if (!v)
                return std::nullopt;
            args.push_back(*v);
        }
        pos = close + 1;
        const size_t n = args.size();
        Affine m;
        if (name == "matrix" && n == 6)
            m = {args[0], args[1], args[2], args[3], args[4], args[5]};
        else if (name == "translate" && (n == 1 || n == 2))
            m = Affine::Translate(args[0], n == 2 ? args[1] : 0);
        else if (name == "scale" && (n == 1 || n == 2))
            m = Affine::Scale(args[0], n == 2 ? args[1] : args[0]);
        else if (name == "rotate" && n == 1)
            m = Affine::Rotate(args[0]);
        else if (name == "rotate" && n == 3)
            m = Affine::Translate(args[1], args[2]) * Affine::Rotate(args[0]) * Affine::Translate(-args[1], -args[2]);
        else if (name == "skewX" && n == 1)
            m = {1, 0, std::tan(args[0] * M_PI / 180), 1, 0, 0};
        else if (name == "skewY" && n == 1)
            m = {1, std::tan(args[0] * M_PI / 180), 0, 1, 0, 0};
        else
            return std::nullopt;
        result = result * m;
    }
}

std::vector<Point> ParsePoints(std::string_view text)
{
    std::vector<Point> points;
    NumberScanner in(text);
    for (;;)
    {
        auto x = in.Number();
        if (!x)
            break;
        auto y = in.Number();
        if (!y)
            break;
        points.push_back({*x, *y});
    }
    return points;
}

std::vector<std::pair<std::string, std::string>> ParseStyleDeclarations(std::string_view text)
{
    std::vector<std::pair<std::string, std::string>> out;
    size_t pos = 0;
    while (pos < text.size())
    {
        size_t end = text.find(';', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view declaration = text.substr(pos, end - pos);
        const size_t colon = declaration.find(':');
        if (colon != std::string_view::npos)
        {
            std::string key = Lower(Trim(declaration.substr(0, colon)));
            std::string value = Trim(declaration.substr(colon + 1));
            if (!key.empty())
                out.emplace_back(std::move(key), std::move(value));
        }
        pos = end + 1;
    }
    return out;
}

std::string UrlReference(std::string_view input)
{
    const std::string text = Trim(input);
    if (text.compare(0, 4, "url(") != 0)
        return {};
    const size_t close = text.find(')');
    if (close == std::string::npos)
        return {};
    std::string inner = Trim(std::string_view(text).substr(4, close - 4));
    if (inner.size() >= 2 && (inner.front() == '"' || inner.front() == '\'') && inner.back() == inner.front())
        inner = inner.substr(1, inner.size() - 2);
    if (inner.empty() || inner[0] != '#')
        return {};
    return inner.substr(1);
}

uint8_t ScaleAlpha(uint8_t a, double factor)
{
    const double v = a * std::clamp(factor, 0.0, 1.0);
    return uint8_t(std::lround(v));
}

std::optional<double> ParseOpacity(const std::string& text)
{
    auto v = ParseLength(text);
    if (!v)
        return std::nullopt;
    double value = *v;
    if (!text.empty() && Trim(text).back() == '%')
        value /= 100;
    return std::clamp(value, 0.0, 1.0);
}

Rgba AverageColour(const Paint& p)
{
    if (p.kind == Paint::Kind::Solid || p.stops.empty())
        return p.colour;
    double r = 0, g = 0, b = 0, a = 0;
    for (const GradientStop& s : p.stops)
    {
        r += s.colour.r;
        g += s.colour.g;
        b += s.colour.b;
        a += s.colour.a;
    }
    const double n = double(p.stops.size());
    return {uint8_t(std::lround(r / n)), uint8_t(std::lround(g / n)), uint8_t(std::lround(b / n)),
            uint8_t(std::lround(a / n))};
}
