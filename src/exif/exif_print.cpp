#include "exif/exif_print.h"

#include "exif/exif_reader.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

int printExif(const std::vector<std::string> &paths, std::ostream &out, std::ostream &err,
    const std::string &notRegularFile)
{
    int status = 0;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string &path = paths[i];
        const std::string shown = escapeControlBytes(path);
        struct stat info { };
        if (::stat(path.c_str(), &info) != 0) {
            err << shown << ": " << std::strerror(errno) << '\n';
            status = 1;
            continue;
        }
        if (!S_ISREG(info.st_mode)) {
            err << shown << ": " << notRegularFile << '\n';
            status = 1;
            continue;
        }
        if (paths.size() > 1)
            out << (i > 0 ? "\n" : "") << "==> " << shown << " <==\n";
        ExifReader reader;
        reader.picFile = path;
        reader.Load();
        for (const auto &[tag, value] : reader.entries())
            out << tag << '\t' << escapeControlBytes(value) << '\n';
    }
    return status;
}
