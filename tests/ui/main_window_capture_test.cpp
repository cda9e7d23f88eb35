#include "capture/screen_capture_window.h"
#include "imaging/encoders.h"
#include "run/file_list.h"
#include "ui/main_window_capture.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTest>

#ifdef TUVO_HAVE_MULTIMEDIA
#include <QCameraDevice>
#include <QMediaDevices>
#endif

namespace {

// A real .docx with three inline pictures (one floating, one EMF) and one without any.
bool makeDocuments(const QString &folder)
{
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    const char *names[] = {"red.jpg", "green.png", "blue.png", "white.png"};
    for (int i = 0; i < 4; ++i) {
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(colours[i]);
        image.save(folder + QLatin1Char('/') + QLatin1String(names[i]));
    }
    QImage yellow(24, 16, QImage::Format_RGB32);
    yellow.fill(Qt::yellow);
    yellow.save(folder + QStringLiteral("/yellow.gif"), "PNG"); // python-docx reads the header, Qt the bytes
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(TUVO_SOURCE_DIR "/tests/capture/make_documents.py"), folder});
    return python.waitForFinished(60000) && python.exitCode() == 0;
}

ScreenCaptureWindow *visibleCaptureWindow()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *c = qobject_cast<ScreenCaptureWindow *>(top); c && c->isVisible())
            return c;
    }
    return nullptr;
}

} // namespace

TEST_F(WindowTest, WordMenuImportsTheInlinePicturesIntoTheList)
{
    MainWindow &w = start();
    installCaptureCommands(w);
    QTemporaryDir docs;
    ASSERT_TRUE(makeDocuments(docs.path()));

    prompter_.fileAnswers << docs.path() + QStringLiteral("/mixed.docx");
    w.findChild<QAction *>(QStringLiteral("mWord"))->trigger();
    ASSERT_FALSE(prompter_.shown.isEmpty());
    EXPECT_EQ(prompter_.shown[0].kind, QStringLiteral("open-file"));
    EXPECT_EQ(prompter_.shown[0].title, QStringLiteral("请选择图片所在的Word文件"));
    ASSERT_EQ(w.fileList().count(), 3);
    for (const QString &p : w.fileList().paths()) {
        EXPECT_TRUE(p.startsWith(paths_.userDir())) << p.toStdString();
        EXPECT_TRUE(p.endsWith(QStringLiteral(".jpg")));
        EXPECT_FALSE(QImage(p).isNull()) << p.toStdString();
    }
    // The EMF picture's error line is what the status line shows last.
    EXPECT_TRUE(w.statusText().contains(QStringLiteral("EMF"))) << w.statusText().toStdString();
    EXPECT_EQ(prompter_.shown.last().kind, QStringLiteral("open-file"));

    prompter_.fileAnswers << docs.path() + QStringLiteral("/none.docx");
    w.findChild<QAction *>(QStringLiteral("mWord"))->trigger();
    EXPECT_EQ(w.fileList().count(), 3);
    ASSERT_FALSE(prompter_.shown.isEmpty());
    EXPECT_EQ(prompter_.shown.last().text, QStringLiteral("这个文件里没有图片呢！"));
    EXPECT_EQ(prompter_.shown.last().icon, Prompter::Icon::Information);

    // Cancelling the file dialog does nothing.
    const int boxes = int(prompter_.shown.size());
    w.findChild<QAction *>(QStringLiteral("mWord"))->trigger();
    EXPECT_EQ(w.fileList().count(), 3);
    EXPECT_EQ(prompter_.shown.size(), boxes + 1); // the file choice only
}

TEST_F(WindowTest, CameraMenuWithoutACameraShowsTheHintAndTheBox)
{
#ifdef TUVO_HAVE_MULTIMEDIA
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this machine has a camera";
#endif
    MainWindow &w = start();
    installCaptureCommands(w);
    prompter_.dialogHandler = [](QDialog *d) {
        d->show();
        QTest::qWait(50); // the camera starts once the window is up
        d->reject();
        return int(QDialog::Rejected);
    };
    w.findChild<QAction *>(QStringLiteral("mCap"))->trigger();
    EXPECT_EQ(w.statusText(), QStringLiteral("【提示】请确保摄像头已经与您的电脑连接好。"));
    ASSERT_EQ(prompter_.shown.size(), 2);
    EXPECT_EQ(prompter_.shown[1].text, QStringLiteral("没有摄像头或发生错误！请检查。"));
    EXPECT_EQ(w.fileList().count(), 0);
}

TEST_F(WindowTest, ScreenCaptureHidesTheWindowAndListsTheKeptRectangle)
{
    MainWindow &w = start();
    installCaptureCommands(w);
    w.show();
    w.findChild<QAction *>(QStringLiteral("mCopySrc2"))->trigger();
    EXPECT_FALSE(w.isVisible());
    ScreenCaptureWindow *capture = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((capture = visibleCaptureWindow()) != nullptr, 3000);
    QTest::mousePress(capture, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(capture, QPoint(50, 40));
    QTest::mouseRelease(capture, Qt::LeftButton, {}, QPoint(50, 40));
    QTest::mouseDClick(capture, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(w.fileList().count(), 1);
    const QString kept = w.fileList().path(0);
    EXPECT_TRUE(QFileInfo(kept).fileName().startsWith(QStringLiteral("user"))) << kept.toStdString();
    EXPECT_EQ(QImage(kept).size(), QSize(40, 30));
    EXPECT_FALSE(QFileInfo::exists(paths_.userDir() + QStringLiteral("/tmpsrc1.bmp")));
}
