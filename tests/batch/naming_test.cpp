#include "imaging/picture_files.h"
#include "job/naming.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Naming, RenameNumbersByListPosition)
{
    JobSettings job;
    job.sOutDir = QStringLiteral("/out");
    job.bRename = 1;
    EXPECT_EQ(outputPath(job, QStringLiteral("/p/a.jpg"), 0), QStringLiteral("/out/Tuvo_0000.jpg"));
    EXPECT_EQ(outputPath(job, QStringLiteral("/p/b.jpg"), 12), QStringLiteral("/out/Tuvo_0012.jpg"));
    EXPECT_EQ(outputPath(job, QStringLiteral("/p/b.jpg"), 123456), QStringLiteral("/out/Tuvo_123456.jpg"));
    job.sPrefix.clear();
    job.iNumDigits = QStringLiteral("3");
    EXPECT_EQ(outputBaseName(job, QStringLiteral("/p/a.jpg"), 1), QStringLiteral("001"));
}

TEST(Naming, KeepsTheBaseNameUpToTheLastDot)
{
    JobSettings job;
    EXPECT_EQ(outputBaseName(job, QStringLiteral("/a/b.c.jpg"), 0), QStringLiteral("b.c"));
    job.sFormat = job.sOutExt = QStringLiteral("png");
    job.sOutDir = QStringLiteral("/o");
    EXPECT_EQ(outputPath(job, QStringLiteral("/p/holiday.bmp"), 0), QStringLiteral("/o/holiday.png"));
}

TEST(Naming, OriginalFormatKeepsEachPicturesOwn)
{
    JobSettings job;
    job.sFormat = QStringLiteral("原格式");
    job.sOutDir = QStringLiteral("/o");

    OutputTarget t = outputTargetFor(job, QStringLiteral("/p/IMG_1.JPG"));
    EXPECT_FALSE(t.bmpWriter);
    EXPECT_EQ(t.extension, QStringLiteral("JPG"));
    t = outputTargetFor(job, QStringLiteral("/p/a.BMP"));
    EXPECT_TRUE(t.bmpWriter);
    EXPECT_EQ(t.extension, QStringLiteral("bmp"));
    EXPECT_EQ(outputTargetFor(job, QStringLiteral("/p/x.jpeg")).extension, QStringLiteral("jpeg"));
    EXPECT_EQ(outputTargetFor(job, QStringLiteral("/p/x.tif")).extension, QStringLiteral("tif"));
    EXPECT_EQ(outputTargetFor(job, QStringLiteral("/p/x.tiff")).extension, QStringLiteral("tiff"));
    // Without an HEVC encoder a HEIC source is written as AVIF, and the plan says so once.
    EXPECT_EQ(outputTargetFor(job, QStringLiteral("/p/x.HEIC"), true).extension, QStringLiteral("HEIC"));
    t = outputTargetFor(job, QStringLiteral("/p/x.HEIC"), false);
    EXPECT_EQ(t.extension, QStringLiteral("avif"));
    EXPECT_TRUE(t.avifForHeic);

    job.sFormat = job.sOutExt = QStringLiteral("bmp");
    EXPECT_TRUE(outputTargetFor(job, QStringLiteral("/p/x.jpg")).bmpWriter);
}

TEST(Naming, PrefixPresets)
{
    const QDateTime t(QDate(2026, 3, 4), QTime(5, 6, 7));
    EXPECT_EQ(prefixForPreset(QStringLiteral("#当前日期#"), t), QStringLiteral("20260304_"));
    EXPECT_EQ(prefixForPreset(QStringLiteral("#当前时间#"), t), QStringLiteral("050607_"));
    EXPECT_EQ(prefixForPreset(QStringLiteral("#日期和时间#"), t), QStringLiteral("20260304050607_"));
    EXPECT_EQ(prefixForPreset(QStringLiteral("#不要前缀#"), t), QString());
}

TEST(PictureFiles, RecognisesPicturesByName)
{
    for (const char *name : {"a.jpg", "A.JPG", "b.jpeg", "c.bmp", "d.gif", "e.png", "f.tif", "g.TIFF"})
        EXPECT_TRUE(isPictureFileName(QString::fromLatin1(name))) << name;
    for (const char *name : {"a.txt", "jpg", "a.jpg.bak", "noext", "a.pn"})
        EXPECT_FALSE(isPictureFileName(QString::fromLatin1(name))) << name;
}

TEST(PictureFiles, ScansInNameOrderIgnoringCase)
{
    QTemporaryDir dir;
    for (const char *name : {"b.jpg", "A.png", "c.txt", "a2.gif", "sub/z.jpg", "sub/deeper/y.bmp"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList flat = scanPictureFolder(dir.path(), false);
    for (QString &p : flat)
        p = QDir(dir.path()).relativeFilePath(p);
    EXPECT_EQ(flat, (QStringList {"A.png", "a2.gif", "b.jpg"}));

    int lastProgress = 0;
    QStringList deep = scanPictureFolder(dir.path(), true, [&](int n) { lastProgress = n; });
    for (QString &p : deep)
        p = QDir(dir.path()).relativeFilePath(p);
    EXPECT_EQ(deep, (QStringList {"A.png", "a2.gif", "b.jpg", "sub/z.jpg", "sub/deeper/y.bmp"}));
    EXPECT_EQ(lastProgress, 5);
}
