#pragma once

#include <ostream>
#include <string>
#include <vector>

// Writes the EXIF entries of each file, one "TAG<TAB>VALUE" line each in walk
// order, the tag in decimal and control bytes of the value as \xNN; a
// "==> name <==" line heads each file when there are several. A file without
// EXIF gives no lines. A missing or non-regular file is said on err.
// Returns the exit status: 0, or 1 when a file could not be read. The caller
// gives the words for a non-regular file in its own language.
int printExif(const std::vector<std::string> &paths, std::ostream &out, std::ostream &err,
    const std::string &notRegularFile = "不是普通文件");
