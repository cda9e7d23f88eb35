#include "batch/imaging/picture_loader.h"

#include "batch/file_names.h"
#include "batch/imaging/cdib_qimage.h"
#include "batch/imaging/colour_profiles.h"
#include "batch/imaging/exif_block.h"
#include "batch/imaging/heif_codec.h"
#include "batch/imaging/picture_limits.h"
#include "batch/imaging/png_chunks.h"
#include "batch/imaging/stored_orientation.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cstring>
#include <memory>
#include <turbojpeg.h>

namespace {

struct TjHandle {
    tjhandle h = tjInitDecompress();
    ~TjHandle()
    {
        if (h)
            tjDestroy(h);
    }
};

bool looksLikeJpeg(const uchar *data, qint64 size)
{
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

// Opens the picture by the bytes of its name, regular files only (a FIFO would
// wait for a writer). Returns false with *error in the report's words.
bool openPicture(const QString &path, QFile &file, QString *error)
{
    if (!openRegularFile(path, file, error)) {
        if (*error == QCoreApplication::translate("tuvo", "不是普通文件"))
            *error = QCoreApplication::translate("tuvo", "不是图片文件");
        return false;
    }
    if (file.size() == 0) {
        *error = QCoreApplication::translate("tuvo", "文件是空的");
        return false;
    }
    return true;
}

QString readerError(const QImageReader &reader)
{
    switch (reader.error()) {
    case QImageReader::FileNotFoundError:
        return QCoreApplication::translate("tuvo", "文件不存在");
    case QImageReader::UnsupportedFormatError:
        return QCoreApplication::translate("tuvo", "无法识别的图片格式");
    case QImageReader::InvalidDataError:
        return QCoreApplication::translate("tuvo", "图片数据有误或不完整");
    case QImageReader::DeviceError:
        return QCoreApplication::translate("tuvo", "文件无法读取");
    default:
        return QCoreApplication::translate("tuvo", "图片无法解码");
    }
}

// The ICC profile of a JPEG: the APP2 "ICC_PROFILE" chunks in their sequence
// order, up to the first scan. Adobe's APP14 says whether CMYK is stored inverted.
struct JpegMarkers {
    QByteArray icc;
    bool adobe = false;
    bool exifAdobeRgb = false; // no profile, but EXIF says Adobe RGB
};

JpegMarkers readJpegMarkers(const uchar *data, qint64 size)
{
    JpegMarkers m;
    QByteArray chunks[256];
    int chunkCount = 0;
    qint64 pos = 2;
    while (pos + 4 <= size && data[pos] == 0xFF) {
        const uchar marker = data[pos + 1];
        if (marker == 0xDA || marker == 0xD9)
            break;
        const qint64 length = (qint64(data[pos + 2]) << 8) | data[pos + 3];
        if (length < 2 || pos + 2 + length > size)
            break;
        const uchar *payload = data + pos + 4;
        const qint64 payloadSize = length - 2;
        if (marker == 0xE2 && payloadSize > 14 && std::memcmp(payload, "ICC_PROFILE\0", 12) == 0) {
            const int seq = payload[12];
            chunkCount = qMax(chunkCount, int(payload[13]));
            chunks[seq] = QByteArray(reinterpret_cast<const char *>(payload + 14), payloadSize - 14);
        } else if (marker == 0xEE && payloadSize >= 5 && std::memcmp(payload, "Adobe", 5) == 0) {
            m.adobe = true;
        } else if (marker == 0xE1 && payloadSize > 6 && std::memcmp(payload, "Exif\0\0", 6) == 0) {
            m.exifAdobeRgb = exifMarksAdobeRgb(QByteArray::fromRawData(
                reinterpret_cast<const char *>(payload + 6), qsizetype(payloadSize - 6)));
        }
        pos += 2 + length;
    }
    for (int seq = 1; seq <= chunkCount; ++seq) {
        if (chunks[seq].isEmpty())
            return JpegMarkers {QByteArray(), m.adobe}; // a missing chunk: no usable profile
        m.icc += chunks[seq];
    }
    if (m.icc.isEmpty() && m.exifAdobeRgb)
        m.icc = adobeRgbProfile();
    return m;
}

// The smallest DCT scale whose result still covers minimumSize.
tjscalingfactor chooseScale(int w, int h, QSize minimumSize)
{
    tjscalingfactor best {1, 1};
    if (!minimumSize.isValid())
        return best;
    int count = 0;
    const tjscalingfactor *factors = tjGetScalingFactors(&count);
    long bestArea = long(w) * h;
    for (int i = 0; i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num > f.denom)
            continue;
        const int sw = TJSCALED(w, f);
        const int sh = TJSCALED(h, f);
        if (sw >= minimumSize.width() && sh >= minimumSize.height() && long(sw) * sh < bestArea) {
            best = f;
            bestArea = long(sw) * sh;
        }
    }
    return best;
}

// nullopt-like: an empty LoadedPicture with error "" means "not handled, try Qt".
bool decodeJpeg(const uchar *data, qint64 size, QSize minimumSize, LoadedPicture &out)
{
    TjHandle tj;
    if (!tj.h)
        return false;
    int w = 0, h = 0, subsamp = 0, colorspace = 0;
    if (tjDecompressHeader3(tj.h, data, ulong(size), &w, &h, &subsamp, &colorspace) != 0)
        return false;
    const bool cmyk = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK;
    const JpegMarkers markers = readJpegMarkers(data, size);
    out.originalSize = QSize(w, h);
    const tjscalingfactor f = chooseScale(w, h, minimumSize);
    const int sw = TJSCALED(w, f);
    const int sh = TJSCALED(h, f);
    QString limitError;
    if (!pictureFitsLimit(QSize(sw, sh), &limitError)) {
        out.error = limitError;
        return true;
    }
    // CMYK arrives as 4 bytes of ink per pixel, turned into sRGB light below.
    QImage image(sw, sh, cmyk ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) {
        out.error = QCoreApplication::translate("tuvo", "内存不足,无法解码图片");
        return true;
    }
    const int rc = tjDecompress2(tj.h, data, ulong(size), image.bits(), sw, int(image.bytesPerLine()), sh,
        cmyk ? TJPF_CMYK : TJPF_BGRX, 0);
    if (rc != 0) {
        const bool warningOnly = tjGetErrorCode(tj.h) == TJERR_WARNING;
        const QString message = QString::fromLatin1(tjGetErrorStr2(tj.h));
        // Extraneous bytes and similar warnings leave a whole picture; a premature
        // end leaves a grey half, which must not be written as if it were the photo.
        if (!warningOnly || message.contains(QLatin1String("Premature end"), Qt::CaseInsensitive)) {
            out.error = message.contains(QLatin1String("Premature end"), Qt::CaseInsensitive)
                ? QCoreApplication::translate("tuvo", "图片数据不完整(文件被截断)")
                : QCoreApplication::translate("tuvo", "JPEG数据有误:") + message;
            return true;
        }
    }
    if (cmyk) {
        image = cmykToSrgb(image.constBits(), sw, sh, int(image.bytesPerLine()), markers.icc, markers.adobe);
        if (image.isNull()) {
            out.error = QCoreApplication::translate("tuvo", "内存不足,无法解码图片");
            return true;
        }
    } else {
        out.iccProfile = markers.icc;
    }
    out.image = std::move(image);
    return true;
}

} // namespace

