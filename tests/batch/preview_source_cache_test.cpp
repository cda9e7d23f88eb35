#include "render/pipeline.h"
#include "render/preview_source_cache.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString saveGradient(const QString &path, QSize size, int shift = 0)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x + shift) % 256, y % 256, (x * y + shift) % 256));
    EXPECT_TRUE(image.save(path, nullptr, 95));
    return path;
}

void touchLater(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(
        file.fileTime(QFileDevice::FileModificationTime).addSecs(5), QFileDevice::FileModificationTime);
}

} // namespace

TEST(PreviewSourceCache, ReusesTheDecodeWhileItCoversTheRequest)
{
    QTemporaryDir dir;
    const QString jpg = saveGradient(dir.filePath(QStringLiteral("a.jpg")), QSize(1600, 1200));
    PreviewSourceCache cache;
    QString error;
    EXPECT_EQ(cache.probe(jpg, &error), QSize(1600, 1200));

    const LoadedPicture first = cache.load(jpg, QSize(800, 600));
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.image.size(), QSize(800, 600)); // decoded at half size
    const LoadedPicture again = cache.load(jpg, QSize(700, 500));
    EXPECT_EQ(again.image, first.image);
    EXPECT_EQ(cache.decodeCount(), 1);

    // Wider output: the small decode no longer covers it.
    const LoadedPicture bigger = cache.load(jpg, QSize(1300, 975));
    EXPECT_EQ(bigger.image.size(), QSize(1400, 1050)); // 7/8
    EXPECT_EQ(cache.decodeCount(), 2);
    // Both stay; the smallest one that covers is used.
    EXPECT_EQ(cache.load(jpg, QSize(800, 600)).image.size(), QSize(800, 600));
    EXPECT_EQ(cache.decodeCount(), 2);
}

TEST(PreviewSourceCache, MuchSmallerRequestsDecodeAJpegAgainButNotAPng)
{
    QTemporaryDir dir;
    const QString jpg = saveGradient(dir.filePath(QStringLiteral("a.jpg")), QSize(1600, 1200));
    const QString png = saveGradient(dir.filePath(QStringLiteral("a.png")), QSize(400, 300));
    PreviewSourceCache cache;
    cache.load(jpg, QSize()); // whole picture
    EXPECT_EQ(cache.load(jpg, QSize(200, 150)).image.size(), QSize(200, 150));
    EXPECT_EQ(cache.decodeCount(), 2);

    cache.load(png, QSize());
    EXPECT_EQ(cache.load(png, QSize(50, 40)).image.size(), QSize(400, 300));
    EXPECT_EQ(cache.decodeCount(), 3);
}

TEST(PreviewSourceCache, ChangedFileIsDecodedAgain)
{
    QTemporaryDir dir;
    const QString path = saveGradient(dir.filePath(QStringLiteral("a.png")), QSize(64, 48));
    PreviewSourceCache cache;
    const QImage before = cache.load(path, QSize()).image;
    saveGradient(path, QSize(80, 60), 100);
    touchLater(path);
    QString error;
    EXPECT_EQ(cache.probe(path, &error), QSize(80, 60));
    const QImage after = cache.load(path, QSize()).image;
    EXPECT_EQ(after.size(), QSize(80, 60));
    EXPECT_EQ(cache.decodeCount(), 2);
    EXPECT_EQ(cache.entryCount(), 1); // the old decode is gone

    QFile::remove(path);
    EXPECT_FALSE(cache.load(path, QSize()).ok());
    EXPECT_FALSE(cache.probe(path, &error).isValid());
    EXPECT_FALSE(error.isEmpty());
}

TEST(PreviewSourceCache, BudgetKeepsTheNewestPictures)
{
    QTemporaryDir dir;
    // 100 x 100 RGB32 = 40000 bytes each; room for two.
    PreviewSourceCache cache(90000);
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << saveGradient(dir.filePath(QStringLiteral("p%1.png").arg(i)), QSize(100, 100), i);
    for (const QString &p : paths)
        cache.load(p, QSize());
    EXPECT_EQ(cache.entryCount(), 2);
    EXPECT_LE(cache.bytesHeld(), 90000);
    cache.load(paths[2], QSize());
    cache.load(paths[1], QSize());
    EXPECT_EQ(cache.decodeCount(), 3);
    cache.load(paths[0], QSize()); // was dropped
    EXPECT_EQ(cache.decodeCount(), 4);

    // A picture larger than the whole budget is still kept while it is the newest.
    PreviewSourceCache tiny(10);
    tiny.load(paths[0], QSize());
    EXPECT_EQ(tiny.entryCount(), 1);
    cache.forget(paths[0]);
    cache.clear();
    EXPECT_EQ(cache.entryCount(), 0);
}

TEST(PreviewSourceCache, PipelineThroughTheCacheDrawsTheSamePixels)
{
    QTemporaryDir dir;
    const QString jpg = saveGradient(dir.filePath(QStringLiteral("a.jpg")), QSize(1200, 900));
    JobSettings job;
    job.iTargetW = 500;
    job.bTextMark = 0;
    PreviewSourceCache cache;
    const RenderResult direct = funImgDone(job, jpg);
    const RenderResult first = funImgDone(job, jpg, &cache);
    job.sngColorMatrix[0][0] = 0.5f; // a setting change redraws from the cached source
    const RenderResult changed = funImgDone(job, jpg, &cache);
    ASSERT_TRUE(direct.ok() && first.ok() && changed.ok());
    EXPECT_EQ(first.surface, direct.surface);
    EXPECT_NE(changed.surface, direct.surface);
    EXPECT_EQ(cache.decodeCount(), 1);
}
