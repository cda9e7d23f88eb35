#include "settings/display_texts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(DisplayTexts, StatusLineKeeps240AndCutsLongerTo230)
{
    const QString exact(240, QLatin1Char('a'));
    EXPECT_EQ(statusLineText(exact), exact);
    const QString longer(241, QLatin1Char('b'));
    EXPECT_EQ(statusLineText(longer), QString(230, QLatin1Char('b')) + QStringLiteral("..."));
}

TEST(DisplayTexts, LongFolderShownAsThreeDotsSeventeen)
{
    const QString path = QStringLiteral("/home/user/pictures/out/x1"); // 26 characters
    ASSERT_EQ(path.size(), 26);
    EXPECT_EQ(outputFolderLabel(path), QStringLiteral("输出文件夹:/ho...r/pictures/out/x1"));
    const QString thirty = QStringLiteral("/abcdefghijklmnopqrstuvwxyz123");
    ASSERT_EQ(thirty.size(), 30);
    const QString shown = shortPathText(thirty);
    EXPECT_EQ(shown.size(), 3 + 3 + 17);
    EXPECT_EQ(shown, QStringLiteral("/ab...mnopqrstuvwxyz123"));
    const QString twentyTwo(22, QLatin1Char('c'));
    EXPECT_EQ(shortPathText(twentyTwo), twentyTwo);
}

TEST(DisplayTexts, EachArgumentIsOnePicturePath)
{
    const QStringList args = {QStringLiteral("\"/my pictures/a b.jpg\""), QStringLiteral("notes.txt"),
        QStringLiteral("rel/c.PNG"), QStringLiteral("/x/d.tiff")};
    EXPECT_EQ(picturesFromArguments(args, QStringLiteral("/work")),
        (QStringList {"/my pictures/a b.jpg", "/work/rel/c.PNG", "/x/d.tiff"}));
}

TEST(DisplayTexts, NewFolderNamesCountUp)
{
    QTemporaryDir dir;
    const QString first = newFolderPath(dir.path());
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("新建文件夹"));
    ASSERT_TRUE(QDir().mkdir(first));
    const QString second = newFolderPath(dir.path());
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("新建文件夹( 2)"));
}

TEST(DisplayTexts, DroppedBitmapNamesNeverOverwrite)
{
    QTemporaryDir dir;
    const QDateTime at(QDate(2026, 12, 6), QTime(21, 34, 59));
    const QString first = droppedBitmapPath(dir.path(), at);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("tempWL06213459.bmp"));
    QFile f(first);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_NE(droppedBitmapPath(dir.path(), at), first);
}

TEST(DisplayTexts, TitleCarriesThePicture)
{
    EXPECT_TRUE(windowTitleText().startsWith(QStringLiteral("Tuvo图片批量处理")));
    EXPECT_TRUE(windowTitleText(QStringLiteral("/p/a.jpg")).endsWith(QStringLiteral(" - /p/a.jpg")));
}

} // namespace
