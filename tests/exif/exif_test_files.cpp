#include "exif_test_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace exiftest {

bool runTool(const QString &program, const QStringList &arguments, QByteArray *output)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString exiftoolJpeg(const QString &dir, const QString &name, const QStringList &exiftoolArguments)
{
    const QString path = QDir(dir).filePath(name);
    if (!runTool("convert", {"-size", "16x16", "gradient:red-blue", path}))
        return {};
    if (!runTool(
            "exiftool", QStringList {"-q", "-overwrite_original"} + exiftoolArguments + QStringList {path}))
        return {};
    return path;
}

void writeFile(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TiffBlock::TiffBlock(bool littleEndian, std::uint32_t ifd0)
    : little_(littleEndian)
{
    bytes(0, littleEndian ? std::string("II*\0", 4) : std::string("MM\0*", 4));
    u32(4, ifd0);
}

void TiffBlock::u16(std::size_t offset, std::uint32_t value)
{
    const char b[2] = {char(value & 0xFF), char((value >> 8) & 0xFF)};
    bytes(offset, little_ ? std::string {b[0], b[1]} : std::string {b[1], b[0]});
}

void TiffBlock::u32(std::size_t offset, std::uint32_t value)
{
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[little_ ? i : 3 - i] = char((value >> (8 * i)) & 0xFF);
    bytes(offset, b);
}

void TiffBlock::bytes(std::size_t offset, const std::string &data)
{
    if (data_.size() < offset + data.size())
        data_.resize(offset + data.size(), '\0');
    data_.replace(offset, data.size(), data);
}

void TiffBlock::directory(std::size_t offset, const std::vector<TiffEntry> &entries, std::uint32_t link)
{
    u16(offset, static_cast<std::uint32_t>(entries.size()));
    std::size_t e = offset + 2;
    for (const TiffEntry &entry : entries) {
        u16(e, entry.tag);
        u16(e + 2, entry.type);
        u32(e + 4, entry.count);
        u32(e + 8, 0);
        if ((entry.type == 3 || entry.type == 8) && entry.count == 1)
            u16(e + 8, entry.value);
        else
            u32(e + 8, entry.value);
        e += 12;
    }
    u32(e, link);
}

std::string segment(std::uint8_t marker, const std::string &payload)
{
    const std::size_t length = payload.size() + 2;
    return std::string {char(0xFF), char(marker), char(length >> 8), char(length & 0xFF)} + payload;
}

std::string jpegWithExif(const std::string &tiff, const std::string &segmentsBefore)
{
    return std::string("\xFF\xD8", 2) + segmentsBefore + segment(0xE1, std::string("Exif\0\0", 6) + tiff)
        + std::string("\xFF\xD9", 2);
}

} // namespace exiftest
