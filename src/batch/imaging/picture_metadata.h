#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <memory>

// EXIF, XMP, IPTC and the ICC profile of a source picture, read through exiv2.
class SourceMetadata {
public:
    SourceMetadata();
    ~SourceMetadata();
    SourceMetadata(SourceMetadata &&) noexcept;
    SourceMetadata &operator=(SourceMetadata &&) noexcept;

    // A format exiv2 does not know (BMP, GIF) reads as empty, not as a failure;
    // damaged metadata is a failure with *error.
    static SourceMetadata fromFile(const QString &path, QString *error);
    static SourceMetadata fromBytes(const QByteArray &bytes, QString *error);

    bool ok() const { return ok_; }
    bool hasTags() const; // any EXIF, XMP or IPTC
    QByteArray iccProfile() const;
    int orientation() const; // EXIF orientation 1-8; 1 when absent

    struct Data;
    const Data &data() const { return *d_; }

private:
    template<typename Open> static SourceMetadata readWith(Open open, QString *error);

    std::unique_ptr<Data> d_;
    bool ok_ = false;
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

// Writes into an encoded picture (in memory) what plan keeps of source: tags
// filtered by the choice, Orientation 1 (pixels are upright), the output's
// pixel size, no embedded thumbnail, Software = Tuvo. False with *error when
// exiv2 fails; encoded is then unchanged.
bool carryMetadata(
    QByteArray &encoded, const SourceMetadata &source, const MetadataPlan &plan, QString *error);

// The same for HEIC and AVIF, whose metadata goes in while encoding: the EXIF
// block and XMP packet the plan keeps, and the profile.
bool heifMetadataFor(
    const SourceMetadata &source, const MetadataPlan &plan, struct HeifMetadata *out, QString *error);
