#include "batch/frame_layer.h"
#include "batch/pipeline.h"
#include "batch/pipeline_steps.h"
#include "decoration_pixels.h"

#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

// A w x h frame: an opaque red band of the given width, a half-transparent
// white strip inside it, a transparent middle.
QString saveBandFrame(const QString &path, QSize size, int band)
{
    QImage frame(size, QImage::Format_ARGB32);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(frame.rect(), QColor(255, 0, 0));
    p.fillRect(frame.rect().adjusted(band, band, -band, -band), QColor(255, 255, 255, 128));
    p.fillRect(frame.rect().adjusted(2 * band, 2 * band, -2 * band, -2 * band), Qt::transparent);
    p.end();
    frame.save(path, "PNG");
    return path;
}

class DecorationFrameTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    JobSettings job;
};

TEST_F(DecorationFrameTest, FrameIsStretchedOverTheWholeSurfaceWithItsAlpha)
{
    job.sFrameFile = saveBandFrame(dir.filePath("band.png"), QSize(100, 50), 5);
    QImage surface = surfaceOf(QSize(400, 200), Qt::black);
    RenderResult result;
    decorationStep(job, "pic.jpg", surface, result);

    // Band 5 of 100 wide becomes 20 pixels on a surface four times as wide.
    EXPECT_EQ(rgb(surface, 0, 0), 0xFF0000u);
    EXPECT_EQ(rgb(surface, 399, 199), 0xFF0000u);
    EXPECT_EQ(rgb(surface, 10, 100), 0xFF0000u);
    EXPECT_EQ(rgb(surface, 200, 8), 0xFF0000u);
    // Half-transparent white over black comes out mid grey.
    const QRgb strip = surface.pixel(30, 100);
    EXPECT_NEAR(qRed(strip), 128, 3);
    EXPECT_NEAR(qBlue(strip), 128, 3);
    // The transparent middle leaves the picture alone.
    EXPECT_EQ(rgb(surface, 200, 100), 0x000000u);
    EXPECT_TRUE(result.errorLines.isEmpty());
}

TEST_F(DecorationFrameTest, NoFrameOrAnUnreadableFrameLeavesThePictureAsItIs)
{
    const QImage before = surfaceOf(QSize(64, 48), Qt::blue);
    for (const QString &frame : {QString(), QStringLiteral("无边框"), dir.filePath("missing.png")}) {
        job.sFrameFile = frame;
        QImage surface = before;
        RenderResult result;
        decorationStep(job, "pic.jpg", surface, result);
        EXPECT_EQ(surface, before) << frame.toStdString();
        EXPECT_TRUE(result.errorLines.isEmpty());
    }
}

TEST_F(DecorationFrameTest, WatermarksLieOnTopOfTheFrame)
{
    job.sFrameFile = savePlain(dir.filePath("red.png"), QSize(10, 10), Qt::red);
    job.bPicMark = 1;
    job.suISyF = savePlain(dir.filePath("green.png"), QSize(20, 20), Qt::green);
    job.iuImgPos = kTopLeft;
    job.setMarkAlpha(100);
    job.bTextMark = 1;
    job.sText = QStringLiteral("水印");
    job.iSize = 24;
    job.lColor = 255 * 65536; // blue
    job.iuTxtPos = kBottomRight;

    QImage surface = surfaceOf(QSize(200, 100));
    RenderResult result;
    decorationStep(job, "pic.jpg", surface, result);
    EXPECT_EQ(rgb(surface, 10, 10), 0x00FF00u);
    EXPECT_EQ(rgb(surface, 100, 50), 0xFF0000u);
    const QRect text = inkBox(surface.copy(result.marks.textBox.toAlignedRect()), qRgb(255, 0, 0));
    EXPECT_GT(text.width(), 10) << "the text is drawn over the red frame";
}

TEST_F(DecorationFrameTest, FitFrameModeMakesEveryOutputTheFramesSize)
{
    job.sFrameFile = saveBandFrame(dir.filePath("frame.png"), QSize(1024, 768), 16);
    chooseSizeMode(job, kFitFrame);
    for (const QSize size : {QSize(300, 200), QSize(200, 900)}) {
        const QString picture = savePlain(dir.filePath("pic.png"), size, Qt::black);
        const RenderResult result = funImgDone(job, picture);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.surface.size(), QSize(1024, 768));
        EXPECT_EQ(rgb(result.surface, 0, 0), 0xFF0000u);
        EXPECT_EQ(rgb(result.surface, 1023, 767), 0xFF0000u);
        EXPECT_EQ(rgb(result.surface, 15, 384), 0xFF0000u);
        EXPECT_NE(rgb(result.surface, 16, 384), 0xFF0000u);
    }
}

} // namespace
