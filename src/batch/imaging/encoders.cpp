#include "batch/imaging/encoders.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>

namespace {

QString lower(const QString &e)
{
    return e.toLower();
}

QByteArray encodeWithQt(const QImage &picture, const char *format, QString *error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(picture)) {
        if (error)
            *error = writer.errorString();
        return {};
    }
    return bytes;
}

} // namespace

bool hasEncoderFor(const QString &extension)
{
    const QString e = lower(extension);
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg") || e == QLatin1String("png")
        || e == QLatin1String("gif") || e == QLatin1String("tif") || e == QLatin1String("tiff")
        || e == QLatin1String("bmp"))
        return true;
    return e == QLatin1String("webp") && QImageWriter::supportedImageFormats().contains("webp");
}

QByteArray encodePicture(const QImage &picture, const QString &extension, int quality, QString *error)
{
    if (picture.isNull()) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "没有可保存的图片");
        return {};
    }
    const QString e = lower(extension);
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg"))
        return encodeJpeg(picture, quality, error);
    if (e == QLatin1String("png"))
        return encodeWithQt(picture.convertToFormat(QImage::Format_RGB888), "png", error);
    if (e == QLatin1String("gif"))
        return encodeGif(picture, error);
    if (e == QLatin1String("tif") || e == QLatin1String("tiff"))
        return encodeTiff24(picture);
    if (e == QLatin1String("bmp"))
        return encodeBmp24(picture);
    if (e == QLatin1String("webp") && hasEncoderFor(e))
        return encodeWithQt(picture, "webp", error);
    if (error)
        *error = QCoreApplication::translate("tuvo", "没有扩展名为%1的图片编码器").arg(extension);
    return {};
}

bool SavePictureEncoded(
    const QImage &picture, const QString &path, const QString &extension, int quality, QString *error)
{
    const QByteArray bytes = encodePicture(picture, extension, quality, error);
    if (bytes.isEmpty())
        return false;
    return writeFileAtomically(path, bytes, error);
}
