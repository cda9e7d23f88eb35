#pragma once

#include <QByteArray>

// True when data starts with the PNG signature.
bool looksLikePng(const uchar *data, qint64 size);

// Walks a PNG's chunk list without decoding: false when a chunk claims more bytes
// than the file holds. libpng would otherwise allocate and clear whatever length a
// damaged chunk claims, a gigabyte for a file of a few hundred bytes.
bool pngChunksFitFile(const uchar *data, qint64 size);
