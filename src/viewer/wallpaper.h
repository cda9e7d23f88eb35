#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Desktop wallpaper on the running desktop: GNOME through gsettings, KDE Plasma
// through plasma-apply-wallpaperimage (both work on Wayland, where a program may
// not draw the desktop itself), Xfce through xfconf-query, any other X desktop
// through feh when it is installed.
enum WallpaperStyle : int {
    WallpaperTile = 0,
    WallpaperStretch = 1,
    WallpaperCentre = 2,
};

enum class Desktop { Gnome, Plasma, Xfce, Other };

struct WallpaperCommand {
    QString program;
    QStringList arguments;

    bool operator==(const WallpaperCommand &) const = default;
};

// From XDG_CURRENT_DESKTOP (a colon-separated list such as "ubuntu:GNOME") and,
// when that is empty, DESKTOP_SESSION.
Desktop desktopFrom(const QString &xdgCurrentDesktop, const QString &desktopSession);
Desktop runningDesktop();

QList<WallpaperCommand> gnomeWallpaperCommands(const QString &path, int style);
// properties: the output of "xfconf-query -c xfce4-desktop -l"; every backdrop's
// last-image gets the picture (monitor0/workspace0 when none is listed yet).
QList<WallpaperCommand> xfceWallpaperCommands(const QString &path, int style, const QStringList &properties);
WallpaperCommand plasmaWallpaperCommand(const QString &path, int style);
WallpaperCommand fehWallpaperCommand(const QString &path, int style);

// The commands for the running desktop; empty when it has no way to set one.
// fehInstalled and xfceProperties are asked only when needed.
QList<WallpaperCommand> wallpaperCommands(
    Desktop desktop, const QString &path, int style, bool fehInstalled, const QStringList &xfceProperties);

// SetWallpaper: sets path as the wallpaper in the given style. Failures of the
// desktop's tools are not reported; false only when the desktop is not supported.
bool SetWallpaper(const QString &path, int style);
