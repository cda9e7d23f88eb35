#include "render/mark_hit_test.h"

#include <gtest/gtest.h>

namespace {

// An 800 x 600 surface shown at half size, 10 pixels right and 20 down.
const QRectF kShown(10, 20, 400, 300);
const QSize kSurface(800, 600);

MarkPlacement bothMarks()
{
    MarkPlacement marks;
    marks.textDrawn = true;
    marks.textBox = QRectF(400, 500, 200, 40); // preview: x 210..310, widened to 185
    marks.pictureDrawn = true;
    marks.iuISyX = 0.25; // centre (200, 150), preview (110, 95)
    marks.iuISyY = 0.25;
    marks.sngMarkW = 100; // preview x 85..135, y 80..110
    marks.sngMarkH = 60;
    return marks;
}

TEST(PinRect, SwitchesTheListOfTheMarkUnderThePoint)
{
    JobSettings job;
    job.iuTxtPos = kBottomRight;
    job.iuImgPos = kTopRight;
    EXPECT_EQ(PinRect({180, 280}, kShown, kSurface, bothMarks(), job), MarkHit::None);
    EXPECT_EQ(PinRect({136, 95}, kShown, kSurface, bothMarks(), job), MarkHit::None);
    EXPECT_EQ(job.iuTxtPos, kBottomRight);
    EXPECT_EQ(job.iuImgPos, kTopRight);

    EXPECT_EQ(PinRect({190, 280}, kShown, kSurface, bothMarks(), job), MarkHit::Text)
        << "a quarter of the text width left of it still counts";
    EXPECT_EQ(job.iuTxtPos, kCustom);
    EXPECT_EQ(job.iuImgPos, kTopRight);

    EXPECT_EQ(PinRect({86, 81}, kShown, kSurface, bothMarks(), job), MarkHit::Picture);
    EXPECT_EQ(job.iuImgPos, kCustom);
}

TEST(PinRect, TextWinsWhereBothOverlapAndUndrawnMarksAreNeverHit)
{
    MarkPlacement marks = bothMarks();
    marks.textBox = QRectF(150, 120, 200, 40);
    JobSettings job;
    EXPECT_EQ(PinRect({110, 95}, kShown, kSurface, marks, job), MarkHit::Text);
    marks.textDrawn = false;
    marks.pictureDrawn = false;
    EXPECT_EQ(PinRect({110, 95}, kShown, kSurface, marks, job), MarkHit::None);
}

} // namespace
