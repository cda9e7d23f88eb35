#include "support/child_session.h"
#include "ui/file_list_view.h"
#include "ui/main_window_viewer.h"
#include "ui/preview_canvas.h"
#include "viewer/frm_pic.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString sessionScript()
{
    return QStringLiteral(TUVO_SOURCE_DIR "/tests/support/wayland-session.sh");
}

// One-pixel stripes: shown one picture pixel to one device pixel they survive,
// any scaling smears or doubles them.
QImage stripes(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, (x % 2) ? 0xff000000 : 0xffffffff);
    return picture;
}

} // namespace

// The program as a native Wayland client of a real compositor (weston, headless):
// the main window, a dialog, the full-screen viewer and the clipboard.
TEST(DesktopSession, NativeWaylandUnderWeston)
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        GTEST_SKIP() << "already inside a Wayland session";
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
        GTEST_SKIP() << "NOT RUN: weston is not installed (scripts/install-deps.sh installs it)";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    QString out;
    EXPECT_TRUE(rerunTestsIn(QStringLiteral("bash"), {sessionScript(), QStringLiteral("weston")},
        QStringLiteral("UnderWayland.*"), env, 120000, &out))
        << out.toStdString();
}

class UnderWayland : public WindowTest { };

TEST_F(UnderWayland, WindowDialogViewerAndClipboard)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        GTEST_SKIP() << "runs inside DesktopSession.NativeWaylandUnderWeston";
    MainWindow &w = start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.appendPictures(makePictures(home() + QStringLiteral("/pics"), 2, QSize(320, 240)));

    QDialog dialog(&w);
    dialog.resize(200, 100);
    dialog.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.close();

    installViewerCommands(w);
    w.listView()->setCurrentRow(0);
    w.findChild<QAction *>(QStringLiteral("mView"))->trigger();
    FrmPic *viewer = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *v = qobject_cast<FrmPic *>(top); v && v->isVisible())
            viewer = v;
    ASSERT_NE(viewer, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
    EXPECT_TRUE(viewer->isFullScreen());
    QTest::keyClick(viewer, Qt::Key_Escape);
    QTRY_VERIFY(w.isVisible());

    QGuiApplication::clipboard()->setText(QStringLiteral("图片"));
    QTRY_COMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("图片"));
}

// At a scale factor of 2 the preview and the viewer's own size put one picture
// pixel on one device pixel.
TEST(DesktopSession, ScaledScreenShowsPicturePixelsOneToOne)
{
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
        GTEST_SKIP() << "already scaled";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QString out;
    EXPECT_TRUE(rerunTestsIn(QStringLiteral("env"), {}, QStringLiteral("ScaledBy2.*"), env, 60000, &out))
        << out.toStdString();
}

TEST(ScaledBy2, PreviewAndViewerOwnSize)
{
    if (qEnvironmentVariable("QT_SCALE_FACTOR") != QLatin1String("2"))
        GTEST_SKIP() << "runs inside DesktopSession.ScaledScreenShowsPicturePixelsOneToOne";
    const QImage picture = stripes(QSize(200, 100));

    PreviewCanvas canvas;
    canvas.resize(400, 300);
    canvas.setImage(picture);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    const QRect r = canvas.pictureRect();
    EXPECT_EQ(r.size(), QSize(100, 50));
    const QImage shown = canvas.grab().toImage();
    ASSERT_EQ(shown.devicePixelRatio(), 2.0);
    const QPoint origin = r.topLeft() * 2;
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(shown.pixel(origin + QPoint(x, 10)), picture.pixel(x, 10)) << "device column " << x;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("stripes.png"));
    ASSERT_TRUE(picture.save(path));
    FrmPic viewer;
    viewer.resize(600, 400);
    ASSERT_TRUE(viewer.ShowPic(path));
    viewer.showOwnSize();
    EXPECT_EQ(viewer.pictureGeometry().size(), QSize(100, 50));
}
