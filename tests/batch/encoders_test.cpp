#include "imaging/encoders.h"
#include "imaging/picture_loader.h"
#include "run/writers.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A picture with structure in every channel, so codecs have real work to do.
QImage testPicture(int w = 320, int h = 200)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, ((x ^ y) * 7) & 255));
    return img;
}

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

} // namespace

TEST(Encoders, JpegQualityChangesSizeAndBothDecode)
{
    QString error;
    const QByteArray q0 = encodeJpeg(testPicture(), 0, &error);
    const QByteArray q100 = encodeJpeg(testPicture(), 100, &error);
    ASSERT_FALSE(q0.isEmpty());
    ASSERT_FALSE(q100.isEmpty());
    EXPECT_GT(q100.size(), 4 * q0.size());
    EXPECT_FALSE(QImage::fromData(q0, "JPG").isNull());
    EXPECT_EQ(QImage::fromData(q100, "JPG").size(), QSize(320, 200));
}

TEST(Encoders, TiffIs24BitUncompressed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.tiff"));
    QString error;
    ASSERT_TRUE(SavePictureEncoded(testPicture(321, 7), path, QStringLiteral("TIFF"), 100, &error))
        << error.toStdString();
    const QString info = run(QStringLiteral("tiffinfo"), {path});
    EXPECT_TRUE(info.contains(QLatin1String("Bits/Sample: 8"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("Samples/Pixel: 3"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("Compression Scheme: None"))) << info.toStdString();
    EXPECT_FALSE(info.contains(QLatin1String("Warning")));
    const QImage back(path);
    ASSERT_EQ(back.size(), QSize(321, 7));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), testPicture(321, 7));
}

TEST(Encoders, BmpIsExact24BitBottomUp)
{
    const QImage pic = testPicture(5, 3);
    const QByteArray bmp = encodeBmp24(pic);
    ASSERT_EQ(bmp.size(), 54 + 16 * 3); // 5 pixels: 15 bytes + 1 padding
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(quint8(bmp[28]), 24);
    // First stored pixel is the bottom-left one, blue first.
    const QRgb bl = pic.pixel(0, 2);
    EXPECT_EQ(quint8(bmp[54]), qBlue(bl));
    EXPECT_EQ(quint8(bmp[55]), qGreen(bl));
    EXPECT_EQ(quint8(bmp[56]), qRed(bl));
    EXPECT_EQ(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32), pic);
}

TEST(Encoders, GifReadsBackWithCloseColours)
{
    QString error;
    const QByteArray gif = encodeGif(testPicture(), &error);
    ASSERT_FALSE(gif.isEmpty()) << error.toStdString();
    const QImage back = QImage::fromData(gif, "GIF").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), QSize(320, 200));
    const QRgb a = back.pixel(160, 100), b = testPicture().pixel(160, 100);
    EXPECT_LT(qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)), 60);
}

TEST(Encoders, PngAndUnknownExtensions)
{
    QString error;
    const QByteArray png = encodePicture(testPicture(), QStringLiteral("png"), 100, &error);
    EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), testPicture());
    EXPECT_TRUE(encodePicture(testPicture(), QStringLiteral("xyz"), 100, &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(hasEncoderFor(QStringLiteral("xyz")));
}

TEST(Writers, FailedWriteKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.jpg"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous good file");
    old.close();
    QString error;
    // An encoder failure must not touch what is there.
    EXPECT_FALSE(SavePictureEncoded(testPicture(), path, QStringLiteral("nope"), 90, &error));
    QFile check(path);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("previous good file"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no temporary left behind
}

TEST(Writers, NeverOverwriteASourcePicture)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(testPicture().save(source, "JPG"));
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    JobSettings job;
    job.sOutDir = dir.path();
    job.sFormat = QStringLiteral("原格式");
    const WriteOutcome out = writeOutput(job, source, 0, testPicture(10, 10), protectedFilesFor({source}));
    EXPECT_FALSE(out.written);
    EXPECT_TRUE(out.errorLine.startsWith(source + QStringLiteral("在保存时发生错误:")));
    EXPECT_TRUE(out.errorLine.endsWith(QLatin1String(".\r\n")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST(Writers, MissingOutputFolderIsAnErrorLine)
{
    JobSettings job;
    job.sOutDir = QStringLiteral("/nonexistent/tuvo-out");
    for (const char *format : {"jpg", "bmp"}) {
        job.sFormat = job.sOutExt = QString::fromLatin1(format);
        const WriteOutcome out = writeOutput(job, QStringLiteral("/p/a.jpg"), 0, testPicture(4, 4));
        EXPECT_FALSE(out.written) << format;
        EXPECT_TRUE(out.errorLine.contains(QStringLiteral("在保存时发生错误:"))) << format;
    }
}

TEST(Loader, DctScalingNeverGoesBelowTheNeed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.jpg"));
    ASSERT_TRUE(testPicture(1600, 1200).save(path, "JPG", 90));
    const LoadedPicture full = loadPicture(path);
    EXPECT_EQ(full.image.size(), QSize(1600, 1200));
    const LoadedPicture small = loadPicture(path, QSize(390, 290));
    EXPECT_EQ(small.originalSize, QSize(1600, 1200));
    EXPECT_EQ(small.image.size(), QSize(400, 300)); // 1/4 covers 390 x 290; 1/8 would not
    const LoadedPicture tiny = loadPicture(path, QSize(100, 100));
    EXPECT_EQ(tiny.image.size(), QSize(200, 150));
}

TEST(Loader, BrokenFilesGiveClearReasons)
{
    QTemporaryDir dir;
    const auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QByteArray jpeg = encodeJpeg(testPicture(), 90, nullptr);
    const QString truncated = write("cut.jpg", jpeg.left(jpeg.size() / 2));
    const QString empty = write("empty.jpg", QByteArray());
    const QString text = write("text.png", "this is not a picture");

    for (const QString &p : {truncated, empty, text, dir.filePath(QStringLiteral("missing.jpg"))}) {
        const LoadedPicture pic = loadPicture(p);
        EXPECT_FALSE(pic.ok()) << p.toStdString();
        EXPECT_FALSE(pic.error.isEmpty()) << p.toStdString();
    }
    EXPECT_EQ(loadPicture(empty).error, QStringLiteral("文件是空的"));
    EXPECT_EQ(loadPicture(dir.filePath(QStringLiteral("missing.jpg"))).error, QStringLiteral("文件不存在"));
}

#include <csignal>
#include <sys/resource.h>

TEST(Writers, FullDiskLeavesTheOldFileAndNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.jpg"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    // A file-size limit makes writes fail the way a full disk does.
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    QString error;
    const bool ok = writeFileAtomically(path, QByteArray(50000, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {"out.jpg"});
}
