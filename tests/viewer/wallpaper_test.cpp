#include "viewer/wallpaper.h"
#include "viewer_fixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace {

TEST(Wallpaper, TheDesktopComesFromTheSessionVariables)
{
    EXPECT_EQ(desktopFrom(QStringLiteral("ubuntu:GNOME"), {}), Desktop::Gnome);
    EXPECT_EQ(desktopFrom(QStringLiteral("XFCE"), {}), Desktop::Xfce);
    EXPECT_EQ(desktopFrom({}, QStringLiteral("xfce")), Desktop::Xfce);
    EXPECT_EQ(desktopFrom(QStringLiteral("KDE"), QStringLiteral("gnome")), Desktop::Plasma);
    EXPECT_EQ(desktopFrom(QStringLiteral("sway"), {}), Desktop::Other);
    EXPECT_EQ(desktopFrom({}, {}), Desktop::Other);
}

TEST(Wallpaper, GnomeGetsTheStyleThenThePictureForLightAndDark)
{
    const QString path = QStringLiteral("/home/u/图片/a b.bmp");
    const QList<WallpaperCommand> c = gnomeWallpaperCommands(path, WallpaperTile);
    ASSERT_EQ(c.size(), 3);
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    EXPECT_EQ(c[0],
        (WallpaperCommand {QStringLiteral("gsettings"),
            {QStringLiteral("set"), schema, QStringLiteral("picture-options"),
                QStringLiteral("wallpaper")}}));
    const QString uri = QStringLiteral("file:///home/u/%E5%9B%BE%E7%89%87/a%20b.bmp");
    EXPECT_EQ(
        c[1].arguments, (QStringList {QStringLiteral("set"), schema, QStringLiteral("picture-uri"), uri}));
    EXPECT_EQ(c[2].arguments,
        (QStringList {QStringLiteral("set"), schema, QStringLiteral("picture-uri-dark"), uri}));
    EXPECT_EQ(
        gnomeWallpaperCommands(path, WallpaperStretch)[0].arguments.last(), QStringLiteral("stretched"));
    EXPECT_EQ(gnomeWallpaperCommands(path, WallpaperCentre)[0].arguments.last(), QStringLiteral("centered"));
}

