#include "imaging/metadata_parts.h"

#include "imaging/colour_profiles.h"
#include "imaging/exif_block.h"
#include "imaging/jpeg_segments.h"
#include "imaging/png_chunks.h"

#include <QtEndian>

#include <cstring>
#include <memory>
#include <webp/mux.h>
#include <zlib.h>

namespace {

// No camera block comes near this; a text chunk that inflates past it is a bomb.
constexpr qsizetype kInflateLimit = 16 * 1024 * 1024;

const char kXmpSignature[] = "http://ns.adobe.com/xap/1.0/";
const char kExtendedXmpSignature[] = "http://ns.adobe.com/xmp/extension/";

void appendBigEndian(QByteArray &out, quint32 v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(char(v >> (8 * i)));
}

bool startsWith(const uchar *data, qint64 size, const char *prefix, qint64 prefixSize)
{
    return size >= prefixSize && std::memcmp(data, prefix, size_t(prefixSize)) == 0;
}

// zlib data inflated, or false when it is damaged or grows past kInflateLimit.
bool inflateBounded(const char *data, qsizetype size, QByteArray *out)
{
    z_stream z {};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    z.avail_in = uInt(size);
    QByteArray result;
    char buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef *>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        result.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        if (result.size() > kInflateLimit || (rc == Z_BUF_ERROR && z.avail_in == 0))
            break;
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END)
        return false;
    *out = std::move(result);
    return true;
}

// ImageMagick's "Raw profile type NAME" text: "\nNAME\n   LENGTH\nHEX...".
bool decodeRawProfile(const QByteArray &text, QByteArray *out)
{
    const QList<QByteArray> head = text.trimmed().left(64).split('\n');
    if (head.size() < 2)
        return false;
    bool ok = false;
    const qsizetype length = head[1].trimmed().toLongLong(&ok);
    if (!ok || length < 0 || length > kInflateLimit)
        return false;
    qsizetype pos = text.indexOf(head[1]) + head[1].size();
    QByteArray hex;
    hex.reserve(length * 2);
    for (; pos < text.size() && hex.size() < length * 2; ++pos) {
        const char c = text[pos];
        if (std::isxdigit(uchar(c)))
            hex.append(c);
        else if (!std::isspace(uchar(c)))
            return false;
    }
    if (hex.size() != length * 2)
        return false;
    *out = QByteArray::fromHex(hex);
    return true;
}

void takeExif(QByteArray exif, MetadataParts &parts)
{
    if (exif.startsWith(QByteArray("Exif\0\0", 6)))
        exif.remove(0, 6);
    if (ExifBlock::parse(exif))
        parts.exif = exif;
    else
        parts.unreadable << QStringLiteral("EXIF");
}

void takeIcc(const QByteArray &icc, MetadataParts &parts)
{
    if (isReadableProfile(icc))
        parts.icc = icc;
    else
        parts.unreadable << QStringLiteral("ICC");
}

// Segments in which cameras keep notes of their own beside EXIF.
bool isCameraSegment(uchar marker, const uchar *p, qint64 n)
{
    static const struct {
        uchar marker;
        const char *signature;
        qint64 size;
    } kinds[] = {
        {0xE0, "II\x1a\0\0\0HEAPJPGM", 14}, // Canon CIFF
        {0xE1, "QVCI", 4}, // Casio QV
        {0xE3, "Meta", 4}, // Kodak
        {0xE3, "META", 4},
        {0xE5, "RMETA", 5}, // Ricoh
        {0xE6, "EPPIM", 5}, // Toshiba PrintIM
        {0xE6, "GoPro", 5},
        {0xE7, "\x1aQualcomm Camera Attributes", 27},
    };
    // APP12 holds a camera's picture info as text, or Photoshop's "Ducky" (not a camera's).
    if (marker == 0xEC)
        return !startsWith(p, n, "Ducky", 5);
    for (const auto &kind : kinds) {
        if (marker == kind.marker && startsWith(p, n, kind.signature, kind.size))
            return true;
    }
    return false;
}

