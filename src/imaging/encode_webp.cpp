#include "imaging/encoders.h"

#include <QCoreApplication>

#include <webp/encode.h>

// Lossy WebP straight through libwebp: quality as the JPEG quality, method 4
// (libwebp's default balance of speed and size).
QByteArray encodeWebp(const QImage &picture, int quality, QString *error)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    WebPConfig config;
    WebPPicture pic;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&pic)) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "WebP编码器无法启动");
        return {};
    }
    config.quality = float(qBound(0, quality, 100));
    config.method = 4;
    config.use_sharp_yuv = quality >= 90; // WebP halves colour; keep its edges where quality asks for it
    pic.use_argb = 0;
    pic.width = image.width();
    pic.height = image.height();
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    pic.writer = WebPMemoryWrite;
    pic.custom_ptr = &writer;
    // RGB32 is B, G, R, X in memory on the little-endian machines this runs on.
    const bool ok = WebPPictureImportBGRX(&pic, image.constBits(), int(image.bytesPerLine()))
        && WebPEncode(&config, &pic);
    QByteArray bytes;
    if (ok)
        bytes = QByteArray(reinterpret_cast<const char *>(writer.mem), qsizetype(writer.size));
    else if (error)
        *error = QCoreApplication::translate("tuvo", "WebP编码失败(错误%1)").arg(int(pic.error_code));
    WebPPictureFree(&pic);
    WebPMemoryWriterClear(&writer);
    return bytes;
}
