#include "decoration_pixels.h"
#include "render/pipeline.h"
#include "render/pipeline_steps.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

// An opaque red band, inside it a half-transparent white strip, then a clear middle.
QString saveBandFrame(const QString &path, QSize size, int band)
{
    QImage frame(size, QImage::Format_ARGB32);
    QPainter p(&frame);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(frame.rect(), QColor(255, 0, 0));
    p.fillRect(frame.rect().adjusted(band, band, -band, -band), QColor(255, 255, 255, 128));
    p.fillRect(frame.rect().adjusted(2 * band, 2 * band, -2 * band, -2 * band), Qt::transparent);
    p.end();
    frame.save(path, "PNG");
    return path;
}

TEST(DecorationFrame, IsStretchedOverTheWholeSurfaceWithItsAlpha)
{
    QTemporaryDir dir;
    JobSettings job;
    job.sFrameFile = saveBandFrame(dir.filePath("band.png"), QSize(100, 50), 5);
    QImage surface = surfaceOf(QSize(400, 200), Qt::black);
    RenderResult result;
    decorationStep(job, "pic.jpg", surface, result);
    // A band 5 of 100 wide is 20 pixels on a surface four times as wide.
    EXPECT_EQ(rgb(surface, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgb(surface, 10, 100), 0xFF0000u);
    EXPECT_EQ(rgb(surface, 200, 8), 0xFF0000u);
    EXPECT_NEAR(qRed(surface.pixel(30, 100)), 128, 3) << "half-transparent white over black";
    EXPECT_EQ(rgb(surface, 200, 100), 0u);

    // A frame that cannot be loaded is left out and said in an error line.
    EXPECT_TRUE(result.errorLines.isEmpty());
    job.sFrameFile = dir.filePath("missing.png");
    QImage plain = surfaceOf(QSize(40, 30), Qt::blue);
    decorationStep(job, "pic.jpg", plain, result);
    EXPECT_EQ(plain, surfaceOf(QSize(40, 30), Qt::blue));
    ASSERT_EQ(result.errorLines.size(), 1);
    EXPECT_TRUE(
        result.errorLines[0].startsWith(QStringLiteral("pic.jpg在显示图片时发生错误:(0)无法加载边框图片")));
}

TEST(DecorationFrame, FitFrameModeMakesEveryOutputTheFramesSize)
{
    QTemporaryDir dir;
    JobSettings job;
    job.sFrameFile = saveBandFrame(dir.filePath("frame.png"), QSize(1024, 768), 16);
    chooseSizeMode(job, kFitFrame);
    for (const QSize size : {QSize(300, 200), QSize(200, 900)}) {
        const RenderResult result = funImgDone(job, savePlain(dir.filePath("pic.png"), size, Qt::black));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.surface.size(), QSize(1024, 768));
        EXPECT_EQ(rgb(result.surface, 1023, 767), 0xFF0000u);
        EXPECT_EQ(rgb(result.surface, 15, 384), 0xFF0000u);
        EXPECT_NE(rgb(result.surface, 16, 384), 0xFF0000u);
    }
}

} // namespace
