#include "imaging/heif_boxes.h"

#include "imaging/iso_boxes.h"

#include <QHash>
#include <QVector>

#include <cstring>

namespace {

// Checked big-endian reads over one box's payload.
class Reader {
public:
    Reader(const uchar *data, qint64 size)
        : data_(data)
        , size_(size)
    {
    }

    bool has(qint64 n) const { return n >= 0 && pos_ <= size_ && n <= size_ - pos_; }
    quint64 number(int bytes)
    {
        if (!has(bytes)) {
            pos_ = size_ + 1; // every later read fails too
            return 0;
        }
        quint64 n = 0;
        for (int i = 0; i < bytes; ++i)
            n = (n << 8) | data_[pos_ + i];
        pos_ += bytes;
        return n;
    }
    quint32 u8() { return quint32(number(1)); }
    quint32 u16() { return quint32(number(2)); }
    quint32 u32() { return quint32(number(4)); }
    void skip(qint64 n) { pos_ = has(n) ? pos_ + n : size_ + 1; }
    bool ok() const { return pos_ <= size_; }
    qint64 pos() const { return pos_; }

private:
    const uchar *data_;
    qint64 size_;
    qint64 pos_ = 0;
};

// Children of a full box (version and flags first).
QVector<IsoBox> childrenOfFullBox(const IsoBox &box)
{
    return box.size < 4 ? QVector<IsoBox>() : isoBoxesIn(box.payload + 4, box.size - 4, box.offset + 4);
}

struct ItemPlace {
    int method = 0; // 0: file offset, 1: inside idat
    qint64 offset = 0;
    qint64 length = 0;
};

QHash<quint32, ItemPlace> itemPlaces(const IsoBox &iloc)
{
    QHash<quint32, ItemPlace> places;
    Reader r(iloc.payload, iloc.size);
    const quint32 version = r.u8();
    r.skip(3);
    const quint32 sizes = r.u8();
    const int offsetSize = int(sizes >> 4), lengthSize = int(sizes & 15);
    const quint32 more = r.u8();
    const int baseSize = int(more >> 4), indexSize = version >= 1 ? int(more & 15) : 0;
    const quint32 count = version < 2 ? r.u16() : r.u32();
    for (quint32 i = 0; i < count && r.ok(); ++i) {
        const quint32 id = version < 2 ? r.u16() : r.u32();
        ItemPlace place;
        if (version >= 1)
            place.method = int(r.u16() & 15);
        r.skip(2); // data reference index
        const qint64 base = qint64(r.number(baseSize));
        const quint32 extents = r.u16();
        for (quint32 e = 0; e < extents && r.ok(); ++e) {
            r.skip(indexSize);
            const qint64 offset = qint64(r.number(offsetSize));
            const qint64 length = qint64(r.number(lengthSize));
            if (e == 0) {
                place.offset = base + offset;
                place.length = length;
            }
        }
        if (r.ok())
            places.insert(id, place);
    }
    return places;
}

QHash<quint32, QByteArray> itemTypes(const IsoBox &iinf)
{
    QHash<quint32, QByteArray> types;
    Reader r(iinf.payload, iinf.size);
    const quint32 version = r.u8();
    r.skip(3 + (version == 0 ? 2 : 4));
    if (!r.ok())
        return types;
    const qint64 start = r.pos();
    for (const IsoBox &infe : isoBoxesIn(iinf.payload + start, iinf.size - start, iinf.offset + start)) {
        if (std::memcmp(infe.type, "infe", 4) != 0)
            continue;
        Reader e(infe.payload, infe.size);
        const quint32 v = e.u8();
        e.skip(3);
        if (v < 2)
            continue;
        const quint32 id = v == 2 ? e.u16() : e.u32();
        e.skip(2); // protection index
        if (e.has(4))
            types.insert(id, QByteArray(reinterpret_cast<const char *>(infe.payload + e.pos()), 4));
    }
    return types;
}

void consider(HeifDeclaredSizes &sizes, quint64 w, quint64 h)
{
    const quint64 side = 1u << 30;
    w = qMin(w, side);
    h = qMin(h, side);
    if (w * h > quint64(sizes.largest.width()) * quint64(qMax(0, sizes.largest.height())))
        sizes.largest = QSize(int(w), int(h));
}

} // namespace

HeifDeclaredSizes readHeifDeclaredSizes(const uchar *data, qint64 size)
{
    HeifDeclaredSizes sizes;
    sizes.largest = QSize(0, 0);
    const QVector<IsoBox> top = isoBoxesIn(data, size, 0);
    const IsoBox *meta = findIsoBox(top, "meta");
    if (!meta)
        return sizes;
    const QVector<IsoBox> inMeta = childrenOfFullBox(*meta);
    if (const IsoBox *iprp = findIsoBox(inMeta, "iprp")) {
        const QVector<IsoBox> inIprp = isoBoxesIn(*iprp); // ipco points into it
        if (const IsoBox *ipco = findIsoBox(inIprp, "ipco")) {
            for (const IsoBox &property : isoBoxesIn(*ipco)) {
                if (std::memcmp(property.type, "ispe", 4) != 0)
                    continue;
                Reader r(property.payload, property.size);
                r.skip(4);
                const quint32 w = r.u32(), h = r.u32();
                if (r.ok())
                    consider(sizes, w, h);
            }
        }
    }
    const IsoBox *iinf = findIsoBox(inMeta, "iinf");
    const IsoBox *iloc = findIsoBox(inMeta, "iloc");
    if (!iinf || !iloc)
        return sizes;
    const IsoBox *idat = findIsoBox(inMeta, "idat");
    const QHash<quint32, ItemPlace> places = itemPlaces(*iloc);
    const QHash<quint32, QByteArray> types = itemTypes(*iinf);
    for (auto it = types.cbegin(); it != types.cend(); ++it) {
        const bool grid = it.value() == "grid";
        if (!grid && it.value() != "iovl")
            continue;
        const auto place = places.constFind(it.key());
        if (place == places.cend())
            continue;
        const uchar *base = data;
        qint64 available = size;
        if (place->method == 1) {
            if (!idat)
                continue;
            base = idat->payload;
            available = idat->size;
        }
        if (place->offset < 0 || place->offset >= available)
            continue;
        Reader r(base + place->offset, qMin(available - place->offset, qMax<qint64>(place->length, 0)));
        r.skip(1); // version
        const quint32 flags = r.u8();
        r.skip(grid ? 2 : 8); // rows and columns, or the overlay's fill colour
        const int field = (flags & 1) ? 4 : 2;
        const quint64 w = r.number(field), h = r.number(field);
        if (r.ok())
            consider(sizes, w, h);
    }
    return sizes;
}
