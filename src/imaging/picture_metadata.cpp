#include "imaging/picture_metadata.h"

#include "fs/file_names.h"
#include "imaging/colour_profiles.h"
#include "imaging/cr3_metadata.h"
#include "imaging/exif_block.h"
#include "imaging/heif_codec.h"
#include "imaging/metadata_parts.h"

#include <QFile>

#include <cstring>
#include <exiv2/exiv2.hpp>
#include <mutex>

#ifndef TUVO_VERSION
#define TUVO_VERSION "0"
#endif

struct SourceMetadata::Data {
    MetadataParts parts;
};

namespace {

constexpr int kKeepAll = 0;
constexpr int kWithoutLocation = 1;
constexpr int kStrip = 2;

// The XMP toolkit behind exiv2 is not thread-safe; outputs are written on several.
void ensureExiv2()
{
    static std::once_flag once;
    static std::mutex xmpMutex;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(
            [](void *data, bool lock) {
                auto *m = static_cast<std::mutex *>(data);
                if (lock)
                    m->lock();
                else
                    m->unlock();
            },
            &xmpMutex);
    });
}

// Tags that describe how the source stored its pixels, its thumbnail or other
// pictures in the same file: none of it is true of an output.
bool describesSourceStorage(quint16 tag)
{
    // DNGVersion and the tags after it tell a raw developer how to read the
    // sensor; left in a JPEG they make readers take it for a DNG.
    if (tag >= 0xc612 && tag <= 0xcd3b)
        return true;
    switch (tag) {
    case 0x00fe: // NewSubfileType
    case 0x00ff: // SubfileType
    case 0x0100: // ImageWidth
    case 0x0101: // ImageLength
    case 0x0102: // BitsPerSample
    case 0x0103: // Compression
    case 0x0106: // PhotometricInterpretation
    case 0x010a: // FillOrder
    case 0x0111: // StripOffsets
    case 0x0115: // SamplesPerPixel
    case 0x0116: // RowsPerStrip
    case 0x0117: // StripByteCounts
    case 0x011c: // PlanarConfiguration
    case 0x013d: // Predictor
    case 0x0142: // TileWidth
    case 0x0143: // TileLength
    case 0x0144: // TileOffsets
    case 0x0145: // TileByteCounts
    case 0x014a: // SubIFDs
    case 0x0152: // ExtraSamples
    case 0x0153: // SampleFormat
    case 0x015b: // JPEGTables
    case 0x0201: // JPEGInterchangeFormat
    case 0x0202: // JPEGInterchangeFormatLength
    case 0x0212: // YCbCrSubSampling
    case 0x828d: // CFARepeatPatternDim: the sensor's filter, as a raw file stores it
    case 0x828e: // CFAPattern
    case 0x02bc: // XMLPacket: the XMP travels on its own
    case 0x83bb: // IPTCNAA: the IPTC travels on its own
    case 0x8649: // ImageResources: Photoshop's block may hold location and a thumbnail
    case 0x8773: // InterColorProfile: the profile follows the colour choice
        return true;
    default:
        return false;
    }
}

bool isSourceStorage(const Exiv2::Exifdatum &datum)
{
    const std::string group = datum.groupName();
    if (group == "Thumbnail" || group.rfind("SubImage", 0) == 0 || group.rfind("SubThumb", 0) == 0
        || (group.size() == 6 && group.rfind("Image", 0) == 0))
        return true;
    return group == "Image" && describesSourceStorage(datum.tag());
}

template<typename Data, typename Pred> bool eraseIf(Data &data, Pred pred)
{
    bool erased = false;
    for (auto it = data.begin(); it != data.end();) {
        if (pred(*it)) {
            it = data.erase(it);
            erased = true;
        } else {
            ++it;
        }
    }
    return erased;
}

bool startsWithAny(const std::string &key, std::initializer_list<const char *> prefixes)
{
    for (const char *p : prefixes) {
        if (key.rfind(p, 0) == 0)
            return true;
    }
    return false;
}

