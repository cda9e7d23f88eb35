#include "exif/exif_walk.h"

#include "exif/exif_value.h"
#include "exif/tiff_bytes.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>

namespace exif {

namespace {

constexpr int exifIfdPointerTag = 34665;

struct ExifBlock {
    std::uint64_t tiffStart = 0;
    std::string_view bytes; // the file up to the end of the EXIF segment
};

// The first FF E1 byte pair anywhere after the start-of-image marker, without
// walking the JPEG segments; it must be followed by "Exif" after the length.
// Nothing is read past the segment's own length: a hostile count or offset
// would otherwise print whatever follows in the file.
std::optional<ExifBlock> findExifBlock(std::string_view file)
{
    if (file.size() < 2 || static_cast<std::uint8_t>(file[0]) != 0xFF
        || static_cast<std::uint8_t>(file[1]) != 0xD8)
        return std::nullopt;
    const std::size_t app1 = file.find("\xFF\xE1", 2);
    if (app1 == std::string_view::npos)
        return std::nullopt;
    if (file.size() < app1 + 8 || file.substr(app1 + 4, 4) != "Exif")
        return std::nullopt;
    const std::size_t length = std::size_t(static_cast<std::uint8_t>(file[app1 + 2])) << 8
        | static_cast<std::uint8_t>(file[app1 + 3]);
    return ExifBlock {app1 + 10, file.substr(0, std::min(file.size(), app1 + 2 + length))};
}

class DirectoryWalk {
public:
    DirectoryWalk(
        const TiffBytes &bytes, std::uint64_t tiffStart, std::vector<std::pair<int, std::string>> &entries)
        : bytes_(bytes)
        , tiffStart_(tiffStart)
        , entries_(entries)
    {
    }

    // IFD0, every directory chained behind it, then the Exif sub-directory, whose
    // own link is not followed. A chain ends at a zero or unreadable link, at a
    // directory that cannot be read and at a position already visited.
    void run(std::uint64_t firstDirectory)
    {
        std::set<std::uint64_t> visited;
        bool exifEntered = false;
        std::uint64_t pos = firstDirectory;
        for (int directories = 0; directories < maxDirectories && entries_.size() < maxEntries;
             ++directories) {
            std::optional<std::uint32_t> next;
            if (visited.insert(pos).second) {
                if (const auto count = bytes_.u16(pos)) {
                    readDirectory(pos, *count);
                    if (!exifEntered)
                        next = bytes_.u32(pos + 2 + 12 * std::uint64_t(*count));
                }
            }
            if (next.value_or(0) == 0) {
                if (exifEntered || exifIfdOffset_ == 0)
                    return;
                next = exifIfdOffset_;
                exifEntered = true;
            }
            pos = tiffStart_ + *next;
        }
    }

private:
    void readDirectory(std::uint64_t pos, std::uint32_t count)
    {
        for (std::uint32_t k = 0; k < count && entries_.size() < maxEntries; ++k) {
            const std::uint64_t entry = pos + 2 + 12 * std::uint64_t(k);
            // Entries lie one after another, so past the first unreadable one none can be read.
            const auto tag = bytes_.u16(entry);
            if (!tag)
                return;
            EntryValue value = decodeEntryValue(bytes_, tiffStart_, entry, valueBytesLeft_);
            valueBytesLeft_ -= std::min<std::uint64_t>(valueBytesLeft_, value.text.size());
            if (*tag == exifIfdPointerTag && value.number)
                exifIfdOffset_ = static_cast<std::uint32_t>(*value.number); // at most 2^31 - 1
            entries_.emplace_back(static_cast<int>(*tag), std::move(value.text));
        }
    }

    const TiffBytes &bytes_;
    const std::uint64_t tiffStart_;
    std::vector<std::pair<int, std::string>> &entries_;
    std::uint32_t exifIfdOffset_ = 0;
    std::uint64_t valueBytesLeft_ = maxValueBytesPerFile;
};

} // namespace

bool readExifEntries(std::string_view file, std::vector<std::pair<int, std::string>> &entries)
{
    const auto block = findExifBlock(file);
    if (!block)
        return false;
    // "II" is little-endian; any other first byte is taken as big-endian.
    const std::uint64_t tiffStart = block->tiffStart;
    const bool little = tiffStart < file.size() && file[tiffStart] == 'I';
    const TiffBytes bytes(block->bytes, little);
    if (const auto ifd0 = bytes.u32(tiffStart + 4))
        DirectoryWalk(bytes, tiffStart, entries).run(tiffStart + *ifd0);
    return true;
}

} // namespace exif
