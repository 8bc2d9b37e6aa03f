// Paints of the picture compiler: colours, and gradients mapped onto the
// movie format's gradient square.
#include "SvgCompiler.h"

#include "NumberScanner.h"
#include "SvgValues.h"
#include "XmlDocument.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr size_t MaxGradientStops = 8; // the most a DefineShape3 gradient should hold

Rgba Mix(Rgba a, Rgba b, double t)
{
    auto lerp = [t](uint8_t x, uint8_t y) { return uint8_t(std::lround(x + (y - x) * t)); };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

double ColourDistance(Rgba a, Rgba b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) + std::abs(a.a - b.a);
}

// Drops the interior stops whose loss changes the ramp least until at most
// MaxGradientStops remain.
void ReduceStops(std::vector<GradientStop>& stops)
{
    while (stops.size() > MaxGradientStops)
    {
        size_t best = 1;
        double bestError = 1e300;
        for (size_t i = 1; i + 1 < stops.size(); ++i)
        {
            const double span = stops[i + 1].offset - stops[i - 1].offset;
            const double t = span > 0 ? (stops[i].offset - stops[i - 1].offset) / span : 0;
            const double err = ColourDistance(stops[i].colour, Mix(stops[i - 1].colour, stops[i + 1].colour, t));
            if (err < bestError)
            {
                bestError = err;
                best = i;
            }
        }
        stops.erase(stops.begin() + long(best));
    }
}

} // namespace

Paint SvgCompiler::ResolvePaint(const std::string& paintValue, double alpha, const Style& style, const Outline& local,
                                const Affine& ctm)
{
    Paint p;
    if (paintValue == "none")
        return p;
    if (paintValue == "currentColor")
    {
        p.kind = Paint::Kind::Solid;
        p.colour = style.colour;
        p.colour.a = ScaleAlpha(p.colour.a, alpha);
        return p;
    }
    const std::string id = UrlReference(paintValue);
    if (!id.empty())
    {
        auto it = ids.find(id);
        if (it != ids.end() &&
            (it->second->LocalName() == "linearGradient" || it->second->LocalName() == "radialGradient"))
            return ResolveGradient(*it->second, alpha, local, ctm);
        // A fallback colour may follow the reference.
        const std::string rest = Trim(paintValue.substr(paintValue.find(')') + 1));
        if (auto c = ParseColour(rest))
        {
            p.kind = Paint::Kind::Solid;
            p.colour = *c;
            p.colour.a = ScaleAlpha(255, alpha);
            return p;
        }
        warnings.push_back("paint refers to a missing gradient #" + id + "; nothing is painted");
        return p;
    }
    if (auto c = ParseColour(paintValue))
    {
        p.kind = Paint::Kind::Solid;
        p.colour = *c;
        p.colour.a = ScaleAlpha(255, alpha);
    }
    return p;
}

