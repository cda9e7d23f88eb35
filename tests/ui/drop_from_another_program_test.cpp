// Drag and drop from a separate program under Xvfb: tuvo-drag-source starts a
// real QDrag and xdotool moves the pointer from it onto the window, so the drop
// travels through the X server's drag protocol as from a file manager.
#include "run/file_list.h"
#include "support/qstring_printer.h"
#include "ui/file_list_view.h"
#include "ui/preview_canvas.h"
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString kHelper = QStringLiteral(TUVO_BINARY_DIR "/tests/tuvo-drag-source");

QString currentTestName()
{
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QString::fromLatin1(info->test_suite_name()) + QLatin1Char('.')
        + QString::fromLatin1(info->name());
}

// The suites run offscreen; this runs the one test again in a process of its own
// on a fresh Xvfb.
void runAgainUnderXvfb()
{
    for (const char *tool : {"Xvfb", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed: drag and drop from another program is NOT tested; "
                         << "scripts/install-deps.sh test installs it";
    ASSERT_TRUE(QFileInfo(kHelper).isExecutable()) << kHelper.toStdString();
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1600x1000x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    ASSERT_TRUE(xvfb.waitForReadyRead(20000)) << xvfb.readAllStandardError().toStdString();
    const QString display = QStringLiteral(":") + QString::fromLatin1(xvfb.readLine().trimmed());

    QProcess inner;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    inner.setProcessEnvironment(env);
    inner.setProcessChannelMode(QProcess::MergedChannels);
    inner.start(
        QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + currentTestName()});
    const bool finished = inner.waitForFinished(120000);
    if (!finished)
        inner.kill();
    const QString output = QString::fromLocal8Bit(inner.readAll());
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    ASSERT_TRUE(finished) << output.toStdString();
    EXPECT_EQ(inner.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

// Shows the helper at the right-hand bottom of the screen, presses on it and
// moves the pointer to target in steps, the window answering all the while.
QString dragFromHelper(const QStringList &what, QPoint target)
{
    QProcess helper;
    helper.start(kHelper, QStringList {QStringLiteral("1450"), QStringLiteral("850")} + what);
    if (!helper.waitForStarted())
        return QStringLiteral("the helper did not start: ") + helper.errorString();
    QElapsedTimer t;
    t.start();
    while (!helper.canReadLine() && helper.state() == QProcess::Running && t.elapsed() < 15000)
        QTest::qWait(50);
    if (helper.readLine().trimmed() != "ready")
        return QStringLiteral("the helper did not start: ") + QString::fromLocal8Bit(helper.readAll());

    const auto at = [](QPoint p) {
        return QStringList {QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
            QStringLiteral("sleep"), QStringLiteral("0.3")};
    };
    QStringList steps = at(QPoint(1500, 900));
    steps << QStringLiteral("mousedown") << QStringLiteral("1") << QStringLiteral("sleep")
          << QStringLiteral("0.3");
    steps << at(QPoint(1400, 800)) << at((QPoint(1400, 800) + target) / 2) << at(target + QPoint(5, 5))
          << at(target);
    steps << QStringLiteral("mouseup") << QStringLiteral("1");
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), steps);
    t.restart();
    while ((xdotool.state() != QProcess::NotRunning || helper.state() != QProcess::NotRunning)
        && t.elapsed() < 20000)
        QTest::qWait(50);
    helper.kill();
    helper.waitForFinished();
    return QString::fromLocal8Bit(helper.readAll()).trimmed();
}

TEST_F(WindowTest, FilesAndABitmapDraggedFromAnotherProgramArrive)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        runAgainUnderXvfb();
        return;
    }
    const QStringList pics = makePictures(home() + QStringLiteral("/in"), 3);
    MainWindow &w = start();
    w.setGeometry(0, 0, 1300, 800);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    // Two files onto the file list, one onto the preview.
    const auto centreOf = [](QWidget *widget) {
        return widget->mapToGlobal(widget->rect().center());
    };
    EXPECT_EQ(dragFromHelper({pics[0], pics[1]}, centreOf(w.listView())), QStringLiteral("dropped"));
    EXPECT_EQ(w.fileList().paths(), pics.mid(0, 2));
    EXPECT_EQ(dragFromHelper({pics[2]}, centreOf(w.canvas())), QStringLiteral("dropped"));
    EXPECT_EQ(w.fileList().paths(), pics);

    // A bitmap onto the window itself (its bottom edge, outside list and preview).
    EXPECT_EQ(
        dragFromHelper({QStringLiteral("--bitmap")}, w.mapToGlobal(QPoint(w.width() / 2, w.height() - 6))),
        QStringLiteral("dropped"));
    ASSERT_EQ(w.fileList().count(), 4);
    const QString bitmap = w.fileList().path(3);
    EXPECT_EQ(QFileInfo(bitmap).absolutePath(), QFileInfo(paths_.userDir()).absoluteFilePath());
    const QImage dropped(bitmap);
    EXPECT_EQ(dropped.size(), QSize(30, 20));
    EXPECT_EQ(dropped.pixel(15, 10), qRgb(255, 0, 0));
    w.hide();
}

} // namespace
