// The reader on hand-built EXIF blocks: every value decoding in both byte orders,
// the directory walk, and hostile or truncated input.
#include "exif/exif_reader.h"
#include "exif_test_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace exiftest;
using namespace std::string_literals;

namespace {

enum Type {
    Byte = 1,
    Ascii = 2,
    Short = 3,
    Long = 4,
    Rational = 5,
    Undefined = 7,
    SShort = 8,
    SRational = 10
};

const std::string shootingTime("2014:05:01 10:20:30\0", 20);

class ExifBytes : public ::testing::Test {
protected:
    ExifReader read(const std::string &fileBytes)
    {
        const QString path = dir.filePath(QString("case%1.jpg").arg(++files));
        writeFile(path, fileBytes);
        ExifReader reader;
        reader.picFile = path.toStdString();
        reader.Load();
        return reader;
    }

    std::vector<int> tags(const std::string &fileBytes)
    {
        const ExifReader reader = read(fileBytes);
        std::vector<int> result;
        for (const auto &entry : reader.entries())
            result.push_back(entry.first);
        return result;
    }

    QTemporaryDir dir;
    int files = 0;
};

class ExifValues : public ExifBytes, public ::testing::WithParamInterface<bool> { };

TEST_P(ExifValues, DecodesEveryTypeInEitherByteOrder)
{
    TiffBlock t(GetParam());
    t.directory(8,
        {{0x100, Byte, 4, 0}, {0x101, Byte, 5, 300}, {0x102, Ascii, 2, 0}, {0x103, Ascii, 6, 310},
            {0x104, Short, 1, 6}, {0x105, Short, 2, 0}, {0x106, Long, 1, 70000},
            {0x107, Long, 1, 0x80000000u}, {0x108, Rational, 1, 320}, {0x109, SRational, 1, 330},
            {0x10A, 11, 1, 0x3F800000}, {0x10B, Undefined, 4, 0}, {0x10C, SShort, 1, 0xFFFF},
            {0x10D, Short, 3, 340}});
    const auto valueOf = [](int k) {
        return 10 + 12 * k + 8;
    };
    t.bytes(valueOf(0), "\x01\x02\0\0"s);
    t.bytes(300, "\x01\x02\x03\xFA\x07"s);
    t.bytes(valueOf(2), "N\0"s);
    t.bytes(310, "Hello\0"s);
    t.u16(valueOf(5), 3);
    t.u16(valueOf(5) + 2, 4);
    t.u32(320, 72);
    t.u32(324, 1);
    t.u32(330, static_cast<std::uint32_t>(-1));
    t.u32(334, 3);
    t.bytes(valueOf(11), "0220");
    t.u16(340, 1);
    t.u16(342, 2);
    t.u16(344, 65535);

    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(r.Tag(0), "14");
    EXPECT_EQ(r.Tag(0x100), "01020000");
    EXPECT_EQ(r.Tag(0x101), "1232507");
    EXPECT_EQ(r.Tag(0x102), "N\0\0\0"s); // all four entry bytes, zeros included
    EXPECT_EQ(r.Tag(0x103), "Hello");
    EXPECT_EQ(r.Tag(0x104), "6");
    EXPECT_EQ(r.Tag(0x105), "7"); // two halves summed
    EXPECT_EQ(r.Tag(0x106), "70000");
    EXPECT_EQ(r.Tag(0x107), ""); // top bit set
    EXPECT_EQ(r.Tag(0x108), "72/1");
    EXPECT_EQ(r.Tag(0x109), ""); // -1/3
    EXPECT_EQ(r.Tag(0x10A), ""); // FLOAT is not decoded
    EXPECT_EQ(r.Tag(0x10B), "0220");
    EXPECT_EQ(r.Tag(0x10C), "65535"); // signed types read like their unsigned twins
    EXPECT_EQ(r.Tag(0x10D), "1 2 65535");
    EXPECT_EQ(r.Tag(0x10E), "");
}

TEST_P(ExifValues, ValuesRunningOffTheFileKeepWhatWasRead)
{
    TiffBlock t(GetParam());
    t.directory(8,
        {{0x10E, Ascii, 40, 0x7FFFFFF0}, {0x10F, Rational, 1, 0x7FFFFFF0}, {0x110, Ascii, 0x7FFFFFFF, 70},
            {0x111, Ascii, 20, 0x80000010u}});
    t.bytes(70, "abc");
    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(r.Tag(0x10E), "");
    EXPECT_EQ(r.Tag(0x10F), "");
    EXPECT_EQ(r.Tag(0x110), "abc"); // up to the end of the EXIF segment, never into the file's EOI
    EXPECT_EQ(r.Tag(0x111), ""); // an offset with its top bit set cannot be formed
    EXPECT_EQ(r.Tag(0), "4");
}

// Real cameras: texts stored without their terminating zero, non-zero padding
// behind a single SHORT or BYTE.
TEST_P(ExifValues, TextsKeepTheirLastCharacterAndPaddingStaysOutOfNumbers)
{
    TiffBlock t(GetParam());
    t.directory(
        8, {{274, Short, 1, 6}, {0x100, Byte, 1, 0}, {0x101, Ascii, 19, 300}, {36867, Ascii, 24, 320}});
    const auto valueOf = [](int k) {
        return 10 + 12 * k + 8;
    };
    t.bytes(valueOf(0) + 2, "\x12\x34"s);
    t.bytes(valueOf(1), "\x07\xAA\xBB\xCC"s);
    t.bytes(300, "2014:05:01 09:47:25"s);
    t.bytes(320, "2014:05:01 10:20:30\0\0\0\0\0"s);

    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(r.Tag(274), "6");
    EXPECT_EQ(r.Tag(0x100), "07");
    EXPECT_EQ(r.Tag(0x101), "2014:05:01 09:47:25");
    EXPECT_EQ(r.Tag(36867), "2014:05:01 10:20:30");
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifValues, ::testing::Values(true, false),
    [](const auto &info) { return info.param ? "Intel" : "Motorola"; });

TEST_F(ExifBytes, WalksTheChainThenTheExifDirectoryOnly)
{
    // IFD0 → IFD1 → IFD2, then the Exif directory, whose own link back to IFD0 is not followed.
    TiffBlock t(true);
    t.directory(8, {{274, Short, 1, 6}, {34665, Long, 1, 200}}, 100);
    t.directory(100, {{274, Short, 1, 1}}, 150);
    t.directory(150, {{34853, Long, 1, 400}}); // GPS pointer: an entry, not a directory to visit
    t.directory(200, {{36867, Ascii, 20, 300}}, 8);
    t.bytes(300, shootingTime);
    t.directory(400, {{1, Ascii, 2, 0}});

    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(tags(jpegWithExif(t.data())), (std::vector<int> {274, 34665, 274, 34853, 36867}));
    EXPECT_EQ(r.Tag(274), "6");
    EXPECT_EQ(r.Tag(36867), "2014:05:01 10:20:30");
    EXPECT_EQ(r.Tag(0), "5");

    // No link and an Exif pointer of 0: the walk ends after IFD0.
    TiffBlock single(false);
    single.directory(8, {{274, Short, 1, 3}, {34665, Long, 1, 0}});
    single.directory(60, {{305, Ascii, 2, 0}});
    EXPECT_EQ(tags(jpegWithExif(single.data())), (std::vector<int> {274, 34665}));
}

TEST_F(ExifBytes, LoopsAndOffsetsPastTheEndEndTheirChainOnly)
{
    // IFD0 links to itself and its Exif pointer leads back to it.
    TiffBlock self(true);
    self.directory(8, {{274, Short, 1, 6}, {34665, Long, 1, 8}}, 8);
    EXPECT_EQ(tags(jpegWithExif(self.data())), (std::vector<int> {274, 34665}));

    // IFD1 links back to IFD0; the Exif directory is still read, once.
    TiffBlock back(true);
    back.directory(8, {{274, Short, 1, 6}, {34665, Long, 1, 80}}, 40);
    back.directory(40, {{256, Short, 1, 160}}, 8);
    back.directory(80, {{36864, Undefined, 4, 0x30323230}}, 40);
    EXPECT_EQ(tags(jpegWithExif(back.data())), (std::vector<int> {274, 34665, 256, 36864}));

    // A link far past the end ends the chain; the Exif directory is still read.
    TiffBlock far(true);
    far.directory(8, {{274, Short, 1, 8}, {34665, Long, 1, 40}}, 0x7FFFFFFF);
    far.directory(40, {{36867, Ascii, 4, 0x00303030}});
    EXPECT_EQ(tags(jpegWithExif(far.data())), (std::vector<int> {274, 34665, 36867}));

    TiffBlock farExif(true);
    farExif.directory(8, {{34665, Long, 1, 0x7FFFFF00}});
    EXPECT_EQ(tags(jpegWithExif(farExif.data())), (std::vector<int> {34665}));

    // IFD0 itself past the end: the block is there but holds nothing readable.
    ExifReader r = read(jpegWithExif(TiffBlock(true, 0x10000).data()));
    EXPECT_TRUE(r.Load());
    EXPECT_EQ(r.Tag(0), "");
}

TEST_F(ExifBytes, HugeCountsReadOnlyWhatIsThere)
{
    TiffBlock t(false);
    t.directory(8, {{274, Short, 1, 6}, {36867, Ascii, 65535, 0}});
    t.u16(8, 65535);
    const ExifReader r = read(jpegWithExif(t.data()));
    // Two entries, then the zero link reads as a third entry's tag; nothing after it.
    EXPECT_EQ(tags(jpegWithExif(t.data())), (std::vector<int> {274, 36867, 0}));
    EXPECT_EQ(r.Tag(274), "6");

    // 3000 entries all pointing at one 20000-byte text: one segment of file
    // must not become 60 megabytes of values.
    const int n = 3000;
    const std::uint32_t text = 10 + 12 * n + 4;
    TiffBlock big(true);
    big.directory(8, std::vector<TiffEntry>(n, {270, Ascii, 20001, text}));
    big.bytes(text, std::string(20000, 'x') + '\0');
    const ExifReader capped = read(jpegWithExif(big.data()));
    ASSERT_EQ(capped.Tag(0), "1024");
    EXPECT_EQ(capped.Tag(270), std::string(20000, 'x'));
    std::size_t total = 0;
    for (const auto &entry : capped.entries())
        total += entry.second.size();
    EXPECT_LE(total, std::size_t(1 << 20) + 65535);
}

TEST_F(ExifBytes, EveryTruncationIsSafe)
{
    TiffBlock t(true);
    t.directory(8, {{274, Short, 1, 6}, {34665, Long, 1, 90}, {282, Rational, 1, 130}}, 60);
    t.directory(60, {{274, Short, 1, 1}});
    t.directory(90, {{36867, Ascii, 20, 140}});
    t.u32(130, 72);
    t.u32(134, 1);
    t.bytes(140, shootingTime);
    const std::string whole = jpegWithExif(t.data());
    std::size_t previous = 0;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        const ExifReader r = read(whole.substr(0, length));
        EXPECT_EQ(r.Tag(0), r.entries().empty() ? "" : std::to_string(r.entries().size()));
        EXPECT_GE(r.entries().size(), previous) << length; // a longer prefix never reads less
        previous = r.entries().size();
    }
    EXPECT_EQ(previous, 5u);
}

