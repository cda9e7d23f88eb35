#include "imaging/resample.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage filled(QSize size, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, format);
    image.fill(colour);
    return image;
}

// Smallest and largest green value over the inner part of image (edges excluded).
std::pair<int, int> greenRange(const QImage &image, int margin)
{
    int lo = 255, hi = 0;
    for (int y = margin; y < image.height() - margin; ++y) {
        for (int x = margin; x < image.width() - margin; ++x) {
            const int g = qGreen(image.pixel(x, y));
            lo = std::min(lo, g);
            hi = std::max(hi, g);
        }
    }
    return {lo, hi};
}

} // namespace

TEST(Resample, FlatColourStaysExactlyFlatAtAnyRatio)
{
    const QRgb colour = qRgb(201, 13, 77);
    const QImage in = filled(QSize(1000, 750), colour);
    for (const QSize size : {QSize(800, 600), QSize(333, 250), QSize(1, 1), QSize(1999, 1501)}) {
        const QImage out = resampleLanczos(in, in.rect(), size);
        ASSERT_EQ(out.size(), size);
        EXPECT_EQ(out.format(), QImage::Format_RGB32);
        const auto [lo, hi] = greenRange(out, 0);
        EXPECT_EQ(lo, 13);
        EXPECT_EQ(hi, 13);
        EXPECT_EQ(out.pixel(size.width() - 1, size.height() - 1), colour);
    }
}

TEST(Resample, StripesAtAnAwkwardRatioBecomeEvenGrey)
{
    // Stripes one pixel wide, shrunk by 1.25: a point-sampling or bilinear scaler
    // makes a beat pattern of dark and light bands; an antialiasing filter grey.
    QImage stripes(1000, 40, QImage::Format_RGB32);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QImage out = resampleLanczos(stripes, stripes.rect(), QSize(800, 32));
    const auto [lo, hi] = greenRange(out, 4);
    EXPECT_GT(lo, 90);
    EXPECT_LT(hi, 165);
}

TEST(Resample, SourceRectangleSelectsThePart)
{
    // Left half red, right half blue; drawing the right half gives blue, and the
    // picture's full size is never needed.
    QImage in = filled(QSize(400, 100), qRgb(255, 0, 0));
    for (int y = 0; y < 100; ++y)
        for (int x = 200; x < 400; ++x)
            in.setPixel(x, y, qRgb(0, 0, 255));
    const QImage out = resampleLanczos(in, QRect(200, 0, 200, 100), QSize(50, 25));
    ASSERT_EQ(out.size(), QSize(50, 25));
    EXPECT_EQ(out.pixel(25, 12), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(49, 24), qRgb(0, 0, 255));
    // A rectangle reaching outside the picture is cut to it.
    EXPECT_EQ(resampleLanczos(in, QRect(300, 0, 500, 100), QSize(10, 10)).pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_TRUE(resampleLanczos(in, QRect(500, 0, 10, 10), QSize(10, 10)).isNull());
}

TEST(Resample, TransparencyIsFilteredPremultiplied)
{
    // An opaque white square on fully transparent black: the edge may be
    // half-transparent but never darker than white, and transparent stays transparent.
    QImage in = filled(QSize(200, 200), qRgba(0, 0, 0, 0), QImage::Format_ARGB32);
    for (int y = 50; y < 150; ++y)
        for (int x = 50; x < 150; ++x)
            in.setPixel(x, y, qRgba(255, 255, 255, 255));
    const QImage out = resampleLanczos(in, in.rect(), QSize(60, 60));
    ASSERT_EQ(out.format(), QImage::Format_ARGB32_Premultiplied);
    const QImage straight = out.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(qAlpha(straight.pixel(2, 2)), 0);
    EXPECT_EQ(straight.pixel(30, 30), qRgba(255, 255, 255, 255));
    for (int x = 0; x < 60; ++x) {
        const QRgb p = straight.pixel(x, 30);
        if (qAlpha(p) > 16) {
            EXPECT_GE(qGreen(p), 240) << "x " << x;
        }
    }
}

TEST(Resample, TinyPicturesScaleUpWithoutReadingOutside)
{
    const QImage in = filled(QSize(2, 1), qRgb(10, 20, 30));
    const QImage out = resampleLanczos(in, in.rect(), QSize(9, 5));
    ASSERT_EQ(out.size(), QSize(9, 5));
    EXPECT_EQ(out.pixel(8, 4), qRgb(10, 20, 30));
}

TEST(Resample, WideVectorPathGivesTheSameBytes)
{
    if (!resampleHasWidePath())
        GTEST_SKIP() << "this processor has no AVX2";
    // Noise, so that every tap and every byte position counts; sizes that leave
    // remainders in both passes, shrinking, enlarging and with alpha.
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
        QImage in(997, 613, format);
        quint32 seed = 7;
        for (int y = 0; y < in.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(in.scanLine(y));
            for (int x = 0; x < in.width(); ++x)
                line[x] = (seed = seed * 1664525u + 1013904223u)
                    | (format == QImage::Format_RGB32 ? 0xff000000u : 0);
        }
        for (const QSize size :
            {QSize(800, 480), QSize(123, 77), QSize(1501, 999), QSize(7, 3), QSize(97, 1201)}) {
            const QRect source(13, 5, 950, 600);
            EXPECT_EQ(resampleLanczos(in, source, size, true), resampleLanczos(in, source, size, false))
                << size.width() << "x" << size.height() << " format " << int(format);
        }
    }
}
