#include "batch/picture_files.h"

#include <QDir>
#include <QImageReader>

#include <algorithm>

static bool webpReadable()
{
    static const bool readable = QImageReader::supportedImageFormats().contains("webp");
    return readable;
}

bool isPictureFileName(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString ext = name.mid(dot + 1).toLower();
    static const QStringList known = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("bmp"),
        QStringLiteral("gif"), QStringLiteral("png"), QStringLiteral("tif"), QStringLiteral("tiff"),
        QStringLiteral("heic"), QStringLiteral("heif"), QStringLiteral("avif")};
    if (known.contains(ext))
        return true;
    return ext == QLatin1String("webp") && webpReadable();
}

static void sortByName(QStringList &names)
{
    std::stable_sort(names.begin(), names.end(), [](const QString &x, const QString &y) {
        const int c = QString::compare(x, y, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : x < y;
    });
}

static void scanInto(const QString &folder, bool recursive, QStringList &out,
    const std::function<void(int)> &progress, int depth)
{
    QDir dir(folder);
    QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    sortByName(files);
    for (const QString &f : files) {
        if (isPictureFileName(f))
            out << dir.filePath(f);
    }
    if (progress)
        progress(int(out.size()));
    if (!recursive || depth > 64)
        return;
    // Links to folders are not followed, so a link cycle cannot make the scan endless.
    QStringList subs = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden);
    sortByName(subs);
    for (const QString &s : subs)
        scanInto(dir.filePath(s), true, out, progress, depth + 1);
}

QStringList scanPictureFolder(const QString &folder, bool recursive, const std::function<void(int)> &progress)
{
    QStringList out;
    scanInto(folder, recursive, out, progress, 0);
    return out;
}
