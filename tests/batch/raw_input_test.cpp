// Camera RAW in: a DNG written by tools/make_dng.py (grey left half, red top-right
// and blue bottom-right quarters, white balance 0.5/1/0.8, stored turned so that
// orientation 6 shows it upright), developed by the loader and by tuvo-cli; and
// the tags of a CR3 made by the same tool.
#include "imaging/encoders.h"
#include "imaging/picture_files.h"
#include "imaging/picture_loader.h"
#include "imaging/picture_metadata.h"
#include "render/mark_tokens.h"
#include "support/external_tools.h"
#include "support/test_files.h"
#include "support/tuvo_cli.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString makeDng(const QString &path, const QStringList &options = {})
{
    const bool made = runProgram(
        "python3", QStringList {QStringLiteral(TUVO_SOURCE_DIR "/tools/make_dng.py"), path} + options);
    return made ? path : QString();
}

// The colours the camera saw: sRGB 128 grey, linear 0.8/0.02 red and blue.
constexpr QRgb kGrey = 0xff808080, kRed = 0xffe72727, kBlue = 0xff2727e7;

void expectColour(const QImage &image, double x, double y, QRgb want, const char *what)
{
    const QRgb got = image.pixel(int(x * image.width()), int(y * image.height()));
    const int worst = qMax(
        qAbs(qRed(got) - qRed(want)), qMax(qAbs(qGreen(got) - qGreen(want)), qAbs(qBlue(got) - qBlue(want))));
    EXPECT_LE(worst, 4) << what << ": got #" << QString::number(got, 16).toStdString();
}

// Shown upright (orientation 6 turns it a quarter clockwise): the grey half on
// top, blue bottom-left, red bottom-right.
void expectUprightScene(const QImage &image)
{
    expectColour(image, 0.5, 0.25, kGrey, "grey");
    expectColour(image, 0.25, 0.75, kBlue, "blue");
    expectColour(image, 0.75, 0.75, kRed, "red");
}

QString exifOf(const QString &file, const QStringList &tags)
{
    QByteArray out;
    runProgram("exiftool", QStringList {"-s", "-s", "-n"} + tags + QStringList {file}, &out);
    return QString::fromUtf8(out);
}

} // namespace

