#include "core/rotation.h"
#include "imaging/cdib_qimage.h"
#include "render/pipeline_steps.h"

#include <gtest/gtest.h>

namespace {

const QRgb cTopLeft = qRgb(255, 0, 0);
const QRgb cTopRight = qRgb(0, 255, 0);
const QRgb cBottomLeft = qRgb(0, 0, 255);
const QRgb cBottomRight = qRgb(255, 255, 0);

QImage cornerPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 0, cTopLeft);
    image.setPixel(w - 1, 0, cTopRight);
    image.setPixel(0, h - 1, cBottomLeft);
    image.setPixel(w - 1, h - 1, cBottomRight);
    image.setPixel(1, 0, qRgb(1, 2, 3)); // tells the turns from mirrors of the corners
    return image;
}

// Corner colours top-left, top-right, bottom-left, bottom-right.
std::vector<QRgb> corners(const QImage &image)
{
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    return {image.pixel(0, 0), image.pixel(r, 0), image.pixel(0, b), image.pixel(r, b)};
}

QImage rotated(int mode, const QImage &picture)
{
    JobSettings job;
    job.iRotateMode = mode;
    QImage surface = picture;
    rotationStep(job, surface);
    return surface;
}

} // namespace

TEST(Rotation, CornersOfA300By200Picture)
{
    const QImage picture = cornerPicture(300, 200);
    const struct {
        int mode;
        QSize size;
        std::vector<QRgb> corners;
        QPoint secondPixel; // where the pixel right of the top-left corner lands
    } cases[] = {
        {kRotateClockwise, {200, 300}, {cBottomLeft, cTopLeft, cBottomRight, cTopRight}, {199, 1}},
        {kRotateCounterClockwise, {200, 300}, {cTopRight, cBottomRight, cTopLeft, cBottomLeft}, {0, 298}},
        {kRotate180, {300, 200}, {cBottomRight, cBottomLeft, cTopRight, cTopLeft}, {298, 199}},
        {kMirrorHorizontal, {300, 200}, {cBottomLeft, cBottomRight, cTopLeft, cTopRight}, {1, 199}},
        {kMirrorVertical, {300, 200}, {cTopRight, cTopLeft, cBottomRight, cBottomLeft}, {298, 0}},
    };
    for (const auto &c : cases) {
        const QImage out = rotated(c.mode, picture);
        ASSERT_EQ(out.size(), c.size) << c.mode;
        EXPECT_EQ(out.format(), QImage::Format_RGB32);
        EXPECT_EQ(corners(out), c.corners) << c.mode;
        EXPECT_EQ(out.pixel(c.secondPixel), qRgb(1, 2, 3)) << c.mode;
    }
}

TEST(Rotation, QuarterTurnsMoveEveryPixel)
{
    // Larger than one tile in both directions and not a multiple of it.
    QImage picture(131, 70, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x, y, 7));
    }
    const QImage cw = rotated(kRotateClockwise, picture);
    const QImage ccw = rotated(kRotateCounterClockwise, picture);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ASSERT_EQ(cw.pixel(picture.height() - 1 - y, x), picture.pixel(x, y));
            ASSERT_EQ(ccw.pixel(y, picture.width() - 1 - x), picture.pixel(x, y));
        }
    }
    EXPECT_EQ(rotated(kRotateCounterClockwise, cw), picture);
}

TEST(Rotation, ModesWithoutATurnLeaveThePicture)
{
    const QImage picture = cornerPicture(30, 20);
    for (int mode : {int(kRotateNone), 1, 8, -3})
        EXPECT_EQ(rotated(mode, picture), picture) << mode;
}

// Orientations 5 and 7 are a quarter turn and a mirror: the corners land where
// a viewer shows them. Pictures arrive upright, so the automatic mode turns nothing.
TEST(Rotation, OrientationsShowTheirCornersAndAutomaticTurnsNothing)
{
    const QImage picture = cornerPicture(30, 20);
    EXPECT_EQ(turnForOrientation(1), Turn::None);
    EXPECT_EQ(turnForOrientation(9), Turn::None);
    EXPECT_EQ(turnedPicture(picture, turnForOrientation(6)), rotated(kRotateClockwise, picture));
    EXPECT_EQ(turnedPicture(picture, turnForOrientation(8)), rotated(kRotateCounterClockwise, picture));
    EXPECT_EQ(turnedPicture(picture, turnForOrientation(3)), rotated(kRotate180, picture));
    EXPECT_EQ(turnedPicture(picture, turnForOrientation(2)), rotated(kMirrorVertical, picture));
    EXPECT_EQ(turnedPicture(picture, turnForOrientation(4)), rotated(kMirrorHorizontal, picture));
    // 5: the left column becomes the top row; 7: the top row becomes the right column, reversed.
    const QImage five = turnedPicture(picture, turnForOrientation(5));
    EXPECT_EQ(corners(five), (std::vector<QRgb> {cTopLeft, cBottomLeft, cTopRight, cBottomRight}));
    EXPECT_EQ(five.pixel(0, 1), qRgb(1, 2, 3));
    const QImage seven = turnedPicture(picture, turnForOrientation(7));
    EXPECT_EQ(corners(seven), (std::vector<QRgb> {cBottomRight, cTopRight, cBottomLeft, cTopLeft}));
    EXPECT_EQ(seven.pixel(19, 28), qRgb(1, 2, 3));
    EXPECT_EQ(rotated(kRotateAuto, picture), picture);
}
