#include "batch/imaging/encoders.h"

#include "batch/imaging/heif_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString lower(const QString &e)
{
    return e.toLower();
}

} // namespace

bool isHeifExtension(const QString &extension)
{
    const QString e = lower(extension);
    return e == QLatin1String("avif") || e == QLatin1String("heic") || e == QLatin1String("heif");
}

bool hasEncoderFor(const QString &extension)
{
    const QString e = lower(extension);
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg") || e == QLatin1String("png")
        || e == QLatin1String("gif") || e == QLatin1String("tif") || e == QLatin1String("tiff")
        || e == QLatin1String("bmp") || e == QLatin1String("webp") || e == QLatin1String("avif"))
        return true;
    return (e == QLatin1String("heic") || e == QLatin1String("heif")) && heifEncoderAvailable(true);
}

QByteArray encodePicture(const QImage &picture, const QString &extension, int quality, QString *error)
{
    if (picture.isNull()) {
        if (error)
            *error = QStringLiteral("没有可保存的图片");
        return {};
    }
    const QString e = lower(extension);
    if (e == QLatin1String("jpg") || e == QLatin1String("jpeg"))
        return encodeJpeg(picture, quality, error);
    if (e == QLatin1String("png"))
        return encodePng(picture, error);
    if (e == QLatin1String("gif"))
        return encodeGif(picture, error);
    if (e == QLatin1String("tif") || e == QLatin1String("tiff"))
        return encodeTiff24(picture);
    if (e == QLatin1String("bmp"))
        return encodeBmp24(picture);
    if (e == QLatin1String("webp"))
        return encodeWebp(picture, quality, error);
    if (isHeifExtension(e) && hasEncoderFor(e))
        return encodeHeif(picture, quality, e != QLatin1String("avif"), {}, error);
    if (error)
        *error = QStringLiteral("没有扩展名为%1的图片编码器").arg(extension);
    return {};
}

namespace {

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

// An unnamed file in the target's folder, given a name only once it is complete:
// if the program is killed halfway, the kernel drops it and nothing is left behind.
// Returns 0 on success, -1 when unnamed files are not supported here, or errno.
int writeThroughUnnamedFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    const QByteArray dir = QFile::encodeName(info.absolutePath());
    const int fd = ::open(dir.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) ? -1 : errno;
    int result = 0;
    if (!writeAll(fd, bytes))
        result = errno ? errno : EIO;
    // Honour the umask like an ordinary new file would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (result == 0) {
        const QByteArray target = QFile::encodeName(info.absoluteFilePath());
        const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray temp
                = target + ".tuvo-" + QByteArray::number(::getpid()) + "-" + QByteArray::number(attempt);
            if (::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, temp.constData(), AT_SYMLINK_FOLLOW) == 0) {
                if (::rename(temp.constData(), target.constData()) != 0) {
                    result = errno;
                    ::unlink(temp.constData());
                }
                break;
            }
            if (errno != EEXIST) {
                result = errno;
                break;
            }
        }
    }
    ::close(fd);
    return result;
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    const int unnamed = writeThroughUnnamedFile(path, bytes);
    if (unnamed == 0)
        return true;
    if (unnamed > 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(unnamed));
        return false;
    }
    // Fallback: a named temporary beside the target, renamed into place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool SavePictureEncoded(
    const QImage &picture, const QString &path, const QString &extension, int quality, QString *error)
{
    const QByteArray bytes = encodePicture(picture, extension, quality, error);
    if (bytes.isEmpty())
        return false;
    return writeFileAtomically(path, bytes, error);
}
