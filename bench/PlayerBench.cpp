// Movie player benchmark: load time and render time per frame of movies built in code, against
// a floor that fills and strokes the same paths directly with cairo. Prints a table; the ratio
// is the player's render time over the floor's.
#include "SwfTags.h"
#include "fixtures/MovieFiles.h"
#include "player/MovieDefinition.h"
#include "player/MovieInstance.h"
#include "player/Player.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

using namespace swfwrite;
using swftest::MemoryFiles;

namespace
{

struct Segment
{
    bool curve;
    int cx, cy, ax, ay; // absolute twips
};

struct Contour
{
    int sx, sy;
    std::vector<Segment> segments;
};

struct Paint
{
    uint8_t type = 0x00; // solid, 0x10 linear, 0x12 radial
    Colour colour;
    std::vector<std::pair<uint8_t, Colour>> stops;
    double gradScale = 1; // gradient square scale and centre (twips)
    int gradX = 0, gradY = 0;
};

struct Part
{
    Paint paint;
    int strokeWidth = 0; // twips; 0 = no stroke
    Colour strokeColour;
    std::vector<Contour> contours;
};

struct Placement
{
    double scale = 1;
    int tx = 0, ty = 0;
};

struct Scene
{
    std::string name;
    int widthTwips, heightTwips;
    std::vector<Part> shape;           // one shape character
    std::vector<Placement> placements; // where it is placed
};

Contour roundedRect(int x, int y, int w, int h, int r)
{
    Contour c{x + r, y, {}};
    c.segments = {{false, 0, 0, x + w - r, y},     {true, x + w, y, x + w, y + r},
                  {false, 0, 0, x + w, y + h - r}, {true, x + w, y + h, x + w - r, y + h},
                  {false, 0, 0, x + r, y + h},     {true, x, y + h, x, y + h - r},
                  {false, 0, 0, x, y + r},         {true, x, y, x + r, y}};
    return c;
}

Contour ellipse(int cx, int cy, int rx, int ry)
{
    Contour c{cx + rx, cy, {}};
    double k = 1.0 / std::cos(M_PI / 8);
    int px = cx + rx, py = cy;
    for (int i = 1; i <= 8; ++i)
    {
        double a = i * M_PI / 4, m = (i - 0.5) * M_PI / 4;
        int ax = i == 8 ? cx + rx : static_cast<int>(std::lround(cx + rx * std::cos(a)));
        int ay = i == 8 ? cy : static_cast<int>(std::lround(cy + ry * std::sin(a)));
        int ctrlX = static_cast<int>(std::lround(cx + rx * k * std::cos(m)));
        int ctrlY = static_cast<int>(std::lround(cy + ry * k * std::sin(m)));
        c.segments.push_back({true, ctrlX, ctrlY, ax, ay});
        px = ax;
        py = ay;
    }
    (void)px;
    (void)py;
    return c;
}

Part blockParts(std::vector<Part>& out, int size)
{
    Part body;
    body.paint.type = 0x12;
    body.paint.stops = {{0, {255, 120, 120, 255}}, {200, {200, 20, 20, 255}}, {255, {120, 0, 0, 255}}};
    body.paint.gradScale = size * 1.4 / 32768.0;
    body.paint.gradX = size / 3;
    body.paint.gradY = size / 3;
    body.strokeWidth = size / 30;
    body.strokeColour = {60, 0, 0, 255};
    body.contours.push_back(roundedRect(0, 0, size, size, size / 6));
    out.push_back(body);
    Part shine;
    shine.paint.type = 0x10;
    shine.paint.stops = {{0, {255, 255, 255, 180}}, {255, {255, 255, 255, 0}}};
    shine.paint.gradScale = size * 0.5 / 32768.0;
    shine.paint.gradX = size / 2;
    shine.paint.gradY = size / 4;
    shine.contours.push_back(ellipse(size / 2, size / 4, size / 3, size / 8));
    out.push_back(shine);
    return body;
}

std::vector<Scene> scenes()
{
    std::vector<Scene> all;
    {
        Scene s{"block", 1280, 1280, {}, {{1, 0, 0}}};
        blockParts(s.shape, 1280);
        all.push_back(s);
    }
    {
        Scene s{"panel", 8080, 14900, {}, {{1, 0, 0}}};
        Part back;
        back.paint.type = 0x10;
        back.paint.stops = {{0, {240, 240, 255, 255}}, {255, {180, 170, 230, 255}}};
        back.paint.gradScale = 14900 / 32768.0;
        back.paint.gradX = 4040;
        back.paint.gradY = 7450;
        back.strokeWidth = 80;
        back.strokeColour = {60, 40, 120, 255};
        back.contours.push_back(roundedRect(40, 40, 8000, 14820, 600));
        back.contours.push_back(roundedRect(600, 600, 6880, 2400, 300)); // a window (even-odd hole)
        s.shape.push_back(back);
        Part dots;
        dots.paint.colour = {90, 60, 170, 255};
        for (int i = 0; i < 24; ++i)
            dots.contours.push_back(ellipse(800 + (i % 6) * 1300, 4000 + (i / 6) * 2500, 450, 450));
        s.shape.push_back(dots);
        all.push_back(s);
    }
    {
        // Lettering: many small curved contours in one fill with an outline, as converted text.
        Scene s{"lettering", 11580, 1400, {}, {{1, 0, 0}}};
        Part letters;
        letters.paint.colour = {250, 250, 250, 255};
        letters.strokeWidth = 30;
        letters.strokeColour = {40, 40, 40, 255};
        for (int i = 0; i < 60; ++i)
        {
            int x = 300 + i * 180;
            letters.contours.push_back(roundedRect(x, 300, 140, 800, 50));
            letters.contours.push_back(ellipse(x + 70, 700, 40, 200));
        }
        s.shape.push_back(letters);
        all.push_back(s);
    }
    {
        // A board of 60 gradient blocks placed as separate objects.
        Scene s{"board", 8000, 13400, {}, {}};
        blockParts(s.shape, 1280);
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 6; ++c)
                s.placements.push_back({1.0, 100 + c * 1300, 100 + r * 1320});
        all.push_back(s);
    }
    return all;
}

