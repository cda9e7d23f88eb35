#include "imaging/stored_orientation.h"

#include "exif/tiff_bytes.h"
#include "imaging/jpeg_segments.h"

#include <QtEndian>

#include <cstring>
#include <string_view>

namespace {

constexpr std::uint32_t kOrientationTag = 274;
constexpr std::uint32_t kShortType = 3;

// The orientation entry of the first directory of a TIFF structure (a TIFF
// file, or an EXIF block from its TIFF header on).
int orientationInTiff(const uchar *data, qint64 size)
{
    if (size < 8)
        return 1;
    const std::string_view tiff(reinterpret_cast<const char *>(data), std::size_t(size));
    bool little = false;
    if (tiff.substr(0, 4) == std::string_view("II*\0", 4))
        little = true;
    else if (tiff.substr(0, 4) != std::string_view("MM\0*", 4))
        return 1;
    const exif::TiffBytes bytes(tiff, little);
    const auto directory = bytes.u32(4);
    const auto count = directory ? bytes.u16(*directory) : std::nullopt;
    if (!count)
        return 1;
    for (std::uint32_t k = 0; k < *count; ++k) {
        const std::uint64_t entry = *directory + 2 + 12 * std::uint64_t(k);
        const auto tag = bytes.u16(entry);
        if (!tag)
            return 1;
        if (*tag != kOrientationTag)
            continue;
        const auto type = bytes.u16(entry + 2);
        const auto value = type == kShortType ? bytes.u16(entry + 8) : std::nullopt;
        return value && *value >= 1 && *value <= 8 ? int(*value) : 1;
    }
    return 1;
}

// An EXIF block as some writers store it, behind the "Exif\0\0" of JPEG's APP1.
int orientationInExifBlock(const uchar *data, qint64 size)
{
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0)
        return orientationInTiff(data + 6, size - 6);
    return orientationInTiff(data, size);
}

// The first APP1 Exif segment before the first scan.
int orientationInJpeg(const uchar *data, qint64 size)
{
    int orientation = 1;
    forEachJpegSegment(data, size, [&](const JpegSegment &s) {
        if (s.marker != 0xE1 || s.size < 6 || std::memcmp(s.payload, "Exif\0\0", 6) != 0)
            return true;
        orientation = orientationInTiff(s.payload + 6, s.size - 6);
        return false;
    });
    return orientation;
}

int orientationInPng(const uchar *data, qint64 size)
{
    qint64 pos = 8;
    while (pos + 12 <= size) {
        const qint64 length = qFromBigEndian<quint32>(data + pos);
        if (length > size - pos - 12)
            break;
        if (std::memcmp(data + pos + 4, "eXIf", 4) == 0)
            return orientationInExifBlock(data + pos + 8, length);
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0)
            break;
        pos += 12 + length;
    }
    return 1;
}

int orientationInWebp(const uchar *data, qint64 size)
{
    qint64 pos = 12;
    while (pos + 8 <= size) {
        const qint64 length = qFromLittleEndian<quint32>(data + pos + 4);
        if (length > size - pos - 8)
            break;
        if (std::memcmp(data + pos, "EXIF", 4) == 0)
            return orientationInExifBlock(data + pos + 8, length);
        pos += 8 + length + (length & 1);
    }
    return 1;
}

} // namespace

int storedOrientation(const uchar *data, qint64 size)
{
    if (!data || size < 12)
        return 1;
    if (data[0] == 0xFF && data[1] == 0xD8)
        return orientationInJpeg(data, size);
    if (std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0)
        return orientationInPng(data, size);
    if (std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0)
        return orientationInWebp(data, size);
    if (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0)
        return orientationInTiff(data, size);
    return 1;
}
