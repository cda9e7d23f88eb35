#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

// EXIF, XMP, IPTC and the ICC profile of a source picture, kept as the bytes the
// camera or program wrote. JPEG, PNG, WebP and HEIF are read directly; other
// containers (TIFF) through exiv2.
class SourceMetadata {
public:
    SourceMetadata();
    ~SourceMetadata();
    SourceMetadata(SourceMetadata &&) noexcept;
    SourceMetadata &operator=(SourceMetadata &&) noexcept;

    // A format without metadata (BMP, GIF) reads as empty. A damaged part is
    // left out and named by unreadableParts(); the rest is still read.
    // profileOnly: the colour profile and nothing else (for outputs that strip
    // the tags), with no part ever named unreadable.
    static SourceMetadata fromFile(const QString &path, bool profileOnly = false);
    static SourceMetadata fromBytes(const QByteArray &bytes);

    QStringList unreadableParts() const;
    bool hasTags() const; // any EXIF, XMP or IPTC
    // The source's profile; Adobe RGB when only its EXIF says so.
    QByteArray iccProfile() const;

    struct Data;
    const Data &data() const { return *d_; }

private:
    std::unique_ptr<Data> d_;
};

// What one output carries of its source.
struct MetadataPlan {
    int choice = 1; // MetadataChoice
    QSize outputSize;
    QByteArray iccProfile; // embedded when not empty
};

// True for the output extensions that can hold metadata: jpg, jpeg, png, tif, tiff,
// webp, avif, heic, heif.
bool extensionCarriesMetadata(const QString &extension);

// Writes into an encoded JPEG, PNG, TIFF or WebP (in memory) what plan keeps of
// source. The source's blocks are carried as they are, changed in place only
// where they must be: Orientation 1, the output's pixel size, no thumbnail, no
// location for that choice, colour tags that match a conversion to sRGB,
// Software. Returns the parts that were left out because they could not be
// read or written; the picture itself is always kept.
QStringList carryMetadata(QByteArray &encoded, const SourceMetadata &source, const MetadataPlan &plan);

// The same for HEIC and AVIF, whose metadata goes in while encoding: the EXIF
// block and XMP packet the plan keeps (IPTC merged into the XMP), and the profile.
QStringList heifMetadataFor(const SourceMetadata &source, const MetadataPlan &plan, struct HeifMetadata *out);
