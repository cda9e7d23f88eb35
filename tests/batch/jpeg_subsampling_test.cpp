#include "imaging/encoders.h"

#include <QImage>

#include <gtest/gtest.h>
#include <turbojpeg.h>

namespace {

int subsamplingOf(const QByteArray &jpeg)
{
    tjhandle tj = tjInitDecompress();
    int w = 0, h = 0, subsamp = -1, colorspace = 0;
    tjDecompressHeader3(tj, reinterpret_cast<const unsigned char *>(jpeg.constData()), ulong(jpeg.size()), &w,
        &h, &subsamp, &colorspace);
    tjDestroy(tj);
    return subsamp;
}

} // namespace

TEST(EncodeJpeg, HighQualityKeepsFullColourResolution)
{
    // Thin red lines on blue: halved chroma would smear them.
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    for (int x = 0; x < 64; x += 4)
        for (int y = 0; y < 64; ++y)
            image.setPixel(x, y, qRgb(255, 0, 0));
    QString error;
    const QByteArray q90 = encodeJpeg(image, 90, &error);
    const QByteArray q89 = encodeJpeg(image, 89, &error);
    EXPECT_EQ(subsamplingOf(q90), TJSAMP_444);
    EXPECT_EQ(subsamplingOf(encodeJpeg(image, 100, &error)), TJSAMP_444);
    EXPECT_EQ(subsamplingOf(q89), TJSAMP_420);
    EXPECT_EQ(subsamplingOf(encodeJpeg(image, 0, &error)), TJSAMP_420);

    const QImage back = QImage::fromData(q90);
    ASSERT_FALSE(back.isNull());
    EXPECT_GT(qRed(back.pixel(4, 32)), 200);
    EXPECT_LT(qRed(back.pixel(6, 32)), 60);
}