QSize probePictureSize(const QString &path, QString *error)
{
    QFile file;
    QString why;
    if (!openPicture(path, file, &why)) {
        if (error)
            *error = why;
        return QSize();
    }
    bool sideways = false;
    if (const qint64 size = file.size(); size > 0) {
        if (const uchar *head = file.map(0, size)) {
            if (looksLikeHeif(head, size))
                return probeHeifSize(head, size, error);
            sideways = swapsSides(turnForOrientation(storedOrientation(head, size)));
        }
    }
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() && error)
        *error = readerError(reader);
    return sideways ? size.transposed() : size;
}

namespace {

// The picture as its file stores it. *turn is what shows it upright: its
// stored orientation; HEIF files come out of their decoder turned already.
LoadedPicture loadStoredPicture(const QString &path, QSize minimumSize, Turn *turn)
{
    LoadedPicture out;
    QFile file;
    if (!openPicture(path, file, &out.error))
        return out;
    const qint64 size = file.size();
    uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    *turn = mapped && !looksLikeHeif(mapped, size) ? turnForOrientation(storedOrientation(mapped, size))
                                                   : Turn::None;
    if (swapsSides(*turn))
        minimumSize.transpose();
    if (mapped && looksLikeHeif(mapped, size)) {
        out = decodeHeif(mapped, size, minimumSize);
        file.unmap(mapped);
        return out;
    }
    if (mapped && looksLikeJpeg(mapped, size)) {
        const bool handled = decodeJpeg(mapped, size, minimumSize, out);
        file.unmap(mapped);
        if (handled)
            return out;
        out = LoadedPicture();
    } else if (mapped) {
        const bool damagedPng = looksLikePng(mapped, size) && !pngChunksFitFile(mapped, size);
        file.unmap(mapped);
        if (damagedPng) {
            out.error = QCoreApplication::translate("tuvo", "图片数据有误或不完整");
            return out;
        }
    }
    file.seek(0);

    QImageReader reader(&file);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    if (declared.isValid()) {
        QString limitError;
        if (!pictureFitsLimit(declared, &limitError)) {
            out.originalSize = declared;
            out.error = limitError;
            return out;
        }
    }
    QImage image = reader.read();
    if (image.isNull()) {
        out.error = readerError(reader);
        return out;
    }
    out.originalSize = image.size();
    out.iccProfile = image.colorSpace().iccProfile();
    image = image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32)
                                    : image.convertToFormat(QImage::Format_RGB32);
    out.image = std::move(image);
    return out;
}

} // namespace

LoadedPicture loadPicture(const QString &path, QSize minimumSize)
{
    Turn turn = Turn::None;
    LoadedPicture out = loadStoredPicture(path, minimumSize, &turn);
    if (!out.ok() || turn == Turn::None)
        return out;
    out.image = turnedPicture(out.image, turn);
    if (out.image.isNull())
        out.error = QCoreApplication::translate("tuvo", "内存不足,无法解码图片");
    else if (swapsSides(turn))
        out.originalSize.transpose();
    return out;
}