void readJpeg(const uchar *data, qint64 size, MetadataParts &parts)
{
    QByteArray iccChunks[256];
    int iccCount = 0;
    bool iccDamaged = false;
    QByteArray photoshop;
    forEachJpegSegment(data, size, [&](const JpegSegment &s) {
        const uchar marker = s.marker;
        const uchar *p = s.payload;
        const qint64 n = s.size;
        const auto bytes = [&](qint64 skip) {
            return QByteArray(reinterpret_cast<const char *>(p + skip), n - skip);
        };
        if (marker == 0xE1 && startsWith(p, n, "Exif\0\0", 6) && parts.exif.isEmpty()
            && !parts.unreadable.contains(QStringLiteral("EXIF"))) {
            takeExif(bytes(6), parts);
            parts.exifFileOffset = s.offset + 10;
        } else if (marker == 0xE1 && startsWith(p, n, kXmpSignature, sizeof kXmpSignature)) {
            parts.xmp = bytes(sizeof kXmpSignature);
        } else if (marker == 0xE1 && startsWith(p, n, kExtendedXmpSignature, sizeof kExtendedXmpSignature)) {
            parts.extendedXmp << bytes(0);
        } else if (marker == 0xE2 && startsWith(p, n, "ICC_PROFILE\0", 12) && n > 14) {
            const int seq = p[12];
            if (seq < 1 || (iccCount != 0 && iccCount != p[13]))
                iccDamaged = true;
            iccCount = p[13];
            iccChunks[seq] = bytes(14);
        } else if (marker == 0xED && startsWith(p, n, "Photoshop 3.0\0", 14)) {
            photoshop += bytes(14); // a long block continues in the next segment
        } else if (isCameraSegment(marker, p, n)) {
            parts.cameraSegments << QByteArray(reinterpret_cast<const char *>(data + s.offset), 4 + n);
        }
        return true;
    });
    if (iccCount > 0 || iccDamaged) {
        QByteArray icc;
        for (int seq = 1; seq <= iccCount && !iccDamaged; ++seq) {
            iccDamaged = iccChunks[seq].isEmpty();
            icc += iccChunks[seq];
        }
        if (iccDamaged)
            parts.unreadable << QStringLiteral("ICC");
        else
            takeIcc(icc, parts);
    }
    if (!photoshop.isEmpty() && !splitPhotoshopResources(photoshop, &parts.iptc, &parts.photoshop))
        parts.unreadable << QStringLiteral("IPTC");
}

// What a PNG text chunk says: keyword and text, inflated when it is compressed.
bool pngText(const QByteArray &type, const QByteArray &chunk, QByteArray *keyword, QByteArray *text)
{
    const qsizetype nul = chunk.indexOf('\0');
    if (nul < 1 || nul > 79)
        return false;
    *keyword = chunk.left(nul);
    if (type == "tEXt") {
        *text = chunk.mid(nul + 1);
        return true;
    }
    if (type == "zTXt")
        return nul + 2 <= chunk.size()
            && inflateBounded(chunk.constData() + nul + 2, chunk.size() - nul - 2, text);
    // iTXt: flag, method, language\0, translated keyword\0, text
    if (nul + 3 > chunk.size())
        return false;
    const bool compressed = chunk[nul + 1] != 0;
    const qsizetype language = chunk.indexOf('\0', nul + 3);
    const qsizetype translated = language < 0 ? -1 : chunk.indexOf('\0', language + 1);
    if (translated < 0)
        return false;
    if (!compressed) {
        *text = chunk.mid(translated + 1);
        return true;
    }
    return inflateBounded(chunk.constData() + translated + 1, chunk.size() - translated - 1, text);
}

void readPngText(const QByteArray &type, const QByteArray &chunk, MetadataParts &parts)
{
    const qsizetype nul = chunk.indexOf('\0');
    const QByteArray key = chunk.left(qMax<qsizetype>(0, nul));
    const bool isXmp = key == "XML:com.adobe.xmp";
    const bool isRaw = key.startsWith("Raw profile type ");
    if (!isXmp && !isRaw)
        return; // comments and the like are not carried
    const QString part = isXmp ? QStringLiteral("XMP") : QString::fromLatin1(key.mid(17)).toUpper();
    const QString name = part == QLatin1String("APP1") ? QStringLiteral("EXIF")
        : part == QLatin1String("ICM")                 ? QStringLiteral("ICC")
        : part == QLatin1String("8BIM")                ? QStringLiteral("IPTC")
                                                       : part;
    QByteArray keyword, text, raw;
    if (!pngText(type, chunk, &keyword, &text) || (isRaw && !decodeRawProfile(text, &raw))) {
        parts.unreadable << name;
        return;
    }
    if (isXmp)
        parts.xmp = text;
    else if (name == QLatin1String("EXIF") && parts.exif.isEmpty())
        takeExif(raw, parts);
    else if (name == QLatin1String("XMP") && parts.xmp.isEmpty())
        parts.xmp = raw;
    else if (name == QLatin1String("ICC") && parts.icc.isEmpty())
        takeIcc(raw, parts);
    else if (name == QLatin1String("IPTC") && parts.iptc.isEmpty()) {
        if (!raw.startsWith("8BIM"))
            parts.iptc = raw;
        else if (QByteArray others; !splitPhotoshopResources(raw, &parts.iptc, &others))
            parts.unreadable << name;
    }
}