// ---- movie bytes ----

MatrixSpec gradientRecordMatrix(const Paint& p)
{
    MatrixSpec m;
    m.scale = std::make_pair(p.gradScale, p.gradScale);
    m.tx = p.gradX;
    m.ty = p.gradY;
    return m;
}

Bytes movieBytes(const Scene& scene)
{
    ShapeBuilder s(32);
    s.bounds(0, scene.widthTwips, 0, scene.heightTwips);
    std::vector<std::pair<int, int>> styles;
    for (const Part& part : scene.shape)
    {
        int fill = part.paint.type == 0x00
                       ? s.solidFill(part.paint.colour)
                       : s.gradientFill(part.paint.type, gradientRecordMatrix(part.paint), part.paint.stops);
        int line = part.strokeWidth > 0 ? s.lineStyle(part.strokeWidth, part.strokeColour) : 0;
        styles.emplace_back(fill, line);
    }
    for (size_t i = 0; i < scene.shape.size(); ++i)
        for (const Contour& c : scene.shape[i].contours)
        {
            s.change(std::make_pair(c.sx, c.sy), 0, styles[i].first, styles[i].second);
            int x = c.sx, y = c.sy;
            for (const Segment& seg : c.segments)
            {
                if (seg.curve)
                    s.curveTo(seg.cx - x, seg.cy - y, seg.ax - seg.cx, seg.ay - seg.cy);
                else
                    s.lineTo(seg.ax - x, seg.ay - y);
                x = seg.ax;
                y = seg.ay;
            }
        }
    MovieBuilder m(1, scene.widthTwips, scene.heightTwips);
    m.tag(32, s.payload(1));
    int depth = 1;
    for (const Placement& p : scene.placements)
    {
        Place2 place;
        place.characterId = 1;
        place.depth = depth++;
        MatrixSpec ms;
        if (p.scale != 1)
            ms.scale = std::make_pair(p.scale, p.scale);
        ms.tx = p.tx;
        ms.ty = p.ty;
        place.matrix = ms;
        m.tag(26, place.payload());
    }
    return m.showFrame().end().fws();
}

