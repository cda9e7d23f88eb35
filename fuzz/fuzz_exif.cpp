// Feeds arbitrary bytes, taken as the content of a picture file, through the
// same parse ExifReader::Load runs after reading the file, then asks every
// entry back as Tag() would.
#include "exif/exif_walk.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::pair<int, std::string>> entries;
    const bool found
        = exif::readExifEntries(std::string_view(reinterpret_cast<const char *>(data), size), entries);
    if (!found && !entries.empty())
        std::abort();
    if (entries.size() > exif::maxEntries)
        std::abort();
    return 0;
}
