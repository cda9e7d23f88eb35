#include "imaging/exif_block.h"

#include <algorithm>
#include <cstring>

namespace {

quint32 typeSize(quint16 type)
{
    switch (type) {
    case 1: // BYTE
    case 2: // ASCII
    case 6: // SBYTE
    case 7: // UNDEFINED
        return 1;
    case 3: // SHORT
    case 8: // SSHORT
        return 2;
    case 4: // LONG
    case 9: // SLONG
    case 11: // FLOAT
    case 13: // IFD
        return 4;
    case 5: // RATIONAL
    case 10: // SRATIONAL
    case 12: // DOUBLE
        return 8;
    default:
        return 0;
    }
}

constexpr quint16 kExifPointer = 0x8769;
constexpr quint16 kGpsPointer = 0x8825;
constexpr quint16 kInteropPointer = 0xa005;

} // namespace

quint32 ExifBlock::readNumber(const uchar *p, int size) const
{
    quint32 v = 0;
    for (int i = 0; i < size; ++i)
        v |= quint32(p[bigEndian_ ? i : size - 1 - i]) << (8 * (size - 1 - i));
    return v;
}

void ExifBlock::writeNumber(uchar *p, int size, quint32 v) const
{
    for (int i = 0; i < size; ++i)
        p[bigEndian_ ? size - 1 - i : i] = uchar(v >> (8 * i));
}

std::optional<ExifBlock> ExifBlock::parse(const QByteArray &tiff)
{
    if (tiff.size() < 8)
        return std::nullopt;
    ExifBlock block;
    if (tiff.startsWith("II*\0"))
        block.bigEndian_ = false;
    else if (tiff.startsWith(QByteArray("MM\0*", 4)))
        block.bigEndian_ = true;
    else
        return std::nullopt;
    block.bytes_ = tiff;
    const auto *data = reinterpret_cast<const uchar *>(tiff.constData());
    if (!block.readDirectory(Ifd0, block.readNumber(data + 4, 4)))
        return std::nullopt;
    const auto follow = [&block](Ifd parent, quint16 tag, Ifd child) {
        const Entry *e = block.find(parent, tag);
        if (e
            && block.readDirectory(
                child, block.readNumber(reinterpret_cast<const uchar *>(e->field.data()), 4)))
            return;
        block.dirs_[child] = Directory();
    };
    follow(Ifd0, kExifPointer, ExifIfd);
    follow(Ifd0, kGpsPointer, GpsIfd);
    follow(ExifIfd, kInteropPointer, InteropIfd);
    const quint32 next = block.readNumber(data + block.ifd1Link_, 4);
    if (next != 0 && !block.readDirectory(Ifd1, next))
        block.dirs_[Ifd1] = Directory();
    return block;
}

bool ExifBlock::readDirectory(Ifd ifd, quint32 offset)
{
    const qint64 size = bytes_.size();
    if (offset < 8 || qint64(offset) + 2 > size)
        return false;
    for (const Directory &d : dirs_) {
        if (d.present && d.offset == offset)
            return false; // a loop or a shared directory: read once only
    }
    const auto *data = reinterpret_cast<const uchar *>(bytes_.constData());
    const int count = int(readNumber(data + offset, 2));
    if (qint64(offset) + 2 + 12 * qint64(count) + 4 > size)
        return false;
    Directory d;
    d.present = true;
    d.offset = offset;
    d.storedCount = count;
    for (int i = 0; i < count; ++i) {
        const uchar *p = data + offset + 2 + 12 * i;
        Entry e;
        e.tag = quint16(readNumber(p, 2));
        e.type = quint16(readNumber(p + 2, 2));
        e.count = readNumber(p + 4, 4);
        e.field = QByteArray(reinterpret_cast<const char *>(p + 8), 4);
        d.entries.push_back(e);
    }
    if (ifd == Ifd0)
        ifd1Link_ = offset + 2 + 12 * quint32(count);
    dirs_[ifd] = std::move(d);
    return true;
}

