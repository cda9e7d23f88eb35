#pragma once

#include <QVector>

// The boxes of an ISO base media file (HEIF, AVIF, Canon's CR3): a 32-bit size
// (1: a 64-bit one follows the type, 0: to the end), a four-letter type, the payload.
struct IsoBox {
    char type[5] = {};
    const uchar *payload = nullptr;
    qint64 size = 0;
    qint64 offset = 0; // of the payload within the file
};

// The boxes one after another in data; stops at the first that does not fit.
QVector<IsoBox> isoBoxesIn(const uchar *data, qint64 size, qint64 fileOffset = 0);
QVector<IsoBox> isoBoxesIn(const IsoBox &box);
const IsoBox *findIsoBox(const QVector<IsoBox> &boxes, const char *type);
