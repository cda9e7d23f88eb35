#include "imaging/png_chunks.h"

#include <QtEndian>

#include <cstring>

namespace {
const uchar kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
} // namespace

bool looksLikePng(const uchar *data, qint64 size)
{
    return size >= 8 && std::memcmp(data, kSignature, 8) == 0;
}

bool pngChunksFitFile(const uchar *data, qint64 size)
{
    qint64 pos = 8;
    while (pos + 8 <= size) {
        const qint64 length = qFromBigEndian<quint32>(data + pos);
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
