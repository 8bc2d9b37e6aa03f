#pragma once

#include "BitWriter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Tag-level movie writing: the records, shape, placement, sprite, font, text and
// action encodings of the movie format, for building any movie byte by byte.
// The picture compiler's MovieWriter writes its tags with these; hand-made
// movies (fixtures, seeds, benchmarks) use the builders directly.
namespace swfwrite
{

using Bytes = std::vector<uint8_t>;

struct Colour
{
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

struct MatrixSpec
{
    std::optional<std::pair<double, double>> scale;  // x, y scale
    std::optional<std::pair<double, double>> rotate; // RotateSkew0 (m10), RotateSkew1 (m01)
    int tx = 0, ty = 0;                              // twips
};

struct CxformSpec
{
    std::optional<std::vector<double>> mul; // r, g, b, a multipliers
    std::optional<std::vector<int>> add;    // r, g, b, a addends
};

// The shared records, each starting and ending byte aligned.
void writeRect(BitWriter& w, int xmin, int xmax, int ymin, int ymax);
void writeMatrix(BitWriter& w, const MatrixSpec& m);
void writeCxform(BitWriter& w, const CxformSpec& c, bool withAlpha);
void writeColour(BitWriter& w, const Colour& c, bool withAlpha);

// A tag header and body: the short form for bodies under 63 bytes, else (or when
// forced) the long form, 0x3F and a 32-bit length.
void appendTag(Bytes& out, int code, const Bytes& body, bool forceLong = false);

// A sequence of tags: a movie body, or the tags inside a DefineSprite.
class TagList
{
  public:
    TagList& tag(int code, const Bytes& payload, bool forceLong = false)
    {
        appendTag(data, code, payload, forceLong);
        return *this;
    }
    TagList& showFrame() { return tag(1, {}); }
    TagList& end() { return tag(0, {}); }
    const Bytes& bytes() const { return data; }

  private:
    Bytes data;
};

// Shape tag payloads (DefineShape 2, DefineShape2 22, DefineShape3 32).
class ShapeBuilder
{
  public:
    explicit ShapeBuilder(int code = 2) : code(code) {}

    ShapeBuilder& bounds(int xmin, int xmax, int ymin, int ymax);
    int solidFill(Colour c); // returns the 1-based index
    int gradientFill(uint8_t type, const MatrixSpec& m, std::vector<std::pair<uint8_t, Colour>> records);
    int bitmapFill(int bitmapId);
    int lineStyle(int width, Colour c);
    // Style arrays written verbatim (for count escapes); replaces the arrays built above.
    ShapeBuilder& rawStyleArrays(const Bytes& bytes, int fillBits, int lineBits);

    ShapeBuilder& moveTo(int x, int y) { return change(std::make_pair(x, y), {}, {}, {}); }
    ShapeBuilder& fill1(int index) { return change({}, {}, index, {}); }
    // One style-change record with any subset of the fields.
    ShapeBuilder& change(std::optional<std::pair<int, int>> move, std::optional<int> f0, std::optional<int> f1,
                         std::optional<int> ln);
    ShapeBuilder& lineTo(int dx, int dy);
    ShapeBuilder& curveTo(int cdx, int cdy, int adx, int ady);
    // New style arrays in the middle of the shape (fills then lines, as for the head).
    ShapeBuilder& newStyles(std::vector<Colour> fills, std::vector<std::pair<int, Colour>> lines);
    // A closed rectangle drawn clockwise (on screen) from (x, y) with the given fill on its right.
    ShapeBuilder& rectangle(int x, int y, int w, int h, int fill1Index);
    ShapeBuilder& omitEndRecord()
    {
        writeEnd = false;
        return *this;
    }

    Bytes payload(int id) const;

  private:
    struct Op
    {
        enum Kind
        {
            Change,
            Straight,
            Curve,
            NewStyles
        } kind = Change;
        std::optional<std::pair<int, int>> move;
        std::optional<int> f0, f1, ln;
        int a = 0, b = 0, c = 0, d = 0;
        std::vector<Colour> fills;
        std::vector<std::pair<int, Colour>> lines;
    };
    void writeStyleArray(BitWriter& w, const std::vector<Bytes>& styles, bool escape) const;

