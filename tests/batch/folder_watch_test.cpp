// FolderWatch where the kernel reports nothing (network and FUSE file systems):
// the folder is looked at now and then, and a picture counts once its size and
// time stayed the same between two looks.
#include "run/folder_watch.h"
#include "support/test_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

TEST(FolderWatch, LookingNowAndThenTakesAGrowingPictureOnceWhenItStopsChanging)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("there-before.jpg")), "old"));
    FolderWatch watch;
    watch.setPollInterval(100);
    QSignalSpy arrived(&watch, &FolderWatch::pictureArrived);
    ASSERT_TRUE(watch.start({dir.path()}, true, QString(), nullptr));
    EXPECT_TRUE(watch.isPolling());

    // Grows between any two looks (a look runs inside processEvents), so it is
    // never stable and never taken while it grows.
    QFile growing(dir.filePath(QStringLiteral("growing.jpg")));
    ASSERT_TRUE(growing.open(QIODevice::WriteOnly));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500) {
        growing.write(QByteArray(10, 'x'));
        growing.flush();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(arrived.count(), 0);
    growing.close();
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("sub/.hidden.jpg")), "x"));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("sub/notes.txt")), "x"));
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("sub/later.png")), "x"));
    QStringList paths;
    const auto collectUntil = [&](const QString &last) {
        for (int i = 0; i < 500 && !paths.contains(last); ++i) {
            QTest::qWait(20);
            for (; !arrived.isEmpty(); arrived.removeFirst())
                paths << QDir(dir.path()).relativeFilePath(arrived.first().value(0).toString());
        }
    };
    collectUntil(QStringLiteral("sub/later.png"));
    // A picture written after them is reported after any second report of theirs.
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("zz.jpg")), "x"));
    collectUntil(QStringLiteral("zz.jpg"));
    paths.sort();
    EXPECT_EQ(paths, (QStringList {"growing.jpg", "sub/later.png", "zz.jpg"}));
}