bool removeXmpLocation(Exiv2::XmpData &xmp)
{
    return eraseIf(xmp, [](const Exiv2::Xmpdatum &d) {
        return startsWithAny(d.key(),
            {"Xmp.exif.GPS", "Xmp.exifEX.GPS", "Xmp.photoshop.City", "Xmp.photoshop.State",
                "Xmp.photoshop.Country", "Xmp.iptc.Location", "Xmp.iptc.CountryCode",
                "Xmp.iptcExt.LocationCreated", "Xmp.iptcExt.LocationShown"});
    });
}

bool removeIptcLocation(Exiv2::IptcData &iptc)
{
    return eraseIf(iptc, [](const Exiv2::Iptcdatum &d) {
        return startsWithAny(d.key(),
            {"Iptc.Application2.City", "Iptc.Application2.SubLocation", "Iptc.Application2.ProvinceState",
                "Iptc.Application2.CountryCode", "Iptc.Application2.CountryName",
                "Iptc.Application2.LocationCode", "Iptc.Application2.LocationName"});
    });
}

void setXmpIfPresent(Exiv2::XmpData &xmp, const char *key, long value)
{
    if (xmp.findKey(Exiv2::XmpKey(key)) != xmp.end())
        xmp[key] = std::to_string(value);
}

// The source's EXIF block made true of the output, changed only where it must be.
QByteArray patchedExif(const QByteArray &exif, const MetadataPlan &plan, bool toSrgb, bool mayGrow)
{
    std::optional<ExifBlock> block = ExifBlock::parse(exif);
    if (!block)
        return {};
    // The pipeline turns every picture upright before sizing it.
    if (block->has(ExifBlock::Ifd0, 0x0112))
        block->setNumber(ExifBlock::Ifd0, 0x0112, 1);
    if (block->has(ExifBlock::ExifIfd, 0xa002))
        block->setNumber(ExifBlock::ExifIfd, 0xa002, quint32(plan.outputSize.width()));
    if (block->has(ExifBlock::ExifIfd, 0xa003))
        block->setNumber(ExifBlock::ExifIfd, 0xa003, quint32(plan.outputSize.height()));
    block->dropIfd(ExifBlock::Ifd1); // the thumbnail shows the source, not the output
    if (plan.choice == kWithoutLocation)
        block->dropIfd(ExifBlock::GpsIfd);
    if (toSrgb) {
        if (block->has(ExifBlock::ExifIfd, 0xa001))
            block->setNumber(ExifBlock::ExifIfd, 0xa001, 1);
        if (block->has(ExifBlock::InteropIfd, 0x0001))
            block->setText(ExifBlock::InteropIfd, 0x0001, "R98", false);
    }
    block->setText(ExifBlock::Ifd0, 0x0131, "Tuvo " TUVO_VERSION, mayGrow);
    // What readers will see must read back: a block that does not is left out.
    const QByteArray out = block->finish();
    return ExifBlock::parse(out) ? out : QByteArray();
}

bool xmpNeedsEdit(const QByteArray &xmp, const MetadataPlan &plan)
{
    for (const char *key :
        {"Orientation", "PixelXDimension", "PixelYDimension", "ImageWidth", "ImageLength"}) {
        if (xmp.contains(key))
            return true;
    }
    if (plan.choice == kWithoutLocation) {
        for (const char *key : {"GPS", "City", "State", "Country", "Location"}) {
            if (xmp.contains(key))
                return true;
        }
    }
    return false;
}

