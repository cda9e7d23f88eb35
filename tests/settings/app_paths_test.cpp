#include "fs/app_paths.h"
#include "job/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class AppPathsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        perUser = path(QStringLiteral("home/.local/share/tuvo"));
    }
    void TearDown() override
    {
        // Give the folders back their write bit so the temp folder can go.
        for (const QString &d : lockedDirs)
            QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path(const QString &relative) const { return QDir(root.path()).filePath(relative); }
    void makeData(const QString &dir)
    {
        QDir().mkpath(dir + QStringLiteral("/bk"));
        QDir().mkpath(dir + QStringLiteral("/skin"));
        QFile f(dir + QStringLiteral("/size.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("A4;2480;3508\n");
    }
    // False when the folder stays writable anyway (root ignores the mode bits).
    bool makeReadOnly(const QString &dir)
    {
        lockedDirs << dir;
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        QFile probe(dir + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return false;
        }
        return true;
    }

    QTemporaryDir root;
    QString perUser;
    QStringList lockedDirs;
};

TEST_F(AppPathsTest, InstalledProgramReadsShareAndWritesPerUser)
{
    const QString bin = path(QStringLiteral("usr/bin"));
    QDir().mkpath(bin);
    makeData(path(QStringLiteral("usr/share/tuvo")));

    // bin is writable here (as for a prefix in the home folder), yet nothing goes there.
    const AppPaths p = AppPaths::forProgramIn(bin, perUser);
    EXPECT_EQ(p.dataDir(), path(QStringLiteral("usr/share/tuvo")));
    EXPECT_EQ(p.sizeIni(), path(QStringLiteral("usr/share/tuvo/size.ini")));
    EXPECT_EQ(p.skinDir(), path(QStringLiteral("usr/share/tuvo/skin")));
    EXPECT_EQ(p.readme(), path(QStringLiteral("usr/share/tuvo/使用必读.txt")));
    EXPECT_EQ(p.zpDir(), perUser + QStringLiteral("/zp"));
    EXPECT_EQ(p.userDir(), perUser + QStringLiteral("/user"));

    ASSERT_TRUE(p.ensureWritableFolders());
    EXPECT_TRUE(QFileInfo(perUser + QStringLiteral("/zp")).isDir());
    EXPECT_TRUE(QFileInfo(perUser + QStringLiteral("/user")).isDir());
    EXPECT_EQ(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("usr/share/tuvo/zp"))));
}

TEST_F(AppPathsTest, ProgramFolderWithItsOwnDataKeepsEverythingBesideIt)
{
    const QString dir = path(QStringLiteral("portable"));
    makeData(dir);
    // Data beside the program wins over an installed copy next door.
    makeData(path(QStringLiteral("share/tuvo")));
    const AppPaths p = AppPaths::forProgramIn(dir + QStringLiteral("/"), perUser);
    EXPECT_EQ(p.dataDir(), dir);
    EXPECT_EQ(p.zpDir(), dir + QStringLiteral("/zp"));
    EXPECT_EQ(p.userDir(), dir + QStringLiteral("/user"));
}

TEST_F(AppPathsTest, ReadOnlyProgramFolderWritesPerUser)
{
    const QString dir = path(QStringLiteral("opt/tuvo"));
    makeData(dir);
    if (!makeReadOnly(dir))
        GTEST_SKIP() << "mode bits do not stop this user from writing";
    const AppPaths p = AppPaths::forProgramIn(dir, perUser);
    EXPECT_EQ(p.dataDir(), dir);
    EXPECT_EQ(p.zpDir(), perUser + QStringLiteral("/zp"));
    ASSERT_TRUE(p.ensureWritableFolders());
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/zp")));
}

TEST_F(AppPathsTest, ReadOnlyInstalledPrefixWritesPerUser)
{
    const QString bin = path(QStringLiteral("usr/bin"));
    QDir().mkpath(bin);
    makeData(path(QStringLiteral("usr/share/tuvo")));
    makeReadOnly(bin);
    makeReadOnly(path(QStringLiteral("usr/share/tuvo")));
    const AppPaths p = AppPaths::forProgramIn(bin, perUser);
    EXPECT_EQ(p.dataDir(), path(QStringLiteral("usr/share/tuvo")));
    EXPECT_EQ(p.writableDir(), perUser);
    EXPECT_TRUE(p.ensureWritableFolders());
}

TEST_F(AppPathsTest, FolderWithoutDataAnywhereStaysTheProgramFolder)
{
    const QString bin = path(QStringLiteral("bin"));
    QDir().mkpath(bin);
    const AppPaths p = AppPaths::forProgramIn(bin, perUser);
    EXPECT_EQ(p.dataDir(), bin);
    EXPECT_EQ(p.writableDir(), bin);
}

// The README's `TUVO_HOME=... tuvo-cli --size 2寸` lost size.ini, frames and skins.
TEST_F(AppPathsTest, TuvoHomeMovesTheWritableFoldersAndSettingsButNotTheData)
{
    const AppPaths installed = AppPaths::resolve();
    const QByteArray before = qgetenv("TUVO_HOME");
    qputenv("TUVO_HOME", path(QStringLiteral("elsewhere")).toUtf8());
    const AppPaths p = AppPaths::resolve();
    const QString settingsFile = openSettingsStore(QStringLiteral("tuvo"))->fileName();
    if (before.isNull())
        qunsetenv("TUVO_HOME");
    else
        qputenv("TUVO_HOME", before);
    EXPECT_EQ(p.dataDir(), installed.dataDir());
    EXPECT_EQ(p.zpDir(), path(QStringLiteral("elsewhere/zp")));
    EXPECT_EQ(p.userDir(), path(QStringLiteral("elsewhere/user")));
    EXPECT_EQ(settingsFile, path(QStringLiteral("elsewhere/tuvo.ini")));
}

} // namespace
