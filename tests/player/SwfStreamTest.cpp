#include "player/SwfStream.h"
#include "fixtures/MovieFixtures.h"
#include "player/InflateStream.h"
#include "player/MemoryStream.h"
#include "player/SwfRecords.h"

#include <gtest/gtest.h>

#include <zlib.h>

using namespace swf;
using swftest::Bytes;

TEST(SwfStreamTest, BitFieldsReadMostSignificantFirstAndSignExtend)
{
    BitWriter w;
    w.WriteBits(5, 3);
    w.WriteSignedBits(-3, 4);
    w.WriteBits(0x1ABC, 13);
    w.WriteSignedBits(-1, 1);
    w.WriteU16(0xBEEF); // aligned: skips the rest of the partly used byte
    w.WriteU32(0x01020304);
    MemoryStream file(w.Bytes());
    SwfStream s(file);
    EXPECT_EQ(s.readUInt(3), 5u);
    EXPECT_EQ(s.readSInt(4), -3);
    EXPECT_EQ(s.readUInt(13), 0x1ABCu);
    EXPECT_EQ(s.readSInt(1), -1);
    EXPECT_EQ(s.readUInt(0), 0u);
    EXPECT_EQ(s.readSInt(0), 0);
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
    tags.tag(9, Bytes(62, 7));       // short header with length 62
    tags.tag(12, Bytes{1, 2}, true); // long header forced for a 2-byte tag
    tags.tag(2, Bytes(100, 9));      // long header needed
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
    swftest::TagList tags;
    tags.tag(39, Bytes{0xBF, 0x06, 0xE8, 0x03, 0, 0, 1}); // PlaceObject2 claiming 1000 bytes
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
    swftest::writeRect(w, -20, 11000, 0, 8000);
    swftest::writeMatrix(w, {std::make_pair(2.0, 0.5), std::make_pair(0.25, -0.75), -100, 300});
    swftest::writeCxform(w, {std::vector<double>{0.5, 1.0, 2.0, 0.25}, std::vector<int>{10, -20, 30, -40}}, true);
    swftest::writeCxform(w, {std::nullopt, std::vector<int>{1, 2, 3, 4}}, false);
    MemoryStream file(w.Bytes());
    SwfStream s(file);

    Rect r = readRect(s);
    EXPECT_EQ((std::vector<float>{r.xmin, r.xmax, r.ymin, r.ymax}), (std::vector<float>{-20, 11000, 0, 8000}));
    Matrix mx = readMatrix(s);
    EXPECT_EQ((std::vector<float>{mx.m00, mx.m11, mx.m10, mx.m01, mx.m02, mx.m12}),
              (std::vector<float>{2.0f, 0.5f, 0.25f, -0.75f, -100, 300}));
    ColorTransform ct = readColorTransform(s, true);
    EXPECT_EQ((std::vector<float>{ct.rMul, ct.gMul, ct.bMul, ct.aMul, ct.rAdd, ct.gAdd, ct.bAdd, ct.aAdd}),
              (std::vector<float>{0.5f, 1, 2, 0.25f, 10, -20, 30, -40}));
    ColorTransform noAlpha = readColorTransform(s, false);
    EXPECT_EQ((std::vector<float>{noAlpha.rMul, noAlpha.aMul, noAlpha.bAdd, noAlpha.aAdd}),
              (std::vector<float>{1, 1, 3, 0}));
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
    Bytes file(packed.size() + 3, 'T'); // the compressed data between a prefix and a 'T'
    file[0] = 'x';
    file[1] = 'y';
    std::copy(packed.begin(), packed.end(), file.begin() + 2);

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