// The packet a JPEG's extended XMP segments carry in pieces (GUID, full length,
// offset, data each), or empty when the pieces do not make it whole.
QByteArray extendedXmpPacket(const QList<QByteArray> &segments)
{
    constexpr qsizetype kHead = 35 + 32 + 8;
    QByteArray packet;
    qsizetype filled = 0;
    for (const QByteArray &segment : segments) {
        if (segment.size() < kHead)
            return {};
        const auto *p = reinterpret_cast<const uchar *>(segment.constData()) + 35 + 32;
        const quint32 full = (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3];
        const quint32 offset = (quint32(p[4]) << 24) | (quint32(p[5]) << 16) | (quint32(p[6]) << 8) | p[7];
        const qsizetype size = segment.size() - kHead;
        if (full > 16u * 1024 * 1024 || quint64(offset) + quint64(size) > full)
            return {};
        if (packet.isEmpty())
            packet = QByteArray(qsizetype(full), '\0');
        if (packet.size() != qsizetype(full))
            return {};
        std::memcpy(packet.data() + offset, segment.constData() + kHead, size_t(size));
        filled += size;
    }
    return filled == packet.size() ? packet : QByteArray();
}

enum class Container { Jpeg, Png, Tiff, Webp, Heif, Other };

Container containerOf(const QByteArray &encoded)
{
    if (encoded.startsWith("\xFF\xD8\xFF"))
        return Container::Jpeg;
    if (encoded.startsWith("\x89PNG"))
        return Container::Png;
    if (encoded.startsWith("II*") || encoded.startsWith(QByteArray("MM\0*", 4)))
        return Container::Tiff;
    if (encoded.startsWith("RIFF") && encoded.mid(8, 4) == "WEBP")
        return Container::Webp;
    return Container::Other;
}

