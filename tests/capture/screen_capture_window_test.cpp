#include "capture/screen_capture_window.h"
#include "support/child_session.h"
#include "support/qstring_printer.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QColor kQuadrants[4] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255), QColor(255, 255, 0)};

// Four coloured quadrants meeting at the middle.
QImage quadrants(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    const int hw = size.width() / 2;
    const int hh = size.height() / 2;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, kQuadrants[(y >= hh ? 2 : 0) + (x >= hw ? 1 : 0)]);
    return image;
}

void drag(QWidget *w, QPoint from, QPoint to)
{
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

struct Fixture {
    QTemporaryDir dir;
    QString userDir = dir.path() + QStringLiteral("/user");
    QList<bool> mainShown;
    QStringList kept;
};

std::unique_ptr<ScreenCaptureWindow> makeWindow(Fixture &f)
{
    auto w = std::make_unique<ScreenCaptureWindow>(f.userDir);
    w->setMainWindowShown([&f](bool shown) { f.mainShown << shown; });
    w->setClock([] { return QDateTime(QDate(2026, 12, 8), QTime(0, 30, 5)); });
    QObject::connect(w.get(), &ScreenCaptureWindow::pictureKept, [&f](const QString &p) { f.kept << p; });
    return w;
}

} // namespace

TEST(ScreenCaptureWindow, DraggedRectangleIsKeptAsABitmapAndTheScratchFilesGo)
{
    Fixture f;
    auto w = makeWindow(f);
    w->showGrab(quadrants(QSize(400, 300)), QRect(0, 0, 400, 300));
    ASSERT_TRUE(QFileInfo::exists(w->scratchGrabPath()));
    const QImage dimmed(w->scratchDimmedPath());
    ASSERT_EQ(dimmed.size(), QSize(400, 300));
    EXPECT_EQ(dimmed.pixelColor(10, 10), QColor(128, 0, 0));

    drag(w.get(), {180, 130}, {240, 170});
    EXPECT_EQ(w->selection().rect(), QRect(180, 130, 60, 40));
    auto *label = w->findChild<QLabel *>(QStringLiteral("lblPos"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("60 × 40"));
    auto *tools = w->findChild<QWidget *>(QStringLiteral("toolStrip"));
    ASSERT_NE(tools, nullptr);
    EXPECT_TRUE(tools->isVisible());
    EXPECT_TRUE(QRect(0, 0, 400, 300).contains(tools->geometry()));

    QTest::mouseDClick(w.get(), Qt::LeftButton, {}, QPoint(200, 150));
    ASSERT_EQ(f.kept.size(), 1);
    EXPECT_EQ(f.kept[0], f.userDir + QStringLiteral("/user20261208003005.bmp"));
    const QImage picture(f.kept[0], "BMP");
    ASSERT_EQ(picture.size(), QSize(60, 40));
    EXPECT_EQ(picture.pixelColor(0, 0), kQuadrants[0]);
    EXPECT_EQ(picture.pixelColor(59, 0), kQuadrants[1]);
    EXPECT_EQ(picture.pixelColor(0, 39), kQuadrants[2]);
    EXPECT_EQ(picture.pixelColor(59, 39), kQuadrants[3]);
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
        picture.convertToFormat(QImage::Format_RGB32));

    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(QFileInfo::exists(w->scratchGrabPath()));
    EXPECT_FALSE(QFileInfo::exists(w->scratchDimmedPath()));
    EXPECT_EQ(f.mainShown, QList<bool> {true});
    EXPECT_EQ(QDir(f.userDir).entryList(QDir::Files), QStringList {"user20261208003005.bmp"});
}

