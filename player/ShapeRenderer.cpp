#include "player/ShapeRenderer.h"

#include "player/ShapeDefinition.h"

#include <cairo.h>

#include <cstring>
#include <unordered_map>

namespace swf
{

namespace
{

// One edge of a fill's outline, in twips.
struct Segment
{
    float sx, sy, cx, cy, ex, ey;
};

// Adds the quadratic p0 -> c -> p1 as the equivalent cubic (computed in double precision).
void addQuadratic(cairo_t* cr, double x0, double y0, double cx, double cy, double x1, double y1)
{
    double c1x = x0 + (2.0 / 3.0) * (cx - x0);
    double c1y = y0 + (2.0 / 3.0) * (cy - y0);
    double c2x = c1x + (1.0 / 3.0) * (x1 - x0);
    double c2y = c1y + (1.0 / 3.0) * (y1 - y0);
    cairo_curve_to(cr, c1x, c1y, c2x, c2y, x1, y1);
}

// Exact-equality key of a point: the bits of both floats, with -0 folded into +0 (they compare
// equal). NaN never equals anything, so it gets no key.
bool pointKey(float x, float y, uint64_t& key)
{
    if (x != x || y != y)
        return false;
    x += 0.0f;
    y += 0.0f;
    uint32_t bx, by;
    std::memcpy(&bx, &x, 4);
    std::memcpy(&by, &y, 4);
    key = (uint64_t(bx) << 32) | by;
    return true;
}

// Segment indexes sharing one point, ascending, with the first not yet used.
struct IndexGroup
{
    std::vector<int> indexes;
    size_t head = 0;

