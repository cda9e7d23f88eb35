#include "core/dib_bytes.h"
#include "imaging/cdib_qimage.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(CdibLayout, RowsArePaddedToFourBytes)
{
    const std::pair<int, int> strides[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {6, 20}, {7, 24}};
    for (const auto &[width, stride] : strides) {
        CDIB dib;
        dib.Create(width, 3);
        std::span<std::uint8_t> a;
        EXPECT_EQ(dib.MapArray(a), stride) << width;
        EXPECT_EQ(dib.RGBSize(), stride * 3);
        EXPECT_EQ(a.size(), std::size_t(stride * 3));
        dib.UnMapArray(a);
        EXPECT_TRUE(a.empty());
    }
}

TEST(CdibLayout, NewBufferIsBlackIncludingPadding)
{
    CDIB dib;
    dib.Create(5, 3);
    EXPECT_EQ(storageOf(dib), std::vector<std::uint8_t>(48, 0));
    setStorage(dib, std::vector<std::uint8_t>(48, 0xaa));
    dib.Cls();
    EXPECT_EQ(storageOf(dib), std::vector<std::uint8_t>(48, 0));
}

TEST(CdibLayout, SecondCreateReplacesTheFirst)
{
    CDIB dib;
    dib.Create(640, 480);
    dib.Create(3, 2);
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(dib.RGBSize(), 24);
}

TEST(CdibLayout, ImpossibleSizesLeaveNoPixels)
{
    for (const auto &[w, h] : {std::pair {0, 5}, {5, -1}, {100000, 100000}, {0x7fffffff, 1}}) {
        CDIB dib;
        dib.Create(w, h);
        EXPECT_FALSE(dib.hasSurface());
        std::span<std::uint8_t> a;
        EXPECT_EQ(dib.MapArray(a), 0);
        EXPECT_TRUE(a.empty());
        // Effects on a buffer without pixels do nothing.
        dib.InvertColors();
        dib.FastBlur();
        dib.Sharpen();
        dib.ScanLines(50);
        dib.MakeEmboss(100, true, EmbossTone::Grey);
    }
}

TEST(CdibCopies, BytesAreBlueGreenRedFromTheBottomRow)
{
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(Qt::black);
    picture.setPixel(0, 2, qRgb(30, 20, 10)); // bottom-left
    picture.setPixel(4, 2, qRgb(60, 50, 40)); // bottom-right
    picture.setPixel(0, 0, qRgb(90, 80, 70)); // top-left
    CDIB dib;
    cloneIntoDib(dib, picture);
    ASSERT_EQ(dib.Width(), 5);
    ASSERT_EQ(dib.Height(), 3);
    const auto a = storageOf(dib);
    EXPECT_EQ(
        (std::vector<std::uint8_t>(a.begin(), a.begin() + 3)), (std::vector<std::uint8_t> {10, 20, 30}));
    EXPECT_EQ((std::vector<std::uint8_t>(a.begin() + 12, a.begin() + 15)),
        (std::vector<std::uint8_t> {40, 50, 60}));
    EXPECT_EQ(a[15], 0); // padding
    EXPECT_EQ((std::vector<std::uint8_t>(a.begin() + 32, a.begin() + 35)),
        (std::vector<std::uint8_t> {70, 80, 90}));
}

TEST(CdibCopies, CloneAndPaintBackKeepEveryPixel)
{
    QImage picture(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x)
            picture.setPixel(x, y, qRgb(x & 0xff, y & 0xff, (x * y) & 0xff));
    }
    CDIB dib;
    cloneIntoDib(dib, picture);
    EXPECT_EQ(dib.Width(), 640);
    EXPECT_EQ(dib.Height(), 480);
    EXPECT_EQ(toQImage(dib), picture);
}

TEST(CdibCopies, RectangleCopiesAreClipped)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, y, qRgb(x * 10, y * 10, 0));
    }
    CDIB part;
    part.Create(3, 2);
    part.CloneHDC(rgb32View(picture), 2, 1); // only a 2 x 2 corner lies inside
    const QImage copied = toQImage(part);
    EXPECT_EQ(copied.pixel(0, 0), qRgb(20, 10, 0));
    EXPECT_EQ(copied.pixel(1, 1), qRgb(30, 20, 0));
    EXPECT_EQ(copied.pixel(2, 0), qRgb(0, 0, 0));

    CDIB whole;
    cloneIntoDib(whole, picture);
    CDIB fromDib;
    fromDib.Create(2, 2);
    fromDib.CloneHDC(whole, 1, 2);
    const QImage fromDibImage = toQImage(fromDib);
    EXPECT_EQ(fromDibImage.pixel(0, 0), picture.pixel(1, 2));
    EXPECT_EQ(fromDibImage.pixel(1, 1), picture.pixel(2, 3));

    QImage target(3, 3, QImage::Format_RGB32);
    target.fill(Qt::white);
    whole.PaintTo(mutableRgb32View(target), 1, -1);
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(1, 0), picture.pixel(0, 1));
    EXPECT_EQ(target.pixel(2, 2), picture.pixel(1, 3));
}
