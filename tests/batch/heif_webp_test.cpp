// HEIC/AVIF pictures in, WebP/AVIF out. Inputs are made here with heif-enc and
// compared with heif-convert; outputs are read back with webpinfo and heif-info.
#include "imaging/picture_limits.h"
#include "imaging/picture_loader.h"
#include "render/pipeline.h"
#include "run/writers.h"
#include "support/external_tools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <gtest/gtest.h>

namespace {

// A photo-like picture: soft plasma (colour changing over a few pixels, as in a
// camera picture scaled down) and a hard line.
QString photo(const QString &path, const QString &size = QStringLiteral("640x480"))
{
    runProgram("convert",
        {"-size", size, "-seed", "7", "plasma:fractal", "-blur", "0x2", "-stroke", "white", "-draw",
            "line 10,10 600,400", "-quality", "95", path});
    return path;
}

QString processed(
    JobSettings job, const QString &source, const QString &outDir, QStringList *errors = nullptr)
{
    QDir().mkpath(outDir);
    job.sOutDir = outDir;
    const RenderResult rendered = funImgDone(job, source);
    if (errors)
        *errors << rendered.errorLines;
    if (!rendered.ok())
        return {};
    const WriteOutcome written = writeOutput(job, source, 0, rendered.surface);
    if (errors && !written.written)
        *errors << written.errorLine;
    return written.written ? written.path : QString();
}

JobSettings jobFor(const QString &format, int quality = 90)
{
    JobSettings job;
    job.sFormat = job.sOutExt = format;
    job.iJPGQ = quality;
    return job;
}

double psnr(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 0;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                sum += double(d) * d;
        }
    }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

// Adds an irot property (angle x 90 degrees anticlockwise) to the primary item of a
// HEIF file, as phones store a portrait; heif-enc here cannot write one. The meta box
// grows, so the absolute offsets iloc holds past it move along.
QByteArray withRotation(QByteArray file, int angle)
{
    const auto number = [&file](qsizetype at, int bytes) {
        quint64 v = 0;
        for (int k = 0; k < bytes; ++k)
            v = v << 8 | uchar(file[at + k]);
        return v;
    };
    const auto put = [&file](qsizetype at, int bytes, quint64 v) {
        for (int k = bytes - 1; k >= 0; --k, v >>= 8)
            file[at + k] = char(v & 0xff);
    };
    const auto child = [&](qsizetype from, qsizetype to, const char *type) -> qsizetype {
        for (qsizetype at = from; at + 8 <= to; at += qsizetype(number(at, 4))) {
            if (file.mid(at + 4, 4) == type)
                return at;
        }
        return -1;
    };
    const qsizetype meta = child(0, file.size(), "meta");
    const qsizetype metaEnd = meta + qsizetype(number(meta, 4));
    const qsizetype iprp = child(meta + 12, metaEnd, "iprp");
    const qsizetype ipco = child(iprp + 8, iprp + qsizetype(number(iprp, 4)), "ipco");
    const qsizetype ipma = child(iprp + 8, iprp + qsizetype(number(iprp, 4)), "ipma");
    const quint64 primary = number(child(meta + 12, metaEnd, "pitm") + 12, 2);
    if (meta < 0 || ipco < 0 || ipma < ipco)
        return {};
    int properties = 0;
    for (qsizetype at = ipco + 8; at < ipco + qsizetype(number(ipco, 4)); at += qsizetype(number(at, 4)))
        ++properties;
    // The primary item's association list gains the new property, marked essential.
    const int idBytes = file[ipma + 8] < 1 ? 2 : 4;
    const int associationBytes = (file[ipma + 11] & 1) ? 2 : 1;
    qsizetype at = ipma + 16;
    for (quint64 e = number(ipma + 12, 4); e > 0; --e) {
        const quint64 id = number(at, idBytes);
        const int n = uchar(file[at + idBytes]);
        at += idBytes + 1 + n * associationBytes;
        if (id == primary) {
            file[at - 1 - n * associationBytes] = char(n + 1);
            file.insert(at,
                associationBytes == 1 ? QByteArray(1, char(0x80 | (properties + 1)))
                                      : QByteArray::fromHex("80") + char(properties + 1));
            at += associationBytes;
        }
    }
    const qsizetype ipcoEnd = ipco + qsizetype(number(ipco, 4));
    file.insert(ipcoEnd, QByteArray::fromHex("00000009") + "irot" + char(angle & 3));
    const int grown = 9 + associationBytes;
    put(ipco, 4, number(ipco, 4) + 9);
    put(ipma + 9, 4, number(ipma + 9, 4) + associationBytes);
    put(iprp, 4, number(iprp, 4) + grown);
    put(meta, 4, number(meta, 4) + grown);
    // iloc: construction method 0 keeps absolute offsets into the file.
    const qsizetype iloc = child(meta + 12, meta + qsizetype(number(meta, 4)), "iloc");
    const int version = file[iloc + 8];
    const int offsetBytes = uchar(file[iloc + 12]) >> 4, lengthBytes = uchar(file[iloc + 12]) & 15;
    const int baseBytes = uchar(file[iloc + 13]) >> 4;
    const int indexBytes = version >= 1 ? uchar(file[iloc + 13]) & 15 : 0;
    at = iloc + 14;
    quint64 items = number(at, version < 2 ? 2 : 4);
    at += version < 2 ? 2 : 4;
    for (; items > 0; --items) {
        at += version < 2 ? 2 : 4;
        const int method = version >= 1 ? int(number(at, 2) & 15) : 0;
        at += (version >= 1 ? 2 : 0) + 2;
        const quint64 base = number(at, baseBytes);
        if (method == 0 && baseBytes > 0 && base >= quint64(metaEnd))
            put(at, baseBytes, base + grown);
        at += baseBytes;
        const quint64 extents = number(at, 2);
        at += 2;
        for (quint64 k = 0; k < extents; ++k) {
            at += indexBytes;
            const quint64 offset = number(at, offsetBytes);
            if (method == 0 && base == 0 && offset >= quint64(metaEnd))
                put(at, offsetBytes, offset + grown);
            at += offsetBytes + lengthBytes;
        }
    }
    return file;
}

} // namespace

