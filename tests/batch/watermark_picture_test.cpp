#include "decoration_pixels.h"
#include "render/mark_position.h"
#include "render/pipeline_steps.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace decoration;

namespace {

class PictureMarkTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    JobSettings job;
    RenderResult result;

    void SetUp() override
    {
        job.bPicMark = 1;
        job.suISyF = savePlain(dir.filePath("mark.png"), QSize(100, 50), Qt::green);
        job.setMarkAlpha(100);
    }

    // The surface after decoration, on a background of one colour.
    QImage decorate(QSize size, QColor background = Qt::white)
    {
        QImage surface = surfaceOf(size, background);
        result = RenderResult();
        decorationStep(job, dir.filePath("photo.jpg"), surface, result);
        return surface;
    }
    QRect markBox(QSize size) { return differences(decorate(size), surfaceOf(size)); }
};

TEST_F(PictureMarkTest, BottomRightLandsFivePixelsInAndCustomKeepsThePlace)
{
    job.iuImgPos = kBottomRight;
    EXPECT_EQ(markBox(QSize(800, 600)), QRect(695, 545, 100, 50));
    EXPECT_DOUBLE_EQ(result.marks.iuISyX, 0.93125);
    EXPECT_DOUBLE_EQ(result.marks.iuISyY, 0.95);
    EXPECT_EQ(result.marks.sngMarkW, 100.0f);

    keepMarkPlacement(job, result.marks);
    job.iuImgPos = kCustom;
    EXPECT_EQ(markBox(QSize(800, 600)), QRect(695, 545, 100, 50));
    // The custom centre is a fraction of every picture size.
    EXPECT_EQ(markBox(QSize(1600, 1000)), QRect(1440, 925, 100, 50));

    job.iuImgPos = kCentre;
    EXPECT_EQ(markBox(QSize(333, 201)), QRect(116, 76, 100, 50));
    EXPECT_DOUBLE_EQ(result.marks.iuISyX, 0.5);
    EXPECT_DOUBLE_EQ(result.marks.iuISyY, 0.5);
}

TEST_F(PictureMarkTest, SliderScalesTheDrawnSize)
{
    job.iuImgPos = kTopLeft;
    job.sngMarkScale = JobSettings::markScaleForSlider(10);
    EXPECT_EQ(markBox(QSize(800, 600)), QRect(5, 5, 200, 100));
    job.sngMarkScale = JobSettings::markScaleForSlider(11);
    EXPECT_EQ(markBox(QSize(800, 600)), QRect(5, 5, 320, 160));
    EXPECT_FLOAT_EQ(result.marks.sngMarkH, 160);
    job.sngMarkScale = JobSettings::markScaleForSlider(-20);
    EXPECT_TRUE(markBox(QSize(800, 600)).isEmpty()) << "scale 0: the watermark disappears";
    EXPECT_TRUE(result.errorLines.isEmpty());
}

TEST_F(PictureMarkTest, OpacityMultipliesThePicturesOwnAlpha)
{
    job.iuImgPos = kTopLeft;
    EXPECT_EQ(rgb(decorate(QSize(200, 100), Qt::black), 40, 20), 0x00FF00u) << "100 hides what is below";
    job.setMarkAlpha(0);
    EXPECT_EQ(decorate(QSize(200, 100), Qt::black), surfaceOf(QSize(200, 100), Qt::black))
        << "0 shows nothing";
    job.setMarkAlpha(50);
    EXPECT_NEAR(qGreen(decorate(QSize(200, 100), Qt::black).pixel(40, 20)), 128, 3);
    // A half-transparent watermark picture at opacity 50: a quarter of its colour.
    job.suISyF = savePlain(dir.filePath("half.png"), QSize(100, 50), QColor(0, 255, 0, 128));
    EXPECT_NEAR(qGreen(decorate(QSize(200, 100), Qt::black).pixel(40, 20)), 64, 3);
}

TEST_F(PictureMarkTest, UnreadableWatermarkGivesAnErrorLineAndTheTextIsStillDrawn)
{
    job.suISyF = dir.filePath("gone.png");
    job.bTextMark = 1;
    job.sText = QStringLiteral("Tuvo");
    const QRect ink = markBox(QSize(300, 200));
    ASSERT_EQ(result.errorLines.size(), 1);
    EXPECT_TRUE(
        result.errorLines[0].startsWith(dir.filePath("photo.jpg") + "在添加图片水印时发生错误:(错误代码:"));
    EXPECT_TRUE(result.errorLines[0].endsWith("。\r\n"));
    EXPECT_FALSE(result.marks.pictureDrawn);
    EXPECT_FALSE(ink.isEmpty());
}

} // namespace
