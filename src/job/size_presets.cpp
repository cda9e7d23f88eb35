#include "job/size_presets.h"

#include "fs/file_names.h"

#include <QFile>
#include <QStringDecoder>

QVector<SizePreset> parseSizePresets(const QByteArray &content)
{
    QVector<SizePreset> presets;
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (presets.size() >= kMaxSizePresets)
            break;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        SizePreset p;
        const int first = line.indexOf(QLatin1Char(';'));
        if (first < 0) {
            p.name = line;
        } else {
            p.name = line.left(first);
            const int second = line.indexOf(QLatin1Char(';'), first + 1);
            if (second < 0) {
                p.width = line.mid(first + 1);
            } else {
                p.width = line.mid(first + 1, second - first - 1);
                p.height = line.mid(second + 1);
            }
        }
        presets << p;
    }
    return presets;
}

QVector<SizePreset> readSizePresets(const QString &path)
{
    // A preset file is small and regular; anything else must not stall start-up.
    QString error;
    const int fd = openRegularFile(path, &error);
    if (fd < 0) {
        if (pathExists(path))
            qWarning("%s: %s", qPrintable(shownName(path)), qPrintable(error));
        return {};
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) || f.size() > 4 * 1024 * 1024)
        return {};
    return parseSizePresets(f.readAll());
}
