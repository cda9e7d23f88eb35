#include "exif/exif_reader.h"

#include "exif/exif_walk.h"

#include <fstream>
#include <iterator>

namespace {

bool readWholeFile(const std::string &path, std::string &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

bool ExifReader::Load()
{
    return load();
}

bool ExifReader::load() const
{
    entries_.clear();
    loaded_ = false;
    if (picFile.empty())
        return false;
    std::string bytes;
    if (!readWholeFile(picFile, bytes))
        return false;
    loaded_ = exif::readExifEntries(bytes, entries_);
    return loaded_;
}

std::string ExifReader::Tag(int n) const
{
    if (!loaded_ && !picFile.empty())
        load();
    if (n == 0)
        return entries_.empty() ? std::string() : std::to_string(entries_.size());
    for (const auto &[tag, value] : entries_) {
        if (tag == n)
            return value;
    }
    return {};
}
