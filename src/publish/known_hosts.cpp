#include "publish/known_hosts.h"

#include "fs/file_names.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMessageAuthenticationCode>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How ssh names a server in the file.
QByteArray hostName(const QString &host, int port)
{
    const QByteArray name = host.toLower().toUtf8();
    return port == 22 ? name : "[" + name + "]:" + QByteArray::number(port);
}

// The key type that opens the wire form ("ssh-ed25519", "ecdsa-sha2-nistp256", ...).
QByteArray keyType(const QByteArray &blob)
{
    if (blob.size() < 4)
        return {};
    const quint32 length = quint32(uchar(blob[0])) << 24 | quint32(uchar(blob[1])) << 16
        | quint32(uchar(blob[2])) << 8 | quint32(uchar(blob[3]));
    return length <= quint32(blob.size() - 4) ? blob.mid(4, qsizetype(length)) : QByteArray();
}

// OpenSSH's glob: "*" any run, "?" one character, case ignored.
bool globMatches(const char *pattern, const char *text)
{
    for (; *pattern; ++pattern, ++text) {
        if (*pattern == '*') {
            for (const char *rest = text;; ++rest) {
                if (globMatches(pattern + 1, rest))
                    return true;
                if (!*rest)
                    return false;
            }
        }
        if (!*text || (*pattern != '?' && std::tolower(uchar(*pattern)) != std::tolower(uchar(*text))))
            return false;
    }
    return !*text;
}

bool hostFieldMatches(const QByteArray &field, const QByteArray &name)
{
    if (field.startsWith("|1|")) {
        const QList<QByteArray> parts = field.mid(3).split('|');
        if (parts.size() != 2)
            return false;
        const QByteArray salt = QByteArray::fromBase64(parts[0]);
        return QMessageAuthenticationCode::hash(name, salt, QCryptographicHash::Sha1)
            == QByteArray::fromBase64(parts[1]);
    }
    bool matched = false;
    for (const QByteArray &pattern : field.split(',')) {
        const bool negated = pattern.startsWith('!');
        if (globMatches(pattern.constData() + (negated ? 1 : 0), name.constData())) {
            if (negated)
                return false;
            matched = true;
        }
    }
    return matched;
}

} // namespace

KnownHostKey lookUpHostKey(const QString &file, const QString &host, int port, const QByteArray &keyBlob)
{
    QFile f;
    if (!openRegularFile(file, f))
        return KnownHostKey::Unknown;
    const QByteArray name = hostName(host, port);
    const QByteArray type = keyType(keyBlob);
    bool otherKey = false;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine(64 * 1024).simplified();
        if (line.isEmpty() || line.startsWith('#') || line.startsWith('@'))
            continue;
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || !hostFieldMatches(fields[0], name))
            continue;
        if (QByteArray::fromBase64(fields[2]) == keyBlob)
            return KnownHostKey::Matches;
        // ssh asks, rather than refuses, when only keys of other types are known.
        if (fields[1] == type)
            otherKey = true;
    }
    return otherKey ? KnownHostKey::Changed : KnownHostKey::Unknown;
}

bool addHostKey(const QString &file, const QString &host, int port, const QByteArray &keyBlob, QString *error)
{
    const QByteArray type = keyType(keyBlob);
    if (type.isEmpty()) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(EINVAL));
        return false;
    }
    const QString folder = QFileInfo(file).absolutePath();
    if (!QFileInfo::exists(folder))
        ::mkdir(encodeFileName(folder).constData(), 0700);
    const int fd = ::open(encodeFileName(file).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    QByteArray line = hostName(host, port) + ' ' + type + ' ' + keyBlob.toBase64() + '\n';
    // A last line without its newline would otherwise run into this one.
    struct stat info { };
    char last = '\n';
    if (::fstat(fd, &info) == 0 && info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) != 1)
        last = '\n';
    if (last != '\n')
        line.prepend('\n');
    // One write: with O_APPEND it cannot interleave with another program's line.
    const bool ok = ::write(fd, line.constData(), size_t(line.size())) == ssize_t(line.size());
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if ((!ok || !closed) && error)
        *error = QString::fromLocal8Bit(std::strerror(ok ? errno : writeError));
    return ok && closed;
}
