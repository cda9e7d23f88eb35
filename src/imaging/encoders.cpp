#include "imaging/encoders.h"

#include "imaging/heif_codec.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>

namespace {

QString lower(const QString &e)
{
    return e.toLower();
}

} // namespace

bool isHeifExtension(const QString &extension)
{
    const QString e = lower(extension);
    return e == QLatin1String("avif") || e == QLatin1String("heic") || e == QLatin1String("heif");
}

bool hasEncoderFor(const QString &extension)
{
    const QString e = lower(extension);
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg") || e == QLatin1String("png")
        || e == QLatin1String("gif") || e == QLatin1String("tif") || e == QLatin1String("tiff")
        || e == QLatin1String("bmp") || e == QLatin1String("webp") || e == QLatin1String("avif"))
        return true;
    return (e == QLatin1String("heic") || e == QLatin1String("heif")) && heifEncoderAvailable(true);
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
        return encodePng(picture, error);
    if (e == QLatin1String("gif"))
        return encodeGif(picture, error);
    if (e == QLatin1String("tif") || e == QLatin1String("tiff"))
        return encodeTiff24(picture);
    if (e == QLatin1String("bmp"))
        return encodeBmp24(picture);
    if (e == QLatin1String("webp"))
        return encodeWebp(picture, quality, error);
    if (isHeifExtension(e) && hasEncoderFor(e))
        return encodeHeif(picture, quality, e != QLatin1String("avif"), {}, error);
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
