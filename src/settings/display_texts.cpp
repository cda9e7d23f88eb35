#include "settings/display_texts.h"

#include "imaging/picture_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

QString statusLineText(const QString &text)
{
    if (text.size() > 240)
        return text.left(230) + QStringLiteral("...");
    return text;
}

QString shortPathText(const QString &path)
{
    if (path.size() >= 23)
        return path.left(3) + QStringLiteral("...") + path.right(17);
    return path;
}

QString outputFolderLabel(const QString &folder)
{
    return QCoreApplication::translate("tuvo", "输出文件夹:") + shortPathText(folder);
}

QString programVersionText()
{
    const QString v = QCoreApplication::applicationVersion();
    return QStringLiteral(" V") + (v.isEmpty() ? QStringLiteral("1.0") : v);
}

QString windowTitleText(const QString &path)
{
    QString title = QCoreApplication::translate("tuvo", "Tuvo图片批量处理") + programVersionText();
    if (!path.isEmpty())
        title += QStringLiteral(" - ") + path;
    return title;
}

QStringList picturesFromArguments(const QStringList &arguments, const QString &workingDir)
{
    QStringList out;
    const QDir base(workingDir);
    for (QString a : arguments) {
        a.remove(QLatin1Char('"'));
        if (a.isEmpty() || !isPictureFileName(a))
            continue;
        out << QDir::cleanPath(base.absoluteFilePath(a));
    }
    return out;
}

QString newFolderPath(const QString &parent)
{
    const QDir dir(parent);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? QCoreApplication::translate("tuvo", "新建文件夹")
                                    : QCoreApplication::translate("tuvo", "新建文件夹( %1)").arg(n);
        const QString candidate = dir.filePath(name);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString droppedBitmapPath(const QString &folder, const QDateTime &now)
{
    // Two drops within one second must not overwrite the first picture.
    const QString stem
        = QDir(folder).filePath(QStringLiteral("tempWL") + now.toString(QStringLiteral("ddHHmmss")));
    QString candidate = stem + QStringLiteral(".bmp");
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = stem + QStringLiteral("_%1.bmp").arg(n);
    return candidate;
}
