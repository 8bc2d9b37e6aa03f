#include "SvgCompiler.h"

#include "GlyphOutliner.h"
#include "NumberScanner.h"
#include "PathParser.h"
#include "SvgValues.h"
#include "XmlDocument.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

namespace
{

constexpr int MaxDepth = 64;
constexpr double TwipsPerPixel = 20;

const std::set<std::string> IgnoredElements = {"filter", "mask",   "clipPath", "pattern", "image",
                                               "title",  "desc",   "metadata", "marker",  "foreignObject",
                                               "style",  "script", "switch"};

// SVG's default white-space handling: line breaks removed, tabs to spaces,
// runs of spaces collapsed, leading and trailing spaces dropped.
std::string CollapseWhiteSpace(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        if (c == '\n' || c == '\r')
            continue;
        if (c == '\t')
            c = ' ';
        if (c == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

void SvgCompiler::Warn(const XmlElement& e, const std::string& what)
{
    warnings.push_back("line " + std::to_string(e.line) + ": " + what);
}

void SvgCompiler::IndexIds(const XmlElement& e)
{
    if (const std::string* id = e.Attribute("id"))
        ids.emplace(*id, &e);
    for (const auto& child : e.children)
        IndexIds(*child);
}

double SvgCompiler::NumberAttribute(const XmlElement& e, const char* name, double fallback)
{
    const std::string* text = e.Attribute(name);
    if (!text)
        return fallback;
    auto v = ParseLength(*text);
    if (!v)
    {
        Warn(e, std::string("bad number in ") + name + "=\"" + *text + "\"");
        return fallback;
    }
    return *v;
}

bool SvgCompiler::Compile(const std::string& source, Movie& movie, std::string& error)
{
    warnings.clear();
    ids.clear();
    activeUses.clear();
    textWithoutFont = false;
    auto root = ParseXml(source, error);
    if (!root)
        return false;
    if (root->LocalName() != "svg")
    {
        error = "the root element is <" + root->name + ">, not <svg>";
        return false;
    }
    IndexIds(*root);

    // Frame size: width/height, else the view box.
    double vbX = 0, vbY = 0, vbW = 0, vbH = 0;
    if (const std::string* vb = root->Attribute("viewBox"))
    {
        NumberScanner in(*vb);
        auto x = in.Number(), y = in.Number(), w = in.Number(), h = in.Number();
        if (!x || !y || !w || !h || *w <= 0 || *h <= 0)
        {
            error = "bad viewBox \"" + *vb + "\"";
            return false;
        }
        vbX = *x, vbY = *y, vbW = *w, vbH = *h;
    }
    const double width = NumberAttribute(*root, "width", vbW);
    const double height = NumberAttribute(*root, "height", vbH);
    if (!(width > 0) || !(height > 0))
    {
        error = "the picture needs a positive width and height (or a viewBox)";
        return false;
    }
    if (vbW <= 0)
    {
        vbW = width;
        vbH = height;
    }
    viewportWidth = vbW;
    viewportHeight = vbH;
    movie.widthTwips = int(std::lround(width * TwipsPerPixel));
    movie.heightTwips = int(std::lround(height * TwipsPerPixel));
    frameWidthTwips = movie.widthTwips;
    frameHeightTwips = movie.heightTwips;

    movie.frameRate = 12;
    if (const std::string* fps = root->Attribute("data-fps"))
    {
        char* end = nullptr;
        const long v = std::strtol(fps->c_str(), &end, 10);
        if (fps->empty() || *end != 0 || v < 1 || v > 255)
        {
            error = "data-fps must be a whole number from 1 to 255, not \"" + *fps + "\"";
            return false;
        }
        movie.frameRate = int(v);
    }
    const std::string* compress = root->Attribute("data-compress");
    movie.compressed = compress && Trim(*compress) == "1";

    const Affine ctm =
        Affine::Scale(TwipsPerPixel * width / vbW, TwipsPerPixel * height / vbH) * Affine::Translate(-vbX, -vbY);
    const Style base = ApplyStyle(*root, Style{});

    movie.background.clear();
    movie.frames.clear();
    for (const auto& child : root->children)
    {
        if (child->LocalName() == "g" && child->Attribute("data-frame"))
        {
            MovieFrame frame;
            if (const std::string* label = child->Attribute("data-label"))
                frame.label = *label;
            if (const std::string* hold = child->Attribute("data-hold"))
            {
                char* end = nullptr;
                const long v = std::strtol(hold->c_str(), &end, 10);
                if (hold->empty() || *end != 0 || v < 1 || v > 1000)
                {
                    error = "line " + std::to_string(child->line) + ": data-hold must be a whole number from 1 to 1000";
                    return false;
                }
                frame.hold = int(v);
            }
            Walk(*child, ctm, base, frame.items, 1);
            movie.frames.push_back(std::move(frame));
        }
        else
        {
            Walk(*child, ctm, base, movie.background, 1);
        }
    }
    if (movie.frames.empty())
        movie.frames.emplace_back();
    int total = 0;
    for (const MovieFrame& f : movie.frames)
        total += f.hold;
    if (total > 65535)
    {
        error = "too many frames";
        return false;
    }
    if (textWithoutFont)
    {
        error = "the picture has text but no font was given";
        return false;
    }
    return true;
}

SvgCompiler::Style SvgCompiler::ApplyStyle(const XmlElement& e, const Style& inherited)
{
    Style s = inherited;
    std::vector<std::pair<std::string, std::string>> props;
    static const char* const Names[] = {"fill",           "stroke",  "fill-opacity", "stroke-opacity",
                                        "stroke-width",   "opacity", "font-size",    "text-anchor",
                                        "letter-spacing", "color",   "visibility"};
    for (const char* name : Names)
        if (const std::string* v = e.Attribute(name))
            props.emplace_back(name, *v);
    // Declarations in style="" override presentation attributes.
    if (const std::string* style = e.Attribute("style"))
        for (auto& p : ParseStyleDeclarations(*style))
            props.push_back(p);

    bool opacitySet = false;
    double ownOpacity = 1;
    for (const auto& [key, raw] : props)
    {
        const std::string value = Trim(raw);
        if (value == "inherit")
            continue;
        if (key == "fill" || key == "stroke")
        {
            const bool ok =
                value == "none" || value == "currentColor" || !UrlReference(value).empty() || ParseColour(value);
            if (!ok)
            {
                Warn(e, "unknown paint \"" + value + "\" ignored");
                continue;
            }
            (key == "fill" ? s.fill : s.stroke) = value;
        }
        else if (key == "fill-opacity" || key == "stroke-opacity" || key == "opacity")
        {
            auto v = ParseOpacity(value);
            if (!v)
            {
                Warn(e, "bad " + key + " \"" + value + "\"");
                continue;
            }
            if (key == "fill-opacity")
                s.fillOpacity = *v;
            else if (key == "stroke-opacity")
                s.strokeOpacity = *v;
            else
            {
                ownOpacity = *v;
                opacitySet = true;
            }
        }
        else if (key == "stroke-width" || key == "font-size" || key == "letter-spacing")
        {
            auto v = ParseLength(value);
            if (key == "letter-spacing" && value == "normal")
                v = 0.0;
            if (!v || (key != "letter-spacing" && *v < 0))
            {
                Warn(e, "bad " + key + " \"" + value + "\"");
                continue;
            }
            if (key == "stroke-width")
                s.strokeWidth = *v;
            else if (key == "font-size")
                s.fontSize = *v;
            else
                s.letterSpacing = *v;
        }
        else if (key == "text-anchor")
        {
            if (value == "start" || value == "middle" || value == "end")
                s.textAnchor = value;
            else
                Warn(e, "unknown text-anchor \"" + value + "\"");
        }
        else if (key == "color")
        {
            if (auto c = ParseColour(value))
                s.colour = *c;
        }
        else if (key == "visibility")
        {
            s.visible = value == "visible";
        }
    }
    if (opacitySet)
        s.opacity = inherited.opacity * ownOpacity;
    return s;
}

void SvgCompiler::Walk(const XmlElement& e, const Affine& parentCtm, const Style& inherited,
                       std::vector<ShapeItem>& out, int depth)
{
    if (e.name.empty() || e.name[0] == '#')
        return;
    if (depth > MaxDepth)
    {
        Warn(e, "elements nested too deeply; the rest is ignored");
        return;
    }
    // Elements of editor namespaces (sodipodi:, inkscape:) carry no drawing.
    if (e.name.find(':') != std::string::npos && e.name.compare(0, 4, "svg:") != 0)
        return;
    const std::string name = e.LocalName();
    if (name == "defs" || name == "symbol" || name == "linearGradient" || name == "radialGradient" || name == "stop")
        return;
    if (IgnoredElements.count(name))
    {
        Warn(e, "<" + name + "> is not supported and is ignored");
        return;
    }
    if (const std::string* display = e.Attribute("display"); display && Trim(*display) == "none")
        return;
    for (const char* attr : {"clip-path", "mask", "filter"})
        if (e.Attribute(attr))
            Warn(e, std::string(attr) + " is not supported and is ignored");

    Affine ctm = parentCtm;
    if (const std::string* t = e.Attribute("transform"))
    {
        if (auto m = ParseTransform(*t))
            ctm = parentCtm * *m;
        else
            Warn(e, "bad transform \"" + *t + "\" ignored");
    }
    const Style style = ApplyStyle(e, inherited);

    if (name == "g" || name == "svg" || name == "a")
    {
        for (const auto& child : e.children)
            Walk(*child, ctm, style, out, depth + 1);
        return;
    }
    if (name == "use")
    {
        EmitUse(e, ctm, style, out, depth);
        return;
    }
    if (!style.visible)
        return;
    if (name == "text")
    {
        EmitText(e, style, ctm, out);
        return;
    }

    Outline local;
    bool fillable = true;
    if (name == "path")
    {
        if (const std::string* d = e.Attribute("d"))
        {
            std::string problem;
            local = ParsePathData(*d, &problem);
            if (!problem.empty())
                Warn(e, "path data: " + problem + " (the rest of the path is ignored)");
        }
    }
    else if (name == "rect")
    {
        const double x = NumberAttribute(e, "x", 0), y = NumberAttribute(e, "y", 0);
        const double w = NumberAttribute(e, "width", 0), h = NumberAttribute(e, "height", 0);
        if (w <= 0 || h <= 0)
            return;
        double rx = NumberAttribute(e, "rx", -1), ry = NumberAttribute(e, "ry", -1);
        if (rx < 0)
            rx = ry;
        if (ry < 0)
            ry = rx;
        rx = std::clamp(rx, 0.0, w / 2);
        ry = std::clamp(ry, 0.0, h / 2);
        if (rx <= 0 || ry <= 0)
        {
            local.MoveTo({x, y});
            local.LineTo({x + w, y});
            local.LineTo({x + w, y + h});
            local.LineTo({x, y + h});
            local.Close();
        }
        else
        {
            local.MoveTo({x + rx, y});
            local.LineTo({x + w - rx, y});
            AppendArc(local, rx, ry, 0, false, true, {x + w, y + ry});
            local.LineTo({x + w, y + h - ry});
            AppendArc(local, rx, ry, 0, false, true, {x + w - rx, y + h});
            local.LineTo({x + rx, y + h});
            AppendArc(local, rx, ry, 0, false, true, {x, y + h - ry});
            local.LineTo({x, y + ry});
            AppendArc(local, rx, ry, 0, false, true, {x + rx, y});
            local.Close();
        }
    }
    else if (name == "circle")
    {
        const double r = NumberAttribute(e, "r", 0);
        if (r <= 0)
            return;
        AppendEllipse(local, {NumberAttribute(e, "cx", 0), NumberAttribute(e, "cy", 0)}, r, r);
    }
    else if (name == "ellipse")
    {
        const double rx = NumberAttribute(e, "rx", 0), ry = NumberAttribute(e, "ry", 0);
        if (rx <= 0 || ry <= 0)
            return;
        AppendEllipse(local, {NumberAttribute(e, "cx", 0), NumberAttribute(e, "cy", 0)}, rx, ry);
    }
    else if (name == "line")
    {
        local.MoveTo({NumberAttribute(e, "x1", 0), NumberAttribute(e, "y1", 0)});
        local.LineTo({NumberAttribute(e, "x2", 0), NumberAttribute(e, "y2", 0)});
        fillable = false;
    }
    else if (name == "polyline" || name == "polygon")
    {
        const std::string* pts = e.Attribute("points");
        const std::vector<Point> points = pts ? ParsePoints(*pts) : std::vector<Point>{};
        if (points.size() < 2)
            return;
        local.MoveTo(points[0]);
        for (size_t i = 1; i < points.size(); ++i)
            local.LineTo(points[i]);
        if (name == "polygon")
            local.Close();
    }
    else
    {
        Warn(e, "<" + name + "> is not supported and is ignored");
        return;
    }
    EmitOutline(e, local, style, ctm, out, fillable);
}

void SvgCompiler::EmitOutline(const XmlElement& e, const Outline& local, const Style& style, const Affine& ctm,
                              std::vector<ShapeItem>& out, bool fillable)
{
    if (local.Empty())
        return;
    ShapeItem item;
    if (fillable)
        item.fill = ResolvePaint(style.fill, style.opacity * style.fillOpacity, style, local, ctm);
    const Paint stroke = ResolvePaint(style.stroke, style.opacity * style.strokeOpacity, style, local, ctm);
    if (stroke.kind != Paint::Kind::None && style.strokeWidth > 0)
    {
        item.stroked = true;
        item.strokeColour = AverageColour(stroke);
        // The stroke scales with the mean stretch of the transform.
        item.strokeWidth = style.strokeWidth * std::sqrt(std::fabs(ctm.Determinant()));
    }
    if (item.fill.kind == Paint::Kind::None && !item.stroked)
        return;
    item.outline = local;
    item.outline.Transform(ctm);

    // The game cuts every picture at its frame: say so when a drawing (its
    // stroke included) reaches more than half a pixel beyond it.
    Point lo, hi;
    if (item.outline.Bounds(lo, hi))
    {
        const double reach = item.stroked ? item.strokeWidth / 2 : 0;
        const double beyond = std::max(
            {-(lo.x - reach), -(lo.y - reach), hi.x + reach - frameWidthTwips, hi.y + reach - frameHeightTwips});
        // (A degenerate transform can send it to infinity: the count saturates.)
        if (beyond > TwipsPerPixel / 2)
            Warn(e, "<" + e.LocalName() + "> reaches " +
                        std::to_string(int(std::min(std::ceil(beyond / TwipsPerPixel), 1e6))) +
                        " px beyond the frame, where the game cuts it off");
    }
    out.push_back(std::move(item));
}

void SvgCompiler::EmitText(const XmlElement& e, const Style& style, const Affine& ctm, std::vector<ShapeItem>& out)
{
    std::string raw;
    for (const auto& child : e.children)
    {
        if (child->name == "#text")
        {
            raw += child->text;
        }
        else if (child->LocalName() == "tspan")
        {
            if (child->Attribute("x") || child->Attribute("y") || child->Attribute("dx") || child->Attribute("dy"))
                Warn(*child, "positioned <tspan> is laid out in line with the text");
            raw += child->text;
        }
    }
    const std::string text = CollapseWhiteSpace(raw);
    if (text.empty())
        return;
    if (!font || !font->Loaded())
    {
        textWithoutFont = true;
        return;
    }
    // x and y may be lists; the first value places the whole line.
    const std::string xText = e.Attribute("x") ? *e.Attribute("x") : std::string();
    const std::string yText = e.Attribute("y") ? *e.Attribute("y") : std::string();
    NumberScanner xs(xText);
    NumberScanner ys(yText);
    const double x = xs.Number().value_or(0);
    const double y = ys.Number().value_or(0);
    double advance = 0;
    Outline glyphs = font->Layout(text, style.fontSize, style.letterSpacing, advance);
    // The spacing after the last character does not count when aligning.
    const double width = advance - style.letterSpacing;
    double shift = 0;
    if (style.textAnchor == "middle")
        shift = -width / 2;
    else if (style.textAnchor == "end")
        shift = -width;
    glyphs.Transform(Affine::Translate(x + shift, y));

    // An outline ring goes below the letters, so that only its outer half shows.
    Style strokeOnly = style;
    strokeOnly.fill = "none";
    EmitOutline(e, glyphs, strokeOnly, ctm, out, false);
    Style fillOnly = style;
    fillOnly.stroke = "none";
    EmitOutline(e, glyphs, fillOnly, ctm, out, true);
}

void SvgCompiler::EmitUse(const XmlElement& e, const Affine& ctm, const Style& style, std::vector<ShapeItem>& out,
                          int depth)
{
    const std::string* href = e.Attribute("href");
    if (!href)
        href = e.Attribute("xlink:href");
    if (!href || href->empty() || (*href)[0] != '#')
    {
        Warn(e, "<use> without a local reference");
        return;
    }
    const std::string id = href->substr(1);
    auto it = ids.find(id);
    if (it == ids.end())
    {
        Warn(e, "<use> refers to a missing #" + id);
        return;
    }
    if (std::find(activeUses.begin(), activeUses.end(), id) != activeUses.end())
    {
        Warn(e, "<use> of #" + id + " refers to itself");
        return;
    }
    const Affine placed = ctm * Affine::Translate(NumberAttribute(e, "x", 0), NumberAttribute(e, "y", 0));
    activeUses.push_back(id);
    const XmlElement& target = *it->second;
    if (target.LocalName() == "symbol")
    {
        for (const auto& child : target.children)
            Walk(*child, placed, style, out, depth + 1);
    }
    else
    {
        Walk(target, placed, style, out, depth + 1);
    }
    activeUses.pop_back();
}
