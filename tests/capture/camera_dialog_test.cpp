#include "capture/camera_dialog.h"
#include "capture/capture_texts.h"
#include "dialogs/prompter.h"
#include "support/qstring_printer.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#ifdef TUVO_HAVE_MULTIMEDIA
#include <QCameraDevice>
#include <QMediaDevices>
#endif

#include <gtest/gtest.h>

TEST(CameraDialog, WithoutACameraTheBoxSaysSoAndTheWindowStaysOpen)
{
#ifdef TUVO_HAVE_MULTIMEDIA
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this machine has a camera";
#endif
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    CameraDialog dialog(dir.path(), prompter);
    dialog.show();
    QTRY_COMPARE_WITH_TIMEOUT(prompter.shown.size(), 1, 5000);
    EXPECT_EQ(prompter.shown[0].text, QStringLiteral("没有摄像头或发生错误！请检查。"));
    EXPECT_EQ(prompter.shown[0].icon, Prompter::Icon::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isLive());

    // Nothing was frozen, so nothing can be kept: no name without a file.
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOk"));
    auto *shoot = dialog.findChild<QPushButton *>(QStringLiteral("cmdShoot"));
    ASSERT_TRUE(ok && shoot);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(shoot->isEnabled());
    dialog.keep();
    EXPECT_TRUE(dialog.savedPath().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    dialog.reject();
    QTest::qWait(10);
    EXPECT_EQ(prompter.shown.size(), 1);
}

TEST(CameraDialog, StillsAreBitmapsNamedByDayAndTimeThatNeverOverwrite)
{
    QTemporaryDir dir;
    QImage still(64, 48, QImage::Format_RGB32);
    still.fill(QColor(10, 200, 30));
    const QDateTime when(QDate(2026, 12, 7), QTime(23, 5, 9));
    QString error;
    const QString first = saveCameraStill(still, dir.path() + "/user", when, &error);
    still.fill(Qt::blue);
    const QString second = saveCameraStill(still, dir.path() + "/user", when, &error);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("Cap07230509.bmp"));
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("Cap07230509_2.bmp"));
    const QImage back(first, "BMP");
    ASSERT_EQ(back.size(), QSize(64, 48));
    EXPECT_EQ(back.pixelColor(5, 5), QColor(10, 200, 30));
    EXPECT_EQ(QImage(second).pixelColor(5, 5), QColor(Qt::blue));
}
