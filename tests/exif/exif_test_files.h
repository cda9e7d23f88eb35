#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

// Test pictures for the EXIF reader: real files from ImageMagick and exiftool,
// and hand-built EXIF blocks for the cases no real writer produces.
namespace exiftest {

// Runs a program to completion; false when it cannot start or exits non-zero.
bool runTool(const QString &program, const QStringList &arguments, QByteArray *output = nullptr);

// A 16×16 JPEG from ImageMagick in dir, then exiftool with the given arguments.
// Empty when either tool fails.
QString exiftoolJpeg(const QString &dir, const QString &name, const QStringList &exiftoolArguments);

void writeFile(const QString &path, const std::string &bytes);

// One directory entry; the value is the entry's last four bytes as a number,
// except a single SHORT, which is written as a 16-bit number in the first half.
struct TiffEntry {
    std::uint32_t tag, type, count, value;
};

// A TIFF block built by absolute offsets (from the TIFF header), in either byte
// order, with the IFD0 offset in the header.
class TiffBlock {
public:
    explicit TiffBlock(bool littleEndian, std::uint32_t ifd0 = 8);

    // Writes at offset, growing the block with zeros as needed.
    void u16(std::size_t offset, std::uint32_t value);
    void u32(std::size_t offset, std::uint32_t value);
    void bytes(std::size_t offset, const std::string &data);
    // A directory at offset: the count, the entries, the link.
    void directory(std::size_t offset, const std::vector<TiffEntry> &entries, std::uint32_t link = 0);

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
