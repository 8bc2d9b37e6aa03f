// Measures the back buffer: the cost of a frame in which nothing changed,
// and of clearing and composing a whole screen of opaque and of translucent
// bitmaps, against pixman's OVER operator on the same premultiplied pixels.
// Prints figures; it asserts nothing.
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/Application.h"
#include "app/Shutdown.h"
#include "engine/Compositor.h"
#include "engine/Control.h"
#include "engine/Screen.h"
#include "engine/ScreenManager.h"
#include "engine/platform/HeadlessPlatform.h"

#ifdef QUORVO_HAVE_PIXMAN
#include <pixman.h>
#endif

namespace
{

using Clock = std::chrono::steady_clock;
constexpr int Cell = 64; // bitmap size: the screen is covered by 64 x 64 bitmaps

// A control showing one premultiplied bitmap.
class BitmapControl : public Control
{
  public:
    BitmapControl(const std::vector<uint32_t>& bitmap, bool alpha, int px, int py) : pixels(bitmap), hasAlpha(alpha)
    {
        x = px;
        y = py;
        width = Cell;
        height = Cell;
    }
    void Load() override {}
    bool Draw(Application& app) override
    {
        if (!Control::Draw(app))
            return false;
        app.DrawBitmap(pixels.data(), Cell, Cell, hasAlpha, x, y, width, height);
        return true;
    }

  private:
    const std::vector<uint32_t>& pixels;
    bool hasAlpha;
};

class BenchScreen : public Screen
{
  public:
    void OnEnter() override
    {
        Application::Get().SetBackgroundColour(0x20, 0x40, 0x60);
        for (auto& control : controls)
            ScreenManager::Get().AddControl(control.get());
    }
    void OnExit() override {}
    std::vector<std::unique_ptr<BitmapControl>> controls;
};

// Opaque pixels: a colour ramp with alpha 255.
std::vector<uint32_t> OpaqueBitmap()
{
    std::vector<uint32_t> pixels(Cell * Cell);
    for (int i = 0; i < Cell * Cell; ++i)
        pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8 & 0xFFFFFF);
    return pixels;
}

