#include "fs/file_names.h"

#include <QCoreApplication>
#include <QStringDecoder>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence at p, 0 when the bytes there are not one.
int utf8SequenceLength(const unsigned char *p, qsizetype left)
{
    const unsigned char b = p[0];
    if (b < 0x80)
        return 1;
    int length = 0;
    char32_t code = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        code = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        code = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        code = b & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF)
        return 0;
    return length;
}

bool isEscapedByte(QChar c)
{
    return c.unicode() >= kEscapeBase + 0x80 && c.unicode() <= kEscapeBase + 0xFF;
}

QString errnoText(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QCoreApplication::translate("tuvo", "文件不存在");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("tuvo", "文件无法读取(没有权限)");
    default:
        return QCoreApplication::translate("tuvo", "文件无法读取:")
            + QString::fromLocal8Bit(std::strerror(error));
    }
}

} // namespace

QString decodeFileName(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const int length = utf8SequenceLength(p + i, size - i);
        if (length == 0) {
            text += QChar(char16_t(kEscapeBase + p[i]));
            ++i;
        } else {
            text += QString::fromUtf8(reinterpret_cast<const char *>(p + i), length);
            i += length;
        }
    }
    return text;
}

QByteArray encodeFileName(const QString &name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // A low surrogate behind a high one is half of a real character.
        const bool pairedLow = i > 0 && name[i - 1].isHighSurrogate();
        if (isEscapedByte(name[i]) && !pairedLow) {
            bytes += QStringView(name).mid(runStart, i - runStart).toUtf8();
            bytes += char(name[i].unicode() - kEscapeBase);
            runStart = i + 1;
        }
    }
    bytes += QStringView(name).mid(runStart).toUtf8();
    return bytes;
}

QString shownName(const QString &name)
{
    static const char hexDigits[] = "0123456789ABCDEF";
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const char16_t u = c.unicode();
        unsigned byte = 0x100;
        if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            byte = u;
        else if (isEscapedByte(c) && !(i > 0 && name[i - 1].isHighSurrogate()))
            byte = u - kEscapeBase;
        else
            out += c;
        if (byte < 0x100) {
            out += QLatin1String("\\x");
            out += QLatin1Char(hexDigits[byte >> 4]);
            out += QLatin1Char(hexDigits[byte & 0xF]);
        }
    }
    return out;
}

int openRegularFile(const QString &path, QString *error)
{
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = errnoText(errno);
        return -1;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        if (error)
            *error = QCoreApplication::translate("tuvo", "不是普通文件");
        return -1;
    }
    // Reads that follow should wait for data like on any ordinary file.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool openRegularFile(const QString &path, QFile &file, QString *error)
{
    const int fd = openRegularFile(path, error);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = QCoreApplication::translate("tuvo", "文件无法读取:") + file.errorString();
        return false;
    }
    return true;
}

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    struct stat info { };
    if (::stat(encodeFileName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity {info.st_dev, info.st_ino};
}

bool isDirectoryPath(const QString &path)
{
    struct stat info { };
    return ::stat(encodeFileName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

qint64 fileSize(const QString &path)
{
    struct stat info { };
    return ::stat(encodeFileName(path).constData(), &info) == 0 ? qint64(info.st_size) : -1;
}

bool makeSubFolders(const QString &base, const QString &sub, QString *error)
{
    QByteArray folder = encodeFileName(base);
    for (const QString &part : sub.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            *error = QCoreApplication::translate("tuvo", "子文件夹名无效:") + sub;
            return false;
        }
        folder += '/' + encodeFileName(part);
        if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST) {
            *error = QCoreApplication::translate("tuvo", "无法创建文件夹%1:%2")
                         .arg(decodeFileName(folder), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        struct stat info { };
        if (::lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            *error
                = decodeFileName(folder) + QCoreApplication::translate("tuvo", "不是文件夹(链接不会被跟随)");
            return false;
        }
    }
    return true;
}

bool pathExists(const QString &path)
{
    struct stat info { };
    return ::lstat(encodeFileName(path).constData(), &info) == 0;
}
