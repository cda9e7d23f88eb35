#include "publish/text_lines_file.h"

#include <QFile>
#include <QSaveFile>

QByteArray crlfLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

bool replaceFileAtomically(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

bool appendFileAtomically(const QString &path, const QByteArray &content)
{
    QByteArray existing;
    QFile old(path);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return false;
        existing = old.readAll();
        if (old.error() != QFileDevice::NoError)
            return false;
    }
    return replaceFileAtomically(path, existing + content);
}
