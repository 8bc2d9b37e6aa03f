// Writes a few well-formed movies into a folder, as the fuzzer's starting corpus.
#include "fixtures/SwfBuilder.h"

#include <cstdio>
#include <string>

using namespace swftest;

namespace
{

void write(const std::string& dir, const std::string& name, const Bytes& bytes)
{
    std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

Bytes shapeTag(int code)
{
    ShapeBuilder s(code);
    s.bounds(0, 2000, 0, 2000);
    int red = s.solidFill({255, 0, 0, 200});
    MatrixSpec g;
    g.scale = std::make_pair(0.05, 0.05);
    g.tx = 1000;
    g.ty = 1000;
    int grad = s.gradientFill(0x12, g, {{0, {0, 0, 255, 255}}, {255, {0, 255, 0, 128}}});
    int pen = s.lineStyle(40, {0, 0, 0, 255});
    s.rectangle(0, 0, 2000, 2000, red);
    s.change(std::make_pair(500, 500), 0, grad, pen);
    s.curveTo(500, -300, 500, 300).lineTo(0, 1000).lineTo(-1000, 0).lineTo(0, -1000);
    s.newStyles({{1, 2, 3, 255}}, {{20, {9, 9, 9, 255}}});
    s.change(std::make_pair(100, 100), std::nullopt, 1, 1).lineTo(300, 0).lineTo(0, 300).lineTo(-300, -300);
    return s.payload(1);
}

} // namespace

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : ".";
    for (int code : {2, 22, 32})
    {
        MovieBuilder m(3, 4000, 3000);
        m.tag(code, shapeTag(code));
        Place2 p;
        p.characterId = 1;
        p.matrix = MatrixSpec{};
        m.tag(26, p.payload()).tag(43, frameLabel("start")).showFrame();
        TagList inner;
        Place2 q;
        q.characterId = 1;
        q.cxform = CxformSpec{std::vector<double>{0.5, 1, 1, 1}, std::vector<int>{10, 0, 0, 0}};
        inner.tag(26, q.payload()).showFrame().tag(28, removeObject2(1)).showFrame().end();
        m.tag(39, defineSprite(2, 2, inner));
        Place2 r;
        r.characterId = 2;
        r.depth = 2;
        r.name = std::string("clip");
        m.tag(26, r.payload()).tag(12, doAction({0x07, 0x00})).showFrame();
        m.tag(28, removeObject2(1)).tag(56, exportAssets({{1, "box"}})).showFrame().end();
        std::string base = "seed" + std::to_string(code);
        write(dir, base + ".swf", m.fws());
        write(dir, base + "c.swf", m.cws());
    }
    MovieBuilder imp(1);
    imp.tag(57, importAssets("other.swf", {{5, "box"}}));
    Place2 p;
    p.characterId = 5;
    imp.tag(26, p.payload()).showFrame().end();
    write(dir, "import.swf", imp.fws());
    return 0;
}
