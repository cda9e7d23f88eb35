// Outputs kept within iMaxBytes/iMinBytes: quality search, scaling, refusals.
#include "render/pipeline.h"
#include "run/writers.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <gtest/gtest.h>

namespace {

// Detail everywhere, so that quality and pixel count both change the size.
QString photoSource(const QString &dir)
{
    QImage picture(640, 480, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            noise = noise * 1103515245u + 12345u;
            const int grain = int((noise >> 16) % 48);
            picture.setPixel(x, y,
                qRgb(int(100 + 80 * std::sin(x / 13.0)) + grain / 2,
                    int(120 + 60 * std::cos(y / 9.0)) + grain / 3, (x * y / 40 + grain) % 256));
        }
    }
    const QString path = QDir(dir).filePath(QStringLiteral("photo.png"));
    picture.save(path);
    return path;
}

struct Case {
    const char *format;
    int sizeMode; // kLimitWidth, kOriginalSize, or -1 for the custom size 640x480
    int maxBytes; // negative: a fraction in thousandths of the size at the job's quality
    int minBytes = 0;
    int quality = 90;
};

JobSettings jobFor(const Case &c, const QString &outDir)
{
    JobSettings job;
    job.sFormat = job.sOutExt = QString::fromLatin1(c.format);
    job.iJPGQ = c.quality;
    job.sOutDir = outDir;
    chooseSizeMode(job, c.sizeMode < 0 ? job.customSizeIndex() : c.sizeMode);
    job.iTargetW = 640;
    job.iTargetH = 480;
    return job;
}

qint64 bytesAt(const JobSettings &job, const QString &source, const QImage &surface, int quality)
{
    JobSettings plain = job;
    plain.iMaxBytes = plain.iMinBytes = 0;
    plain.iJPGQ = quality;
    QStringList leftOut;
    return encodeForJob(plain, source, surface, job.sOutExt, &leftOut).bytes.size();
}

} // namespace

TEST(FileSizeLimit, WrittenFilesKeepTheirLimitsWithTheHighestQualityThatFits)
{
    QTemporaryDir dir;
    const QString source = photoSource(dir.path());
    const Case cases[] = {
        {"jpg", kLimitWidth, -400}, {"webp", kOriginalSize, -500},
        {"jpg", kLimitWidth, 6000}, // below the floor: scaled down
        {"png", kOriginalSize, 60000}, // lossless: only scaling helps
        {"jpg", kLimitWidth, 0, -1500, 50}, // iMinBytes raises the quality
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.format) + " max " + std::to_string(c.maxBytes));
        const QString outDir = QDir(dir.path()).filePath(QString::number(&c - cases));
        QDir().mkpath(outDir);
        JobSettings job = jobFor(c, outDir);
        const RenderResult render = funImgDone(job, source);
        ASSERT_TRUE(render.writable());
        const qint64 atJobQuality = bytesAt(job, source, render.surface, c.quality);
        job.iMaxBytes = c.maxBytes < 0 ? int(atJobQuality * -c.maxBytes / 1000) : c.maxBytes;
        job.iMinBytes = c.minBytes < 0 ? int(atJobQuality * -c.minBytes / 1000) : c.minBytes;

        const WriteOutcome out = writeOutput(job, source, 0, render.surface);
        ASSERT_TRUE(out.written) << out.errorLine.toStdString();
        EXPECT_EQ(out.bytes, QFileInfo(out.path).size());
        EXPECT_FALSE(out.overLimit);
        if (job.iMaxBytes > 0) {
            EXPECT_LE(out.bytes, job.iMaxBytes);
        }
        EXPECT_GE(out.bytes, job.iMinBytes);
        EXPECT_EQ(QImage(out.path).size(), out.size);
        const bool lossy = QLatin1String(c.format) != QLatin1String("png");
        EXPECT_EQ(out.quality >= 0, lossy);
        if (c.maxBytes < 0) {
            // The highest quality that fits: one step higher does not.
            EXPECT_FALSE(out.scaled);
            EXPECT_LT(out.quality, c.quality);
            EXPECT_GT(bytesAt(job, source, render.surface, out.quality + 1), job.iMaxBytes);
        } else if (c.maxBytes > 0) {
            EXPECT_TRUE(out.scaled);
            EXPECT_LT(out.size.width(), 640);
            if (lossy) {
                EXPECT_GE(out.quality, job.iMinQuality);
            }
        } else {
            EXPECT_GT(out.quality, c.quality);
            EXPECT_LT(bytesAt(job, source, render.surface, out.quality - 1), job.iMinBytes);
        }
    }

    // A fixed pixel size is never scaled: nothing is written and the line says why.
    for (const char *format : {"jpg", "png"}) {
        const QString outDir = QDir(dir.path()).filePath(QLatin1String("fixed-") + QLatin1String(format));
        QDir().mkpath(outDir);
        JobSettings job = jobFor({format, -1, 0}, outDir);
        job.iMaxBytes = 5000;
        const RenderResult render = funImgDone(job, source);
        const WriteOutcome out = writeOutput(job, source, 0, render.surface);
        EXPECT_FALSE(out.written);
        EXPECT_TRUE(out.overLimit);
        EXPECT_TRUE(out.errorLine.contains(QStringLiteral("4.9 KB"))) << out.errorLine.toStdString();
        EXPECT_TRUE(QDir(outDir).isEmpty(QDir::Files));
    }
}
