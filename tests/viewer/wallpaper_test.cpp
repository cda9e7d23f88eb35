#include "viewer/wallpaper.h"
#include "viewer_fixture.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

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

} // namespace