// ---- the floor: the same paths straight into cairo ----

void addQuad(cairo_t* cr, double x0, double y0, double cx, double cy, double x1, double y1)
{
    double c1x = x0 + 2.0 / 3.0 * (cx - x0), c1y = y0 + 2.0 / 3.0 * (cy - y0);
    cairo_curve_to(cr, c1x, c1y, c1x + (x1 - x0) / 3.0, c1y + (y1 - y0) / 3.0, x1, y1);
}

void drawFloor(cairo_t* cr, const Scene& scene, int w, int h)
{
    cairo_matrix_t display;
    cairo_matrix_init_scale(&display, double(w) / scene.widthTwips, double(h) / scene.heightTwips);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const Placement& p : scene.placements)
    {
        cairo_matrix_t place, m;
        cairo_matrix_init(&place, p.scale, 0, 0, p.scale, p.tx, p.ty);
        cairo_matrix_multiply(&m, &place, &display);
        cairo_set_matrix(cr, &m);
        for (const Part& part : scene.shape)
        {
            cairo_new_path(cr);
            for (const Contour& c : part.contours)
            {
                cairo_move_to(cr, c.sx, c.sy);
                double x = c.sx, y = c.sy;
                for (const Segment& s : c.segments)
                {
                    if (s.curve)
                        addQuad(cr, x, y, s.cx, s.cy, s.ax, s.ay);
                    else
                        addQuad(cr, x, y, (x + s.ax) / 2, (y + s.ay) / 2, s.ax, s.ay);
                    x = s.ax;
                    y = s.ay;
                }
            }
            cairo_pattern_t* pattern = nullptr;
            if (part.paint.type == 0x00)
                cairo_set_source_rgba(cr, part.paint.colour.r / 255.0, part.paint.colour.g / 255.0,
                                      part.paint.colour.b / 255.0, part.paint.colour.a / 255.0);
            else
            {
                bool linear = part.paint.type == 0x10;
                pattern = linear ? cairo_pattern_create_linear(0, 0, 1024, 0)
                                 : cairo_pattern_create_radial(32, 32, 0, 32, 32, 128);
                for (const auto& stop : part.paint.stops)
                    cairo_pattern_add_color_stop_rgba(pattern, stop.first / 1023.0, stop.second.r / 255.0,
                                                      stop.second.g / 255.0, stop.second.b / 255.0,
                                                      stop.second.a / 255.0);
                cairo_matrix_t grad, inv;
                cairo_matrix_init(&inv, part.paint.gradScale, 0, 0, part.paint.gradScale, part.paint.gradX,
                                  part.paint.gradY);
                cairo_matrix_invert(&inv);
                if (linear)
                    cairo_matrix_init(&grad, 1.0 / 128, 0, 0, 1.0 / 128, 128, 0);
                else
                    cairo_matrix_init(&grad, 1.0 / 512, 0, 0, 1.0 / 512, 32, 32);
                cairo_matrix_t full;
                cairo_matrix_multiply(&full, &inv, &grad);
                cairo_pattern_set_matrix(pattern, &full);
                cairo_pattern_set_filter(pattern, CAIRO_FILTER_BILINEAR);
                cairo_set_source(cr, pattern);
            }
            if (part.strokeWidth > 0)
            {
                cairo_fill_preserve(cr);
                cairo_set_source_rgba(cr, part.strokeColour.r / 255.0, part.strokeColour.g / 255.0,
                                      part.strokeColour.b / 255.0, part.strokeColour.a / 255.0);
                cairo_set_line_width(cr, part.strokeWidth);
                cairo_stroke(cr);
            }
            else
                cairo_fill(cr);
            if (pattern)
                cairo_pattern_destroy(pattern);
        }
    }
}