TEST_F(ExifBytes, FindsOnlyTheFirstFfE1PairAndTheFirstOrderByteDecides)
{
    TiffBlock t(true);
    t.directory(8, {{274, Short, 1, 6}});
    const std::string jpeg = jpegWithExif(t.data());
    EXPECT_EQ(read(jpeg).Tag(274), "6");
    EXPECT_EQ(read("\xFF\xD9" + jpeg.substr(2)).Tag(0), ""); // no start-of-image marker
    EXPECT_EQ(read(jpeg.substr(0, 6) + "exif" + jpeg.substr(10)).Tag(0), "");
    // An FF E1 pair inside an earlier segment's payload is taken, and the search stops there.
    EXPECT_EQ(read(jpegWithExif(t.data(), segment(0xE0, "JFIF\0\xFF\xE1"s))).Tag(0), "");
    EXPECT_EQ(read(jpegWithExif(t.data(), segment(0xE0, "JFIF\0\x01\x02"s))).Tag(274), "6");
    for (const std::string &bytes :
        {""s, "\xFF"s, "\xFF\xD8"s, "\xFF\xD8\xFF\xE1"s, "\xFF\xD8\xFF\xE1\0\x0C"s,
            "\xFF\xD8\xFF\xE1\0\x0C"
            "Exif\0\0II*\0"s})
        EXPECT_EQ(read(bytes).Tag(0), "") << bytes.size();

    // "IM" is little-endian although the second byte disagrees; anything but "I" first is big-endian.
    std::string block = t.data();
    block[1] = 'M';
    EXPECT_EQ(read(jpegWithExif(block)).Tag(274), "6");
    TiffBlock m(false);
    m.directory(8, {{274, Short, 1, 6}});
    block = m.data();
    block[0] = 'X';
    EXPECT_EQ(read(jpegWithExif(block)).Tag(274), "6");
}