// What the output carries: the source's parts as the plan keeps them.
MetadataParts partsFor(
    const SourceMetadata &source, const MetadataPlan &plan, Container container, QStringList *leftOut)
{
    MetadataParts out;
    out.icc = plan.iccProfile;
    if (plan.choice == kStrip)
        return out;
    const MetadataParts &src = source.data().parts;
    *leftOut << src.unreadable;
    const bool toSrgb = !actsAsSrgb(source.iccProfile()) && plan.iccProfile.isEmpty();
    if (!src.exif.isEmpty()) {
        out.exif = patchedExif(src.exif, plan, toSrgb, true);
        // A JPEG segment holds 64 KB: a block that full keeps its size, without Software.
        constexpr qsizetype kJpegExifRoom = 0xFFFF - 2 - 6;
        if (container == Container::Jpeg && out.exif.size() > kJpegExifRoom)
            out.exif = patchedExif(src.exif, plan, toSrgb, false);
        if (out.exif.isEmpty() || (container == Container::Jpeg && out.exif.size() > kJpegExifRoom)) {
            out.exif.clear();
            *leftOut << QStringLiteral("EXIF");
        }
    }
    ensureExiv2();

    QByteArray iptc = src.iptc;
    Exiv2::IptcData iptcData;
    const bool iimPlace = container == Container::Jpeg || container == Container::Tiff;
    if (!iptc.isEmpty() && (plan.choice == kWithoutLocation || !iimPlace)) {
        try {
            if (Exiv2::IptcParser::decode(
                    iptcData, reinterpret_cast<const Exiv2::byte *>(iptc.constData()), uint32_t(iptc.size()))
                != 0)
                throw Exiv2::Error(Exiv2::kerCorruptedMetadata);
            if (plan.choice == kWithoutLocation && removeIptcLocation(iptcData)) {
                const Exiv2::DataBuf encoded = Exiv2::IptcParser::encode(iptcData);
                iptc = QByteArray(reinterpret_cast<const char *>(encoded.pData_), qsizetype(encoded.size_));
                out.iptcEdited = true;
            }
        } catch (const std::exception &) {
            *leftOut << QStringLiteral("IPTC");
            iptc.clear();
            iptcData.clear();
        }
    }
    if (iimPlace)
        out.iptc = iptc;

    // XMP: carried as it is unless a tag in it must change or IPTC joins it.
    QByteArray xmp = src.xmp;
    const bool mergeIptc = !iimPlace && !iptcData.empty();
    // Only JPEG splits a packet: elsewhere the extension joins the main packet.
    const bool mergeExtension = container != Container::Jpeg && !src.extendedXmp.isEmpty();
    if (mergeIptc || mergeExtension || (!xmp.isEmpty() && xmpNeedsEdit(xmp, plan))) {
        try {
            Exiv2::XmpData xmpData;
            if (!xmp.isEmpty() && Exiv2::XmpParser::decode(xmpData, xmp.toStdString()) != 0)
                throw Exiv2::Error(Exiv2::kerCorruptedMetadata);
            Exiv2::XmpData extension;
            if (mergeExtension
                && Exiv2::XmpParser::decode(extension, extendedXmpPacket(src.extendedXmp).toStdString())
                    == 0) {
                for (const Exiv2::Xmpdatum &d : extension)
                    xmpData.add(d);
                eraseIf(xmpData,
                    [](const Exiv2::Xmpdatum &d) { return d.key() == "Xmp.xmpNote.HasExtendedXMP"; });
            }
            if (mergeIptc) {
                // IPTC Core: keywords to dc:subject, by-line to dc:creator, caption to
                // dc:description...; what the XMP says already stays.
                Exiv2::XmpData fromIptc;
                Exiv2::copyIptcToXmp(iptcData, fromIptc);
                for (const Exiv2::Xmpdatum &d : fromIptc) {
                    if (xmpData.findKey(Exiv2::XmpKey(d.key())) == xmpData.end())
                        xmpData.add(d);
                }
            }
            if (plan.choice == kWithoutLocation)
                removeXmpLocation(xmpData);
            setXmpIfPresent(xmpData, "Xmp.tiff.Orientation", 1);
            const long w = plan.outputSize.width();
            const long h = plan.outputSize.height();
            setXmpIfPresent(xmpData, "Xmp.exif.PixelXDimension", w);
            setXmpIfPresent(xmpData, "Xmp.exif.PixelYDimension", h);
            setXmpIfPresent(xmpData, "Xmp.tiff.ImageWidth", w);
            setXmpIfPresent(xmpData, "Xmp.tiff.ImageLength", h);
            std::string packet;
            if (xmpData.empty())
                xmp.clear();
            else if (Exiv2::XmpParser::encode(packet, xmpData) == 0)
                xmp = QByteArray::fromStdString(packet);
            else
                throw Exiv2::Error(Exiv2::kerCorruptedMetadata);
        } catch (const std::exception &) {
            // A packet exiv2 cannot parse may still be sound: kept as it is where
            // nothing private has to leave it.
            if (plan.choice == kWithoutLocation) {
                *leftOut << QStringLiteral("XMP");
                xmp.clear();
            }
            if (mergeIptc)
                *leftOut << QStringLiteral("IPTC");
        }
    }
    out.xmp = xmp;
    if (container == Container::Jpeg) {
        out.photoshop = src.photoshop;
        out.exifFileOffset = src.exifFileOffset;
        if (plan.choice == kKeepAll && xmp == src.xmp)
            out.extendedXmp = src.extendedXmp;
        if (plan.choice == kKeepAll) // GoPro's segment holds the track it was filmed on
            out.cameraSegments = src.cameraSegments;
    }
    leftOut->removeDuplicates();
    return out;
}

QByteArray numbers(const ExifBlock &block, int size, std::initializer_list<quint32> values)
{
    QByteArray bytes;
    for (quint32 v : values) {
        QByteArray one(size, '\0');
        block.writeNumber(reinterpret_cast<uchar *>(one.data()), size, v);
        bytes += one;
    }
    return bytes;
}

