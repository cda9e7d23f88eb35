#include "imaging/picture_files.h"

#include "fs/file_names.h"
#include "imaging/raw_decoder.h"

#include <QImageReader>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

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
    if (known.contains(ext) || rawExtensions().contains(ext))
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

// Lists a folder by the bytes of its names: Qt's own listing skips names that
// are not valid UTF-8, and such names are common in archives from other systems.
static void listFolder(const QString &folder, QStringList &files, QStringList &folders)
{
    const QByteArray base = encodeFileName(folder);
    DIR *dir = ::opendir(base.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray full = base + '/' + name;
        struct stat own { };
        if (::lstat(full.constData(), &own) != 0)
            continue;
        // Links to folders are not followed, so a link cycle cannot make the scan endless.
        if (S_ISDIR(own.st_mode)) {
            folders << decodeFileName(name);
            continue;
        }
        // A dangling link stays in the list: the run reports it instead of dropping it.
        struct stat target { };
        if (S_ISLNK(own.st_mode) && ::stat(full.constData(), &target) == 0 && S_ISDIR(target.st_mode))
            continue;
        files << decodeFileName(name);
    }
    ::closedir(dir);
}

static void scanInto(const QString &folder, bool recursive, QStringList &out,
    const std::function<void(int)> &progress, int depth)
{
    QStringList files, subs;
    listFolder(folder, files, subs);
    sortByName(files);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QString &f : files) {
        if (isPictureFileName(f))
            out << prefix + f;
    }
    if (progress)
        progress(int(out.size()));
    if (!recursive || depth > 64)
        return;
    sortByName(subs);
    for (const QString &s : subs)
        scanInto(prefix + s, true, out, progress, depth + 1);
}

QStringList scanPictureFolder(const QString &folder, bool recursive, const std::function<void(int)> &progress)
{
    QStringList out;
    scanInto(folder, recursive, out, progress, 0);
    return out;
}
