// 文件 → 监视文件夹… in the window: a picture that arrives in the chosen folder
// is processed with the current job and joins the list.
#include "run/file_list.h"
#include "ui/main_window_watch.h"
#include "window_fixture.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

#include <functional>

TEST_F(WindowTest, AWatchedFoldersNewPictureIsProcessedAndListed)
{
    MainWindow &w = start();
    QAction *watch = installFolderWatch(w);
    ASSERT_NE(watch, nullptr);
    EXPECT_EQ(watch->text(), QStringLiteral("监视文件夹…"));
    const QString folder = QDir(home()).filePath(QStringLiteral("camera"));
    QDir().mkpath(folder);
    prompter_.fileAnswers << folder;
    watch->trigger();
    EXPECT_EQ(watch->text(), QStringLiteral("停止监视"));
    EXPECT_TRUE(w.statusText().contains(QStringLiteral("camera"))) << w.statusText().toStdString();

    const QStringList made = makePictures(QDir(home()).filePath(QStringLiteral("staging")), 1);
    const QString arrived = QDir(folder).filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(QFile::rename(made.value(0), arrived));
    // The run goes on beside the window: the list, then the count, then the stop follow it.
    const auto waitFor = [](const std::function<bool()> &done) {
        const QDeadlineTimer deadline(60000);
        while (!done() && !deadline.hasExpired())
            QTest::qWait(20);
    };
    waitFor([&] { return w.statusText().contains(QStringLiteral("已处理 1 张")); });
    EXPECT_EQ(w.fileList().paths(), QStringList {arrived});
    EXPECT_TRUE(QFile::exists(QDir(w.job().sOutDir).filePath(QStringLiteral("shot.jpg"))));
    EXPECT_TRUE(w.statusText().contains(QStringLiteral("已处理 1 张"))) << w.statusText().toStdString();

    watch->trigger();
    waitFor([&] { return watch->text() == QStringLiteral("监视文件夹…"); });
    EXPECT_EQ(watch->text(), QStringLiteral("监视文件夹…"));
}