// A TIFF output is the source's EXIF block itself, grown by the pixel strip and a
// new IFD0: the maker note stays at its offset from the TIFF header.
QByteArray tiffWithParts(const QByteArray &tiff, const MetadataParts &parts)
{
    std::optional<ExifBlock> ours = ExifBlock::parse(tiff);
    if (!ours)
        return {};
    std::optional<ExifBlock> block = parts.exif.isEmpty() ? std::nullopt : ExifBlock::parse(parts.exif);
    using B = ExifBlock;
    if (!block) {
        block = ours;
    } else {
        const quint32 width = ours->number(B::Ifd0, 0x100);
        const quint32 height = ours->number(B::Ifd0, 0x101);
        const quint32 stripBytes = ours->number(B::Ifd0, 0x117);
        const QByteArray strip = tiff.mid(ours->number(B::Ifd0, 0x111), stripBytes);
        for (const quint16 tag : block->tags(B::Ifd0)) {
            if (describesSourceStorage(tag))
                block->remove(B::Ifd0, tag);
        }
        const quint32 at = block->append(strip);
        block->setValue(B::Ifd0, 0x100, B::Long, 1, numbers(*block, 4, {width}));
        block->setValue(B::Ifd0, 0x101, B::Long, 1, numbers(*block, 4, {height}));
        block->setValue(B::Ifd0, 0x102, B::Short, 3, numbers(*block, 2, {8, 8, 8}));
        block->setValue(B::Ifd0, 0x103, B::Short, 1, numbers(*block, 2, {1}));
        block->setValue(B::Ifd0, 0x106, B::Short, 1, numbers(*block, 2, {2}));
        block->setValue(B::Ifd0, 0x111, B::Long, 1, numbers(*block, 4, {at}));
        block->setValue(B::Ifd0, 0x115, B::Short, 1, numbers(*block, 2, {3}));
        block->setValue(B::Ifd0, 0x116, B::Long, 1, numbers(*block, 4, {height}));
        block->setValue(B::Ifd0, 0x117, B::Long, 1, numbers(*block, 4, {stripBytes}));
        if (!block->has(B::Ifd0, 0x11a) || !block->has(B::Ifd0, 0x11b)) {
            block->setValue(B::Ifd0, 0x11a, B::Rational, 1, numbers(*block, 4, {96, 1}));
            block->setValue(B::Ifd0, 0x11b, B::Rational, 1, numbers(*block, 4, {96, 1}));
            block->setValue(B::Ifd0, 0x128, B::Short, 1, numbers(*block, 2, {2}));
        }
    }
    if (!parts.xmp.isEmpty())
        block->setValue(B::Ifd0, 0x02bc, B::Byte, quint32(parts.xmp.size()), parts.xmp);
    if (!parts.iptc.isEmpty()) {
        // Stored as LONGs, as TIFF readers expect it.
        const QByteArray iptc = parts.iptc.leftJustified((parts.iptc.size() + 3) / 4 * 4, '\0');
        block->setValue(B::Ifd0, 0x83bb, B::Long, quint32(iptc.size() / 4), iptc);
    }
    if (!parts.icc.isEmpty())
        block->setValue(B::Ifd0, 0x8773, B::Undefined, quint32(parts.icc.size()), parts.icc);
    // What a TIFF's EXIF and GPS directories must hold, which a JPEG's may leave out.
    if (block->hasIfd(B::ExifIfd)) {
        if (!block->has(B::ExifIfd, 0x9000))
            block->setValue(B::ExifIfd, 0x9000, B::Undefined, 4, "0230");
        if (!block->has(B::ExifIfd, 0xa000))
            block->setValue(B::ExifIfd, 0xa000, B::Undefined, 4, "0100");
        if (!block->has(B::ExifIfd, 0xa001))
            block->setNumber(B::ExifIfd, 0xa001, 1);
    }
    if (block->hasIfd(B::GpsIfd) && !block->has(B::GpsIfd, 0x0000))
        block->setValue(B::GpsIfd, 0x0000, B::Byte, 4, QByteArray("\2\3\0\0", 4));
    return block->finish();
}

// The tags that may go to an output, as one TIFF structure; empty when none may.
QByteArray encodedExif(Exiv2::ExifData exif)
{
    eraseIf(exif, isSourceStorage);
    if (exif.empty())
        return {};
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    return QByteArray(reinterpret_cast<const char *>(blob.data()), qsizetype(blob.size()));
}

