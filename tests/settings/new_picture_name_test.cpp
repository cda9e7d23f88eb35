#include "fs/new_picture_name.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(NewPictureName, SameSecondNamesNeverCollide)
{
    QTemporaryDir dir;
    const QString stem
        = timeStampedStem(QStringLiteral("user"), QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(stem, QStringLiteral("user20260102030405"));
    QStringList made;
    for (int i = 0; i < 3; ++i) {
        const QString p = uniqueNewPicturePath(dir.path(), stem, QStringLiteral("bmp"));
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::NewOnly));
        made << QFileInfo(p).fileName();
    }
    EXPECT_EQ(made,
        (QStringList {"user20260102030405.bmp", "user20260102030405_2.bmp", "user20260102030405_3.bmp"}));
}