// ---- timing ----

// Mean seconds per call, repeating for at least `budget` seconds (and at least 5 calls).
double timePerCall(const std::function<void()>& work, double budget = 0.4)
{
    using Clock = std::chrono::steady_clock;
    work(); // warm up
    int calls = 0;
    auto start = Clock::now();
    double elapsed = 0;
    do
    {
        work();
        ++calls;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < budget || calls < 5);
    return elapsed / calls;
}

struct Buffer
{
    int w, h;
    std::vector<uint32_t> pixels;
    Buffer(int w, int h) : w(w), h(h), pixels(static_cast<size_t>(w) * h) {}

    // Clears the buffer and draws into it through a fresh context, as the engine does.
    void draw(const std::function<void(cairo_t*)>& painter)
    {
        std::memset(pixels.data(), 0, pixels.size() * 4);
        cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                                                       CAIRO_FORMAT_ARGB32, w, h, w * 4);
        cairo_t* cr = cairo_create(surface);
        painter(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

} // namespace

int main()
{
    MemoryFiles files;
    std::printf("%-10s %-9s %10s %12s %12s %8s %9s\n", "movie", "size", "load us", "player ms", "cairo ms", "ratio",
                "diff px");
    double worstRatio = 0;
    double ratioSum = 0;
    int rows = 0;
    for (Scene& scene : scenes())
    {
        if (scene.placements.empty())
            scene.placements.push_back({});
        Bytes bytes = movieBytes(scene);
        std::string path = scene.name + ".swf";
        files.add(path, bytes);
        double load = timePerCall([&] { swf::Ref<swf::MovieDefinition> m = swf::loadMovieDefinition(path); }, 0.2);
        swf::Ref<swf::MovieDefinition> movie = swf::loadMovieDefinition(path);
        for (const std::pair<int, int>& size : {std::pair<int, int>{640, 480}, {1024, 768}})
        {
            const int w = size.first, h = size.second;
            Buffer playerBuf(w, h), floorBuf(w, h);
            auto renderPlayer = [&]
            {
                playerBuf.draw(
                    [&](cairo_t* cr)
                    {
                        swf::Ref<swf::MovieInstance> inst = movie->createInstance();
                        inst->restart();
                        inst->advance(0.0001f);
                        inst->setViewport(0, 0, w, h);
                        inst->display(cr);
                    });
            };
            auto renderFloor = [&] { floorBuf.draw([&](cairo_t* cr) { drawFloor(cr, scene, w, h); }); };
            // Interleaved rounds, keeping each side's best: other work on the machine only ever
            // adds time, so the minimum is the steadiest estimate of the work itself.
            double player = 1e9, floor = 1e9;
            for (int round = 0; round < 5; ++round)
            {
                player = std::min(player, timePerCall(renderPlayer, 0.1));
                floor = std::min(floor, timePerCall(renderFloor, 0.1));
            }
            // The two pictures should agree: count pixels that differ by more than 2 per channel.
            renderPlayer();
            renderFloor();
            int differing = 0;
            for (size_t i = 0; i < playerBuf.pixels.size(); ++i)
                for (int shift = 0; shift < 32; shift += 8)
                {
                    int a = (playerBuf.pixels[i] >> shift) & 0xFF, b = (floorBuf.pixels[i] >> shift) & 0xFF;
                    if (std::abs(a - b) > 2)
                    {
                        ++differing;
                        break;
                    }
                }
            double ratio = player / floor;
            worstRatio = std::max(worstRatio, ratio);
            ratioSum += ratio;
            ++rows;
            std::printf("%-10s %4dx%-4d %10.1f %12.3f %12.3f %8.3f %9d\n", scene.name.c_str(), w, h, load * 1e6,
                        player * 1e3, floor * 1e3, ratio, differing);
        }
    }
    std::printf("mean ratio %.3f, worst %.3f (player time over direct cairo; 1.20 = 20 %% overhead)\n", ratioSum / rows,
                worstRatio);
    swf::shutdownPlayer();
    return 0;
}
