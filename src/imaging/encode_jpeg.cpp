#include "imaging/encoders.h"

#include <QCoreApplication>

#include <turbojpeg.h>

QByteArray encodeJpeg(const QImage &picture, int quality, QString *error)
{
    const QImage image = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
    tjhandle tj = tjInitCompress();
    if (!tj) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "JPEG编码器无法启动");
        return {};
    }
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    const int q = qBound(0, quality, 100);
    // Quality 0 means "smallest"; the codec's own scale starts at 1. From 90 up
    // colour keeps full resolution, as other tools do: halved chroma would cost
    // more detail than the quality asks to lose.
    const int subsampling = q >= 90 ? TJSAMP_444 : TJSAMP_420;
    const int rc = tjCompress2(tj, image.constBits(), image.width(), int(image.bytesPerLine()),
        image.height(), TJPF_BGRX, &jpeg, &size, subsampling, qMax(1, q), 0);
    QByteArray bytes;
    if (rc == 0)
        bytes = QByteArray(reinterpret_cast<const char *>(jpeg), qsizetype(size));
    else if (error)
        *error = QString::fromLatin1(tjGetErrorStr2(tj));
    tjFree(jpeg);
    tjDestroy(tj);
    return bytes;
}
