#include "imaging/picture_loader.h"

#include "fs/file_names.h"
#include "imaging/cdib_qimage.h"
#include "imaging/colour_profiles.h"
#include "imaging/exif_block.h"
#include "imaging/heif_boxes.h"
#include "imaging/heif_codec.h"
#include "imaging/jpeg_segments.h"
#include "imaging/picture_limits.h"
#include "imaging/png_chunks.h"
#include "imaging/raw_decoder.h"
#include "imaging/stored_orientation.h"

#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

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

// A camera RAW is known by its name (many are TIFF inside); a JPEG, PNG or
// HEIF that merely carries such a name is still read as what it is.
bool readsAsRaw(const QString &path, const uchar *data, qint64 size)
{
    return isRawFileName(path) && !looksLikeJpeg(data, size) && !looksLikePng(data, size)
        && !looksLikeHeif(data, size);
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

int clampedSide(quint32 n)
{
    return int(qMin<quint32>(n, INT_MAX));
}

// The size a JPEG's frame header declares (SOF0..SOF15; DHT, JPG and DAC share
// the range). A height of 0, left to a later DNL marker, gives no size.
QSize declaredJpegSize(const uchar *data, qint64 size)
{
    QSize found;
    forEachJpegSegment(data, size, [&found](const JpegSegment &s) {
        const bool frame = s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8
            && s.marker != 0xCC;
        if (!frame)
            return true;
        if (s.size >= 5)
            found = QSize((s.payload[3] << 8) | s.payload[4], (s.payload[1] << 8) | s.payload[2]);
        return false;
    });
    return found;
}

// The size a JPEG's frame header, a PNG's IHDR or a WebP's first chunk declares;
// invalid for other files. Asking Qt's readers costs a plugin load and a parse.
QSize declaredPictureSize(const uchar *data, qint64 size)
{
    if (size >= 4 && data[0] == 0xFF && data[1] == 0xD8)
        return declaredJpegSize(data, size);
    if (looksLikePng(data, size) && size >= 24)
        return QSize(
            clampedSide(qFromBigEndian<quint32>(data + 16)), clampedSide(qFromBigEndian<quint32>(data + 20)));
    if (size < 30 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
        return QSize();
    const auto little = [data](int pos, int bytes) {
        quint32 n = 0;
        for (int i = bytes - 1; i >= 0; --i)
            n = (n << 8) | data[pos + i];
        return n;
    };
    if (std::memcmp(data + 12, "VP8X", 4) == 0)
        return QSize(int(little(24, 3)) + 1, int(little(27, 3)) + 1);
    if (std::memcmp(data + 12, "VP8L", 4) == 0 && data[20] == 0x2F) {
        const quint32 bits = little(21, 4);
        return QSize(int(bits & 0x3FFF) + 1, int((bits >> 14) & 0x3FFF) + 1);
    }
    if (std::memcmp(data + 12, "VP8 ", 4) == 0)
        return QSize(int(little(26, 2) & 0x3FFF), int(little(28, 2) & 0x3FFF));
    return QSize();
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
    forEachJpegSegment(data, size, [&](const JpegSegment &s) {
        if (s.marker == 0xE2 && s.size > 14 && std::memcmp(s.payload, "ICC_PROFILE\0", 12) == 0) {
            const int seq = s.payload[12];
            chunkCount = qMax(chunkCount, int(s.payload[13]));
            chunks[seq] = QByteArray(reinterpret_cast<const char *>(s.payload + 14), s.size - 14);
        } else if (s.marker == 0xEE && s.size >= 5 && std::memcmp(s.payload, "Adobe", 5) == 0) {
            m.adobe = true;
        } else if (s.marker == 0xE1 && s.size > 6 && std::memcmp(s.payload, "Exif\0\0", 6) == 0) {
            m.exifAdobeRgb = exifMarksAdobeRgb(QByteArray::fromRawData(
                reinterpret_cast<const char *>(s.payload + 6), qsizetype(s.size - 6)));
        }
        return true;
    });
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
        const QString message = QString::fromLatin1(tjGetErrorStr2(tj.h)).trimmed();
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
            if (readsAsRaw(path, head, size)) {
                const RawHeader raw = readRawHeader(head, size);
                if (!raw.error.isEmpty() && error)
                    *error = raw.error;
                return swapsSides(raw.turn) ? raw.sensorSize.transposed() : raw.sensorSize;
            }
            sideways = swapsSides(turnForOrientation(storedOrientation(head, size)));
            // Qt's PNG reader takes in every text chunk before it gives the size: 50 MB of XMP cost 300 MB.
            const QSize declared = declaredPictureSize(head, size);
            if (!declared.isEmpty() && (!looksLikePng(head, size) || pngChunksFitFile(head, size)))
                return sideways ? declared.transposed() : declared;
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
    if (mapped && readsAsRaw(path, mapped, size)) {
        out = decodeRaw(mapped, size, minimumSize, turn);
        file.unmap(mapped);
        return out;
    }
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
        // Qt's readers allocate what the header declares before finding the data missing.
        const QSize declared = declaredPictureSize(mapped, size);
        file.unmap(mapped);
        if (damagedPng) {
            out.error = QCoreApplication::translate("tuvo", "图片数据有误或不完整");
            return out;
        }
        if (!declared.isEmpty() && !pictureFitsLimit(declared, &out.error)) {
            out.originalSize = declared;
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

namespace {

// Bytes of the blocks metadata is read from: a JPEG's APPn and COM segments,
// a PNG's chunks other than pixels and palette.
qint64 metadataBytes(const uchar *data, qint64 size)
{
    qint64 total = 0;
    if (looksLikeJpeg(data, size)) {
        forEachJpegSegment(data, size, [&](const JpegSegment &s) {
            if ((s.marker & 0xF0) == 0xE0 || s.marker == 0xFE)
                total += s.size + 2;
            return true;
        });
    } else if (looksLikePng(data, size)) {
        for (qint64 pos = 8; pos + 8 <= size;) {
            const qint64 length = qFromBigEndian<quint32>(data + pos);
            if (std::memcmp(data + pos + 4, "IDAT", 4) != 0 && std::memcmp(data + pos + 4, "PLTE", 4) != 0)
                total += qMin(length, size - pos);
            pos += 12 + length;
        }
    }
    return total;
}

} // namespace

DecodeMemoryNeed decodeMemoryNeed(const QString &path, QSize minimumSize, bool withMetadata)
{
    DecodeMemoryNeed need;
    QFile file;
    QString why;
    if (!openPicture(path, file, &why))
        return need;
    const qint64 size = file.size();
    const uchar *data = file.map(0, size);
    if (!data)
        return need;
    // Bytes per decoded pixel at the decoder's peak: libheif holds YCbCr planes
    // and interleaved RGB next to the picture; Qt's readers often convert once.
    qint64 perPixel = 8;
    QSize decoded;
    const Turn turn
        = looksLikeHeif(data, size) ? Turn::None : turnForOrientation(storedOrientation(data, size));
    const bool sideways = swapsSides(turn);
    if (looksLikeHeif(data, size)) {
        decoded = readHeifDeclaredSizes(data, size).largest;
        perPixel = 10;
    } else if (readsAsRaw(path, data, size)) {
        const RawHeader raw = readRawHeader(data, size);
        const RawDecodeNeed rawNeed = rawDecodeNeed(raw, minimumSize);
        file.unmap(const_cast<uchar *>(data));
        need.decodedSize = rawNeed.decodedSize;
        const qint64 upright = raw.turn != Turn::None ? 4 : 0; // the upright copy
        need.decoding
            = rawNeed.bytes + upright * rawNeed.decodedSize.width() * rawNeed.decodedSize.height() + size;
        return need;
    } else if (looksLikeJpeg(data, size)) {
        TjHandle tj;
        int w = 0, h = 0, subsamp = 0, colorspace = 0;
        if (tj.h && tjDecompressHeader3(tj.h, data, ulong(size), &w, &h, &subsamp, &colorspace) == 0) {
            const tjscalingfactor f = chooseScale(w, h, sideways ? minimumSize.transposed() : minimumSize);
            decoded = QSize(TJSCALED(w, f), TJSCALED(h, f));
            perPixel = colorspace == TJCS_CMYK || colorspace == TJCS_YCCK ? 8 : 4;
        }
    } else {
        decoded = declaredPictureSize(data, size);
        if (looksLikePng(data, size) && size > 24)
            perPixel = data[24] == 16 ? 16 : 5;
    }
    // exiv2 holds a parsed XMP packet at many times its size; Qt's PNG reader
    // takes in every text chunk even when the metadata is not kept.
    const int perMetadataByte = withMetadata ? 16 : looksLikePng(data, size) ? 8 : 0;
    need.metadata = perMetadataByte * metadataBytes(data, size);
    file.unmap(const_cast<uchar *>(data));
    if (!decoded.isValid()) {
        file.seek(0);
        QImageReader reader(&file);
        decoded = reader.size();
    }
    need.decodedSize = decoded;
    const qint64 pixels = decoded.isValid() ? qint64(decoded.width()) * decoded.height() : 0;
    if (turn != Turn::None)
        perPixel += 4; // the upright copy beside the decoded picture
    need.decoding = pixels * perPixel + size;
    return need;
}
