#include "imaging/cr3_metadata.h"

#include "imaging/iso_boxes.h"

#include <cstring>

namespace {

// Canon's metadata box and the XMP box, as 16-byte uuid box types.
constexpr uchar kCanonUuid[16]
    = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0, 0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
constexpr uchar kXmpUuid[16]
    = {0xbe, 0x7a, 0xcf, 0xcb, 0x97, 0xa9, 0x42, 0xe8, 0x9c, 0x71, 0x99, 0x94, 0x91, 0xe3, 0xaf, 0xac};

// The payload of the uuid box of this kind among boxes, past its 16-byte kind.
bool uuidBox(const QVector<IsoBox> &boxes, const uchar (&uuid)[16], IsoBox *inside)
{
    for (const IsoBox &box : boxes) {
        if (std::memcmp(box.type, "uuid", 4) == 0 && box.size >= 16
            && std::memcmp(box.payload, uuid, 16) == 0) {
            *inside = {{}, box.payload + 16, box.size - 16, box.offset + 16};
            return true;
        }
    }
    return false;
}

QByteArray payloadOf(const QVector<IsoBox> &boxes, const char *type)
{
    const IsoBox *box = findIsoBox(boxes, type);
    return box ? QByteArray(reinterpret_cast<const char *>(box->payload), qsizetype(box->size))
               : QByteArray();
}

} // namespace

bool looksLikeCr3(const uchar *data, qint64 size)
{
    return size >= 12 && std::memcmp(data + 4, "ftypcrx ", 8) == 0;
}

Cr3Metadata readCr3Metadata(const uchar *data, qint64 size)
{
    Cr3Metadata m;
    if (!looksLikeCr3(data, size))
        return m;
    const QVector<IsoBox> top = isoBoxesIn(data, size);
    IsoBox inside;
    if (uuidBox(top, kXmpUuid, &inside))
        m.xmp = QByteArray(reinterpret_cast<const char *>(inside.payload), qsizetype(inside.size));
    const IsoBox *moov = findIsoBox(top, "moov");
    if (moov && uuidBox(isoBoxesIn(*moov), kCanonUuid, &inside)) {
        const QVector<IsoBox> canon = isoBoxesIn(inside);
        m.pictureIfd = payloadOf(canon, "CMT1");
        m.exifIfd = payloadOf(canon, "CMT2");
        m.gpsIfd = payloadOf(canon, "CMT4");
    }
    return m;
}
