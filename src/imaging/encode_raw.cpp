#include "imaging/encoders.h"

#include <QtEndian>

namespace {

void put16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}

void put32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

} // namespace

QByteArray encodeBmp24(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const quint32 stride = (quint32(w) * 3 + 3) & ~3u;
    const quint32 imageSize = stride * quint32(h);
    QByteArray b;
    b.reserve(int(54 + imageSize));
    b.append("BM", 2);
    put32(b, 54 + imageSize);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, quint32(w));
    put32(b, quint32(h)); // positive: rows bottom-up
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, imageSize);
    put32(b, 3780); // 96 dpi
    put32(b, 3780);
    put32(b, 0);
    put32(b, 0);
    QByteArray row(int(stride), '\0');
    for (int y = h - 1; y >= 0; --y) {
        const auto *src = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        char *dst = row.data();
        for (int x = 0; x < w; ++x) {
            *dst++ = char(qBlue(src[x]));
            *dst++ = char(qGreen(src[x]));
            *dst++ = char(qRed(src[x]));
        }
        b.append(row);
    }
    return b;
}

QByteArray encodeTiff24(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    const quint32 w = quint32(image.width());
    const quint32 h = quint32(image.height());
    const quint32 stripBytes = w * 3 * h;

    // Little-endian baseline TIFF: header, pixel strip, then one directory.
    const quint32 stripOffset = 8;
    const quint32 bitsOffset = stripOffset + stripBytes; // three SHORTs: 8, 8, 8
    const quint32 resOffset = bitsOffset + 6 + (stripBytes % 2); // two RATIONALs
    const quint32 ifdOffset = resOffset + 16;

    QByteArray b;
    b.reserve(int(ifdOffset + 2 + 12 * 12 + 4));
    b.append("II", 2);
    put16(b, 42);
    put32(b, ifdOffset);
    for (quint32 y = 0; y < h; ++y)
        b.append(reinterpret_cast<const char *>(image.constScanLine(int(y))), int(w * 3));
    put16(b, 8);
    put16(b, 8);
    put16(b, 8);
    if (stripBytes % 2)
        b.append('\0');
    put32(b, 96);
    put32(b, 1);
    put32(b, 96);
    put32(b, 1);

    struct Entry {
        quint16 tag, type;
        quint32 count, value;
    };
    const Entry entries[] = {
        {256, 4, 1, w}, // ImageWidth
        {257, 4, 1, h}, // ImageLength
        {258, 3, 3, bitsOffset}, // BitsPerSample
        {259, 3, 1, 1}, // Compression: none
        {262, 3, 1, 2}, // Photometric: RGB
        {273, 4, 1, stripOffset}, // StripOffsets
        {277, 3, 1, 3}, // SamplesPerPixel
        {278, 4, 1, h}, // RowsPerStrip
        {279, 4, 1, stripBytes}, // StripByteCounts
        {282, 5, 1, resOffset}, // XResolution
        {283, 5, 1, resOffset + 8}, // YResolution
        {296, 3, 1, 2}, // ResolutionUnit: inch
    };
    put16(b, quint16(std::size(entries)));
    for (const Entry &e : entries) {
        put16(b, e.tag);
        put16(b, e.type);
        put32(b, e.count);
        if (e.type == 3 && e.count == 1) {
            put16(b, quint16(e.value));
            put16(b, 0);
        } else {
            put32(b, e.value);
        }
    }
    put32(b, 0);
    return b;
}
