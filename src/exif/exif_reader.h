#pragma once

#include <string>
#include <utility>
#include <vector>

// Reads the EXIF block of a JPEG photograph and answers single tags by number.
// Never fails outward: a file without a readable EXIF block gives empty answers.
// Values are texts: integers in decimal, BYTE values inside the entry as
// hexadecimal, the first RATIONAL as "n/d", ASCII and UNDEFINED bytes as they stand.
class ExifReader {
public:
    std::string picFile; // path (UTF-8 / local 8-bit bytes)

    // Reads picFile (a regular file only, and only the part an EXIF block can lie
    // in) and walks IFD0, the directories chained behind it and the
    // Exif sub-directory. Loading again reads the file afresh.
    // Returns false when the file has no readable EXIF block.
    bool Load();

    // The value of the first entry with tag number n, "" when there is none.
    // Tag(0) is the number of entries read, "" when there are none.
    // Loads picFile first when nothing is loaded yet.
    std::string Tag(int n) const;

    // Tag numbers and values in the order the walk met them.
    const std::vector<std::pair<int, std::string>> &entries() const { return entries_; }

private:
    bool load() const;

    // Tag() loads on demand, so the loaded state may change behind const.
    mutable std::vector<std::pair<int, std::string>> entries_;
    mutable bool loaded_ = false;
};