// Translucent pixels: every alpha from 1 to 254, premultiplied.
std::vector<uint32_t> TranslucentBitmap()
{
    std::vector<uint32_t> pixels(Cell * Cell);
    for (int i = 0; i < Cell * Cell; ++i)
    {
        const uint32_t a = 1 + static_cast<uint32_t>(i * 7) % 254;
        const uint32_t r = (i * 13 % 256) * a / 255, g = (i * 29 % 256) * a / 255, b = (i * 3 % 256) * a / 255;
        pixels[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return pixels;
}

// The best of five batches: on a shared machine the slowest batches measure
// the other processes, not this code.
template <typename F> double MillisecondsPer(int repeats, F&& work)
{
    work(); // warm the caches
    double best = 0.0;
    for (int batch = 0; batch < 5; ++batch)
    {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < repeats; ++i)
            work();
        const double each = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repeats;
        if (batch == 0 || each < best)
            best = each;
    }
    return best;
}

void Measure(int w, int h)
{
    auto platform = std::make_unique<HeadlessPlatform>();
    HeadlessPlatform& headless = *platform;
    headless.SetKeepFrames(false);
    Platform::Install(std::move(platform));
    Application& app = Application::Get();
    app.AddRequestedMode(w, h);
    if (!app.Open(false, "Quorvo", w, h))
    {
        std::printf("cannot open %dx%d\n", w, h);
        return;
    }

    const std::vector<uint32_t> opaque = OpaqueBitmap();
    const std::vector<uint32_t> translucent = TranslucentBitmap();
    BenchScreen screen;
    bool useAlpha = false;
    auto build = [&](bool alpha)
    {
        screen.controls.clear();
        for (int py = 0; py < h; py += Cell)
        {
            for (int px = 0; px < w; px += Cell)
                screen.controls.push_back(std::make_unique<BitmapControl>(alpha ? translucent : opaque, alpha, px, py));
        }
        ScreenManager::Get().SetScreen(&screen, false);
        app.Render();
        app.Render();
    };

    std::printf("%dx%d (%zu tiles)\n", w, h, app.Tiles().size());
    build(false);
    const int idle = 40000;
    const double idleMs = MillisecondsPer(idle, [&] { app.Render(); });
    std::printf("  frame with no dirty tile:                %9.4f us\n", idleMs * 1000.0);

    const double opaqueMs = MillisecondsPer(200,
                                            [&]
                                            {
                                                app.Invalidate(0, 0, w, h);
                                                app.Render();
                                            });
    std::printf("  clear + compose opaque bitmaps:          %9.3f ms\n", opaqueMs);

    useAlpha = true;
    build(useAlpha);
    const double translucentMs = MillisecondsPer(100,
                                                 [&]
                                                 {
                                                     app.Invalidate(0, 0, w, h);
                                                     app.Render();
                                                 });
    std::printf("  clear + compose translucent bitmaps:     %9.3f ms\n", translucentMs);

    // The blend alone, bitmap by bitmap, ours and pixman's, over the same buffer.
    std::vector<uint32_t> target(static_cast<size_t>(w) * h, 0x00204060u);
    const double oursMs = MillisecondsPer(
        100,
        [&]
        {
            for (int py = 0; py < h; py += Cell)
            {
                for (int px = 0; px < w; px += Cell)
                {
                    const int cw = std::min(Cell, w - px), ch = std::min(Cell, h - py);
                    for (int row = 0; row < ch; ++row)
                        BlendSpan(&target[static_cast<size_t>(py + row) * w + px], &translucent[row * Cell], cw);
                }
            }
        });
    std::printf("  blend translucent bitmaps (ours):        %9.3f ms  (%s)\n", oursMs,
                IsBlendPathAvailable(BlendPath::Avx2) ? "AVX2" : "SSE2");
    const double sse2Ms =
        MillisecondsPer(100,
                        [&]
                        {
                            for (int py = 0; py < h; py += Cell)
                            {
                                for (int px = 0; px < w; px += Cell)
                                {
                                    const int cw = std::min(Cell, w - px), ch = std::min(Cell, h - py);
                                    for (int row = 0; row < ch; ++row)
                                        BlendSpanWith(BlendPath::Sse2, &target[static_cast<size_t>(py + row) * w + px],
                                                      &translucent[row * Cell], cw);
                                }
                            }
                        });
    std::printf("  blend translucent bitmaps (SSE2 only):   %9.3f ms\n", sse2Ms);
    const double scalarMs = MillisecondsPer(
        30,
        [&]
        {
            for (int py = 0; py < h; py += Cell)
            {
                for (int px = 0; px < w; px += Cell)
                {
                    const int cw = std::min(Cell, w - px), ch = std::min(Cell, h - py);
                    for (int row = 0; row < ch; ++row)
                        BlendSpanScalar(&target[static_cast<size_t>(py + row) * w + px], &translucent[row * Cell], cw);
                }
            }
        });
    std::printf("  blend translucent bitmaps (one by one):  %9.3f ms\n", scalarMs);

#ifdef QUORVO_HAVE_PIXMAN
    pixman_image_t* destination = pixman_image_create_bits(PIXMAN_x8r8g8b8, w, h, target.data(), w * 4);
    pixman_image_t* source =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, Cell, Cell, const_cast<uint32_t*>(translucent.data()), Cell * 4);
    const double pixmanMs =
        MillisecondsPer(100,
                        [&]
                        {
                            for (int py = 0; py < h; py += Cell)
                            {
                                for (int px = 0; px < w; px += Cell)
                                {
                                    pixman_image_composite32(PIXMAN_OP_OVER, source, nullptr, destination, 0, 0, 0, 0,
                                                             px, py, std::min(Cell, w - px), std::min(Cell, h - py));
                                }
                            }
                        });
    pixman_image_unref(source);
    pixman_image_unref(destination);
    std::printf("  blend translucent bitmaps (pixman OVER): %9.3f ms   ours / pixman = %.2f\n", pixmanMs,
                oursMs / pixmanMs);
#else
    std::printf("  pixman not found: no comparison\n");
#endif
    std::printf("  frames presented: %d\n", headless.PresentCount());
    ScreenManager::Get().SetScreen(nullptr, false);
    ScreenManager::Get().Update();
    ShutdownEngine();
}

} // namespace

int main()
{
    Measure(640, 480);
    Measure(1024, 768);
    return 0;
}
