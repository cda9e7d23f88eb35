#include "exif/exif_reader.h"

#include "exif/exif_walk.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Only a regular file is read (a FIFO would wait for a writer, /dev/zero never
// ends), and only the prefix an EXIF block can lie in.
bool readFilePrefix(const std::string &path, std::string &bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info { };
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        bytes.resize(std::size_t(std::min<std::uint64_t>(std::uint64_t(info.st_size), exif::maxFileBytes)));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += std::size_t(n);
        }
        bytes.resize(got);
    }
    ::close(fd);
    return ok;
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
    if (!readFilePrefix(picFile, bytes))
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
