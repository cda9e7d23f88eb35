#pragma once

#include <ostream>
#include <string>

// Writes the EXIF entries of the file at path, one "TAG<TAB>VALUE" line each in
// walk order, the tag in decimal and control bytes of the value as \xNN.
// Writes nothing for a file without EXIF. Returns the exit status, always 0.
int printExif(const std::string &path, std::ostream &out);
