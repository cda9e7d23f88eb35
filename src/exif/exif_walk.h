#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace exif {

// Most entries taken from one file, and most directories visited. Real photographs
// carry well under a few hundred entries in IFD0, IFD1 and the Exif directory.
constexpr std::size_t maxEntries = 1024;
constexpr int maxDirectories = 64;
// Bytes of a file the reader looks at: the first FF E1 pair is searched in the
// first MiB, and the block behind it holds at most one APP1 segment.
constexpr std::uint64_t maxFileBytes = (1 << 20) + 65536 + 10;
// Most value-area bytes decoded from one file, sixteen times what one APP1 segment can hold.
constexpr std::uint64_t maxValueBytesPerFile = 1 << 20;

// Finds the EXIF block in the bytes of a whole file and appends its entries in
// walk order. Returns false when there is no EXIF block (entries untouched).
bool readExifEntries(std::string_view file, std::vector<std::pair<int, std::string>> &entries);

} // namespace exif
