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

    std::vector<int> tags(const ExifReader &reader)
    {
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
    const bool little = GetParam();
    TiffBlock t(little);
    t.u32(4, 8);
    const int n = 14;
    t.directory(8, n, 0);
    int e = 10;
    auto next = [&e] {
        return (e += 12) - 12;
    };
    t.entry(next(), 0x100, Byte, 4, 0);
    t.bytes(e - 4, std::string("\x01\x02\x00\x00", 4));
    t.entry(next(), 0x101, Byte, 5, 300);
    t.bytes(300, std::string("\x01\x02\x03\xFA\x07", 5));
    t.entry(next(), 0x102, Ascii, 2, 0);
    t.bytes(e - 4, std::string("N\0", 2));
    t.entry(next(), 0x103, Ascii, 6, 310);
    t.bytes(310, std::string("Hello\0", 6));
    t.entry(next(), 0x104, Short, 1, t.shortValue(6));
    t.entry(next(), 0x105, Short, 2, 0);
    t.u16(e - 4, 3);
    t.u16(e - 2, 4);
    t.entry(next(), 0x106, Long, 1, 70000);
    t.entry(next(), 0x107, Long, 1, 0x80000000u);
    t.entry(next(), 0x108, Rational, 1, 320);
    t.u32(320, 72);
    t.u32(324, 1);
    t.entry(next(), 0x109, SRational, 1, 330);
    t.u32(330, static_cast<std::uint32_t>(-1));
    t.u32(334, 3);
    t.entry(next(), 0x10A, 11, 1, 0x3F800000); // FLOAT: kept undecoded
    t.entry(next(), 0x10B, Undefined, 4, 0);
    t.bytes(e - 4, "0220");
    t.entry(next(), 0x10C, SShort, 1, t.shortValue(0xFFFF));
    t.entry(next(), 0x10D, Short, 3, 340);
    t.u16(340, 1);
    t.u16(342, 2);
    t.u16(344, 65535);

    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(r.Tag(0), std::to_string(n));
    EXPECT_EQ(r.Tag(0x100), "01020000");
    EXPECT_EQ(r.Tag(0x101), "1232507");
    EXPECT_EQ(r.Tag(0x102), std::string("N\0\0\0", 4)); // all four entry bytes, zeros included
    EXPECT_EQ(r.Tag(0x103), "Hello");
    EXPECT_EQ(r.Tag(0x104), "6");
    EXPECT_EQ(r.Tag(0x105), "7"); // two halves summed
    EXPECT_EQ(r.Tag(0x106), "70000");
    EXPECT_EQ(r.Tag(0x107), ""); // top bit set
    EXPECT_EQ(r.Tag(0x108), "72/1");
    EXPECT_EQ(r.Tag(0x109), ""); // -1/3
    EXPECT_EQ(r.Tag(0x10A), "");
    EXPECT_EQ(r.Tag(0x10B), "0220");
    EXPECT_EQ(r.Tag(0x10C), "65535"); // signed types read like their unsigned twins
    EXPECT_EQ(r.Tag(0x10D), "1 2 65535");
    EXPECT_EQ(r.Tag(0x10E), "");
}

TEST_P(ExifValues, ValuesRunningOffTheFileKeepWhatWasRead)
{
    TiffBlock t(GetParam());
    t.u32(4, 8);
    t.directory(8, 4, 0);
    t.entry(10, 0x10E, Ascii, 40, 0x7FFFFFF0);
    t.entry(22, 0x10F, Rational, 1, 0x7FFFFFF0);
    t.entry(34, 0x110, Ascii, 0x7FFFFFFF, 70);
    t.entry(46, 0x111, Ascii, 20, 0);
    t.u32(54, 0x80000010u); // an offset with its top bit set cannot be formed
    t.bytes(70, "abc");
    // The EOI marker follows the block in the file, so the text ends in it.
    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(r.Tag(0x10E), "");
    EXPECT_EQ(r.Tag(0x10F), "");
    EXPECT_EQ(r.Tag(0x110), "abc\xFF\xD9");
    EXPECT_EQ(r.Tag(0x111), "");
    EXPECT_EQ(r.Tag(0), "4");
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifValues, ::testing::Values(true, false),
    [](const auto &info) { return info.param ? "Intel" : "Motorola"; });

