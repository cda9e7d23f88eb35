#include "batch/mark_hit_test.h"

#include <gtest/gtest.h>

namespace {

// An 800 x 600 surface shown at half size, 10 pixels right and 20 down.
const QRectF kShown(10, 20, 400, 300);
const QSize kSurface(800, 600);

MarkPlacement bothMarks()
{
    MarkPlacement marks;
    marks.textDrawn = true;
    marks.textBox = QRectF(400, 500, 200, 40); // preview: x 210..310, y 270..290
    marks.pictureDrawn = true;
    marks.iuISyX = 0.25; // centre (200, 150): preview (110, 95)
    marks.iuISyY = 0.25;
    marks.sngMarkW = 100;
    marks.sngMarkH = 60;
    return marks;
}

TEST(PinRect, TextBoxWidenedToTheLeftSwitchesTheTextToCustom)
{
    JobSettings job;
    job.iuTxtPos = kBottomRight;
    job.iuImgPos = kTopRight;
    EXPECT_EQ(PinRect({250, 280}, kShown, kSurface, bothMarks(), job), MarkHit::Text);
    EXPECT_EQ(job.iuTxtPos, kCustom);
    EXPECT_EQ(job.iuImgPos, kTopRight);

    job.iuTxtPos = kBottomRight;
    EXPECT_EQ(PinRect({190, 280}, kShown, kSurface, bothMarks(), job), MarkHit::Text)
        << "a quarter of the text width left of it still counts";
    EXPECT_EQ(PinRect({180, 280}, kShown, kSurface, bothMarks(), job), MarkHit::None);
}

TEST(PinRect, PictureRectangleAroundTheCentreSwitchesThePictureToCustom)
{
    JobSettings job;
    job.iuImgPos = kTopRight;
    EXPECT_EQ(PinRect({86, 81}, kShown, kSurface, bothMarks(), job), MarkHit::Picture);
    EXPECT_EQ(job.iuImgPos, kCustom);
    job.iuImgPos = kTopRight;
    EXPECT_EQ(PinRect({136, 95}, kShown, kSurface, bothMarks(), job), MarkHit::None);
    EXPECT_EQ(job.iuImgPos, kTopRight);
}

TEST(PinRect, TextWinsWhereBothOverlapAndUndrawnMarksAreNeverHit)
{
    MarkPlacement marks = bothMarks();
    marks.textBox = QRectF(150, 120, 200, 40);
    JobSettings job;
    EXPECT_EQ(PinRect({110, 95}, kShown, kSurface, marks, job), MarkHit::Text);
    EXPECT_EQ(job.iuImgPos, JobSettings().iuImgPos);

    marks.textDrawn = false;
    marks.pictureDrawn = false;
    JobSettings untouched;
    EXPECT_EQ(PinRect({110, 95}, kShown, kSurface, marks, untouched), MarkHit::None);
    EXPECT_EQ(PinRect({110, 95}, kShown, QSize(), bothMarks(), untouched), MarkHit::None);
}

} // namespace