TEST(Wallpaper, XfceSetsEveryBackdropItLists)
{
    const QStringList listed = {QStringLiteral("/backdrop/screen0/monitorVirtual1/workspace0/color-style"),
        QStringLiteral("/backdrop/screen0/monitorVirtual1/workspace0/last-image"),
        QStringLiteral("/backdrop/screen0/monitorVirtual2/workspace0/last-image"),
        QStringLiteral("/desktop-icons/style")};
    const QList<WallpaperCommand> c
        = xfceWallpaperCommands(QStringLiteral("/p/w.bmp"), WallpaperStretch, listed);
    ASSERT_EQ(c.size(), 4);
    EXPECT_EQ(c[0].program, QStringLiteral("xfconf-query"));
    EXPECT_EQ(c[0].arguments.join(QLatin1Char(' ')),
        QStringLiteral(
            "-c xfce4-desktop -p /backdrop/screen0/monitorVirtual1/workspace0/image-style -n -t int -s 3"));
    EXPECT_EQ(c[1].arguments.join(QLatin1Char(' ')),
        QStringLiteral(
            "-c xfce4-desktop -p /backdrop/screen0/monitorVirtual1/workspace0/last-image -n -t string "
            "-s /p/w.bmp"));
    EXPECT_TRUE(
        c[3].arguments.contains(QStringLiteral("/backdrop/screen0/monitorVirtual2/workspace0/last-image")));
    // Tiled is 2, centred 1; with nothing listed yet the first monitor gets it.
    const QList<WallpaperCommand> fresh
        = xfceWallpaperCommands(QStringLiteral("/p/w.bmp"), WallpaperTile, {});
    ASSERT_EQ(fresh.size(), 2);
    EXPECT_EQ(fresh[0].arguments.last(), QStringLiteral("2"));
    EXPECT_TRUE(
        fresh[1].arguments.contains(QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image")));
    EXPECT_EQ(xfceWallpaperCommands(QStringLiteral("/p/w.bmp"), WallpaperCentre, {})[0].arguments.last(),
        QStringLiteral("1"));
}

TEST(Wallpaper, OtherDesktopsUseFehOrNothing)
{
    const QString path = QStringLiteral("/p/w.bmp");
    EXPECT_EQ(wallpaperCommands(Desktop::Other, path, WallpaperTile, true, {}),
        (QList<WallpaperCommand> {{QStringLiteral("feh"), {QStringLiteral("--bg-tile"), path}}}));
    EXPECT_EQ(fehWallpaperCommand(path, WallpaperStretch).arguments.first(), QStringLiteral("--bg-scale"));
    EXPECT_EQ(fehWallpaperCommand(path, WallpaperCentre).arguments.first(), QStringLiteral("--bg-center"));
    EXPECT_TRUE(wallpaperCommands(Desktop::Other, path, WallpaperTile, false, {}).isEmpty());
    // Plasma (X11 or Wayland) has its own tool; GNOME never falls back to feh.
    EXPECT_EQ(wallpaperCommands(Desktop::Plasma, path, WallpaperCentre, true, {}),
        (QList<WallpaperCommand> {{QStringLiteral("plasma-apply-wallpaperimage"),
            {QStringLiteral("--fill-mode"), QStringLiteral("pad"), path}}}));
    EXPECT_EQ(wallpaperCommands(Desktop::Gnome, path, WallpaperTile, true, {}).first().program,
        QStringLiteral("gsettings"));
}

// The viewer's "设为桌面" against a stand-in gsettings that records its arguments.
class WallpaperCommand_ : public ViewerFixture {
protected:
    void SetUp() override
    {
        ViewerFixture::SetUp();
        oldPath = qgetenv("PATH");
        oldDesktop = qgetenv("XDG_CURRENT_DESKTOP");
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        log = dir.filePath(QStringLiteral("gsettings.log"));
        QFile script(bin + QStringLiteral("/gsettings"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\n").arg(log).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", bin.toUtf8() + ':' + oldPath);
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    }
    void TearDown() override
    {
        qputenv("PATH", oldPath);
        qputenv("XDG_CURRENT_DESKTOP", oldDesktop);
    }
    QStringList logged()
    {
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QByteArray oldPath;
    QByteArray oldDesktop;
    QString log;
};

TEST_F(WallpaperCommand_, AJpegIsSavedAsSwpicBmpFirstAndABmpIsUsedAsItIs)
{
    const QString jpeg = picture(QStringLiteral("photo.jpg"), 64, 48);
    const QString bmp = picture(QStringLiteral("plain.bmp"), 64, 48);
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request({jpeg, bmp})));
    viewer.menuAction(QStringLiteral("平铺"))->trigger();
    const QString swpic = dir.filePath(QStringLiteral("user/SWPIC.bmp"));
    ASSERT_TRUE(QFile::exists(swpic));
    EXPECT_EQ(QImage(swpic).size(), QSize(64, 48));
    QStringList lines = logged();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("set org.gnome.desktop.background picture-options wallpaper"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("user/SWPIC.bmp"))) << lines[1].toStdString();

    viewer.step(+1);
    viewer.menuAction(QStringLiteral("居中"))->trigger();
    lines = logged();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[3], QStringLiteral("set org.gnome.desktop.background picture-options centered"));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("/plain.bmp"))) << lines[4].toStdString();
    viewer.close();
}

