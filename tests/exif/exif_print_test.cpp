// printExif, the body of tuvo-cli --print-exif.
#include "exif/exif_print.h"
#include "exif/exif_reader.h"
#include "exif_test_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

using namespace exiftest;

namespace {

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

TEST(PrintExif, OneLinePerEntryInWalkOrder)
{
    QTemporaryDir dir;
    const QString path = exiftoolJpeg(dir.path(), "photo.jpg",
        {"-ExifByteOrder=MM", "-DateTimeOriginal=2014:05:01 10:20:30", "-Orientation#=6", "-Make=Cam",
            "-ImageDescription=two\nlines"});
    ASSERT_FALSE(path.isEmpty());
    std::ostringstream out, err;
    EXPECT_EQ(printExif({path.toStdString()}, out, err), 0);

    ExifReader reader;
    reader.picFile = path.toStdString();
    reader.Load();
    const auto printed = lines(out.str());
    ASSERT_EQ(printed.size(), reader.entries().size());
    for (std::size_t i = 0; i < printed.size(); ++i)
        EXPECT_EQ(printed[i].substr(0, printed[i].find('\t')), std::to_string(reader.entries()[i].first));

    const auto has = [&printed](const std::string &line) {
        return std::find(printed.begin(), printed.end(), line) != printed.end();
    };
    EXPECT_TRUE(has("36867\t2014:05:01 10:20:30"));
    EXPECT_TRUE(has("274\t6"));
    EXPECT_TRUE(has("271\tCam\\x00")); // four bytes inside the entry, the padding zero shown
    EXPECT_TRUE(has("270\ttwo\\x0Alines"));
    EXPECT_TRUE(has("37121\t\\x01\\x02\\x03\\x00"));
}

TEST(PrintExif, PrintsNothingWithoutExif)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("plain.png");
    ASSERT_TRUE(runTool("convert", {"-size", "8x8", "xc:white", png}));
    std::ostringstream out, err;
    EXPECT_EQ(printExif({png.toStdString()}, out, err), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "");
}

// Folders, pipes, endless devices and missing files are refused at once; every
// file given is printed under its own header.
TEST(PrintExif, OddFilesAreRefusedAndEveryFileIsPrinted)
{
    QTemporaryDir dir;
    const QString photo = exiftoolJpeg(dir.path(), "photo.jpg", {"-Orientation#=6"});
    ASSERT_FALSE(photo.isEmpty());
    const QString fifo = dir.filePath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &odd : {dir.path(), fifo, QString("/dev/zero"), dir.filePath("missing.jpg")}) {
        std::ostringstream out, err;
        EXPECT_EQ(printExif({odd.toStdString()}, out, err), 1) << odd.toStdString();
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(odd.toStdString()), std::string::npos);
    }
    std::ostringstream out, err;
    EXPECT_EQ(printExif({photo.toStdString(), photo.toStdString()}, out, err), 0);
    const auto printed = lines(out.str());
    EXPECT_EQ(std::count(printed.begin(), printed.end(), "==> " + photo.toStdString() + " <=="), 2);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), "274\t6"), 2);

    // A big file: only its head is read, however large the rest is.
    const QString big = dir.filePath("big.jpg");
    ASSERT_TRUE(QFile::copy(photo, big));
    ASSERT_TRUE(QFile::resize(big, qint64(16) << 30)); // sparse: no disk used
    ExifReader reader;
    reader.picFile = big.toStdString();
    reader.Load();
    EXPECT_EQ(reader.Tag(274), "6");
}

} // namespace

// A count that claims a gigabyte of values reads no further than the EXIF
// segment: what follows it in the file is never printed.
TEST(PrintExif, ValuesEndWithTheExifSegment)
{
    TiffBlock tiff(true);
    tiff.directory(8, {{270, 2, 0x40000000, 64}});
    tiff.bytes(64, "inside");
    const std::string file = jpegWithExif(tiff.data()) + segment(0xE2, "SECRET-AFTER-THE-BLOCK");
    QTemporaryDir dir;
    const QString path = dir.filePath("hostile.jpg");
    writeFile(path, file);
    std::ostringstream out, err;
    EXPECT_EQ(printExif({path.toStdString()}, out, err), 0);
    EXPECT_EQ(out.str().find("SECRET"), std::string::npos) << out.str().substr(0, 200);
    EXPECT_NE(out.str().find("270\tinside"), std::string::npos) << out.str().substr(0, 200);
    EXPECT_LT(out.str().size(), file.size());
}