void readWithExiv2(Exiv2::Image &image, MetadataParts &parts)
{
    image.readMetadata();
    parts.exif = encodedExif(image.exifData());
    parts.xmp = QByteArray::fromStdString(image.xmpPacket());
    if (!image.iptcData().empty()) {
        const Exiv2::DataBuf iptc = Exiv2::IptcParser::encode(image.iptcData());
        parts.iptc = QByteArray(reinterpret_cast<const char *>(iptc.pData_), qsizetype(iptc.size_));
    }
    if (image.iccProfileDefined()) {
        const Exiv2::DataBuf *icc = image.iccProfile();
        parts.icc = QByteArray(reinterpret_cast<const char *>(icc->pData_), qsizetype(icc->size_));
    }
}

// Any other container through exiv2; a failure leaves everything out.
template<typename Open> void readOther(Open open, MetadataParts &parts)
{
    ensureExiv2();
    try {
        const auto image = open();
        // exiv2's video readers (QuickTime, which takes any ISO base media file, RIFF,
        // Matroska, ASF) are not for pictures, and a few hundred hostile bytes keep
        // its QuickTime reader busy for good.
        if (image->mimeType().rfind("video/", 0) == 0)
            return;
        readWithExiv2(*image, parts);
    } catch (const Exiv2::AnyError &e) {
        if (e.code() != Exiv2::kerFileContainsUnknownImageType
            && e.code() != Exiv2::kerMemoryContainsUnknownImageType) {
            parts = MetadataParts();
            parts.unreadable = QStringList {"EXIF", "XMP", "IPTC", "ICC"};
        }
    } catch (const std::exception &) {
        parts = MetadataParts();
        parts.unreadable = QStringList {"EXIF", "XMP", "IPTC", "ICC"};
    }
}

// The tags of the first IFD of a TIFF structure, as tags of group.
void addFirstIfd(Exiv2::ExifData &exif, const QByteArray &tiff, const char *group)
{
    if (tiff.isEmpty())
        return;
    Exiv2::ExifData read;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    Exiv2::TiffParser::decode(
        read, iptc, xmp, reinterpret_cast<const Exiv2::byte *>(tiff.constData()), uint32_t(tiff.size()));
    for (const Exiv2::Exifdatum &datum : read) {
        if (datum.groupName() == "Image")
            exif.add(Exiv2::ExifKey(datum.tag(), group), &datum.value());
    }
}

// Canon's CR3: the IFDs of its metadata boxes joined into one EXIF block, as
// exiv2 gives it for the other RAWs. The maker notes (CMT3) stay behind: their
// offsets only mean something inside Canon's own box.
bool readCr3(const uchar *data, qint64 size, MetadataParts &parts)
{
    if (!looksLikeCr3(data, size))
        return false;
    const Cr3Metadata cr3 = readCr3Metadata(data, size);
    parts.xmp = cr3.xmp;
    ensureExiv2();
    try {
        Exiv2::ExifData exif;
        addFirstIfd(exif, cr3.pictureIfd, "Image");
        addFirstIfd(exif, cr3.exifIfd, "Photo");
        addFirstIfd(exif, cr3.gpsIfd, "GPSInfo");
        parts.exif = encodedExif(exif);
    } catch (const std::exception &) {
        parts.exif.clear();
        parts.unreadable << QStringLiteral("EXIF");
    }
    return true;
}

} // namespace

SourceMetadata::SourceMetadata()
    : d_(std::make_unique<Data>())
{
}
SourceMetadata::~SourceMetadata() = default;
SourceMetadata::SourceMetadata(SourceMetadata &&) noexcept = default;
SourceMetadata &SourceMetadata::operator=(SourceMetadata &&) noexcept = default;