TEST_F(WallpaperCommand_, AnUnknownDesktopWithoutFehGetsAStatusMessage)
{
    qputenv("XDG_CURRENT_DESKTOP", "NoSuchDesktop");
    qputenv("PATH", dir.filePath(QStringLiteral("bin")).toUtf8());
    FrmPic viewer;
    QSignalSpy status(&viewer, &FrmPic::statusChanged);
    ASSERT_TRUE(viewer.open(request({picture(QStringLiteral("plain.bmp"), 64, 48)})));
    viewer.menuAction(QStringLiteral("拉伸"))->trigger();
    ASSERT_EQ(status.count(), 1);
    EXPECT_TRUE(status.at(0).at(0).toString().startsWith(QStringLiteral("【操作错误】")));
    EXPECT_TRUE(logged().isEmpty());
    viewer.close();
}

// The viewer's wallpaper against the real settings programs: gsettings with the
// dconf backend and xfconf-query with xfconfd, both on a private session bus
// from dbus-run-session, keeping their files in the test's own folders.
class RealDesktopSettings : public ViewerFixture {
protected:
    void SetUp() override
    {
        ViewerFixture::SetUp();
        for (const char *tool : {"dbus-run-session", "gsettings", "xfconf-query"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed: the wallpaper is NOT tested against the real "
                             << "desktop settings; scripts/install-deps.sh test installs it";
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "GSETTINGS_BACKEND",
                 "DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP"})
            saved.append({name, qgetenv(name)});
        const QString runtime = dir.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
        // Without dconf GIO would fall back to a memory backend and forget every value.
        qputenv("GSETTINGS_BACKEND", "dconf");

        // The bus lives as long as the shell that prints its address; its own process
        // group lets TearDown end the bus and the services it started.
        bus.setChildProcessModifier([] { ::setpgid(0, 0); });
        bus.start(QStringLiteral("dbus-run-session"),
            {QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"),
                QStringLiteral("echo \"$DBUS_SESSION_BUS_ADDRESS\"; exec sleep 300")});
        ASSERT_TRUE(bus.waitForReadyRead(10000)) << bus.readAllStandardError().toStdString();
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    }
    void TearDown() override
    {
        if (bus.state() != QProcess::NotRunning) {
            ::kill(-pid_t(bus.processId()), SIGTERM);
            bus.waitForFinished(5000);
        }
        for (const auto &[name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    static QString output(const QString &program, const QStringList &arguments)
    {
        QProcess p;
        p.start(program, arguments);
        p.waitForFinished(10000);
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }
    QString gsetting(const char *key)
    {
        return output(QStringLiteral("gsettings"),
            {QStringLiteral("get"), QStringLiteral("org.gnome.desktop.background"),
                QString::fromLatin1(key)});
    }

    QProcess bus;
    QList<QPair<const char *, QByteArray>> saved;
};

TEST_F(RealDesktopSettings, GnomeAndXfceShowTheWrittenSwpicBmp)
{
    const QString jpeg = picture(QStringLiteral("photo.jpg"), 64, 48);
    const QString swpic = dir.filePath(QStringLiteral("user/SWPIC.bmp"));
    const QString swpicUri
        = QStringLiteral("'") + QUrl::fromLocalFile(swpic).toString(QUrl::FullyEncoded) + QLatin1Char('\'');
    FrmPic viewer;
    ASSERT_TRUE(viewer.open(request({jpeg})));

    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    viewer.menuAction(QStringLiteral("平铺"))->trigger();
    ASSERT_TRUE(QFile::exists(swpic));
    EXPECT_EQ(gsetting("picture-uri"), swpicUri);
    EXPECT_EQ(gsetting("picture-uri-dark"), swpicUri);
    EXPECT_EQ(gsetting("picture-options"), QStringLiteral("'wallpaper'"));

    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    viewer.menuAction(QStringLiteral("拉伸"))->trigger();
    const QString backdrop = QStringLiteral("/backdrop/screen0/monitor0/workspace0/");
    const auto xfconf = [](const QString &property) {
        return output(QStringLiteral("xfconf-query"),
            {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), property});
    };
    EXPECT_EQ(xfconf(backdrop + QStringLiteral("last-image")), swpic);
    EXPECT_EQ(xfconf(backdrop + QStringLiteral("image-style")), QStringLiteral("3"));
    viewer.close();
}

} // namespace
