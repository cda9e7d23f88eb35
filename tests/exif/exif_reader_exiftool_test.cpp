// The reader against files written by exiftool, and against what exiftool itself
// reads back from them.
#include "exif/exif_reader.h"
#include "exif_test_files.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

using namespace exiftest;

namespace {

const char *const shootingTime = "2014:05:01 10:20:30";

// Orientation 6 in IFD0 and 3 in IFD1 (IFD1 exists once a thumbnail is written),
// the shooting time, resolution, exposure bias and version tags.
QString photo(const QString &dir, const QString &name, const QString &byteOrder)
{
    const QString thumb = dir + "/thumb.jpg";
    if (!runTool("convert", {"-size", "8x8", "xc:green", thumb}))
        return {};
    const QString path = exiftoolJpeg(dir, name,
        {"-ExifByteOrder=" + byteOrder, QString("-DateTimeOriginal=") + shootingTime, "-IFD0:Orientation#=6",
            "-XResolution=72", "-YResolution=72", "-ExposureCompensation=-0.6666667", "-ExifVersion=0220",
            "-Make=Tuvo Test Camera", "-Model=Model Seven", "-Software=exiftool", "-ISO=400",
            "-ExposureTime=0.01", "-FNumber=2.8", "-BitsPerSample=8 8 8", "-GPSLatitude=10",
            "-GPSLatitudeRef=N", "-ThumbnailImage<=" + thumb});
    if (path.isEmpty() || !runTool("exiftool", {"-q", "-overwrite_original", "-IFD1:Orientation#=3", path}))
        return {};
    return path;
}

ExifReader loaded(const QString &path)
{
    ExifReader reader;
    reader.picFile = path.toStdString();
    reader.Load();
    return reader;
}

// exiftool's own entry counts of the directories the reader walks.
int exiftoolEntryCount(const QString &path)
{
    QByteArray verbose;
    if (!runTool("exiftool", {"-v", path}, &verbose))
        return -1;
    static const QRegularExpression directory(R"(\[(IFD0|IFD1|ExifIFD) directory with (\d+) entries\])");
    int total = 0;
    for (auto it = directory.globalMatch(QString::fromUtf8(verbose)); it.hasNext();)
        total += it.next().captured(2).toInt();
    return total;
}

class ExiftoolPhoto : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = photo(dir.path(), "photo.jpg", GetParam());
        ASSERT_FALSE(path.isEmpty()) << "ImageMagick convert or exiftool failed";
    }

    QTemporaryDir dir;
    QString path;
};

TEST_P(ExiftoolPhoto, AnswersTheTagsTheProgramAsksFor)
{
    ExifReader reader = loaded(path);
    EXPECT_EQ(reader.Tag(36867), shootingTime);
    EXPECT_EQ(reader.Tag(274), "6"); // IFD0 comes before IFD1's 3
    EXPECT_EQ(reader.Tag(282), "72/1");
    EXPECT_EQ(reader.Tag(37380), ""); // a negative exposure bias cannot be formed
    EXPECT_EQ(reader.Tag(36864), "0220");
    EXPECT_EQ(reader.Tag(37121), std::string("\x01\x02\x03\x00", 4)); // ComponentsConfiguration, UNDEFINED
}

TEST_P(ExiftoolPhoto, CountsIfd0Ifd1AndExifEntriesButNotGps)
{
    ExifReader reader = loaded(path);
    const int expected = exiftoolEntryCount(path);
    ASSERT_GT(expected, 20);
    EXPECT_EQ(reader.Tag(0), std::to_string(expected));
    EXPECT_EQ(reader.Tag(1), ""); // GPSLatitudeRef lives in the GPS directory, which is not walked
    EXPECT_NE(reader.Tag(34853), ""); // the GPS pointer itself is an ordinary entry
}

