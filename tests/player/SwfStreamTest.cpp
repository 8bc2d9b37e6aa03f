#include "fixtures/SwfBuilder.h"
#include "player/InflateStream.h"
#include "player/MemoryStream.h"
#include "player/SwfRecords.h"
#include "player/SwfStream.h"

#include <gtest/gtest.h>

#include <zlib.h>

using namespace swf;
using swftest::BitWriter;
using swftest::Bytes;

TEST(SwfStreamTest, BitFieldsReadMostSignificantFirstAndSignExtend)
{
    BitWriter w;
    w.writeUInt(5, 3);
    w.writeSInt(-3, 4);
    w.writeUInt(0x1ABC, 13);
    w.writeSInt(-1, 1);
    w.u16(0xBEEF); // aligned: skips the rest of the partly used byte
    w.u32(0x01020304);
    MemoryStream file(w.bytes());
    SwfStream s(file);
    EXPECT_EQ(s.readUInt(3), 5u);
    EXPECT_EQ(s.readSInt(4), -3);
    EXPECT_EQ(s.readUInt(13), 0x1ABCu);
    EXPECT_EQ(s.readSInt(1), -1);
    EXPECT_EQ(s.readUInt(0), 0u);
    EXPECT_EQ(s.readU16(), 0xBEEF);
    EXPECT_EQ(s.readU32(), 0x01020304u);
    EXPECT_FALSE(s.hasFailed());
    // Past the end every read yields 0 and the stream reports the short read.
    EXPECT_EQ(s.readU8(), 0);
    EXPECT_TRUE(s.hasFailed());
    EXPECT_EQ(s.readU32(), 0u);
}

TEST(SwfStreamTest, StringsStopAtZeroAndLengthStrings)
{
    Bytes b = {'a', 'b', 0, 3, 'x', 'y', 'z', 0, 'q'};
    MemoryStream file(b);
    SwfStream s(file);
    EXPECT_EQ(s.readString(), "ab");
    EXPECT_EQ(s.readLengthString(), "xyz");
    EXPECT_EQ(s.readLengthString(), "");
    EXPECT_EQ(s.readString(), "q"); // unterminated at the end of the data
    EXPECT_TRUE(s.hasFailed());
}

TEST(SwfStreamTest, TagHeadersShortAndLongAndReadsBoundedByTheTag)
{
    swftest::TagList tags;
    tags.tag(9, Bytes(62, 7));          // short header with length 62
    tags.tag(12, Bytes{1, 2}, true);    // long header forced for a 2-byte tag
    tags.tag(2, Bytes(100, 9));         // long header needed
    MemoryStream file(tags.bytes());
    SwfStream s(file);

    EXPECT_EQ(s.openTag(), 9);
    EXPECT_EQ(s.tagEnd(), 2 + 62);
    s.closeTag();
    EXPECT_EQ(s.position(), 64);

    EXPECT_EQ(s.openTag(), 12);
    EXPECT_EQ(s.tagEnd(), 64 + 6 + 2);
    EXPECT_EQ(s.readU8(), 1);
    EXPECT_EQ(s.readU8(), 2);
    EXPECT_FALSE(s.hasOverrun());
    // A loader reading too far gets zeros and does not disturb the next tag.
    EXPECT_EQ(s.readU32(), 0u);
    EXPECT_TRUE(s.hasOverrun());
    EXPECT_FALSE(s.hasFailed());
    s.closeTag();

    EXPECT_EQ(s.openTag(), 2);
    EXPECT_EQ(s.bytesLeftInTag(), 100);
    EXPECT_EQ(s.readU8(), 9);
    s.closeTag();
    EXPECT_FALSE(s.hasFailed());
}

TEST(SwfStreamTest, NestedTagEndsAreClampedToTheEnclosingTag)
{
    BitWriter inner;
    inner.u16((26 << 6) | 0x3F);
    inner.u32(1000); // claims far more than the enclosing tag holds
    inner.u8(1);
    swftest::TagList tags;
    tags.tag(39, inner.bytes());
    MemoryStream file(tags.bytes());
    SwfStream s(file);
    s.openTag();
    int64_t outerEnd = s.tagEnd();
    EXPECT_EQ(s.openTag(), 26);
    EXPECT_EQ(s.tagEnd(), outerEnd);
}

