#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// The metadata of a picture file as its bytes: what a camera or program wrote,
// carried without being parsed and written again.
struct MetadataParts {
    QByteArray exif; // a TIFF structure ("II*\0" / "MM\0*" ...)
    QByteArray xmp; // the XMP packet
    QList<QByteArray> extendedXmp; // JPEG extended XMP segments, as stored
    QByteArray iptc; // IPTC IIM records
    QByteArray photoshop; // the other Photoshop resources of a JPEG (no IPTC, no thumbnail)
    QByteArray icc;
    // JPEG segments of camera data outside EXIF (Casio QVCI, Kodak Meta, Ricoh
    // RMETA, GoPro, PictureInfo), whole, for JPEG outputs.
    QList<QByteArray> cameraSegments;
    qint64 exifFileOffset = 0; // where a JPEG's TIFF header was: some offsets count from the file
    bool iptcEdited = false; // Photoshop's digest of the IPTC no longer holds
    QStringList unreadable; // parts that are present but damaged: "ICC", "EXIF", "XMP", "IPTC"

    bool empty() const
    {
        return exif.isEmpty() && xmp.isEmpty() && iptc.isEmpty() && icc.isEmpty() && photoshop.isEmpty()
            && cameraSegments.isEmpty();
    }
};

// Reads the parts of a JPEG, PNG or WebP file. False for another container.
// A part that cannot be read (a missing ICC chunk, a text chunk that inflates
// past any sane size, EXIF that is no TIFF structure) is left empty and named in
// parts.unreadable.
bool readMetadataParts(const uchar *data, qint64 size, MetadataParts &parts);

// The encoded picture with parts written into it, placed where readers look
// first: JPEG APP segments behind SOI/JFIF, PNG chunks behind IHDR (eXIf, iCCP,
// iTXt XML:com.adobe.xmp), WebP chunks through libwebpmux. IPTC goes into JPEG
// only; the caller turns it into XMP for the others.
QByteArray jpegWithParts(const QByteArray &jpeg, const MetadataParts &parts);
QByteArray pngWithParts(const QByteArray &png, const MetadataParts &parts);
QByteArray webpWithParts(const QByteArray &webp, const MetadataParts &parts);

// The IIM records inside Photoshop's resource block (8BIM 0x0404), the other
// resources without thumbnails, or false when the block is damaged.
bool splitPhotoshopResources(const QByteArray &irb, QByteArray *iptc, QByteArray *others);
