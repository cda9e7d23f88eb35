#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The real tuvo program, started twice with its own program folder, settings
// folder and socket folder.
TEST(TuvoProgram, SecondStartHandsOverAndEndsWithoutAWindow)
{
    const QString exe = QStringLiteral(TUVO_BINARY_DIR "/bin/tuvo");
    if (!QFileInfo(exe).isExecutable())
        GTEST_SKIP() << "tuvo is not built";
    QTemporaryDir home, config, sockets;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TUVO_HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("TMPDIR"), sockets.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(exe, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    QElapsedTimer t;
    t.start();
    const auto listening = [&] {
        return !QDir(sockets.path())
                    .entryList({QStringLiteral("tuvo-*")}, QDir::System | QDir::Files)
                    .isEmpty();
    };
    while (!listening() && t.elapsed() < 20000 && first.state() == QProcess::Running)
        QThread::msleep(50);
    ASSERT_TRUE(listening());
    // First start in a fresh folder creates zp and user.
    t.restart();
    while (!QFileInfo(home.filePath(QStringLiteral("user"))).isDir() && t.elapsed() < 10000)
        QThread::msleep(50);
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("zp"))).isDir());
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("user"))).isDir());

    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::green);
    const QString pic = home.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(img.save(pic));
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(exe, {pic});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished(5000);
}

} // namespace
