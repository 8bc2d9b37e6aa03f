// Writes a few well-formed movies into a folder, as the fuzzer's starting corpus.
#include "SwfTags.h"

#include <cstdio>
#include <string>

using namespace swfwrite;

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

// Action bytes for the script seeds.
struct Actions
{
    Bytes bytes;
    Actions& op(uint8_t code)
    {
        bytes.push_back(code);
        return *this;
    }
    Actions& action(uint8_t code, const Bytes& data)
    {
        bytes.push_back(code);
        bytes.push_back(static_cast<uint8_t>(data.size()));
        bytes.push_back(static_cast<uint8_t>(data.size() >> 8));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    Actions& str(const std::string& text)
    {
        Bytes data{0};
        data.insert(data.end(), text.begin(), text.end());
        data.push_back(0);
        return action(0x96, data);
    }
    Actions& num(int32_t v)
    {
        return action(0x96, {7, uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    }
};

// Movies whose frames and clip events run scripts: loops, a recursive function, paths, With,
// GotoFrame2, drags, clones, FSCommand and the string and Math members.
void writeScriptSeeds(const std::string& dir)
{
    Actions loop; // i = 0; while (i < 50) i++;
    loop.str("i").num(0).op(0x1D).str("i").op(0x1C).num(50).op(0x0F).op(0x12);
    loop.action(0x9D, {16, 0}).str("i").str("i").op(0x1C).op(0x50).op(0x1D).action(0x99, {uint8_t(-46), 0xFF});
    Actions body; // function f(n) { return n < 2 ? n : n * f(n - 1) }
    body.str("n").op(0x1C).num(2).op(0x0F).op(0x12).action(0x9D, {10, 0}).str("n").op(0x1C).op(0x3E);
    body.str("n").op(0x1C).str("n").op(0x1C).num(1).op(0x0B).num(1).str("f").op(0x3D).op(0x0C).op(0x3E);
    Actions frame0 = loop;
    frame0.action(0x9B, {'f', 0, 1, 0, 'n', 0, uint8_t(body.bytes.size()), uint8_t(body.bytes.size() >> 8)});
    frame0.bytes.insert(frame0.bytes.end(), body.bytes.begin(), body.bytes.end());
    frame0.num(6).num(1).str("f").op(0x3D).op(0x17);
    frame0.str("box._x").num(30).op(0x1D).str("/box:q").str("text").op(0x1D);
    frame0.str("box").op(0x1C).action(0x94, {12, 0}).str("z").num(3).op(0x1D);
    frame0.num(0).num(0).num(100).num(100).num(1).num(1).str("box").op(0x27);
    frame0.str("box").str("dup").num(9).op(0x24).action(0x83,
                                                        {'F', 'S', 'C', 'o', 'm', 'm', 'a', 'n', 'd', ':', 'q', 0, 0});
    frame0.num(1).num(1).str("hello").str("charCodeAt").op(0x52).op(0x17);
    frame0.num(1).str("math").op(0x1C).str("floor").op(0x52).op(0x17).str("end").action(0x9F, {1});
    Actions event; // clip events: count loads and frames on the root
    event.str("/:ticks").str("/:ticks").op(0x1C).op(0x50).op(0x1D);

    MovieBuilder m(3, 4000, 3000);
    m.tag(2, shapeTag(2));
    TagList inner;
    inner.tag(26, Place2{1, 1}.payload()).tag(12, Bytes{0x07, 0x00}).showFrame().showFrame().end();
    m.tag(39, defineSprite(2, 2, inner));
    BitWriter place; // PlaceObject2 with a name and Load + EnterFrame handlers
    place.WriteU8(0x80 | 0x20 | 0x02);
    place.WriteU16(1);
    place.WriteU16(2);
    place.WriteString("box");
    place.WriteU16(0);
    place.WriteU32(3);
    place.WriteU32(3);
    place.WriteU32(static_cast<uint32_t>(event.bytes.size()));
    place.WriteBytes(event.bytes);
    place.WriteU32(0);
    m.tag(26, place.Bytes()).tag(12, frame0.bytes).showFrame();
    m.tag(12, Actions().action(0x81, {0, 0}).bytes).showFrame();
    m.tag(43, frameLabel("end")).tag(12, Bytes{0x06, 0x00}).showFrame().end();
    write(dir, "script.swf", m.fws());
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
        m.tag(26, r.payload()).tag(12, Bytes{0x07, 0x00}).showFrame();
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
    writeScriptSeeds(dir);
    return 0;
}
