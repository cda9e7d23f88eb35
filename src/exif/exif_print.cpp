#include "exif/exif_print.h"

#include "exif/exif_reader.h"

namespace {

std::string escapeControlBytes(const std::string &value)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            out += "\\x";
            out += hexDigits[b >> 4];
            out += hexDigits[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

int printExif(const std::string &path, std::ostream &out)
{
    ExifReader reader;
    reader.picFile = path;
    reader.Load();
    for (const auto &[tag, value] : reader.entries())
        out << tag << '\t' << escapeControlBytes(value) << '\n';
    return 0;
}