    int code;
    int xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    std::vector<Bytes> fillStyles;
    std::vector<Bytes> lineStyles;
    std::optional<Bytes> rawStyles;
    int rawFillBits = 0, rawLineBits = 0;
    std::vector<Op> ops;
    bool writeEnd = true;
};

// PlaceObject2 payload.
struct Place2
{
    int depth = 1;
    std::optional<int> characterId;
    bool move = false;
    std::optional<MatrixSpec> matrix;
    std::optional<CxformSpec> cxform;
    std::optional<double> ratio;
    std::optional<std::string> name;
    std::optional<int> clipDepth;

    Bytes payload() const;
};

Bytes placeObject1(int characterId, int depth, const MatrixSpec& m, std::optional<CxformSpec> cx = std::nullopt);
Bytes removeObject2(int depth);
Bytes defineSprite(int id, int frameCount, const TagList& tags);
Bytes frameLabel(const std::string& label);
Bytes exportAssets(const std::vector<std::pair<int, std::string>>& entries);
Bytes importAssets(const std::string& url, const std::vector<std::pair<int, std::string>>& entries);

// A whole movie file.
class MovieBuilder
{
  public:
    MovieBuilder(int frameCount = 1, int width = 11000, int height = 8000, double fps = 12.0, int version = 8);
    MovieBuilder& frameRect(int xmin, int xmax, int ymin, int ymax);
    MovieBuilder& frameRateRaw(uint16_t raw);
    TagList& tags() { return body; }
    MovieBuilder& tag(int code, const Bytes& payload)
    {
        body.tag(code, payload);
        return *this;
    }
    MovieBuilder& showFrame()
    {
        body.showFrame();
        return *this;
    }
    MovieBuilder& end()
    {
        body.end();
        return *this;
    }

    Bytes fws() const { return file('F', headerBody()); }
    Bytes cws() const; // compressed with zlib after the 8-byte header
    // Overrides the header's file length (otherwise the real length).
    MovieBuilder& fileLength(uint32_t length)
    {
        lengthOverride = length;
        return *this;
    }

  private:
    Bytes headerBody() const;
    Bytes file(char kind, const Bytes& rest, size_t plainSize = 0) const;

    int frames;
    int rxmin = 0, rxmax, rymin = 0, rymax;
    uint16_t rate;
    int version;
    TagList body;
    std::optional<uint32_t> lengthOverride;
};

// Fonts and texts.

// Glyph outline of a filled box (x0, y0)-(x1, y1) in font units: fill bits 1, line bits 0, a move
// with fill1 = 1, four straight edges, the end record.
Bytes boxGlyph(int x0, int y0, int x1, int y1, bool endRecord = true);
// The full em box: x 0..1024, from the baseline up one em.
inline Bytes emBox()
{
    return boxGlyph(0, -1024, 1024, 0);
}
// DefineFont (10) payload.
Bytes defineFont(int id, const std::vector<Bytes>& glyphs);
// DefineFontInfo (13) payload.
Bytes defineFontInfo(int id, const std::string& name, uint8_t flags, const std::vector<uint16_t>& codes);

struct Font2Spec
{
    int id = 1;
    std::string name = "Test";
    bool wideOffsets = false;
    bool wideCodes = false;
    bool italic = false;
    bool bold = false;
    std::vector<Bytes> glyphs;
    std::vector<uint16_t> codes;
    bool hasLayout = false;
    int ascent = 0, descent = 0, leading = 0;
    std::vector<int16_t> advances;
    std::vector<std::pair<std::pair<uint16_t, uint16_t>, int16_t>> kerning;
    std::optional<int> kerningCountOverride;
};
// DefineFont2 (48) payload; the glyph bounds are written as em boxes.
Bytes defineFont2(const Font2Spec& s);

// DefineText (11) / DefineText2 (33) payload built record by record.
class TextBuilder
{
  public:
    TextBuilder(int id, int code, int glyphBits = 8, int advanceBits = 12);
    // Written before the first record.
    TextBuilder& matrix(const MatrixSpec& m)
    {
        textMatrix = m;
        return *this;
    }
    TextBuilder& style(std::optional<int> font, std::optional<Colour> colour, std::optional<int> x,
                       std::optional<int> y, int height = 0);
    TextBuilder& glyphs(const std::vector<std::pair<uint32_t, int>>& entries);
    Bytes payload(bool terminate = true);