ExifBlock::Entry *ExifBlock::find(Ifd ifd, quint16 tag)
{
    for (Entry &e : dirs_[ifd].entries) {
        if (e.tag == tag)
            return &e;
    }
    return nullptr;
}

const ExifBlock::Entry *ExifBlock::find(Ifd ifd, quint16 tag) const
{
    return const_cast<ExifBlock *>(this)->find(ifd, tag);
}

std::vector<quint16> ExifBlock::tags(Ifd ifd) const
{
    std::vector<quint16> out;
    for (const Entry &e : dirs_[ifd].entries)
        out.push_back(e.tag);
    return out;
}

bool ExifBlock::has(Ifd ifd, quint16 tag) const
{
    return find(ifd, tag) != nullptr;
}

quint32 ExifBlock::valueSize(const Entry &e) const
{
    const quint64 size = quint64(typeSize(e.type)) * e.count;
    return size > 0xffffffffu ? 0xffffffffu : quint32(size);
}

quint32 ExifBlock::valueOffset(const Entry &e) const
{
    return readNumber(reinterpret_cast<const uchar *>(e.field.constData()), 4);
}

QByteArray ExifBlock::rawValue(Ifd ifd, quint16 tag) const
{
    const Entry *e = find(ifd, tag);
    if (!e)
        return {};
    const quint32 size = valueSize(*e);
    if (!e->newData.isEmpty())
        return e->newData;
    if (size <= 4)
        return e->field.left(int(size));
    const quint32 offset = valueOffset(*e);
    if (quint64(offset) + size > quint64(bytes_.size()))
        return {};
    return bytes_.mid(offset, size);
}

quint32 ExifBlock::number(Ifd ifd, quint16 tag, quint32 fallback) const
{
    const Entry *e = find(ifd, tag);
    if (!e || e->count < 1 || !e->newData.isEmpty())
        return fallback;
    const auto *field = reinterpret_cast<const uchar *>(e->field.constData());
    if (e->type == Short)
        return readNumber(field, 2);
    if (e->type == Long)
        return readNumber(field, 4);
    return fallback;
}

ExifBlock::Entry &ExifBlock::entryFor(Ifd ifd, quint16 tag)
{
    if (Entry *e = find(ifd, tag))
        return *e;
    std::vector<Entry> &entries = dirs_[ifd].entries;
    const auto it
        = std::find_if(entries.begin(), entries.end(), [tag](const Entry &e) { return e.tag > tag; });
    Entry e;
    e.tag = tag;
    e.field = QByteArray(4, '\0');
    return *entries.insert(it, e);
}

void ExifBlock::setValue(Ifd ifd, quint16 tag, Type type, quint32 count, const QByteArray &value)
{
    if (!dirs_[ifd].present)
        return;
    Directory &d = dirs_[ifd];
    Entry *old = find(ifd, tag);
    const quint32 oldSize = old && old->newData.isEmpty() ? valueSize(*old) : 0;
    const quint32 oldOffset = old ? valueOffset(*old) : 0;
    Entry &e = entryFor(ifd, tag);
    e.type = type;
    e.count = count;
    e.newData.clear();
    d.changed = true;
    if (value.size() <= 4) {
        e.field = value.leftJustified(4, '\0', true);
        if (oldSize > 4)
            zero(oldOffset, oldSize);
    } else if (oldSize >= quint32(value.size()) && quint64(oldOffset) + oldSize <= quint64(bytes_.size())) {
        std::memcpy(bytes_.data() + oldOffset, value.constData(), size_t(value.size()));
        zero(oldOffset + quint32(value.size()), oldSize - quint32(value.size()));
    } else {
        if (oldSize > 4)
            zero(oldOffset, oldSize);
        e.newData = value;
    }
}

