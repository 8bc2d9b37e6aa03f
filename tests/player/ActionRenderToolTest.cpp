// The movie inspector renders frames exactly as the engine does, scripts included: a movie whose
// first frame's action picks the frame to show.
#include "ActionTestSupport.h"
#include "fixtures/SwfBuilder.h"
#include "fixtures/TestPaths.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace swftest;
using swf::test::ActionBuilder;

namespace
{

std::string tool()
{
    return std::string(QUORVO_TOOLS_DIR) + "/swfrender";
}

Bytes square(int id, Colour colour)
{
    ShapeBuilder s;
    s.bounds(0, 2000, 0, 2000);
    int fill = s.solidFill(colour);
    s.rectangle(0, 0, 2000, 2000, fill);
    return s.payload(id);
}

Bytes place(int id, bool replace)
{
    Place2 p;
    p.depth = 1;
    p.characterId = id;
    p.move = replace;
    p.matrix = MatrixSpec{};
    return p.payload();
}

// Centre pixel of frame 0 rendered by the tool at 20 x 20, or 1 if the tool failed.
uint32_t centreOfFrame0(const Bytes& movie, const std::string& name)
{
    std::string base = std::string(QUORVO_BINARY_DIR) + "/action-render-" + std::to_string(getpid()) + "-" + name;
    std::string path = base + ".swf";
    std::string png = base + ".png";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(movie.data()), static_cast<std::streamsize>(movie.size()));
    std::string command = tool() + " " + path + " --frame 0 --size 20x20 -o " + png + " >/dev/null 2>&1";
    int status = std::system(command.c_str());
    uint32_t pixel = 1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
    {
        cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
        if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        {
            const unsigned char* data = cairo_image_surface_get_data(image);
            int stride = cairo_image_surface_get_stride(image);
            pixel = *reinterpret_cast<const uint32_t*>(data + 10 * stride + 10 * 4);
        }
        cairo_surface_destroy(image);
    }
    std::remove(path.c_str());
    std::remove(png.c_str());
    return pixel;
}

// Frame 0 red, frame 1 green, frame 2 (labelled "blue") blue; frame 0 carries `script`.
Bytes threeColourMovie(const ActionBuilder& script)
{
    MovieBuilder mb(3, 2000, 2000);
    mb.tag(2, square(1, {255, 0, 0, 255})).tag(2, square(2, {0, 255, 0, 255})).tag(2, square(3, {0, 0, 255, 255}));
    mb.tag(26, place(1, false)).tag(12, doAction(script.bytes)).showFrame();
    mb.tag(26, place(2, true)).showFrame();
    mb.tag(43, frameLabel("blue")).tag(26, place(3, true)).showFrame().end();
    return mb.fws();
}

} // namespace

TEST(ActionRenderToolTest, FrameActionsSelectWhatTheInspectorShows)
{
    struct stat st;
    if (stat(tool().c_str(), &st) != 0)
        GTEST_SKIP() << "swfrender is not built";

    // No script: frame 0 shows red.
    EXPECT_EQ(0xFFFF0000u, centreOfFrame0(threeColourMovie(ActionBuilder()), "plain"));
    // gotoAndStop("blue") through GotoFrame2 with a label.
    EXPECT_EQ(0xFF0000FFu,
              centreOfFrame0(threeColourMovie(ActionBuilder().pushString("blue").action(0x9F, {0})), "label"));
    // A computed frame number: 3 - 2 is frame 1 (0-based), green.
    EXPECT_EQ(
        0xFF00FF00u,
        centreOfFrame0(threeColourMovie(ActionBuilder().pushInt(3).pushInt(2).op(0x0B).action(0x9F, {0})), "number"));
    // A condition on a variable: if (mode == "b") gotoAndStop("blue") else gotoAndStop(1).
    ActionBuilder toBlue;
    toBlue.gotoLabel("blue");
    ActionBuilder choose;
    choose.setString("mode", "b").getVariable("mode").pushString("b").op(0x49).op(0x12);
    choose.branchIf(static_cast<int16_t>(toBlue.size() + 5)).append(toBlue).jump(5).gotoFrame(1);
    EXPECT_EQ(0xFF0000FFu, centreOfFrame0(threeColourMovie(choose), "branch"));
    // A script that never ends is cut off and the frame still renders.
    EXPECT_EQ(0xFFFF0000u, centreOfFrame0(threeColourMovie(ActionBuilder().jump(-5)), "loop"));
}