TEST(ScreenCaptureWindow, RectangleStaysOnScreenWhileDrawnMovedAndResized)
{
    Fixture f;
    auto w = makeWindow(f);
    w->showGrab(quadrants(QSize(400, 300)), QRect(0, 0, 400, 300));
    auto *label = w->findChild<QLabel *>(QStringLiteral("lblPos"));
    auto *tools = w->findChild<QWidget *>(QStringLiteral("toolStrip"));

    QTest::mouseClick(w.get(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(w->hasSelection()); // a click selects nothing
    EXPECT_FALSE(tools->isVisible());

    drag(w.get(), {350, 250}, {5000, -40});
    EXPECT_EQ(w->selection().rect(), QRect(350, 0, 50, 250));
    drag(w.get(), {370, 100}, {-500, 100}); // dragged from inside: moved, kept whole
    EXPECT_EQ(w->selection().rect(), QRect(0, 0, 50, 250));
    drag(w.get(), {50, 125}, {120, 10}); // the right-hand handle: only the width changes
    EXPECT_EQ(w->selection().rect(), QRect(0, 0, 120, 250));
    EXPECT_EQ(label->text(), QStringLiteral("120 × 250"));
    EXPECT_TRUE(QRect(0, 0, 400, 300).contains(tools->geometry()));
    EXPECT_EQ(w->selectedPicture().size(), QSize(120, 250));

    drag(w.get(), {300, 280}, {310, 290}); // a press outside starts afresh
    EXPECT_EQ(w->selection().rect(), QRect(300, 280, 10, 10));
}

TEST(ScreenCaptureWindow, ToolStripButtonsAndEsc)
{
    Fixture f;
    auto w = makeWindow(f);
    w->showGrab(quadrants(QSize(400, 300)), QRect(0, 0, 400, 300));
    drag(w.get(), {10, 10}, {50, 30});
    QTest::mouseClick(w->findChild<QToolButton *>(QStringLiteral("Image2_0")), Qt::LeftButton);
    EXPECT_FALSE(w->hasSelection());
    EXPECT_FALSE(w->findChild<QWidget *>(QStringLiteral("toolStrip"))->isVisible());

    // Copy puts the picture on the clipboard and writes nothing.
    drag(w.get(), {390, 290}, {300, 250});
    QTest::mouseClick(w->findChild<QToolButton *>(QStringLiteral("Image2_1")), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(90, 40));
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(f.kept.isEmpty());
    EXPECT_EQ(QDir(f.userDir).entryList(QDir::Files), QStringList());

    // Two keeps in the same second, then Esc closes without a picture.
    for (int i = 0; i < 2; ++i) {
        auto again = makeWindow(f);
        again->showGrab(quadrants(QSize(400, 300)), QRect(0, 0, 400, 300));
        drag(again.get(), {0, 0}, {20, 20});
        QTest::mouseClick(again->findChild<QToolButton *>(QStringLiteral("Image2_2")), Qt::LeftButton);
    }
    EXPECT_EQ(QDir(f.userDir).entryList(QDir::Files, QDir::Name),
        (QStringList {"user20261208003005.bmp", "user20261208003005_2.bmp"}));
    auto last = makeWindow(f);
    last->showGrab(quadrants(QSize(400, 300)), QRect(0, 0, 400, 300));
    QTest::keyClick(last.get(), Qt::Key_Escape);
    EXPECT_FALSE(last->isVisible());
    EXPECT_EQ(f.kept.size(), 2);
    EXPECT_EQ(f.mainShown, (QList<bool> {true, true, true, true}));
}

// The whole round trip on a real X server: the program's window hides, the screen
// is grabbed after the pause, a rectangle is dragged and double-clicked, and the
// file holds what was on the screen — also on scaled screens, where the picture
// keeps every device pixel of the selection. Runs this program again under xvfb-run.
TEST(ScreenCaptureWindow, RoundTripUnderXvfb)
{
    if (qEnvironmentVariableIsSet("TUVO_UNDER_XVFB"))
        GTEST_SKIP() << "already under Xvfb";
    if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    for (const double scale : {1.0, 2.0, 1.5}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TUVO_UNDER_XVFB"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("QT_SCALE_FACTOR"), QString::number(scale));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const QString screen
            = QStringLiteral("-screen 0 %1x%2x24").arg(qRound(640 * scale)).arg(qRound(480 * scale));
        child.start(QStringLiteral("xvfb-run"),
            {QStringLiteral("-a"), QStringLiteral("-s"), screen, QCoreApplication::applicationFilePath(),
                QStringLiteral("--gtest_filter=ScreenCaptureUnderX.*")});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << "scale " << scale << "\n" << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
    }
}

TEST(ScreenCaptureUnderX, HideGrabDragDoubleClickShow)
{
    if (!qEnvironmentVariableIsSet("TUVO_UNDER_XVFB"))
        GTEST_SKIP() << "runs inside RoundTripUnderXvfb";
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_EQ(screen->geometry(), QRect(0, 0, 640, 480));
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    const auto device = [scale](int logical) {
        return qRound(logical * scale);
    };

    // The desktop: four quadrants. The program's main window: magenta, in the way.
    QLabel desktop;
    desktop.setWindowFlags(Qt::FramelessWindowHint);
    desktop.setPixmap(QPixmap::fromImage(quadrants(QSize(640, 480))));
    desktop.setGeometry(0, 0, 640, 480);
    desktop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desktop));
    QWidget mainWindow;
    mainWindow.setWindowFlags(Qt::FramelessWindowHint);
    mainWindow.setStyleSheet(QStringLiteral("background: magenta"));
    mainWindow.setGeometry(260, 180, 120, 120);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    QTest::qWait(100);

    Fixture f;
    ScreenCaptureWindow w(f.userDir);
    w.setMainWindowShown([&](bool shown) {
        f.mainShown << shown;
        mainWindow.setVisible(shown);
    });
    QObject::connect(&w, &ScreenCaptureWindow::pictureKept, [&f](const QString &p) { f.kept << p; });
    w.start(screen);
    EXPECT_FALSE(mainWindow.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(w.isVisible(), 5000);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.geometry(), QRect(0, 0, 640, 480));
    const QImage grabbed(w.scratchGrabPath());
    ASSERT_EQ(grabbed.size(), QSize(device(640), device(480)));
    EXPECT_EQ(grabbed.pixelColor(device(300), device(220)), kQuadrants[0]); // under the hidden main window

    drag(&w, {280, 200}, {380, 300});
    QTest::mouseDClick(&w, Qt::LeftButton, {}, QPoint(330, 250));
    ASSERT_EQ(f.kept.size(), 1);
    const QImage picture(f.kept[0], "BMP");
    const int side = device(100);
    ASSERT_EQ(picture.size(), QSize(side, side));
    EXPECT_EQ(picture.pixelColor(0, 0), kQuadrants[0]);
    EXPECT_EQ(picture.pixelColor(side - 1, 0), kQuadrants[1]);
    EXPECT_EQ(picture.pixelColor(0, side - 1), kQuadrants[2]);
    EXPECT_EQ(picture.pixelColor(side - 1, side - 1), kQuadrants[3]);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(side, side));
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(f.mainShown, (QList<bool> {false, true}));
    EXPECT_FALSE(QFileInfo::exists(w.scratchGrabPath()));
    EXPECT_FALSE(QFileInfo::exists(w.scratchDimmedPath()));
}