Paint SvgCompiler::ResolveGradient(const XmlElement& gradient, double alpha, const Outline& local, const Affine& ctm)
{
    // Attributes and stops may be inherited along the href chain.
    std::vector<const XmlElement*> chain{&gradient};
    for (int i = 0; i < 16; ++i)
    {
        const XmlElement* g = chain.back();
        const std::string* href = g->Attribute("href");
        if (!href)
            href = g->Attribute("xlink:href");
        if (!href || href->size() < 2 || (*href)[0] != '#')
            break;
        auto it = ids.find(href->substr(1));
        if (it == ids.end() || std::find(chain.begin(), chain.end(), it->second) != chain.end())
            break;
        chain.push_back(it->second);
    }
    auto attribute = [&](const char* name) -> const std::string*
    {
        for (const XmlElement* g : chain)
            if (const std::string* v = g->Attribute(name))
                return v;
        return nullptr;
    };

    Paint p;
    for (const XmlElement* g : chain)
    {
        for (const auto& child : g->children)
        {
            if (child->LocalName() != "stop")
                continue;
            GradientStop stop;
            std::string offset = child->Attribute("offset") ? *child->Attribute("offset") : "0";
            std::string colour = child->Attribute("stop-color") ? *child->Attribute("stop-color") : "black";
            std::string opacity = child->Attribute("stop-opacity") ? *child->Attribute("stop-opacity") : "1";
            if (const std::string* st = child->Attribute("style"))
                for (auto& [k, v] : ParseStyleDeclarations(*st))
                {
                    if (k == "stop-color")
                        colour = v;
                    else if (k == "stop-opacity")
                        opacity = v;
                }
            stop.offset = std::clamp(ParseOpacity(offset).value_or(0), 0.0, 1.0);
            if (!p.stops.empty())
                stop.offset = std::max(stop.offset, p.stops.back().offset);
            stop.colour = ParseColour(colour).value_or(Rgba{});
            stop.colour.a = ScaleAlpha(255, ParseOpacity(opacity).value_or(1) * alpha);
            p.stops.push_back(stop);
        }
        if (!p.stops.empty())
            break;
    }
    if (p.stops.empty())
        return p; // a gradient without stops paints nothing
    if (p.stops.size() > MaxGradientStops)
    {
        Warn(gradient, "gradient has " + std::to_string(p.stops.size()) + " stops; reduced to " +
                           std::to_string(MaxGradientStops));
        ReduceStops(p.stops);
    }

    const std::string* unitsAttr = attribute("gradientUnits");
    const bool userSpace = unitsAttr && Trim(*unitsAttr) == "userSpaceOnUse";
    // Coordinates: fractions of the bounding box, or user units (percentages
    // of the viewport).
    auto coordinate = [&](const char* name, double fallback, double viewport)
    {
        const std::string* v = attribute(name);
        if (!v)
            return fallback;
        auto n = ParseLength(*v);
        if (!n)
            return fallback;
        const bool percent = Trim(*v).back() == '%';
        if (percent)
            return userSpace ? *n / 100 * viewport : *n / 100;
        return *n;
    };
    const double diagonal = std::hypot(viewportWidth, viewportHeight) / std::sqrt(2.0);
    Affine units;
    if (!userSpace)
    {
        Point min, max;
        if (!local.Bounds(min, max) || max.x - min.x <= 0 || max.y - min.y <= 0)
        {
            // No area to span: SVG paints nothing with it.
            p.stops.clear();
            return p;
        }
        units = Affine::Translate(min.x, min.y) * Affine::Scale(max.x - min.x, max.y - min.y);
    }
    Affine gradientTransform;
    if (const std::string* t = attribute("gradientTransform"))
    {
        if (auto m = ParseTransform(*t))
            gradientTransform = *m;
        else
            Warn(gradient, "bad gradientTransform ignored");
    }

    Affine square;
    bool degenerate = false;
    if (gradient.LocalName() == "linearGradient")
    {
        p.kind = Paint::Kind::Linear;
        const double one = userSpace ? viewportWidth : 1;
        const Point p1{coordinate("x1", 0, viewportWidth), coordinate("y1", 0, viewportHeight)};
        const Point p2{coordinate("x2", one, viewportWidth), coordinate("y2", 0, viewportHeight)};
        const Point dir = p2 - p1;
        const Point mid = (p1 + p2) * 0.5;
        degenerate = Length(dir) <= 0;
        square = {dir.x / 32768, dir.y / 32768, -dir.y / 32768, dir.x / 32768, mid.x, mid.y};
    }
    else
    {
        p.kind = Paint::Kind::Radial;
        const double half = userSpace ? 0.5 * viewportWidth : 0.5;
        const double cx = coordinate("cx", half, viewportWidth);
        const double cy = coordinate("cy", userSpace ? 0.5 * viewportHeight : 0.5, viewportHeight);
        const double r = coordinate("r", userSpace ? 0.5 * diagonal : 0.5, diagonal);
        degenerate = r <= 0;
        square = Affine::Translate(cx, cy) * Affine::Scale(r / 16384, r / 16384);
    }
    const Affine full = ctm * units * gradientTransform * square;
    if (degenerate || std::fabs(full.Determinant()) < 1e-12)
    {
        // A gradient of no length paints the last stop's colour.
        p.kind = Paint::Kind::Solid;
        p.colour = p.stops.back().colour;
        return p;
    }
    p.squareToShape = full;
    return p;
}