    int firstRemaining(const std::vector<bool>& used)
    {
        while (head < indexes.size() && used[static_cast<size_t>(indexes[head])])
            ++head;
        return head < indexes.size() ? indexes[head] : -1;
    }
};

// Builds the contours of one fill: start with the first unused segment, then keep taking the
// first unused segment (in order) that starts at the cursor, or else ends there (added reversed).
// Returns whether any curve was added.
bool buildFillPath(cairo_t* cr, const std::vector<Segment>& segments)
{
    if (segments.empty())
        return false;
    size_t n = segments.size();
    std::unordered_map<uint64_t, IndexGroup> byStart;
    std::unordered_map<uint64_t, IndexGroup> byEnd;
    byStart.reserve(n);
    byEnd.reserve(n);
    for (size_t i = 0; i < n; ++i)
    {
        uint64_t key;
        if (pointKey(segments[i].sx, segments[i].sy, key))
            byStart[key].indexes.push_back(static_cast<int>(i));
        if (pointKey(segments[i].ex, segments[i].ey, key))
            byEnd[key].indexes.push_back(static_cast<int>(i));
    }

    std::vector<bool> used(n, false);
    size_t nextStart = 0;
    cairo_new_path(cr);
    while (true)
    {
        while (nextStart < n && used[nextStart])
            ++nextStart;
        if (nextStart == n)
            break;
        const Segment& first = segments[nextStart];
        used[nextStart] = true;
        cairo_move_to(cr, first.sx, first.sy);
        addQuadratic(cr, first.sx, first.sy, first.cx, first.cy, first.ex, first.ey);
        float curX = first.ex;
        float curY = first.ey;
        while (true)
        {
            uint64_t key;
            if (!pointKey(curX, curY, key))
                break;
            int forward = -1;
            int reverse = -1;
            auto s = byStart.find(key);
            if (s != byStart.end())
                forward = s->second.firstRemaining(used);
            auto e = byEnd.find(key);
            if (e != byEnd.end())
                reverse = e->second.firstRemaining(used);
            if (forward < 0 && reverse < 0)
                break;
            // The earlier segment wins; for one segment the forward test comes first.
            bool useForward = forward >= 0 && (reverse < 0 || forward <= reverse);
            int index = useForward ? forward : reverse;
            const Segment& seg = segments[static_cast<size_t>(index)];
            used[static_cast<size_t>(index)] = true;
            if (useForward)
            {
                addQuadratic(cr, seg.sx, seg.sy, seg.cx, seg.cy, seg.ex, seg.ey);
                curX = seg.ex;
                curY = seg.ey;
            }
            else
            {
                addQuadratic(cr, seg.ex, seg.ey, seg.cx, seg.cy, seg.sx, seg.sy);
                curX = seg.sx;
                curY = seg.sy;
            }
        }
    }
    return true;
}

void setSourceColour(cairo_t* cr, const Rgba& c)
{
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

cairo_matrix_t toCairo(const Matrix& m)
{
    cairo_matrix_t cm;
    cairo_matrix_init(&cm, m.m00, m.m10, m.m01, m.m11, m.m02, m.m12);
    return cm;
}

// A pattern or context matrix cairo would refuse (and then stop drawing) is skipped instead.
bool usableMatrix(const Matrix& m, cairo_matrix_t& out)
{
    if (!m.isInvertible())
        return false;
    out = toCairo(m);
    cairo_matrix_t copy = out;
    return cairo_matrix_invert(&copy) == CAIRO_STATUS_SUCCESS;
}

void paintGradient(cairo_t* cr, const FillStyle& style, const ColorTransform& cxform)
{
    cairo_matrix_t patternMatrix;
    if (style.gradient.empty() || !usableMatrix(style.gradientMatrix, patternMatrix))
    {
        cairo_new_path(cr);
        return;
    }
    cairo_pattern_t* pattern = style.type == LinearGradientFill ? cairo_pattern_create_linear(0, 0, 1024, 0)
                                                                : cairo_pattern_create_radial(32, 32, 0, 32, 32, 128);
    for (const GradientRecord& record : style.gradient)
    {
        Rgba c = cxform.transform(record.colour);
        cairo_pattern_add_color_stop_rgba(pattern, record.ratio * 0.0009775171065493646, c.r / 255.0, c.g / 255.0,
                                          c.b / 255.0, c.a / 255.0);
    }
    cairo_pattern_set_matrix(pattern, &patternMatrix);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

} // namespace

void ShapeRenderer::draw(const ShapeDefinition& shape, const Matrix& world, const ColorTransform& cxform,
                         RenderContext& context)
{
    drawPaths(shape.paths(), shape.fillStyles(), shape.lineStyles(), world, cxform, context);
}

void ShapeRenderer::drawPaths(const std::vector<Path>& paths, const std::vector<FillStyle>& fills,
                              const std::vector<LineStyle>& lines, const Matrix& world, const ColorTransform& cxform,
                              RenderContext& context)
{
    cairo_t* cr = context.cr;
    if (!cr || paths.empty())
        return;
    Matrix transform = context.displayMatrix;
    transform.concatenate(world);
    cairo_matrix_t cm;
    // A shape scaled to nothing (or by a broken transform) has no area: skip it rather than
    // leave the context in an error state that would blank everything drawn after it.
    if (!usableMatrix(transform, cm))
        return;

    cairo_save(cr);
    cairo_set_matrix(cr, &cm);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);

    std::vector<Segment> segments;
    for (size_t i = 0; i < fills.size(); ++i)
    {
        const FillStyle& style = fills[i];
        bool paintable =
            style.type == SolidFill || style.type == LinearGradientFill || style.type == RadialGradientFill;
        if (!paintable)
            continue;
        int index = static_cast<int>(i) + 1;
        segments.clear();
        for (const Path& path : paths)
        {
            if (path.fill0 == path.fill1 || (path.fill0 != index && path.fill1 != index))
                continue;
            float px = path.startX;
            float py = path.startY;
            for (const Edge& edge : path.edges)
            {
                segments.push_back(Segment{px, py, edge.cx, edge.cy, edge.ax, edge.ay});
                px = edge.ax;
                py = edge.ay;
            }
        }
        if (!buildFillPath(cr, segments))
            continue;
        if (style.type == SolidFill)
        {
            setSourceColour(cr, cxform.transform(style.colour));
            cairo_fill(cr);
        }
        else
            paintGradient(cr, style, cxform);
    }

    // Line styles of DefineShape 1 to 3 have round caps and round joins.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (size_t j = 0; j < lines.size(); ++j)
    {
        const LineStyle& style = lines[j];
        if (style.width == 0)
            continue;
        int index = static_cast<int>(j) + 1;
        bool any = false;
        cairo_new_path(cr);
        for (const Path& path : paths)
        {
            if (path.line != index || path.edges.empty())
                continue;
            any = true;
            cairo_move_to(cr, path.startX, path.startY);
            double px = path.startX;
            double py = path.startY;
            for (const Edge& edge : path.edges)
            {
                addQuadratic(cr, px, py, edge.cx, edge.cy, edge.ax, edge.ay);
                px = edge.ax;
                py = edge.ay;
            }
        }
        if (!any)
            continue;
        setSourceColour(cr, cxform.transform(style.colour));
        cairo_set_line_width(cr, style.width);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

} // namespace swf
