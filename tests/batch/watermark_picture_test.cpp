#include "batch/mark_position.h"
#include "batch/picture_watermark.h"
#include "batch/pipeline_steps.h"
#include "decoration_pixels.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

class PictureMarkTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    JobSettings job;

    void SetUp() override
    {
        job.bPicMark = 1;
        job.suISyF = savePlain(dir.filePath("mark.png"), QSize(100, 50), Qt::green);
        job.setMarkAlpha(100);
    }

    RenderResult decorate(QImage &surface)
    {
        RenderResult result;
        decorationStep(job, dir.filePath("photo.jpg"), surface, result);
        return result;
    }
};

TEST_F(PictureMarkTest, BottomRightLandsFivePixelsFromTheCornerAndCustomKeepsThePlace)
{
    job.iuImgPos = kBottomRight;
    QImage surface = surfaceOf(QSize(800, 600));
    const RenderResult result = decorate(surface);
    EXPECT_EQ(inkBox(surface, qRgb(255, 255, 255)), QRect(695, 545, 100, 50));
    EXPECT_DOUBLE_EQ(result.marks.iuISyX, 0.93125);
    EXPECT_DOUBLE_EQ(result.marks.iuISyY, 0.95);
    EXPECT_EQ(result.marks.sngMarkW, 100.0f);
    EXPECT_EQ(result.marks.sngMarkH, 50.0f);

    keepMarkPlacement(job, result.marks);
    job.iuImgPos = kCustom;
    QImage again = surfaceOf(QSize(800, 600));
    decorate(again);
    EXPECT_EQ(again, surface);
}

TEST_F(PictureMarkTest, PresetsPlaceTheBoxAndRecordItsCentre)
{
    struct Case {
        int position;
        QPointF corner;
    } cases[] = {{kBottomRight, {695, 545}}, {kBottomLeft, {5, 545}}, {kTopLeft, {5, 5}},
        {kTopRight, {695, 5}}, {kCentre, {350, 275}}};
    for (const Case &c : cases) {
        job.iuImgPos = c.position;
        MarkPlacement marks;
        const QRectF box = placePictureMark(job, QSize(800, 600), QSize(100, 50), marks);
        EXPECT_EQ(box.topLeft(), c.corner) << c.position;
        EXPECT_DOUBLE_EQ(marks.iuISyX, (c.corner.x() + 50) / 800) << c.position;
        EXPECT_DOUBLE_EQ(marks.iuISyY, (c.corner.y() + 25) / 600) << c.position;
    }
    job.iuImgPos = kCentre;
    MarkPlacement marks;
    placePictureMark(job, QSize(333, 777), QSize(17, 9), marks);
    EXPECT_DOUBLE_EQ(marks.iuISyX, 0.5);
    EXPECT_DOUBLE_EQ(marks.iuISyY, 0.5);
}

TEST_F(PictureMarkTest, CustomCentreIsAFractionOfEverySurface)
{
    job.iuImgPos = kCustom;
    job.iuISyX = 0.25;
    job.iuISyY = 0.5;
    QImage small = surfaceOf(QSize(400, 300));
    decorate(small);
    EXPECT_EQ(inkBox(small, qRgb(255, 255, 255)), QRect(50, 125, 100, 50));
    QImage large = surfaceOf(QSize(1600, 1000));
    decorate(large);
    EXPECT_EQ(inkBox(large, qRgb(255, 255, 255)), QRect(350, 475, 100, 50));
}

TEST_F(PictureMarkTest, SliderScalesTheDrawnSize)
{
    job.iuImgPos = kTopLeft;
    job.sngMarkScale = JobSettings::markScaleForSlider(10);
    QImage surface = surfaceOf(QSize(800, 600));
    RenderResult result = decorate(surface);
    EXPECT_EQ(inkBox(surface, qRgb(255, 255, 255)), QRect(5, 5, 200, 100));
    EXPECT_FLOAT_EQ(result.marks.sngMarkW, 200);

    job.sngMarkScale = JobSettings::markScaleForSlider(11);
    surface = surfaceOf(QSize(800, 600));
    result = decorate(surface);
    EXPECT_EQ(inkBox(surface, qRgb(255, 255, 255)), QRect(5, 5, 320, 160));

    job.sngMarkScale = JobSettings::markScaleForSlider(-20);
    surface = surfaceOf(QSize(800, 600));
    result = decorate(surface);
    EXPECT_TRUE(inkBox(surface, qRgb(255, 255, 255)).isEmpty()) << "scale 0: the watermark disappears";
    EXPECT_TRUE(result.errorLines.isEmpty());
}

TEST_F(PictureMarkTest, OpacityMultipliesThePicturesOwnAlpha)
{
    job.iuImgPos = kTopLeft;
    const QPoint inside(40, 20);

    QImage surface = surfaceOf(QSize(200, 100), Qt::black);
    decorate(surface);
    EXPECT_EQ(rgb(surface, inside.x(), inside.y()), 0x00FF00u) << "opacity 100 hides what is below";

    job.setMarkAlpha(0);
    surface = surfaceOf(QSize(200, 100), Qt::black);
    decorate(surface);
    EXPECT_EQ(surface, surfaceOf(QSize(200, 100), Qt::black)) << "opacity 0 shows nothing";

    job.setMarkAlpha(50);
    surface = surfaceOf(QSize(200, 100), Qt::black);
    decorate(surface);
    EXPECT_NEAR(qGreen(surface.pixel(inside)), 128, 3);

    // A half-transparent watermark picture at opacity 50: a quarter of its colour.
    job.suISyF = savePlain(dir.filePath("half.png"), QSize(100, 50), QColor(0, 255, 0, 128));
    surface = surfaceOf(QSize(200, 100), Qt::black);
    decorate(surface);
    EXPECT_NEAR(qGreen(surface.pixel(inside)), 64, 3);
    EXPECT_EQ(qRed(surface.pixel(inside)), 0);
}

TEST_F(PictureMarkTest, UnreadableWatermarkGivesAnErrorLineAndTheRestIsDrawn)
{
    job.suISyF = dir.filePath("gone.png");
    job.bTextMark = 1;
    job.sText = QStringLiteral("Tuvo");
    job.iSize = 20;
    QImage surface = surfaceOf(QSize(300, 200));
    const RenderResult result = decorate(surface);
    ASSERT_EQ(result.errorLines.size(), 1);
    EXPECT_TRUE(
        result.errorLines[0].startsWith(dir.filePath("photo.jpg") + "在添加图片水印时发生错误:(错误代码:"));
    EXPECT_TRUE(result.errorLines[0].endsWith("。\r\n"));
    EXPECT_FALSE(result.marks.pictureDrawn);
    EXPECT_TRUE(result.marks.textDrawn);
    EXPECT_FALSE(inkBox(surface, qRgb(255, 255, 255)).isEmpty());
}

TEST_F(PictureMarkTest, UncheckedBoxOrEmptyPathDrawsNothing)
{
    const QImage blank = surfaceOf(QSize(200, 100));
    job.bPicMark = 0;
    QImage surface = blank;
    decorate(surface);
    EXPECT_EQ(surface, blank);
    job.bPicMark = 1;
    job.suISyF.clear();
    decorate(surface);
    EXPECT_EQ(surface, blank);
}

} // namespace
