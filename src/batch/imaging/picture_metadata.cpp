#include "batch/imaging/picture_metadata.h"

#include "batch/file_names.h"
#include "batch/imaging/heif_codec.h"
#include "batch/imaging/png_chunks.h"

#include <QCoreApplication>
#include <QFile>

#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <memory>
#include <mutex>
#include <webp/mux.h>

#ifndef TUVO_VERSION
#define TUVO_VERSION "0"
#endif

struct SourceMetadata::Data {
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    QByteArray icc;
};

namespace {

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

QString exiv2Error(const std::exception &e)
{
    return QCoreApplication::translate("tuvo", "元数据有误:") + QString::fromLocal8Bit(e.what());
}

SourceMetadata::Data readFrom(Exiv2::Image &image)
{
    image.readMetadata();
    SourceMetadata::Data d;
    d.exif = image.exifData();
    d.xmp = image.xmpData();
    d.iptc = image.iptcData();
    if (image.iccProfileDefined()) {
        const Exiv2::DataBuf *icc = image.iccProfile();
        d.icc = QByteArray(reinterpret_cast<const char *>(icc->pData_), int(icc->size_));
    }
    return d;
}

// Tags that describe how the source stored its pixels, its thumbnail or other
// pictures in the same file: none of it is true of an output.
bool describesSourceStorage(const Exiv2::Exifdatum &datum)
{
    const std::string group = datum.groupName();
    if (group == "Thumbnail" || group.rfind("SubImage", 0) == 0 || group.rfind("SubThumb", 0) == 0
        || (group.size() == 6 && group.rfind("Image", 0) == 0))
        return true;
    if (group != "Image")
        return false;
    switch (datum.tag()) {
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
    case 0x02bc: // XMLPacket: the XMP travels on its own
    case 0x83bb: // IPTCNAA: the IPTC travels on its own
    case 0x8649: // ImageResources: Photoshop's block may hold location and a thumbnail
    case 0x8773: // InterColorProfile: the profile follows the colour choice
        return true;
    default:
        return false;
    }
}

template<typename Data, typename Pred> void eraseIf(Data &data, Pred pred)
{
    for (auto it = data.begin(); it != data.end();) {
        if (pred(*it))
            it = data.erase(it);
        else
            ++it;
    }
}

bool startsWithAny(const std::string &key, std::initializer_list<const char *> prefixes)
{
    for (const char *p : prefixes) {
        if (key.rfind(p, 0) == 0)
            return true;
    }
    return false;
}

void removeLocation(Exiv2::ExifData &exif, Exiv2::XmpData &xmp, Exiv2::IptcData &iptc)
{
    eraseIf(exif, [](const Exiv2::Exifdatum &d) { return d.groupName() == "GPSInfo" || d.tag() == 0x8825; });
    eraseIf(xmp, [](const Exiv2::Xmpdatum &d) {
        return startsWithAny(d.key(),
            {"Xmp.exif.GPS", "Xmp.exifEX.GPS", "Xmp.photoshop.City", "Xmp.photoshop.State",
                "Xmp.photoshop.Country", "Xmp.iptc.Location", "Xmp.iptc.CountryCode",
                "Xmp.iptcExt.LocationCreated", "Xmp.iptcExt.LocationShown"});
    });
    eraseIf(iptc, [](const Exiv2::Iptcdatum &d) {
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

// The output's tags: what the choice keeps of the source, made true of the output.
void buildTags(const SourceMetadata::Data &src, const MetadataPlan &plan, Exiv2::ExifData &exif,
    Exiv2::XmpData &xmp, Exiv2::IptcData &iptc)
{
    if (plan.choice == 2)
        return;
    for (const Exiv2::Exifdatum &d : src.exif) {
        if (!describesSourceStorage(d))
            exif[d.key()].setValue(&d.value());
    }
    xmp = src.xmp;
    iptc = src.iptc;
    if (plan.choice == 1)
        removeLocation(exif, xmp, iptc);
    // The pixels were turned upright when they were loaded.
    if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end())
        exif["Exif.Image.Orientation"] = uint16_t(1);
    setXmpIfPresent(xmp, "Xmp.tiff.Orientation", 1);
    const long w = plan.outputSize.width();
    const long h = plan.outputSize.height();
    if (!exif.empty()) {
        exif["Exif.Photo.PixelXDimension"] = uint32_t(w);
        exif["Exif.Photo.PixelYDimension"] = uint32_t(h);
        exif["Exif.Image.Software"] = std::string("Tuvo " TUVO_VERSION);
    }
    setXmpIfPresent(xmp, "Xmp.exif.PixelXDimension", w);
    setXmpIfPresent(xmp, "Xmp.exif.PixelYDimension", h);
    setXmpIfPresent(xmp, "Xmp.tiff.ImageWidth", w);
    setXmpIfPresent(xmp, "Xmp.tiff.ImageLength", h);
}

// exiv2 0.27 writes a WebP's ICCP chunk under a wrong name when the file had no
// VP8X header; libwebpmux puts the chunk where it belongs and marks it there.
bool addWebpIccProfile(QByteArray &webp, const QByteArray &icc, QString *error)
{
    const WebPData in {reinterpret_cast<const uint8_t *>(webp.constData()), size_t(webp.size())};
    const std::unique_ptr<WebPMux, void (*)(WebPMux *)> mux(WebPMuxCreate(&in, 1), WebPMuxDelete);
    const WebPData profile {reinterpret_cast<const uint8_t *>(icc.constData()), size_t(icc.size())};
    WebPData assembled {};
    if (!mux || WebPMuxSetChunk(mux.get(), "ICCP", &profile, 1) != WEBP_MUX_OK
        || WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "无法在WebP中嵌入颜色配置文件");
        return false;
    }
    webp = QByteArray(reinterpret_cast<const char *>(assembled.bytes), qsizetype(assembled.size));
    WebPDataClear(&assembled);
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

// exiv2 0.27 does not read HEIF; libheif hands over the blocks and exiv2 parses them.
static bool readHeifInto(const QString &path, SourceMetadata::Data &d)
{
    QFile file;
    if (!openRegularFile(path, file))
        return false;
    const QByteArray head = file.read(64);
    if (!looksLikeHeif(reinterpret_cast<const uchar *>(head.constData()), head.size()))
        return false;
    const HeifMetadata heif = readHeifMetadata(path);
    if (!heif.exif.isEmpty())
        Exiv2::ExifParser::decode(
            d.exif, reinterpret_cast<const Exiv2::byte *>(heif.exif.constData()), uint32_t(heif.exif.size()));
    if (!heif.xmp.isEmpty())
        Exiv2::XmpParser::decode(d.xmp, heif.xmp.toStdString());
    // The file's irot/imir boxes are its orientation; the decoder has applied them.
    if (d.exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != d.exif.end())
        d.exif["Exif.Image.Orientation"] = uint16_t(1);
    d.icc = heif.icc;
    return true;
}

// Reads what open() gives; a format exiv2 does not know is no metadata, not a failure.
template<typename Open> SourceMetadata SourceMetadata::readWith(Open open, QString *error)
{
    ensureExiv2();
    SourceMetadata m;
    try {
        *m.d_ = open();
        m.ok_ = true;
    } catch (const Exiv2::AnyError &e) {
        if (e.code() == Exiv2::kerFileContainsUnknownImageType
            || e.code() == Exiv2::kerMemoryContainsUnknownImageType)
            m.ok_ = true;
        else if (error)
            *error = exiv2Error(e);
    } catch (const std::exception &e) {
        if (error)
            *error = exiv2Error(e);
    }
    return m;
}

SourceMetadata SourceMetadata::fromFile(const QString &path, QString *error)
{
    return readWith(
        [&] {
            Data d;
            if (!readHeifInto(path, d))
                d = readFrom(*Exiv2::ImageFactory::open(encodeFileName(path).toStdString(), false));
            return d;
        },
        error);
}

SourceMetadata SourceMetadata::fromBytes(const QByteArray &bytes, QString *error)
{
    return readWith(
        [&] {
            return readFrom(*Exiv2::ImageFactory::open(
                reinterpret_cast<const Exiv2::byte *>(bytes.constData()), long(bytes.size())));
        },
        error);
}

bool SourceMetadata::hasTags() const
{
    return !d_->exif.empty() || !d_->xmp.empty() || !d_->iptc.empty();
}

QByteArray SourceMetadata::iccProfile() const
{
    return d_->icc;
}

int SourceMetadata::orientation() const
{
    const auto it = d_->exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (it == d_->exif.end() || it->count() < 1)
        return 1;
    const long o = it->toLong();
    return o >= 1 && o <= 8 ? int(o) : 1;
}

bool extensionCarriesMetadata(const QString &extension)
{
    static const QStringList formats = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
        QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("webp"), QStringLiteral("avif"),
        QStringLiteral("heic"), QStringLiteral("heif")};
    return formats.contains(extension.toLower());
}

bool heifMetadataFor(
    const SourceMetadata &source, const MetadataPlan &plan, HeifMetadata *out, QString *error)
{
    ensureExiv2();
    try {
        Exiv2::ExifData exif;
        Exiv2::XmpData xmp;
        Exiv2::IptcData iptc;
        buildTags(source.data(), plan, exif, xmp, iptc);
        if (!exif.empty()) {
            Exiv2::Blob blob;
            Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
            out->exif = QByteArray(reinterpret_cast<const char *>(blob.data()), qsizetype(blob.size()));
        }
        std::string packet;
        if (!xmp.empty() && Exiv2::XmpParser::encode(packet, xmp) == 0)
            out->xmp = QByteArray::fromStdString(packet);
        out->icc = plan.iccProfile;
        out->ok = true;
        return true;
    } catch (const std::exception &e) {
        if (error)
            *error = exiv2Error(e);
        return false;
    }
}

bool carryMetadata(
    QByteArray &encoded, const SourceMetadata &source, const MetadataPlan &plan, QString *error)
{
    const bool keepsTags = source.hasTags() && plan.choice != 2;
    if (!keepsTags && plan.iccProfile.isEmpty())
        return true;
    ensureExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte *>(encoded.constData()), long(encoded.size()));
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData(); // a TIFF's own structure tags stay
        Exiv2::XmpData xmp;
        Exiv2::IptcData iptc;
        if (keepsTags)
            buildTags(source.data(), plan, exif, xmp, iptc);
        image->setExifData(exif);
        image->setXmpData(xmp);
        image->setIptcData(iptc);
        const bool webp = image->imageType() == Exiv2::ImageType::webp;
        if (!plan.iccProfile.isEmpty() && !webp) {
            Exiv2::DataBuf icc(reinterpret_cast<const Exiv2::byte *>(plan.iccProfile.constData()),
                long(plan.iccProfile.size()));
            image->setIccProfile(icc);
        }
        image->writeMetadata();
        Exiv2::BasicIo &io = image->io();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf out = io.read(io.size());
        if (out.size_ <= 0) {
            if (error)
                *error = QCoreApplication::translate("tuvo", "元数据写入失败");
            return false;
        }
        encoded = nameUnnamedIccp(QByteArray(reinterpret_cast<const char *>(out.pData_), int(out.size_)));
        if (!plan.iccProfile.isEmpty() && webp)
            return addWebpIccProfile(encoded, plan.iccProfile, error);
        return true;
    } catch (const std::exception &e) {
        if (error)
            *error = exiv2Error(e);
        return false;
    }
}
