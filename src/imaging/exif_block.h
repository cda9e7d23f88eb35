#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

// An EXIF block (a TIFF structure: "II*\0" or "MM\0*", then directories) edited
// where it lies. Every byte not named by an edit stays where it was, so a maker
// note keeps its data at the same offsets and its internal pointers stay valid.
// A directory that must grow is written anew behind the block and its parent
// pointed at it; the old directory's bytes are zeroed.
class ExifBlock {
public:
    enum Ifd { Ifd0, ExifIfd, GpsIfd, InteropIfd, Ifd1, IfdCount };
    enum Type : quint16 { Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5, Undefined = 7 };

    // nullopt when the bytes are no TIFF structure or IFD0 cannot be read. A
    // damaged sub-directory is left as it is and reads as absent.
    static std::optional<ExifBlock> parse(const QByteArray &tiff);

    bool bigEndian() const { return bigEndian_; }
    bool has(Ifd ifd, quint16 tag) const;
    bool hasIfd(Ifd ifd) const { return dirs_[ifd].present; }
    std::vector<quint16> tags(Ifd ifd) const;
    // The first value of a SHORT or LONG tag, or fallback.
    quint32 number(Ifd ifd, quint16 tag, quint32 fallback = 0) const;
    QByteArray rawValue(Ifd ifd, quint16 tag) const; // the value's bytes as stored

    // Sets a tag: in place when the new value fits where the old one is, else
    // the directory is written anew by finish().
    void setNumber(Ifd ifd, quint16 tag, quint32 value); // SHORT if it fits, else LONG
    void setValue(Ifd ifd, quint16 tag, Type type, quint32 count, const QByteArray &bytes);
    // An ASCII value: overwritten in place (padded with NULs) when it fits the old
    // one's space, else only when the tag is absent or mayGrow.
    void setText(Ifd ifd, quint16 tag, const QByteArray &text, bool mayGrow);
    void remove(Ifd ifd, quint16 tag);

    // Cuts a directory out: its entries, the values they point to (for IFD1 also
    // the thumbnail) are zeroed and the link to it removed.
    void dropIfd(Ifd ifd);

    // Appends bytes behind the block (at an even offset) and gives their offset,
    // for data a directory will point at (a TIFF's pixel strip).
    quint32 append(const QByteArray &bytes);

    // The edited block. Zeroed bytes at its end are cut off when nothing that
    // stays points there.
    QByteArray finish();

    quint32 readNumber(const uchar *p, int size) const;
    void writeNumber(uchar *p, int size, quint32 v) const;

private:
    struct Entry {
        quint16 tag = 0;
        quint16 type = 0;
        quint32 count = 0;
        QByteArray field; // the entry's 4-byte value field as stored
        QByteArray newData; // a value that must be written behind the block
    };
    struct Directory {
        bool present = false;
        bool changed = false; // the directory's entries must be written out
        quint32 offset = 0;
        int storedCount = 0;
        std::vector<Entry> entries;
    };

    Entry *find(Ifd ifd, quint16 tag);
    const Entry *find(Ifd ifd, quint16 tag) const;
    Entry &entryFor(Ifd ifd, quint16 tag);
    quint32 valueSize(const Entry &e) const;
    quint32 valueOffset(const Entry &e) const;
    bool readDirectory(Ifd ifd, quint32 offset);
    void zero(quint32 offset, quint32 size);
    void writeDirectory(Ifd ifd);
    void link(Ifd parent, quint16 tag, Ifd child);

    QByteArray bytes_;
    bool bigEndian_ = false;
    Directory dirs_[IfdCount];
    quint32 ifd1Link_ = 0; // where IFD0's next-directory field is
};

// True when EXIF alone says the pixels are Adobe RGB: ColorSpace uncalibrated
// (0xFFFF) with InteropIndex "R03", the camera rule for an unembedded profile.
bool exifMarksAdobeRgb(const QByteArray &tiff);
