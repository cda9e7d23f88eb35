#include "ui/help_pages.h"

#include "fs/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QList<HelpPage> helpPages()
{
    // Made on each call: the menu texts are those of the language in use.
    return {
        {QStringLiteral("mNews"), QCoreApplication::translate("tuvo", "更新说明"), QString(),
            {QStringLiteral("release-notes.txt"), QStringLiteral("RELEASE-NOTES.md"),
                QStringLiteral("NEWS.md"), QStringLiteral("NEWS")}},
        {QStringLiteral("mLicence"), QCoreApplication::translate("tuvo", "许可协议"), QString(),
            {QStringLiteral("LICENSE"), QStringLiteral("LICENSE.txt"), QStringLiteral("copyright")}},
        {QStringLiteral("mReport"), QCoreApplication::translate("tuvo", "问题反馈"), QString(),
            {QStringLiteral("问题反馈.txt"), QStringLiteral("reporting-bugs.txt")}},
    };
}

QStringList helpDocumentFolders(const AppPaths &paths)
{
    const QDir data(paths.dataDir());
    return {data.filePath(QStringLiteral("doc")), data.path(),
        QDir::cleanPath(data.filePath(QStringLiteral("../doc/tuvo")))};
}

QString helpPageTarget(const HelpPage &page, const AppPaths &paths)
{
    if (!page.webAddress.isEmpty())
        return page.webAddress;
    for (const QString &folder : helpDocumentFolders(paths)) {
        for (const QString &name : page.documentNames) {
            const QFileInfo doc(QDir(folder).filePath(name));
            if (doc.isFile() && doc.isReadable())
                return doc.absoluteFilePath();
        }
    }
    return QString();
}
