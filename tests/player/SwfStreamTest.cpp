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
    // Braced lists read left to right; past the end every read yields 0 and the stream reports it.
    const std::vector<int64_t> read = {s.readUInt(3), s.readSInt(4), s.readUInt(13), s.readSInt(1),
                                       s.readUInt(0), s.readSInt(0), s.readU16(),    s.readU32(),
                                       s.hasFailed(), s.readU8(),    s.hasFailed(),  s.readU32()};
    EXPECT_EQ(read, (std::vector<int64_t>{5, -3, 0x1ABC, -1, 0, 0, 0xBEEF, 0x01020304, false, 0, true, 0}));
}

TEST(SwfStreamTest, StringsStopAtZeroAndLengthStrings)
{
    Bytes b = {'a', 'b', 0, 3, 'x', 'y', 'z', 0, 'q'};
    MemoryStream file(b);
    SwfStream s(file);
    // The last string is unterminated at the end of the data.
    const std::vector<std::string> read = {s.readString(), s.readLengthString(), s.readLengthString(), s.readString()};
    EXPECT_EQ(read, (std::vector<std::string>{"ab", "xyz", "", "q"}));
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

    std::vector<int64_t> read = {s.openTag(), s.tagEnd()};
    s.closeTag();
    read.push_back(s.position());
    // A loader reading too far gets zeros and does not disturb the next tag.
    read.insert(read.end(), {s.openTag(), s.tagEnd(), s.readU8(), s.readU8(), s.hasOverrun(), s.readU32(),
                             s.hasOverrun(), s.hasFailed()});
    s.closeTag();
    read.insert(read.end(), {s.openTag(), s.bytesLeftInTag(), s.readU8()});
    s.closeTag();
    read.push_back(s.hasFailed());
    EXPECT_EQ(read,
              (std::vector<int64_t>{9, 2 + 62, 64, 12, 64 + 6 + 2, 1, 2, false, 0, true, false, 2, 100, 9, false}));
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
        std::vector<int64_t> read = {buf[4999], in.seek(12345), in.read(buf, 1), buf[0]};
        // Backwards: inflation restarts.
        read.insert(read.end(), {in.seek(10), in.read(buf, 1), buf[0]});
        in.seekToEnd();
        read.insert(read.end(), {in.tell(), in.atEnd(), in.close()});
        EXPECT_EQ(read, (std::vector<int64_t>{plain[4999], 12345, 1, plain[12345], 10, 1, plain[10], 20000, true, 0}));
    }
    // Closing handed back the unused input: the stream stands just after the compressed data.
    uint8_t tail = 0;
    EXPECT_EQ((std::vector<int>{under.read(&tail, 1), tail}), (std::vector<int>{1, 'T'}));

    Bytes garbage(100, 0x55);
    MemoryStream bad(garbage);
    InflateStream broken(bad);
    uint8_t buf[10];
    EXPECT_EQ(broken.read(buf, 10), 0);
    EXPECT_EQ(broken.read(buf, 10), 0);
}