  private:
    void head();
    int code;
    int glyphBits;
    int advanceBits;
    MatrixSpec textMatrix;
    bool headWritten = false;
    BitWriter w;
};

struct EditTextSpec
{
    int id = 1;
    int xmin = 0, xmax = 2000, ymin = 0, ymax = 1000;
    std::optional<std::string> text;
    std::optional<std::pair<int, int>> font; // id, height
    std::optional<Colour> colour;
    std::optional<int> maxLength;
    struct Layout
    {
        int align = 0, leftMargin = 0, rightMargin = 0, indent = 0, leading = 0;
    };
    std::optional<Layout> layout;
    std::string variable = "field";
    uint16_t extraFlags = 0; // word wrap, multiline, border ...
};
// DefineEditText (37) payload.
Bytes defineEditText(const EditTextSpec& s);

// Action bytes: codes, lengths and the Push value encodings of the movie format.
class ActionBuilder
{
  public:
    ActionBuilder& op(uint8_t code)
    {
        bytes.push_back(code);
        return *this;
    }
    ActionBuilder& action(uint8_t code, const Bytes& data);
    ActionBuilder& push(const Bytes& values) { return action(0x96, values); }
    ActionBuilder& pushString(const std::string& text);
    ActionBuilder& pushNumber(double value);
    ActionBuilder& pushInt(int32_t value);
    ActionBuilder& pushBool(bool value) { return push({5, uint8_t(value ? 1 : 0)}); }
    ActionBuilder& pushRegister(uint8_t index) { return push({4, index}); }
    ActionBuilder& pushConstant(uint16_t index);
    ActionBuilder& getVariable(const std::string& name) { return pushString(name).op(0x1C); }
    // Sets `name` to the value currently on top of the stack.
    ActionBuilder& setVariableFromStack(const std::string& name) { return pushString(name).op(0x4D).op(0x1D); }
    ActionBuilder& setString(const std::string& name, const std::string& value)
    {
        return pushString(name).pushString(value).op(0x1D);
    }
    ActionBuilder& setNumber(const std::string& name, double value)
    {
        return pushString(name).pushNumber(value).op(0x1D);
    }
    // Adds one to the variable `name`.
    ActionBuilder& increment(const std::string& name) { return pushString(name).getVariable(name).op(0x50).op(0x1D); }
    ActionBuilder& constantPool(const std::vector<std::string>& strings);
    ActionBuilder& jump(int16_t offset) { return action(0x99, le16(offset)); }
    ActionBuilder& branchIf(int16_t offset) { return action(0x9D, le16(offset)); }
    ActionBuilder& gotoFrame(uint16_t frame) { return action(0x81, le16(int16_t(frame))); }
    ActionBuilder& gotoLabel(const std::string& label) { return action(0x8C, cString(label)); }
    ActionBuilder& storeRegister(uint8_t index) { return action(0x87, {index}); }
    ActionBuilder& getUrl(const std::string& url, const std::string& window);
    // DefineFunction whose body is `body`; an empty name pushes the function.
    ActionBuilder& defineFunction(const std::string& name, const std::vector<std::string>& params,
                                  const ActionBuilder& body);
    // Calls the function `name` with the values already pushed (last first).
    ActionBuilder& callFunction(const std::string& name, int argCount)
    {
        return pushInt(argCount).pushString(name).op(0x3D);
    }
    ActionBuilder& with(uint16_t size) { return action(0x94, le16(int16_t(size))); }
    ActionBuilder& append(const ActionBuilder& other)
    {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }
    size_t size() const { return bytes.size(); }

    static Bytes cString(const std::string& text);
    static Bytes le16(int16_t value) { return {uint8_t(uint16_t(value) & 0xFF), uint8_t(uint16_t(value) >> 8)}; }

    Bytes bytes;
};

} // namespace swfwrite