// Every single-valued entry that both sides render the same way must agree with exiftool -n.
TEST_P(ExiftoolPhoto, AgreesWithExiftool)
{
    QByteArray json;
    ASSERT_TRUE(runTool("exiftool", {"-j", "-a", "-D", "-G1", "-n", path}, &json));
    const QJsonObject tags = QJsonDocument::fromJson(json).array().first().toObject();
    // The reader's walk order: IFD0 before IFD1 before the Exif directory; the first one answers.
    std::map<int, QJsonValue> expected;
    for (const QString group : {"IFD0", "IFD1", "ExifIFD"}) {
        for (auto it = tags.begin(); it != tags.end(); ++it) {
            const QJsonObject tag = it.value().toObject();
            if (it.key().startsWith(group + ":") && tag.value("id").isDouble())
                expected.emplace(tag.value("id").toInt(), tag.value("val"));
        }
    }
    ExifReader reader = loaded(path);
    int compared = 0;
    expected.erase(513); // exiftool gives the thumbnail offset from the file start, the entry holds it from
                         // the TIFF header
    for (const auto &[id, value] : expected) {
        const QString ours = QString::fromStdString(reader.Tag(id));
        SCOPED_TRACE("tag " + std::to_string(id) + ": " + ours.toStdString());
        const bool printable = std::all_of(ours.begin(), ours.end(), [](QChar c) { return c.isPrint(); });
        if (value.isString() && value.toString().size() > 4 && printable) {
            EXPECT_EQ(ours, value.toString());
            ++compared;
        } else if (value.isDouble() && ours.contains('/')) {
            const QStringList parts = ours.split('/');
            EXPECT_NEAR(parts[0].toDouble() / parts[1].toDouble(), value.toDouble(), 1e-6);
            ++compared;
        } else if (value.isDouble() && !ours.isEmpty()) {
            EXPECT_EQ(ours.toLongLong(), value.toInteger());
            ++compared;
        }
    }
    EXPECT_GE(compared, 15);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExiftoolPhoto, ::testing::Values("II", "MM"));

TEST(ExifReaderFiles, FindsExifBehindJfifSegment)
{
    QTemporaryDir dir;
    // ImageMagick writes a JFIF APP0; exiftool keeps it in front of the new EXIF APP1.
    const QString path = exiftoolJpeg(dir.path(), "jfif.jpg", {QString("-DateTimeOriginal=") + shootingTime});
    ASSERT_FALSE(path.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(file.read(4).endsWith("\xFF\xE0")) << "expected the JFIF segment first";
    EXPECT_EQ(loaded(path).Tag(36867), shootingTime);
}

TEST(ExifReaderFiles, IgnoresExifBehindAnXmpSegment)
{
    QTemporaryDir dir;
    const QString source
        = exiftoolJpeg(dir.path(), "exif.jpg", {QString("-DateTimeOriginal=") + shootingTime});
    ASSERT_FALSE(source.isEmpty());
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    const QByteArray xmp = QByteArray("http://ns.adobe.com/xap/1.0/", 29) + "<x:xmpmeta/>";
    QByteArray xmpSegment("\xFF\xE1", 2);
    xmpSegment.append(char((xmp.size() + 2) >> 8)).append(char((xmp.size() + 2) & 0xFF)).append(xmp);
    bytes.insert(2, xmpSegment);
    const QString path = dir.filePath("xmp_first.jpg");
    writeFile(path, bytes.toStdString());

    QByteArray check;
    ASSERT_TRUE(runTool("exiftool", {"-s3", "-DateTimeOriginal", path}, &check));
    ASSERT_EQ(check.trimmed(), shootingTime) << "exiftool still sees the EXIF block";
    ExifReader reader = loaded(path);
    EXPECT_FALSE(reader.Load());
    EXPECT_EQ(reader.Tag(36867), "");
    EXPECT_EQ(reader.Tag(0), "");
}

TEST(ExifReaderFiles, OtherFormatsHaveNoExif)
{
    QTemporaryDir dir;
    for (const char *name : {"plain.png", "plain.bmp", "plain.gif", "noexif.jpg"}) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(runTool("convert", {"-size", "8x8", "xc:white", path}));
        ExifReader reader = loaded(path);
        EXPECT_FALSE(reader.Load()) << name;
        EXPECT_EQ(reader.Tag(0), "") << name;
        EXPECT_EQ(reader.Tag(274), "") << name;
    }
    // PNG and TIFF carrying EXIF written by exiftool: not JPEG, so not read.
    for (const char *name : {"exif.png", "exif.tif"}) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(runTool("convert", {"-size", "8x8", "xc:white", path}));
        ASSERT_TRUE(runTool(
            "exiftool", {"-q", "-overwrite_original", QString("-DateTimeOriginal=") + shootingTime, path}));
        EXPECT_EQ(loaded(path).Tag(36867), "") << name;
    }
    ExifReader missing = loaded(dir.filePath("missing.jpg"));
    EXPECT_FALSE(missing.Load());
    EXPECT_EQ(missing.Tag(36867), "");
}

} // namespace