// IFD0 → IFD1 → IFD2, then the Exif directory whose own link leads back to IFD0.
TEST_F(ExifBytes, WalksTheChainThenTheExifDirectoryOnly)
{
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 2, 100);
    t.entry(10, 274, Short, 1, 6);
    t.entry(22, 34665, Long, 1, 200);
    t.directory(100, 1, 150);
    t.entry(102, 274, Short, 1, 1);
    t.directory(150, 1, 0);
    t.entry(152, 34853, Long, 1, 400); // GPS pointer: an entry, not a directory to visit
    t.directory(200, 1, 8);
    t.entry(202, 36867, Ascii, 20, 300);
    t.bytes(300, std::string("2014:05:01 10:20:30\0", 20));
    t.directory(400, 1, 0);
    t.entry(402, 1, Ascii, 2, 0);

    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(tags(r), (std::vector<int> {274, 34665, 274, 34853, 36867}));
    EXPECT_EQ(r.Tag(274), "6");
    EXPECT_EQ(r.Tag(36867), "2014:05:01 10:20:30");
    EXPECT_EQ(r.Tag(0), "5");
}

TEST_F(ExifBytes, WalkEndsAfterIfd0WithoutLinkOrExifPointer)
{
    TiffBlock t(false);
    t.u32(4, 8);
    t.directory(8, 2, 0);
    t.entry(10, 274, Short, 1, t.shortValue(3));
    t.entry(22, 34665, Long, 1, 0);
    t.directory(60, 1, 0); // unreachable
    t.entry(62, 305, Ascii, 2, 0);
    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(tags(r), (std::vector<int> {274, 34665}));
}

TEST_F(ExifBytes, LoopsEndTheWalk)
{
    // IFD0 links to itself; the Exif pointer leads back to IFD0 as well.
    TiffBlock self(true);
    self.u32(4, 8);
    self.directory(8, 2, 8);
    self.entry(10, 274, Short, 1, 6);
    self.entry(22, 34665, Long, 1, 8);
    EXPECT_EQ(tags(read(jpegWithExif(self.data()))), (std::vector<int> {274, 34665}));

    // IFD1 links back to IFD0; the Exif directory is still read once.
    TiffBlock back(true);
    back.u32(4, 8);
    back.directory(8, 2, 40);
    back.entry(10, 274, Short, 1, 6);
    back.entry(22, 34665, Long, 1, 80);
    back.directory(40, 1, 8);
    back.entry(42, 256, Short, 1, 160);
    back.directory(80, 1, 40);
    back.entry(82, 36864, Undefined, 4, 0x30323230);
    EXPECT_EQ(tags(read(jpegWithExif(back.data()))), (std::vector<int> {274, 34665, 256, 36864}));
}

TEST_F(ExifBytes, OffsetsPastTheEndEndTheirChainOnly)
{
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 2, 0x7FFFFFFF);
    t.entry(10, 274, Short, 1, 8);
    t.entry(22, 34665, Long, 1, 40);
    t.directory(40, 1, 0);
    t.entry(42, 36867, Ascii, 4, 0x00303030);
    EXPECT_EQ(tags(read(jpegWithExif(t.data()))), (std::vector<int> {274, 34665, 36867}));

    TiffBlock farExif(true);
    farExif.u32(4, 8);
    farExif.directory(8, 1, 0);
    farExif.entry(10, 34665, Long, 1, 0x7FFFFF00);
    EXPECT_EQ(read(jpegWithExif(farExif.data())).Tag(0), "1");

    TiffBlock farIfd0(true);
    farIfd0.u32(4, 0x10000);
    ExifReader r = read(jpegWithExif(farIfd0.data()));
    EXPECT_TRUE(r.Load()); // the block is there, it just holds nothing readable
    EXPECT_EQ(r.Tag(0), "");
}

TEST_F(ExifBytes, HugeEntryCountReadsOnlyWhatIsThere)
{
    TiffBlock t(false);
    t.u32(4, 8);
    t.u16(8, 65535);
    t.entry(10, 274, Short, 1, t.shortValue(6));
    t.entry(22, 36867, Ascii, 65535, 0);
    const ExifReader r = read(jpegWithExif(t.data()));
    // Two entries, then the EOI marker behind the block reads as a third tag; nothing after it.
    EXPECT_EQ(tags(r), (std::vector<int> {274, 36867, 0xFFD9}));
    EXPECT_EQ(r.Tag(274), "6");
}