// The maker note is an ordinary UNDEFINED entry: its directory is not walked.
TEST_F(ExifBytes, MakerNoteStaysOneEntry)
{
    TiffBlock t(true);
    t.directory(8, {{34665, Long, 1, 30}});
    t.directory(30, {{37500, Undefined, 30, 60}});
    TiffBlock note(true);
    note.directory(0, {{1, Short, 1, 5}, {2, Ascii, 4, 0x00414141}});
    t.bytes(60, note.data());
    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(tags(jpegWithExif(t.data())), (std::vector<int> {34665, 37500}));
    EXPECT_EQ(r.Tag(37500), note.data().substr(0, 29));
    EXPECT_EQ(r.Tag(1), "");
}

TEST_F(ExifBytes, ReaderLoadsOnDemandAndReloadsAfresh)
{
    TiffBlock t(true);
    t.directory(8, {{274, Short, 1, 8}});
    const QString path = dir.filePath("lazy.jpg");
    writeFile(path, jpegWithExif(t.data()));

    ExifReader lazy;
    lazy.picFile = path.toStdString();
    EXPECT_EQ(lazy.Tag(274), "8"); // Tag loads picFile when nothing is loaded yet
    EXPECT_TRUE(lazy.Load());
    EXPECT_TRUE(lazy.Load());
    EXPECT_EQ(lazy.Tag(0), "1"); // loading again does not pile up entries

    ExifReader empty;
    EXPECT_FALSE(empty.Load());
    EXPECT_EQ(empty.Tag(274), "");
}

} // namespace