TEST(SwfStreamTest, RecordsRectMatrixAndColourTransform)
{
    BitWriter w;
    w.rect(-20, 11000, 0, 8000);
    swftest::MatrixSpec m;
    m.scale = std::make_pair(2.0, 0.5);
    m.rotate = std::make_pair(0.25, -0.75);
    m.tx = -100;
    m.ty = 300;
    w.matrix(m);
    swftest::CxformSpec c;
    c.mul = std::vector<double>{0.5, 1.0, 2.0, 0.25};
    c.add = std::vector<int>{10, -20, 30, -40};
    w.cxform(c, true);
    swftest::CxformSpec addOnly;
    addOnly.add = std::vector<int>{1, 2, 3, 4};
    w.cxform(addOnly, false);
    MemoryStream file(w.bytes());
    SwfStream s(file);

    Rect r = readRect(s);
    EXPECT_EQ(r.xmin, -20);
    EXPECT_EQ(r.xmax, 11000);
    EXPECT_EQ(r.ymax, 8000);
    Matrix mx = readMatrix(s);
    EXPECT_FLOAT_EQ(mx.m00, 2.0f);
    EXPECT_FLOAT_EQ(mx.m11, 0.5f);
    EXPECT_FLOAT_EQ(mx.m10, 0.25f);
    EXPECT_FLOAT_EQ(mx.m01, -0.75f);
    EXPECT_FLOAT_EQ(mx.m02, -100);
    EXPECT_FLOAT_EQ(mx.m12, 300);
    ColorTransform ct = readColorTransform(s, true);
    EXPECT_FLOAT_EQ(ct.rMul, 0.5f);
    EXPECT_FLOAT_EQ(ct.bMul, 2.0f);
    EXPECT_FLOAT_EQ(ct.aMul, 0.25f);
    EXPECT_FLOAT_EQ(ct.gAdd, -20);
    EXPECT_FLOAT_EQ(ct.aAdd, -40);
    ColorTransform noAlpha = readColorTransform(s, false);
    EXPECT_FLOAT_EQ(noAlpha.rMul, 1);
    EXPECT_FLOAT_EQ(noAlpha.bAdd, 3);
    EXPECT_FLOAT_EQ(noAlpha.aMul, 1);
    EXPECT_FLOAT_EQ(noAlpha.aAdd, 0);
}

TEST(SwfStreamTest, InflateStreamReadsSeeksBackwardsAndFailsCleanly)
{
    Bytes plain(20000);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<uint8_t>((i * 7) ^ (i >> 8));
    uLongf size = compressBound(plain.size());
    Bytes packed(size);
    compress(packed.data(), &size, plain.data(), plain.size());
    packed.resize(size);
    Bytes file = {'x', 'y'}; // the compressed data starts after a prefix
    file.insert(file.end(), packed.begin(), packed.end());
    file.push_back('T');

    MemoryStream under(file);
    under.seek(2);
    {
        InflateStream in(under);
        uint8_t buf[5000];
        ASSERT_EQ(in.read(buf, 5000), 5000);
        EXPECT_EQ(buf[4999], plain[4999]);
        EXPECT_EQ(in.seek(12345), 12345);
        ASSERT_EQ(in.read(buf, 1), 1);
        EXPECT_EQ(buf[0], plain[12345]);
        EXPECT_EQ(in.seek(10), 10); // backwards: inflation restarts
        ASSERT_EQ(in.read(buf, 1), 1);
        EXPECT_EQ(buf[0], plain[10]);
        in.seekToEnd();
        EXPECT_EQ(in.tell(), 20000);
        EXPECT_TRUE(in.atEnd());
        EXPECT_EQ(in.close(), 0);
    }
    // Closing handed back the unused input: the stream stands just after the compressed data.
    uint8_t tail = 0;
    EXPECT_EQ(under.read(&tail, 1), 1);
    EXPECT_EQ(tail, 'T');

    Bytes garbage(100, 0x55);
    MemoryStream bad(garbage);
    InflateStream broken(bad);
    uint8_t buf[10];
    EXPECT_EQ(broken.read(buf, 10), 0);
    EXPECT_EQ(broken.read(buf, 10), 0);
}