TEST_F(ExifBytes, EntriesAndValueBytesAreCapped)
{
    // 3000 entries all pointing at one 60000-byte text: a few hundred kilobytes of
    // file must not become 180 megabytes of values.
    TiffBlock t(true);
    const int n = 3000;
    t.u32(4, 8);
    t.directory(8, n, 0);
    const std::uint32_t text = 10 + 12 * n + 4;
    for (int k = 0; k < n; ++k)
        t.entry(10 + 12 * k, 270, Ascii, 60001, text);
    t.bytes(text, std::string(60000, 'x'));
    const ExifReader r = read(jpegWithExif(t.data()));
    ASSERT_EQ(r.Tag(0), "1024");
    std::size_t total = 0;
    for (const auto &entry : r.entries())
        total += entry.second.size();
    EXPECT_EQ(r.Tag(270), std::string(60000, 'x'));
    EXPECT_LE(total, std::size_t(1 << 20) + 65535);
}

TEST_F(ExifBytes, EveryTruncationIsSafe)
{
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 3, 60);
    t.entry(10, 274, Short, 1, 6);
    t.entry(22, 34665, Long, 1, 90);
    t.entry(34, 282, Rational, 1, 130);
    t.directory(60, 1, 0);
    t.entry(62, 274, Short, 1, 1);
    t.directory(90, 1, 0);
    t.entry(92, 36867, Ascii, 20, 140);
    t.u32(130, 72);
    t.u32(134, 1);
    t.bytes(140, std::string("2014:05:01 10:20:30\0", 20));
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

TEST_F(ExifBytes, FindsOnlyTheFirstFfE1Pair)
{
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 1, 0);
    t.entry(10, 274, Short, 1, 6);
    EXPECT_EQ(read(jpegWithExif(t.data())).Tag(274), "6");
    // Not a JPEG start.
    EXPECT_EQ(read("\xFF\xD9" + jpegWithExif(t.data()).substr(2)).Tag(0), "");
    // "Exif" in another case.
    std::string lower = jpegWithExif(t.data());
    lower[6] = 'e';
    EXPECT_EQ(read(lower).Tag(0), "");
    // An FF E1 pair inside an earlier segment's payload is taken, and the search stops there.
    EXPECT_EQ(read(jpegWithExif(t.data(), segment(0xE0, std::string("JFIF\0\xFF\xE1", 7)))).Tag(0), "");
    // A segment that is not APP1 does not hide the EXIF APP1 behind it.
    EXPECT_EQ(read(jpegWithExif(t.data(), segment(0xE0, std::string("JFIF\0\x01\x02", 7)))).Tag(274), "6");
    // Files too short to hold anything.
    for (const std::string &bytes :
        {""s, "\xFF"s, "\xFF\xD8"s, "\xFF\xD8\xFF\xE1"s, "\xFF\xD8\xFF\xE1\0\x0C"s,
            "\xFF\xD8\xFF\xE1\0\x0C"
            "Exif\0\0II*\0"s})
        EXPECT_EQ(read(bytes).Tag(0), "") << bytes.size();
}

TEST_F(ExifBytes, FirstOrderByteDecides)
{
    // "IM": little-endian although the second byte disagrees.
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 1, 0);
    t.entry(10, 274, Short, 1, 6);
    std::string block = t.data();
    block[1] = 'M';
    EXPECT_EQ(read(jpegWithExif(block)).Tag(274), "6");
    // Anything but "I" first is big-endian.
    TiffBlock m(false);
    m.u32(4, 8);
    m.directory(8, 1, 0);
    m.entry(10, 274, Short, 1, m.shortValue(6));
    block = m.data();
    block[0] = 'X';
    EXPECT_EQ(read(jpegWithExif(block)).Tag(274), "6");
}

// The maker note is an ordinary UNDEFINED entry: its directory is not walked.
TEST_F(ExifBytes, MakerNoteStaysOneEntry)
{
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 1, 0);
    t.entry(10, 34665, Long, 1, 30);
    t.directory(30, 1, 0);
    t.entry(32, 37500, Undefined, 30, 60);
    TiffBlock note(true);
    note.directory(0, 2, 0);
    note.entry(2, 1, Short, 1, 5);
    note.entry(14, 2, Ascii, 4, 0x00414141);
    t.bytes(60, note.data());
    const ExifReader r = read(jpegWithExif(t.data()));
    EXPECT_EQ(tags(r), (std::vector<int> {34665, 37500}));
    EXPECT_EQ(r.Tag(37500), note.data().substr(0, 29));
    EXPECT_EQ(r.Tag(1), "");
}

TEST_F(ExifBytes, ReaderLoadsOnDemandAndReloadsAfresh)
{
    TiffBlock t(true);
    t.u32(4, 8);
    t.directory(8, 1, 0);
    t.entry(10, 274, Short, 1, 8);
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
    EXPECT_EQ(empty.Tag(0), "");
    EXPECT_EQ(empty.Tag(274), "");
}

} // namespace
