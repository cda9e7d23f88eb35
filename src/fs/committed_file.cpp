#include "fs/committed_file.h"

#include "fs/file_names.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
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
    sealed_ = false;
    clashed_ = false;
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

// Flushes, gives the temporary a name beside the target and closes it; only
// then may it take the target's name, so a failing close still keeps the old file.
bool CommittedFile::seal()
{
    if (sealed_)
        return error_ == 0;
    if (fd_ < 0) {
        if (error_ == 0)
            setErrorString(QStringLiteral("file not open"));
        discard();
        return false;
    }
    // Delayed allocation shows a full disk only here, on some file systems even only at close.
    if (error_ == 0 && ::fsync(fd_) != 0)
        failWith(errno);
    if (error_ == 0 && namedTemp_.isEmpty()) {
        const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd_);
        for (int attempt = 0; attempt < 100 && namedTemp_.isEmpty() && error_ == 0; ++attempt) {
            const QString temp = path_ + QStringLiteral(".tuvo-%1-%2").arg(::getpid()).arg(attempt);
            if (::linkat(
                    AT_FDCWD, proc.constData(), AT_FDCWD, encodeFileName(temp).constData(), AT_SYMLINK_FOLLOW)
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
    sealed_ = true;
    if (error_ == 0)
        return true;
    discard();
    return false;
}

bool CommittedFile::publish(const QString &target, bool replace)
{
    clashed_ = false;
    const QByteArray temp = encodeFileName(namedTemp_);
    const QByteArray name = encodeFileName(QFileInfo(target).absoluteFilePath());
    int result = 0;
    if (replace) {
        result = ::rename(temp.constData(), name.constData());
    } else {
        result = ::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, name.constData(), RENAME_NOREPLACE);
        if (result != 0 && (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            // Without RENAME_NOREPLACE a hard link cannot replace anything either.
            result = ::link(temp.constData(), name.constData());
            if (result == 0) {
                ::unlink(temp.constData());
            } else if (errno != EEXIST) {
                // Neither (FAT, some network shares): look first; a tiny window stays.
                struct stat info { };
                if (::lstat(name.constData(), &info) == 0)
                    errno = EEXIST;
                else
                    result = ::rename(temp.constData(), name.constData());
            }
        }
    }
    if (result != 0 && errno == EEXIST && !replace) {
        clashed_ = true;
        setErrorString(QString::fromLocal8Bit(std::strerror(EEXIST)));
        return false;
    }
    if (result != 0) {
        failWith(errno);
        discard();
        return false;
    }
    namedTemp_.clear();
    QIODevice::close();
    syncFolder(encodeFileName(QFileInfo(target).absolutePath()));
    return true;
}

bool CommittedFile::commit()
{
    return seal() && publish(path_, true);
}

bool CommittedFile::commitNew(const QString &path)
{
    return seal() && publish(path, false);
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
    sealed_ = false;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    CommittedFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}