void ExifBlock::setNumber(Ifd ifd, quint16 tag, quint32 value)
{
    const Entry *e = find(ifd, tag);
    const bool asShort = value <= 0xffff && (!e || e->type == Short);
    QByteArray bytes(asShort ? 2 : 4, '\0');
    writeNumber(reinterpret_cast<uchar *>(bytes.data()), int(bytes.size()), value);
    setValue(ifd, tag, asShort ? Short : Long, 1, bytes);
}

void ExifBlock::setText(Ifd ifd, quint16 tag, const QByteArray &text, bool mayGrow)
{
    const Entry *e = find(ifd, tag);
    QByteArray value = text + '\0';
    if (e && e->type == Ascii && e->newData.isEmpty() && valueSize(*e) >= quint32(value.size())) {
        // The old count stays, the rest is padding: no directory needs to move.
        setValue(ifd, tag, Ascii, e->count, value.leftJustified(int(valueSize(*e)), '\0'));
        return;
    }
    if (!e || mayGrow)
        setValue(ifd, tag, Ascii, quint32(value.size()), value);
}

void ExifBlock::zero(quint32 offset, quint32 size)
{
    if (quint64(offset) + size <= quint64(bytes_.size()))
        std::memset(bytes_.data() + offset, 0, size);
}

void ExifBlock::remove(Ifd ifd, quint16 tag)
{
    std::vector<Entry> &entries = dirs_[ifd].entries;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->tag == tag) {
            if (it->newData.isEmpty() && valueSize(*it) > 4)
                zero(valueOffset(*it), valueSize(*it));
            entries.erase(it);
            dirs_[ifd].changed = true;
            return;
        }
    }
}

void ExifBlock::dropIfd(Ifd ifd)
{
    Directory &d = dirs_[ifd];
    if (!d.present)
        return;
    if (ifd == ExifIfd)
        dropIfd(InteropIfd);
    if (ifd == Ifd1) {
        // The thumbnail: a JPEG at 0x201 or strips at 0x111 with lengths at 0x117.
        zero(number(Ifd1, 0x201), number(Ifd1, 0x202));
        const Entry *offsets = find(Ifd1, 0x111);
        const Entry *lengths = find(Ifd1, 0x117);
        if (offsets && lengths && offsets->count == lengths->count && offsets->count < 65536) {
            const QByteArray o = rawValue(Ifd1, 0x111);
            const QByteArray l = rawValue(Ifd1, 0x117);
            const int os = int(typeSize(offsets->type));
            const int ls = int(typeSize(lengths->type));
            for (quint32 i = 0; (os == 2 || os == 4) && (ls == 2 || ls == 4) && i < offsets->count
                 && int((i + 1) * os) <= o.size() && int((i + 1) * ls) <= l.size();
                 ++i) {
                zero(readNumber(reinterpret_cast<const uchar *>(o.constData()) + i * os, os),
                    readNumber(reinterpret_cast<const uchar *>(l.constData()) + i * ls, ls));
            }
        }
        writeNumber(reinterpret_cast<uchar *>(bytes_.data()) + ifd1Link_, 4, 0);
    }
    for (const Entry &e : d.entries) {
        if (e.newData.isEmpty() && valueSize(e) > 4)
            zero(valueOffset(e), valueSize(e));
    }
    zero(d.offset, 2 + 12 * quint32(d.storedCount) + 4);
    d = Directory();
    if (ifd == ExifIfd)
        remove(Ifd0, kExifPointer);
    else if (ifd == GpsIfd)
        remove(Ifd0, kGpsPointer);
    else if (ifd == InteropIfd)
        remove(ExifIfd, kInteropPointer);
}

quint32 ExifBlock::append(const QByteArray &data)
{
    if (bytes_.size() % 2)
        bytes_.append('\0');
    const quint32 offset = quint32(bytes_.size());
    bytes_.append(data);
    return offset;
}