TEST(HeifInput, HeicAndAvifDecodeAsHeifConvertDoesKeepTheirProfileAndBadFilesAreOneErrorLine)
{
    if (const QString missing = missingTool({"convert", "exiftool", "heif-enc", "heif-convert"});
        !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString jpeg = photo(dir.filePath("photo.jpg"));
    ASSERT_TRUE(
        runProgram("exiftool", {"-q", "-overwrite_original", "-Make=Apple", "-Orientation#=6", jpeg}));
    for (const QString name : {"phone.heic", "web.AVIF"}) {
        const QString heif = dir.filePath(name);
        ASSERT_TRUE(runProgram("heif-enc", {"-q", "90", jpeg, "-o", heif})) << name.toStdString();
        const QString reference = dir.filePath(name + ".png");
        ASSERT_TRUE(runProgram("heif-convert", {heif, reference}));
        JobSettings job = jobFor("png");
        chooseSizeMode(job, kOriginalSize);
        const QString out = processed(job, heif, dir.filePath("out"));
        ASSERT_FALSE(out.isEmpty()) << name.toStdString();
        const QImage written(out), expected(reference);
        EXPECT_EQ(written.size(), expected.size()) << name.toStdString();
        EXPECT_GT(psnr(written, expected.convertToFormat(QImage::Format_RGB32)), 45) << name.toStdString();
        // The HEIF transforms are the orientation: the EXIF tag no longer turns it.
        QByteArray tags;
        runProgram("exiftool", {"-s3", "-n", "-Make", "-Orientation", out}, &tags);
        EXPECT_EQ(tags.simplified(), "Apple 1") << name.toStdString();
    }

    // A portrait as phones store it: the picture sideways with an irot transform.
    QFile phone(dir.filePath("phone.heic"));
    ASSERT_TRUE(phone.open(QIODevice::ReadOnly));
    const QString turned = dir.filePath("turned.heic");
    QFile turnedFile(turned);
    ASSERT_TRUE(turnedFile.open(QIODevice::WriteOnly));
    turnedFile.write(withRotation(phone.readAll(), 1));
    turnedFile.close();
    ASSERT_TRUE(runProgram("heif-convert", {turned, turned + ".png"}));
    JobSettings original = jobFor("png");
    chooseSizeMode(original, kOriginalSize);
    const QImage upright(processed(original, turned, dir.filePath("turned")));
    const QImage reference(turned + ".png");
    EXPECT_EQ(upright.size(), reference.size());
    EXPECT_EQ(upright.size(), QImage(dir.filePath("out/phone.png")).size().transposed());
    EXPECT_GT(psnr(upright, reference.convertToFormat(QImage::Format_RGB32)), 45);

    // A truncated file and one declaring an enormous picture: one error line each.
    QFile whole(dir.filePath("phone.heic"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QByteArray huge = bytes;
    const qsizetype ispe = huge.indexOf("ispe");
    ASSERT_GT(ispe, 0);
    huge.replace(ispe + 8, 8, QByteArray::fromHex("0000fff00000fff0"));
    QByteArray brokenBox = bytes;
    brokenBox.replace(brokenBox.indexOf("meta") - 4, 4, QByteArray::fromHex("7ffffff0"));
    setPictureMemoryLimit(kDefaultPictureMemoryLimit);
    for (const auto &[name, content] : {std::pair("truncated.heic", bytes.left(bytes.size() / 2)),
             std::pair("huge.heic", huge), std::pair("broken.heic", brokenBox)}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        QStringList errors;
        EXPECT_TRUE(processed(jobFor("jpg"), f.fileName(), dir.filePath("bad"), &errors).isEmpty()) << name;
        EXPECT_EQ(errors.size(), 1) << name;
    }

    // A HEIC's ICC profile reaches the output, byte for byte.
    const QString a98 = QStringLiteral("/usr/share/color/icc/ghostscript/a98.icc");
    if (!QFile::exists(a98))
        GTEST_SKIP()
            << "libgs10-common (Adobe RGB profile) is not installed: the HEIC profile case did not run";
    const QString tagged = photo(dir.filePath("tagged.jpg"));
    ASSERT_TRUE(runProgram("exiftool", {"-q", "-overwrite_original", "-ICC_Profile<=" + a98, tagged}));
    const QString heic = dir.filePath("tagged.heic");
    ASSERT_TRUE(runProgram("heif-enc", {"-q", "80", tagged, "-o", heic}));
    const QString out = processed(jobFor("jpg"), heic, dir.filePath("icc"));
    QByteArray kept, source;
    runProgram("exiftool", {"-b", "-ICC_Profile", out}, &kept);
    runProgram("exiftool", {"-b", "-ICC_Profile", tagged}, &source);
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_EQ(kept, source);
}

TEST(ModernOutput, WebpAndAvifAreReadableFaithfulAndFollowTheQuality)
{
    if (const QString missing = missingTool({"convert", "webpinfo", "heif-info"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    const QString source = photo(dir.filePath("photo.jpg"), "1600x1200");
    const QImage png(processed(jobFor("png"), source, dir.filePath("png")));
    ASSERT_EQ(png.size(), QSize(800, 600));
    for (const QString format : {"webp", "avif"}) {
        const QString q90 = processed(jobFor(format, 90), source, dir.filePath(format + "90"));
        const QString q20 = processed(jobFor(format, 20), source, dir.filePath(format + "20"));
        ASSERT_FALSE(q90.isEmpty() || q20.isEmpty()) << format.toStdString();
        QByteArray info;
        EXPECT_TRUE(runProgram(format == "webp" ? "webpinfo" : "heif-info", {q90}, &info))
            << info.toStdString();
        EXPECT_TRUE(format == "webp" ? info.contains("Width: 800") && info.contains("Height: 600")
                                     : info.contains("800x600"))
            << info.toStdString();
        const LoadedPicture decoded = loadPicture(q90);
        ASSERT_TRUE(decoded.ok()) << decoded.error.toStdString();
        EXPECT_GT(psnr(decoded.image.convertToFormat(QImage::Format_RGB32), png), 40) << format.toStdString();
        EXPECT_LT(QFileInfo(q20).size() * 2, QFileInfo(q90).size()) << format.toStdString();
    }

    // HEIF viewers take no orientation from EXIF: an AVIF of a portrait is upright,
    // and the width limit applies to the portrait as it is shown.
    if (!missingTool({"exiftool"}).isEmpty())
        GTEST_SKIP() << "exiftool is not installed: the portrait case did not run";
    ASSERT_TRUE(runProgram("exiftool", {"-q", "-overwrite_original", "-Orientation#=6", source}));
    const QString portrait = processed(jobFor("avif"), source, dir.filePath("portrait"));
    QByteArray info, orientation;
    EXPECT_TRUE(runProgram("heif-info", {portrait}, &info));
    EXPECT_TRUE(info.contains("800x1067")) << info.toStdString();
    runProgram("exiftool", {"-s3", "-n", "-Orientation", portrait}, &orientation);
    EXPECT_EQ(orientation.trimmed(), "1");
}
