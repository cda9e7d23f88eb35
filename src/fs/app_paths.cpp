#include "fs/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

static bool holdsData(const QString &dir)
{
    return QFileInfo::exists(dir + QStringLiteral("/size.ini"))
        || QFileInfo(dir + QStringLiteral("/bk")).isDir();
}

static bool isWritableDir(const QString &dir)
{
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

AppPaths AppPaths::at(const QString &dataDir, const QString &writableDir)
{
    AppPaths p;
    p.dataDir_ = QDir::cleanPath(dataDir);
    p.writableDir_ = QDir::cleanPath(writableDir);
    return p;
}

AppPaths AppPaths::resolve()
{
    const AppPaths found = forProgramIn(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tuvo"));
    // TUVO_HOME moves what the program writes; the data stays where it was installed.
    const QString home = qEnvironmentVariable("TUVO_HOME");
    return home.isEmpty() ? found : at(found.dataDir(), home);
}

AppPaths AppPaths::forProgramIn(const QString &programDir, const QString &perUserDir)
{
    const QString exeDir = QDir::cleanPath(programDir);
    QString data = exeDir;
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/tuvo"));
    if (!holdsData(exeDir) && holdsData(installed))
        data = installed;

    // An installed program never writes beside itself, even where it could (root,
    // a prefix in the home folder): bin is no place for output pictures.
    const bool installedLayout = data == installed;
    const QString writable = installedLayout || !isWritableDir(exeDir) ? perUserDir : exeDir;
    return at(data, writable);
}

QString AppPaths::sizeIni() const
{
    return dataDir_ + QStringLiteral("/size.ini");
}

QString AppPaths::bkDir() const
{
    return dataDir_ + QStringLiteral("/bk");
}

QString AppPaths::syDir() const
{
    return dataDir_ + QStringLiteral("/sy");
}

QString AppPaths::skinDir() const
{
    return dataDir_ + QStringLiteral("/skin");
}

QString AppPaths::readme() const
{
    return dataDir_ + QStringLiteral("/使用必读.txt");
}

QString AppPaths::zpDir() const
{
    return writableDir_ + QStringLiteral("/zp");
}

QString AppPaths::userDir() const
{
    return writableDir_ + QStringLiteral("/user");
}

bool AppPaths::ensureWritableFolders() const
{
    QDir d;
    return d.mkpath(zpDir()) && d.mkpath(userDir());
}