void ExifBlock::writeDirectory(Ifd ifd)
{
    Directory &d = dirs_[ifd];
    if (!d.present || !d.changed)
        return;
    // Readers look tags up by order; a source that broke it gets it back.
    std::stable_sort(
        d.entries.begin(), d.entries.end(), [](const Entry &a, const Entry &b) { return a.tag < b.tag; });
    const int n = int(d.entries.size());
    const bool grows = n > d.storedCount
        || std::any_of(
            d.entries.begin(), d.entries.end(), [](const Entry &e) { return !e.newData.isEmpty(); });
    auto *data = reinterpret_cast<uchar *>(bytes_.data());
    const quint32 oldSize = 2 + 12 * quint32(d.storedCount) + 4;
    const quint32 next
        = ifd == Ifd0 ? readNumber(data + ifd1Link_, 4) : readNumber(data + d.offset + oldSize - 4, 4);
    quint32 offset = d.offset;
    if (grows) {
        zero(d.offset, oldSize);
        offset = append(QByteArray(int(2 + 12 * n + 4), '\0'));
        for (Entry &e : d.entries) {
            if (!e.newData.isEmpty()) {
                const quint32 at = append(e.newData);
                writeNumber(reinterpret_cast<uchar *>(e.field.data()), 4, at);
                e.newData.clear();
            }
        }
        data = reinterpret_cast<uchar *>(bytes_.data());
    } else {
        zero(d.offset, oldSize);
    }
    writeNumber(data + offset, 2, quint32(n));
    for (int i = 0; i < n; ++i) {
        const Entry &e = d.entries[size_t(i)];
        uchar *p = data + offset + 2 + 12 * i;
        writeNumber(p, 2, e.tag);
        writeNumber(p + 2, 2, e.type);
        writeNumber(p + 4, 4, e.count);
        std::memcpy(p + 8, e.field.constData(), 4);
    }
    writeNumber(data + offset + 2 + 12 * n, 4, next);
    d.offset = offset;
    d.storedCount = n;
    d.changed = false;
    if (ifd == Ifd0) {
        ifd1Link_ = offset + 2 + 12 * quint32(n);
        writeNumber(data + 4, 4, offset);
    }
}

void ExifBlock::link(Ifd parent, quint16 tag, Ifd child)
{
    if (dirs_[child].present && number(parent, tag) != dirs_[child].offset)
        setValue(parent, tag, Long, 1, [&] {
            QByteArray b(4, '\0');
            writeNumber(reinterpret_cast<uchar *>(b.data()), 4, dirs_[child].offset);
            return b;
        }());
}

QByteArray ExifBlock::finish()
{
    writeDirectory(InteropIfd);
    link(ExifIfd, kInteropPointer, InteropIfd);
    writeDirectory(ExifIfd);
    writeDirectory(GpsIfd);
    link(Ifd0, kExifPointer, ExifIfd);
    link(Ifd0, kGpsPointer, GpsIfd);
    writeDirectory(Ifd0);

    // Whatever stays must lie before the cut: directories and the values they point to.
    quint64 liveEnd = 8;
    for (const Directory &d : dirs_) {
        if (!d.present)
            continue;
        liveEnd = std::max<quint64>(liveEnd, d.offset + 2 + 12 * quint64(d.storedCount) + 4);
        for (const Entry &e : d.entries) {
            if (valueSize(e) > 4)
                liveEnd = std::max<quint64>(liveEnd, quint64(valueOffset(e)) + valueSize(e));
        }
    }
    if (liveEnd < quint64(bytes_.size())) {
        const char *tail = bytes_.constData() + liveEnd;
        const qsizetype tailSize = bytes_.size() - qsizetype(liveEnd);
        if (std::all_of(tail, tail + tailSize, [](char c) { return c == 0; }))
            bytes_.truncate(qsizetype(liveEnd));
    }
    return bytes_;
}

bool exifMarksAdobeRgb(const QByteArray &tiff)
{
    const std::optional<ExifBlock> block = ExifBlock::parse(tiff);
    return block && block->number(ExifBlock::ExifIfd, 0xa001) == 0xffff
        && block->rawValue(ExifBlock::InteropIfd, 0x0001).startsWith("R03");
}
