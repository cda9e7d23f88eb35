#include "job/size_presets.h"
#include "render/layout.h"

#include <gtest/gtest.h>

namespace {

JobSettings customJob(double w, double h)
{
    JobSettings job;
    chooseSizeMode(job, job.customSizeIndex());
    job.iTargetW = w;
    job.iTargetH = h;
    return job;
}

} // namespace

TEST(Layout, LimitWidthKeepsProportions)
{
    JobSettings job;
    const Layout l = ComputeLayout(1600, 1200, job.iTargetW, job.iTargetH, job);
    EXPECT_EQ(l.outputSize(), QSize(800, 600));
    EXPECT_EQ(l.roundedSource(), QRect(0, 0, 1600, 1200));
    EXPECT_EQ(l.roundedDestination(), QRect(0, 0, 800, 600));
}

TEST(Layout, NoEnlargeKeepsSmallPictures)
{
    JobSettings job;
    job.bChkResizeOpt = 1;
    EXPECT_EQ(ComputeLayout(640, 480, 800, 0, job).outputSize(), QSize(640, 480));

    JobSettings custom = customJob(800, 600);
    custom.bChkResizeOpt = 1;
    // The width alone being small is enough.
    EXPECT_EQ(ComputeLayout(700, 2000, 800, 600, custom).outputSize(), QSize(700, 2000));
    // Both larger: scaled as usual.
    EXPECT_EQ(ComputeLayout(1000, 1000, 800, 600, custom).outputSize(), QSize(800, 600));
}

TEST(Layout, CropKeepsTheChosenPart)
{
    JobSettings job = customJob(800, 600);
    job.iYCutMode = 1;
    Layout l = ComputeLayout(1000, 1000, 800, 600, job);
    EXPECT_EQ(l.outputSize(), QSize(800, 600));
    EXPECT_EQ(l.roundedSource(), QRect(0, 125, 1000, 750));

    job.iYCutMode = 0;
    EXPECT_EQ(ComputeLayout(1000, 1000, 800, 600, job).roundedSource(), QRect(0, 0, 1000, 750));
    job.iYCutMode = 2;
    EXPECT_EQ(ComputeLayout(1000, 1000, 800, 600, job).roundedSource(), QRect(0, 250, 1000, 750));

    // A wide picture loses its sides: left, middle or right.
    job.iXCutMode = 0;
    EXPECT_EQ(ComputeLayout(2000, 600, 800, 600, job).roundedSource(), QRect(0, 0, 800, 600));
    job.iXCutMode = 1;
    EXPECT_EQ(ComputeLayout(2000, 600, 800, 600, job).roundedSource(), QRect(600, 0, 800, 600));
    job.iXCutMode = 2;
    EXPECT_EQ(ComputeLayout(2000, 600, 800, 600, job).roundedSource(), QRect(1200, 0, 800, 600));
}

TEST(Layout, ExtendLeavesBands)
{
    JobSettings job = customJob(800, 600);
    job.bPicJQ = 0;
    EXPECT_EQ(ComputeLayout(1000, 1000, 800, 600, job).roundedDestination(), QRect(100, 0, 600, 600));
    // A wide picture gets bands above and below.
    EXPECT_EQ(ComputeLayout(1600, 600, 800, 600, job).roundedDestination(), QRect(0, 150, 800, 300));
}

TEST(Layout, OriginalSizeAndOffsets)
{
    JobSettings job;
    chooseSizeMode(job, kOriginalSize);
    job.sngOffsetX = 12;
    job.sngOffsetY = -7;
    const Layout l = ComputeLayout(333, 222, job.iTargetW, job.iTargetH, job);
    EXPECT_EQ(l.outputSize(), QSize(333, 222));
    EXPECT_EQ(l.roundedDestination(), QRect(12, -7, 333, 222));
}

TEST(Layout, FitFrameTakesTheFrameSize)
{
    JobSettings job;
    chooseSizeMode(job, kFitFrame);
    EXPECT_EQ(ComputeLayout(4000, 3000, job.iTargetW, job.iTargetH, job, QSize(1024, 768)).outputSize(),
        QSize(1024, 768));
}

TEST(Layout, RoundsHalfToEven)
{
    EXPECT_EQ(roundEven(0.5), 0);
    EXPECT_EQ(roundEven(1.5), 2);
    EXPECT_EQ(roundEven(2.5), 2);
    EXPECT_EQ(roundEven(-0.5), 0);
    EXPECT_EQ(roundEven(1e300), 0);
    // 800 x 1000 / 1333 = 600.15 rows
    JobSettings job;
    EXPECT_EQ(ComputeLayout(1333, 1000, 800, 0, job).outputSize(), QSize(800, 600));
}

TEST(SizePresets, ParsesTheFileFormat)
{
    const QVector<SizePreset> p = parseSizePresets(
        QByteArrayLiteral("\xEF\xBB\xBF头像;120;160\r\n\r\nwide;1920;1080;extra\nbroken\n"));
    ASSERT_EQ(p.size(), 3);
    EXPECT_EQ(p[0].name, QStringLiteral("头像"));
    EXPECT_EQ(p[0].width, QStringLiteral("120"));
    EXPECT_EQ(p[0].height, QStringLiteral("160"));
    EXPECT_EQ(p[1].height, QStringLiteral("1080;extra"));
    EXPECT_EQ(p[2].name, QStringLiteral("broken"));

    JobSettings job;
    job.SizePresets = p;
    chooseSizeMode(job, kFirstPreset);
    EXPECT_EQ(job.iTargetW, 120);
    EXPECT_EQ(job.iTargetH, 160);
    EXPECT_EQ(job.customSizeIndex(), kFirstPreset + 3);
    chooseSizeMode(job, job.customSizeIndex());
    EXPECT_EQ(job.iTargetW, 800);
    EXPECT_EQ(job.iTargetH, 600);
}

TEST(SizePresets, StopsAt501AndSurvivesAMissingFile)
{
    QByteArray many;
    for (int i = 0; i < 700; ++i)
        many += "p;1;1\n";
    EXPECT_EQ(parseSizePresets(many).size(), 501);
    EXPECT_TRUE(readSizePresets(QStringLiteral("/nonexistent/size.ini")).isEmpty());
}

// Fit-inside never crops or extends, and "no enlarging" keeps only a picture that
// fits on both sides: one that is only narrower still shrinks into the box.
TEST(Layout, FitInsideShrinksUnlessThePictureFitsAlready)
{
    JobSettings job;
    chooseSizeMode(job, job.fitInsideIndex());
    job.bChkResizeOpt = 1;
    const Layout tall = ComputeLayout(700, 2000, job.iTargetW, job.iTargetH, job);
    EXPECT_EQ(tall.outputSize(), QSize(210, 600));
    EXPECT_EQ(tall.roundedSource(), QRect(0, 0, 700, 2000));
    EXPECT_EQ(tall.roundedDestination(), QRect(0, 0, 210, 600));
    EXPECT_EQ(ComputeLayout(640, 480, job.iTargetW, job.iTargetH, job).outputSize(), QSize(640, 480));
}
