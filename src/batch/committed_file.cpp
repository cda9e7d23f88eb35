#include "batch/committed_file.h"

#include "batch/file_names.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kTailSize = 64;

// A file-size limit (RLIMIT_FSIZE) would kill the program with SIGXFSZ in the
// middle of a write; ignored, the write fails with EFBIG like a full disk does.
void writeErrorsInsteadOfSignals()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void syncFolder(const QByteArray &folder)
{
    // Makes the rename itself durable; file systems that cannot do it still renamed.
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

CommittedFile::CommittedFile(const QString &path)
    : path_(QFileInfo(path).absoluteFilePath())
{
}

CommittedFile::~CommittedFile()
{
    discard();
}

bool CommittedFile::failWith(int error)
{
    if (error_ == 0)
        error_ = error ? error : EIO;
    setErrorString(QString::fromLocal8Bit(std::strerror(error_)));
    return false;
}

bool CommittedFile::open(OpenMode mode)
{
    if (isOpen() || (mode & ReadOnly) || !(mode & WriteOnly))
        return false;
    writeErrorsInsteadOfSignals();
    error_ = 0;
    tail_.clear();
    const QByteArray folder = encodeFileName(QFileInfo(path_).absolutePath());
    // An unnamed file gets its name only once it is complete: if the program is
    // killed halfway, the kernel drops it and nothing is left behind.
    fd_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            namedTemp_ = path_ + QStringLiteral(".tuvo-%1-%2").arg(::getpid()).arg(attempt);
            fd_ = ::open(
                encodeFileName(namedTemp_).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
        if (fd_ < 0)
            namedTemp_.clear();
    }
    if (fd_ < 0)
        return failWith(errno);
    ::fchmod(fd_, newFileMode());
    // Unbuffered: every write reaches writeData at once, so no failure waits in a buffer.
    return QIODevice::open(WriteOnly | Unbuffered);
}

qint64 CommittedFile::writeData(const char *data, qint64 size)
{
    if (fd_ < 0 || error_ != 0)
        return -1;
    const qint64 total = size;
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failWith(n < 0 ? errno : ENOSPC);
            return -1;
        }
        tail_.append(data, qsizetype(n));
        data += n;
        size -= n;
    }
    if (tail_.size() > kTailSize)
        tail_ = tail_.right(kTailSize);
    return total;
}

bool CommittedFile::commit()
{
    if (fd_ < 0) {
        if (error_ == 0)
            setErrorString(QStringLiteral("file not open"));
        discard();
        return false;
    }
    // Delayed allocation shows a full disk only here, on some file systems even only at close.
    if (error_ == 0 && ::fsync(fd_) != 0)
        failWith(errno);
    const QByteArray target = encodeFileName(path_);
    // An unnamed temporary gets a name beside the target first; the rename comes
    // only after the close, so a failing close still keeps the old file.
    if (error_ == 0 && namedTemp_.isEmpty()) {
        const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd_);
        for (int attempt = 0; attempt < 100 && namedTemp_.isEmpty() && error_ == 0; ++attempt) {
            const QString temp = path_ + QStringLiteral(".tuvo-%1-%2").arg(::getpid()).arg(attempt);
            if (::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, encodeFileName(temp).constData(),
                    AT_SYMLINK_FOLLOW)
                == 0)
                namedTemp_ = temp;
            else if (errno != EEXIST)
                failWith(errno);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error_ == 0)
        failWith(errno);
    if (!namedTemp_.isEmpty()) {
        const QByteArray temp = encodeFileName(namedTemp_);
        if (error_ == 0 && ::rename(temp.constData(), target.constData()) != 0)
            failWith(errno);
        if (error_ != 0)
            ::unlink(temp.constData());
        namedTemp_.clear();
    }
    QIODevice::close();
    if (error_ != 0)
        return false;
    syncFolder(encodeFileName(QFileInfo(path_).absolutePath()));
    return true;
}

void CommittedFile::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!namedTemp_.isEmpty()) {
        ::unlink(encodeFileName(namedTemp_).constData());
        namedTemp_.clear();
    }
    if (isOpen())
        QIODevice::close();
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    CommittedFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}
