#include "imaging/iso_boxes.h"

#include <QtEndian>

#include <cstring>

QVector<IsoBox> isoBoxesIn(const uchar *data, qint64 size, qint64 fileOffset)
{
    QVector<IsoBox> boxes;
    qint64 pos = 0;
    while (pos + 8 <= size && boxes.size() < 10000) {
        quint64 length = qFromBigEndian<quint32>(data + pos);
        qint64 header = 8;
        if (length == 1) {
            if (pos + 16 > size)
                break;
            length = qFromBigEndian<quint64>(data + pos + 8);
            header = 16;
        } else if (length == 0) {
            length = quint64(size - pos);
        }
        if (length < quint64(header) || length > quint64(size - pos))
            break;
        IsoBox box;
        std::memcpy(box.type, data + pos + 4, 4);
        box.payload = data + pos + header;
        box.size = qint64(length) - header;
        box.offset = fileOffset + pos + header;
        boxes << box;
        pos += qint64(length);
    }
    return boxes;
}

QVector<IsoBox> isoBoxesIn(const IsoBox &box)
{
    return isoBoxesIn(box.payload, box.size, box.offset);
}

const IsoBox *findIsoBox(const QVector<IsoBox> &boxes, const char *type)
{
    for (const IsoBox &b : boxes)
        if (std::memcmp(b.type, type, 4) == 0)
            return &b;
    return nullptr;
}