SourceMetadata SourceMetadata::fromFile(const QString &path, bool profileOnly)
{
    SourceMetadata m;
    MetadataParts &parts = m.d_->parts;
    QFile file;
    if (!openRegularFile(path, file))
        return m;
    const qint64 size = file.size();
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    if (data && looksLikeHeif(data, size)) {
        // exiv2 0.27 does not read HEIF; libheif hands over the blocks.
        const HeifMetadata heif = readHeifMetadata(path);
        parts.exif = heif.exif;
        parts.xmp = heif.xmp;
        parts.icc = heif.icc;
        if (!parts.exif.isEmpty() && !ExifBlock::parse(parts.exif)) {
            parts.exif.clear();
            parts.unreadable << QStringLiteral("EXIF");
        }
    } else if (!data || (!readMetadataParts(data, size, parts) && !readCr3(data, size, parts))) {
        if (profileOnly) {
            // Nothing but the profile is wanted: a failure of the rest must not matter.
            MetadataParts all;
            readOther(
                [&] { return Exiv2::ImageFactory::open(encodeFileName(path).toStdString(), false); }, all);
            parts.icc = all.icc;
        } else {
            readOther(
                [&] { return Exiv2::ImageFactory::open(encodeFileName(path).toStdString(), false); }, parts);
        }
    }
    if (profileOnly) {
        const QByteArray icc = parts.icc;
        parts = MetadataParts();
        parts.icc = icc;
    }
    return m;
}

SourceMetadata SourceMetadata::fromBytes(const QByteArray &bytes)
{
    SourceMetadata m;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (!readMetadataParts(data, bytes.size(), m.d_->parts) && !readCr3(data, bytes.size(), m.d_->parts))
        readOther([&] { return Exiv2::ImageFactory::open(data, long(bytes.size())); }, m.d_->parts);
    return m;
}

QStringList SourceMetadata::unreadableParts() const
{
    return d_->parts.unreadable;
}

bool SourceMetadata::hasTags() const
{
    const MetadataParts &p = d_->parts;
    return !p.exif.isEmpty() || !p.xmp.isEmpty() || !p.iptc.isEmpty();
}

QByteArray SourceMetadata::iccProfile() const
{
    const MetadataParts &p = d_->parts;
    if (p.icc.isEmpty() && !p.exif.isEmpty() && exifMarksAdobeRgb(p.exif))
        return adobeRgbProfile();
    return p.icc;
}

bool extensionCarriesMetadata(const QString &extension)
{
    static const QStringList formats = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
        QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("webp"), QStringLiteral("avif"),
        QStringLiteral("heic"), QStringLiteral("heif")};
    return formats.contains(extension.toLower());
}

QStringList heifMetadataFor(const SourceMetadata &source, const MetadataPlan &plan, HeifMetadata *out)
{
    QStringList leftOut;
    const MetadataParts parts = partsFor(source, plan, Container::Heif, &leftOut);
    out->exif = parts.exif;
    out->xmp = parts.xmp;
    out->icc = parts.icc;
    out->ok = true;
    return leftOut;
}

QStringList carryMetadata(QByteArray &encoded, const SourceMetadata &source, const MetadataPlan &plan)
{
    QStringList leftOut;
    const Container container = containerOf(encoded);
    if (container == Container::Other)
        return leftOut;
    const MetadataParts parts = partsFor(source, plan, container, &leftOut);
    if (parts.empty())
        return leftOut;
    QByteArray out;
    switch (container) {
    case Container::Jpeg:
        out = jpegWithParts(encoded, parts);
        break;
    case Container::Png:
        out = pngWithParts(encoded, parts);
        break;
    case Container::Tiff:
        out = tiffWithParts(encoded, parts);
        break;
    case Container::Webp:
        out = webpWithParts(encoded, parts);
        break;
    default:
        break;
    }
    if (out.isEmpty())
        return QStringList {"EXIF", "XMP", "IPTC", "ICC"};
    encoded = out;
    return leftOut;
}