TEST(RawInput, DevelopsInCameraColoursUprightAtFullAndHalfSize)
{
    if (const QString missing = missingTool({"python3"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString dng = makeDng(dir.filePath("shot.dng"), {"--size", "96x64", "--orientation", "6"});
    ASSERT_FALSE(dng.isEmpty());

    EXPECT_EQ(probePictureSize(dng), QSize(64, 96));
    const LoadedPicture full = loadPicture(dng);
    ASSERT_TRUE(full.ok()) << full.error.toStdString();
    EXPECT_EQ(full.image.size(), QSize(64, 96));
    EXPECT_EQ(full.originalSize, QSize(64, 96));
    expectUprightScene(full.image);

    // A target within half the sensor: one pixel per Bayer quad, same colours.
    const LoadedPicture half = loadPicture(dng, QSize(30, 45));
    ASSERT_TRUE(half.ok()) << half.error.toStdString();
    EXPECT_EQ(half.image.size(), QSize(32, 48));
    EXPECT_EQ(half.originalSize, QSize(64, 96));
    expectUprightScene(half.image);
    EXPECT_EQ(decodeMemoryNeed(dng, QSize(30, 45), false).decodedSize, QSize(48, 32));
    // Smaller targets: blocks of 2 x 2 and 4 x 4 quads, averaged.
    for (const auto &[minimum, decoded] :
        {std::pair {QSize(10, 20), QSize(16, 24)}, {QSize(5, 10), QSize(8, 12)}}) {
        const LoadedPicture small = loadPicture(dng, minimum);
        ASSERT_TRUE(small.ok()) << small.error.toStdString();
        EXPECT_EQ(small.image.size(), decoded);
        expectUprightScene(small.image);
    }
    EXPECT_EQ(decodeMemoryNeed(dng, QSize(40, 45), false).decodedSize, QSize(96, 64));

    // The other Bayer layouts put each colour at another corner of the quad.
    for (const char *pattern : {"BGGR", "GRBG", "GBRG"}) {
        const QString other = makeDng(dir.filePath(QString("%1.dng").arg(pattern)),
            {"--size", "96x64", "--orientation", "6", "--pattern", pattern});
        for (const QSize minimum : {QSize(), QSize(30, 45)}) {
            const LoadedPicture picture = loadPicture(other, minimum);
            ASSERT_TRUE(picture.ok()) << pattern << picture.error.toStdString();
            SCOPED_TRACE(pattern);
            expectUprightScene(picture.image);
        }
    }
}

TEST(RawInput, CarriesTheCameraExifUnderEachMetadataChoice)
{
    if (const QString missing = missingTool({"python3", "exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString dng
        = makeDng(dir.filePath("shot.dng"), {"--orientation", "6", "--time", "2024:05:01 14:30:00"});
    ASSERT_TRUE(runProgram("exiftool",
        {"-q", "-overwrite_original", "-GPSLatitude=31.2", "-GPSLatitudeRef=N", "-GPSLongitude=121.5",
            "-GPSLongitudeRef=E", dng}));
    EXPECT_EQ(markText(QStringLiteral("#JPG照片拍摄时间#"), dng), QStringLiteral("2024:05:01 14:30:00"));
    // Canon's CR3 keeps its EXIF in boxes of its own; its sensor data is not needed to read them.
    const QString cr3 = makeDng(dir.filePath("shot.cr3"), {"--cr3", "--orientation", "6"});
    const SourceMetadata cr3Tags = SourceMetadata::fromFile(cr3);
    QImage upright(64, 96, QImage::Format_RGB32);
    upright.fill(kGrey);

    const auto expectCameraTags = [](const QString &jpg, const QString &make, int choice) {
        const QString tags = exifOf(jpg,
            {"-FileType", "-Orientation", "-Make", "-DateTimeOriginal", "-LensModel", "-ExposureTime",
                "-GPSLatitude", "-DNGVersion", "-IFD0:ImageWidth", "-Rating"});
        EXPECT_TRUE(tags.contains("FileType: JPEG")) << tags.toStdString();
        EXPECT_FALSE(tags.contains("DNGVersion")) << tags.toStdString();
        const bool kept = choice != 2;
        EXPECT_EQ(tags.contains("Orientation: 1"), kept) << tags.toStdString();
        EXPECT_EQ(tags.contains("Make: " + make), kept) << tags.toStdString();
        EXPECT_EQ(tags.contains("DateTimeOriginal: 2024:05:01 14:30:00"), kept) << tags.toStdString();
        EXPECT_EQ(tags.contains("LensModel: Tuvo Test 35mm F1.8"), kept) << tags.toStdString();
        EXPECT_EQ(tags.contains("ExposureTime: 0.008"), kept) << tags.toStdString();
        EXPECT_EQ(tags.contains("GPSLatitude: 31.2"), choice == 0) << tags.toStdString();
        return tags;
    };
    const QStringList choices = {"keep", "no-location", "strip"};
    for (int choice = 0; choice < 3; ++choice) {
        SCOPED_TRACE(choices[choice].toStdString());
        const QString out = dir.filePath(choices[choice]);
        QDir().mkpath(out);
        // "original" cannot write a RAW: the camera's own JPEG stands in for it.
        const CliRun run
            = runTuvoCli({"--quiet", "-o", out, "-f", "original", "--metadata", choices[choice], dng});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString jpg = out + "/shot.jpg";
        ASSERT_TRUE(QFile::exists(jpg));
        expectCameraTags(jpg, "Tuvo", choice);
        expectUprightScene(QImage(jpg));

        QByteArray encoded = encodeJpeg(upright, 90, nullptr);
        EXPECT_TRUE(carryMetadata(encoded, cr3Tags, {choice, upright.size(), {}}).isEmpty());
        const QString fromCr3 = out + "/cr3.jpg";
        ASSERT_TRUE(writeFile(fromCr3, encoded));
        const QString tags = expectCameraTags(fromCr3, "Canon", choice);
        EXPECT_FALSE(tags.contains("ImageWidth")) << tags.toStdString(); // the sensor's, not the output's
        EXPECT_EQ(tags.contains("Rating: 4"), choice != 2) << tags.toStdString();
    }
}

TEST(RawInput, TruncatedRawIsOneErrorLineAndWritesNothing)
{
    if (const QString missing = missingTool({"python3"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QByteArray whole = readAll(makeDng(dir.filePath("whole.dng")));
    ASSERT_GT(whole.size(), 8000);
    const QString cut = dir.filePath("cut.dng");
    ASSERT_TRUE(writeFile(cut, whole.left(whole.size() / 2)));
    EXPECT_FALSE(loadPicture(cut).error.isEmpty());

    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    const CliRun run = runTuvoCli({"--quiet", "-o", out, cut});
    EXPECT_EQ(run.exitCode, 1);
    const QString said = run.out + run.err;
    const QStringList lines = said.split('\n', Qt::SkipEmptyParts).filter("cut.dng");
    ASSERT_EQ(lines.size(), 1) << said.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("图片数据不完整"))) << lines[0].toStdString();
    EXPECT_TRUE(QDir(out).isEmpty());
    EXPECT_EQ(readAll(dir.filePath("whole.dng")), whole);
}

TEST(RawInput, RawOnStandardInputIsTakenForARawNotATiff)
{
    if (const QString missing = missingTool({"python3"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString dng = makeDng(dir.filePath("shot.dng"), {"--size", "96x64", "--orientation", "6"});
    const QString streamed = dir.filePath("streamed.png");
    const CliRun run = runTuvoCli({"--quiet", "-f", "png", "-W", "64", "-o", "-", "-"},
        {.input = readAll(dng), .stdoutFile = streamed});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage out(streamed);
    EXPECT_EQ(out.size(), QSize(64, 96));
    expectUprightScene(out);
}

TEST(RawInput, FolderScanListsRawFiles)
{
    QTemporaryDir dir;
    for (const char *name : {"a.dng", "B.NEF", "c.txt", "d.cr3", "sub/e.Arw", "sub/f.rw2", "sub/g.xmp"}) {
        QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
        ASSERT_TRUE(writeFile(dir.filePath(name), "x"));
    }
    const QString p = dir.path() + '/';
    EXPECT_EQ(scanPictureFolder(dir.path(), true),
        (QStringList {p + "a.dng", p + "B.NEF", p + "d.cr3", p + "sub/e.Arw", p + "sub/f.rw2"}));
}
