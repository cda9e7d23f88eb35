#include "batch/imaging/png_chunks.h"

#include <cstring>

namespace {
const uchar kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

quint32 bigEndian32(const uchar *p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}
} // namespace

bool looksLikePng(const uchar *data, qint64 size)
{
    return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

bool pngChunksFitFile(const uchar *data, qint64 size)
{
    qint64 pos = 8;
    while (pos + 8 <= size) {
        const qint64 length = bigEndian32(data + pos);
        const bool end = std::memcmp(data + pos + 4, "IEND", 4) == 0;
        // length, type, data, CRC
        if (pos + 12 + length > size)
            return end && pos + 8 + length <= size; // a missing final CRC is harmless
        if (end)
            return true;
        pos += 12 + length;
    }
    return true; // a file that just stops is the decoder's to report
}

namespace {
quint32 crc32Of(const char *data, qsizetype size)
{
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= uchar(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendBigEndian32(QByteArray &out, quint32 v)
{
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}
} // namespace

QByteArray nameUnnamedIccp(const QByteArray &png)
{
    const auto *data = reinterpret_cast<const uchar *>(png.constData());
    if (!looksLikePng(data, png.size()) || !pngChunksFitFile(data, png.size()))
        return png;
    qint64 pos = 8;
    while (pos + 12 <= png.size()) {
        const qint64 length = bigEndian32(data + pos);
        if (std::memcmp(data + pos + 4, "iCCP", 4) == 0 && length > 0 && data[pos + 8] == 0) {
            QByteArray chunk = QByteArrayLiteral("iCCPICC Profile");
            chunk.append(png.constData() + pos + 8, length);
            QByteArray out = png.left(pos);
            appendBigEndian32(out, quint32(chunk.size() - 4));
            out += chunk;
            appendBigEndian32(out, crc32Of(chunk.constData(), chunk.size()));
            out += png.mid(pos + 12 + length);
            return out;
        }
        pos += 12 + length;
    }
    return png;
}
