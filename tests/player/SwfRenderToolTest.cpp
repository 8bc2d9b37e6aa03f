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

namespace
{

std::string tool()
{
    return std::string(QUORVO_TOOLS_DIR) + "/swfrender";
}

struct Result
{
    int status = -1;
    std::string out;
};

Result run(const std::string& args)
{
    Result r;
    std::string cmd = tool() + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

std::string writeTemp(const std::string& name, const Bytes& bytes)
{
    std::string path = std::string(QUORVO_BINARY_DIR) + "/swfrender-test-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
    return path;
}

class SwfRenderToolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        struct stat st;
        if (stat(tool().c_str(), &st) != 0)
            GTEST_SKIP() << "swfrender is not built";
    }
};

} // namespace

TEST_F(SwfRenderToolTest, InfoPrintsHeaderDictionaryLabelsAndExports)
{
    ShapeBuilder s;
    int fill = s.solidFill({0, 0, 255, 255});
    s.rectangle(0, 0, 1000, 1000, fill);
    TagList inner;
    inner.showFrame().end();
    MovieBuilder m(2, 2000, 1000, 24.0, 6);
    Place2 p;
    p.characterId = 1;
    m.tag(2, s.payload(1)).tag(39, defineSprite(4, 1, inner)).tag(26, p.payload());
    m.tag(43, frameLabel("go \"here\"")).tag(56, exportAssets({{4, "Clip"}})).showFrame().showFrame().end();
    std::string path = writeTemp("info.swf", m.cws());
    Result r = run("--info " + path);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"version\": 6"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"compressed\": true"), std::string::npos);
    EXPECT_NE(r.out.find("\"xmax\": 2000"), std::string::npos);
    EXPECT_NE(r.out.find("\"frameRate\": 24"), std::string::npos);
    EXPECT_NE(r.out.find("\"frameCount\": 2"), std::string::npos);
    EXPECT_NE(r.out.find("{\"id\": 1, \"kind\": \"shape\"}, {\"id\": 4, \"kind\": \"sprite\"}"), std::string::npos);
    EXPECT_NE(r.out.find("\"go \\\"here\\\"\": 0"), std::string::npos);
    EXPECT_NE(r.out.find("\"Clip\": \"sprite\""), std::string::npos);
    std::remove(path.c_str());
}

TEST_F(SwfRenderToolTest, RendersAFrameToPngAndRefusesBadInput)
{
    ShapeBuilder s;
    int fill = s.solidFill({0, 0, 255, 255});
    s.rectangle(0, 0, 1000, 1000, fill);
    MovieBuilder m(2, 2000, 1000);
    Place2 p;
    p.characterId = 1;
    m.tag(2, s.payload(1)).tag(26, p.payload()).showFrame();
    Place2 mv;
    mv.depth = 1;
    mv.move = true;
    MatrixSpec right;
    right.tx = 1000;
    mv.matrix = right;
    m.tag(26, mv.payload()).showFrame().end();
    std::string path = writeTemp("frames.swf", m.fws());
    std::string png = path + ".png";

    Result r = run(path + " --frame 1 --size 40x10 -o " + png);
    ASSERT_EQ(r.status, 0) << r.out;
    cairo_surface_t* img = cairo_image_surface_create_from_png(png.c_str());
    ASSERT_EQ(cairo_surface_status(img), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(img), 40);
    EXPECT_EQ(cairo_image_surface_get_height(img), 10);
    const unsigned char* data = cairo_image_surface_get_data(img);
    int stride = cairo_image_surface_get_stride(img);
    auto pixel = [&](int x, int y) { return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4); };
    EXPECT_EQ(pixel(5, 5), 0u);            // frame 1 moved the square right
    EXPECT_EQ(pixel(25, 5), 0xFF0000FFu);
    cairo_surface_destroy(img);

    EXPECT_NE(run(path + ".missing --frame 0 --size 10x10 -o " + png).status, 0);
    std::string junk = writeTemp("junk.swf", Bytes{'n', 'o', 'p', 'e'});
    Result bad = run("--info " + junk);
    EXPECT_NE(bad.status, 0);
    EXPECT_EQ(std::count(bad.out.begin(), bad.out.end(), '\n'), 1); // one line
    EXPECT_NE(run(path + " --frame 0 --size 0x10 -o " + png).status, 0);
    std::remove(path.c_str());
    std::remove(png.c_str());
    std::remove(junk.c_str());
}
