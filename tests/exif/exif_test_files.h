#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

// Test pictures for the EXIF reader: real files from ImageMagick and exiftool,
// and hand-built EXIF blocks for the cases no real writer produces.
namespace exiftest {

// Runs a program to completion; false when it cannot start or exits non-zero.
bool runTool(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);

// A 16×16 JPEG from ImageMagick in dir, then exiftool with the given arguments.
// Empty when either tool fails.
QString exiftoolJpeg(const QString &dir, const QString &name, const QStringList &exiftoolArguments);

void writeFile(const QString &path, const std::string &bytes);

// A TIFF block built by absolute offsets (relative to the TIFF header), in either byte order.
class TiffBlock {
public:
    explicit TiffBlock(bool littleEndian);

    // Writes at offset, growing the block with zeros as needed.
    void u16(std::size_t offset, std::uint32_t value);
    void u32(std::size_t offset, std::uint32_t value);
    void bytes(std::size_t offset, const std::string &data);
    // A directory entry: tag, type, count and the last four bytes as a 32-bit number
    // (so a SHORT value sits in the first half in either byte order, call shortValue()).
    void entry(
        std::size_t offset, std::uint32_t tag, std::uint32_t type, std::uint32_t count, std::uint32_t value);
    std::uint32_t shortValue(std::uint32_t value) const { return little_ ? value : value << 16; }
    // Directory at offset with its entry count; entries follow at offset + 2 + 12 k.
    void directory(std::size_t offset, std::uint32_t count, std::uint32_t link);

    const std::string &data() const { return data_; }

private:
    bool little_;
    std::string data_;
};

// SOI, optional segments, the EXIF APP1 holding the block, EOI.
std::string jpegWithExif(const std::string &tiff, const std::string &segmentsBefore = {});

// One JPEG marker segment with its length field.
std::string segment(std::uint8_t marker, const std::string &payload);

} // namespace exiftest