// On Wayland the screen comes from the desktop portal: a real sway (headless, a
// red background) with xdg-desktop-portal and its wlroots backend, on a private
// D-Bus. Without a portal the status line says so and nothing is added.
TEST(ScreenCaptureWindow, ThroughTheDesktopPortal)
{
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        GTEST_SKIP() << "already inside a Wayland session";
    for (const char *tool : {"sway", "weston", "grim", "pipewire", "dbus-run-session", "setpriv"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << "NOT RUN: " << tool << " is not installed (scripts/install-deps.sh installs it)";
    if (!QFileInfo::exists(QStringLiteral("/usr/libexec/xdg-desktop-portal-wlr")))
        GTEST_SKIP() << "NOT RUN: xdg-desktop-portal-wlr is not installed";
    const QString script = QStringLiteral(TUVO_SOURCE_DIR "/tests/support/wayland-session.sh");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    QString out;
    EXPECT_TRUE(rerunTestsIn(QStringLiteral("bash"), {script, QStringLiteral("portal")},
        QStringLiteral("UnderPortal.*"), env, 120000, &out))
        << out.toStdString();
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    EXPECT_TRUE(rerunTestsIn(QStringLiteral("bash"), {script, QStringLiteral("weston")},
        QStringLiteral("UnderWaylandWithoutPortal.*"), env, 120000, &out))
        << out.toStdString();
}

TEST(UnderPortal, GrabShowsTheCompositorsScreen)
{
    if (!qEnvironmentVariableIsSet("TUVO_PORTAL_INNER"))
        GTEST_SKIP() << "runs inside ScreenCaptureWindow.ThroughTheDesktopPortal";
    Fixture f;
    auto w = makeWindow(f);
    w->start(QGuiApplication::primaryScreen());
    QTRY_VERIFY_WITH_TIMEOUT(w->isVisible(), 20000);
    const QImage grabbed(w->scratchGrabPath());
    ASSERT_FALSE(grabbed.isNull());
    EXPECT_EQ(grabbed.pixelColor(grabbed.width() / 2, grabbed.height() / 2), QColor(255, 0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    drag(w.get(), {20, 20}, {70, 60});
    QTest::mouseDClick(w.get(), Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_EQ(f.kept.size(), 1);
    const QImage picture(f.kept[0], "BMP");
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(255, 0, 0));
}

TEST(UnderWaylandWithoutPortal, StatusLineSaysSoAndNothingIsKept)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland")
        || qEnvironmentVariableIsSet("TUVO_PORTAL_INNER"))
        GTEST_SKIP() << "runs inside ScreenCaptureWindow.ThroughTheDesktopPortal";
    Fixture f;
    auto w = makeWindow(f);
    QStringList status;
    QObject::connect(w.get(), &ScreenCaptureWindow::statusLine, [&status](const QString &s) { status << s; });
    w->start(QGuiApplication::primaryScreen());
    QTRY_COMPARE_WITH_TIMEOUT(status.size(), 1, 15000);
    EXPECT_TRUE(status[0].startsWith(QStringLiteral("【操作错误】"))) << status[0].toStdString();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(f.kept.isEmpty());
    EXPECT_EQ(f.mainShown, (QList<bool> {false, true}));
}