void readPng(const uchar *data, qint64 size, MetadataParts &parts)
{
    if (!pngChunksFitFile(data, size))
        return;
    qint64 pos = 8;
    while (pos + 12 <= size) {
        const qint64 length = qFromBigEndian<quint32>(data + pos);
        if (pos + 12 + length > size)
            break;
        const QByteArray type(reinterpret_cast<const char *>(data + pos + 4), 4);
        const QByteArray chunk(reinterpret_cast<const char *>(data + pos + 8), length);
        if (type == "IDAT" || type == "IEND")
            break;
        if (type == "eXIf") {
            takeExif(chunk, parts);
        } else if (type == "iCCP") {
            const qsizetype nul = chunk.indexOf('\0');
            QByteArray icc;
            if (nul < 1 || nul + 2 > chunk.size()
                || !inflateBounded(chunk.constData() + nul + 2, chunk.size() - nul - 2, &icc))
                parts.unreadable << QStringLiteral("ICC");
            else
                takeIcc(icc, parts);
        } else if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
            readPngText(type, chunk, parts);
        }
        pos += 12 + length;
    }
}

void readWebp(const uchar *data, qint64 size, MetadataParts &parts)
{
    qint64 pos = 12;
    while (pos + 8 <= size) {
        const qint64 length = qFromLittleEndian<quint32>(data + pos + 4);
        if (pos + 8 + length > size)
            break;
        const QByteArray chunk(reinterpret_cast<const char *>(data + pos + 8), length);
        if (std::memcmp(data + pos, "EXIF", 4) == 0)
            takeExif(chunk, parts);
        else if (std::memcmp(data + pos, "XMP ", 4) == 0)
            parts.xmp = chunk;
        else if (std::memcmp(data + pos, "ICCP", 4) == 0)
            takeIcc(chunk, parts);
        pos += 8 + length + (length & 1);
    }
}

QByteArray photoshopResource(quint16 id, const QByteArray &data)
{
    QByteArray out("8BIM");
    appendBigEndian(out, id, 2);
    out.append("\0\0", 2); // empty name, padded to an even length
    appendBigEndian(out, quint32(data.size()), 4);
    out += data;
    if (data.size() % 2)
        out.append('\0');
    return out;
}

QByteArray jpegSegment(uchar marker, const QByteArray &payload)
{
    QByteArray out;
    out.append(char(0xFF)).append(char(marker));
    appendBigEndian(out, quint32(payload.size() + 2), 2);
    return out + payload;
}

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    QByteArray out;
    appendBigEndian(out, quint32(data.size()), 4);
    QByteArray body(type, 4);
    body += data;
    out += body;
    appendBigEndian(
        out, quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))), 4);
    return out;
}

} // namespace

bool splitPhotoshopResources(const QByteArray &irb, QByteArray *iptc, QByteArray *others)
{
    const auto *p = reinterpret_cast<const uchar *>(irb.constData());
    const qint64 size = irb.size();
    qint64 pos = 0;
    while (pos + 12 <= size) {
        if (std::memcmp(p + pos, "8BIM", 4) != 0)
            return false;
        const quint16 id = quint16((p[pos + 4] << 8) | p[pos + 5]);
        const qint64 nameSize = (1 + qint64(p[pos + 6]) + 1) & ~qint64(1);
        const qint64 lengthAt = pos + 6 + nameSize;
        if (lengthAt + 4 > size)
            return false;
        const qint64 length = qFromBigEndian<quint32>(p + lengthAt);
        const qint64 end = lengthAt + 4 + length + (length & 1);
        if (lengthAt + 4 + length > size)
            return false;
        if (id == 0x0404 && iptc->isEmpty())
            *iptc = irb.mid(lengthAt + 4, length);
        else if (id != 0x0409 && id != 0x040c) // thumbnails of the source
            others->append(irb.mid(pos, qMin(end, size) - pos));
        pos = end;
    }
    return true;
}

bool readMetadataParts(const uchar *data, qint64 size, MetadataParts &parts)
{
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        readJpeg(data, size, parts);
    else if (looksLikePng(data, size))
        readPng(data, size, parts);
    else if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0)
        readWebp(data, size, parts);
    else
        return false;
    parts.unreadable.removeDuplicates();
    return true;
}

