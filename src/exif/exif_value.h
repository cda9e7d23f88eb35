#pragma once

#include "exif/tiff_bytes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace exif {

// The decoded value of one 12-byte directory entry: its text as Tag() gives it,
// and the number itself when the value is a single integer (needed to follow
// the Exif sub-directory pointer).
struct EntryValue {
    std::string text;
    std::optional<std::int64_t> number;
};

// Most value-area bytes taken for one entry. A single APP1 segment holds at most
// 65533 bytes, so no genuine value comes near it; the cap keeps a hostile count
// from turning a small file into a huge allocation.
constexpr std::uint64_t maxValueBytes = 65535;

// Decodes the entry starting at entryPos; value-area offsets count from tiffStart.
// At most byteLimit bytes of the value area are read.
EntryValue decodeEntryValue(const TiffBytes &bytes, std::uint64_t tiffStart, std::uint64_t entryPos,
    std::uint64_t byteLimit = maxValueBytes);

} // namespace exif
