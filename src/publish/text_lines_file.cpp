#include "publish/text_lines_file.h"

#include "fs/committed_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>

namespace {

// Long enough for another run's read-modify-write of a large record.
constexpr int kLockWaitMs = 60000;

} // namespace

QByteArray crlfLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

bool appendFileLocked(const QString &path, const QByteArray &content, QString *error)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "无法锁定文件");
        return false;
    }
    QByteArray existing;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly)) {
            if (error)
                *error = old.errorString();
            return false;
        }
        existing = old.readAll();
        if (old.error() != QFileDevice::NoError) {
            if (error)
                *error = old.errorString();
            return false;
        }
    }
    return writeFileAtomically(path, existing + content, error);
}