QByteArray jpegWithParts(const QByteArray &jpeg, const MetadataParts &parts)
{
    const auto *data = reinterpret_cast<const uchar *>(jpeg.constData());
    // EXIF stands where the source had it, right behind SOI as cameras put it or
    // behind the JFIF header: some maker notes count their offsets from the start
    // of the file. Without one the encoder's JFIF header is dropped.
    qsizetype at = 2;
    qsizetype rest = 2;
    if (jpeg.size() > 18 && data[2] == 0xFF && data[3] == 0xE0 && std::memcmp(data + 6, "JFIF\0", 5) == 0) {
        const qsizetype jfifEnd = 4 + ((data[4] << 8) | data[5]);
        if (parts.exif.isEmpty() || parts.exifFileOffset == jfifEnd + 10)
            at = rest = jfifEnd;
        else
            rest = jfifEnd;
    }
    QByteArray segments;
    if (!parts.exif.isEmpty() && parts.exif.size() + 8 <= 0xFFFF)
        segments += jpegSegment(0xE1, QByteArray("Exif\0\0", 6) + parts.exif);
    if (!parts.xmp.isEmpty() && parts.xmp.size() + qsizetype(sizeof kXmpSignature) + 2 <= 0xFFFF) {
        segments += jpegSegment(0xE1, QByteArray(kXmpSignature, sizeof kXmpSignature) + parts.xmp);
        for (const QByteArray &extension : parts.extendedXmp)
            segments += jpegSegment(0xE1, extension);
    }
    constexpr qsizetype kIccChunk = 0xFFFF - 2 - 14;
    const qsizetype iccCount = (parts.icc.size() + kIccChunk - 1) / kIccChunk;
    for (qsizetype i = 0; i < iccCount && iccCount < 256; ++i) {
        QByteArray payload("ICC_PROFILE\0", 12);
        payload.append(char(i + 1)).append(char(iccCount));
        segments += jpegSegment(0xE2, payload + parts.icc.mid(i * kIccChunk, kIccChunk));
    }
    QByteArray resources;
    for (qsizetype pos = 0; pos + 12 <= parts.photoshop.size();) {
        const auto *p = reinterpret_cast<const uchar *>(parts.photoshop.constData()) + pos;
        const quint16 id = quint16((p[4] << 8) | p[5]);
        const qsizetype lengthAt = 6 + ((1 + p[6] + 1) & ~1);
        const quint32 length = qFromBigEndian<quint32>(p + lengthAt);
        const qsizetype size = lengthAt + 4 + length + (length & 1);
        if (id != 0x0425 || !parts.iptcEdited) // the IPTC digest
            resources += parts.photoshop.mid(pos, size);
        pos += size;
    }
    if (!parts.iptc.isEmpty())
        resources += photoshopResource(0x0404, parts.iptc);
    if (!resources.isEmpty() && resources.size() + 14 + 2 <= 0xFFFF)
        segments += jpegSegment(0xED, QByteArray("Photoshop 3.0\0", 14) + resources);
    for (const QByteArray &segment : parts.cameraSegments)
        segments += segment;
    return jpeg.left(at) + segments + jpeg.mid(rest);
}

QByteArray pngWithParts(const QByteArray &png, const MetadataParts &parts)
{
    constexpr qsizetype kAfterIhdr = 8 + 12 + 13;
    if (png.size() < kAfterIhdr)
        return png;
    QByteArray chunks;
    if (!parts.icc.isEmpty())
        chunks += pngChunk("iCCP", QByteArray("ICC Profile\0\0", 13) + qCompress(parts.icc).mid(4));
    if (!parts.exif.isEmpty())
        chunks += pngChunk("eXIf", parts.exif);
    if (!parts.xmp.isEmpty())
        chunks += pngChunk("iTXt", QByteArray("XML:com.adobe.xmp\0\0\0\0\0", 22) + parts.xmp);
    return png.left(kAfterIhdr) + chunks + png.mid(kAfterIhdr);
}

QByteArray webpWithParts(const QByteArray &webp, const MetadataParts &parts)
{
    const WebPData in {reinterpret_cast<const uint8_t *>(webp.constData()), size_t(webp.size())};
    const std::unique_ptr<WebPMux, void (*)(WebPMux *)> mux(WebPMuxCreate(&in, 1), WebPMuxDelete);
    if (!mux)
        return {};
    const auto set = [&mux](const char *fourcc, const QByteArray &bytes) {
        const WebPData chunk {reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())};
        return bytes.isEmpty() || WebPMuxSetChunk(mux.get(), fourcc, &chunk, 1) == WEBP_MUX_OK;
    };
    WebPData assembled {};
    if (!set("ICCP", parts.icc) || !set("EXIF", parts.exif) || !set("XMP ", parts.xmp)
        || WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK)
        return {};
    QByteArray out(reinterpret_cast<const char *>(assembled.bytes), qsizetype(assembled.size));
    WebPDataClear(&assembled);
    return out;
}
