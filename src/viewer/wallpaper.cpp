#include "viewer/wallpaper.h"

#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

constexpr int kToolTimeoutMs = 5000;

QString runForOutput(const WallpaperCommand &c)
{
    QProcess p;
    p.start(c.program, c.arguments);
    if (!p.waitForFinished(kToolTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QStringList xfceBackdropProperties()
{
    const QString out = runForOutput({QStringLiteral("xfconf-query"),
        {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-l")}});
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

Desktop desktopFrom(const QString &xdgCurrentDesktop, const QString &desktopSession)
{
    const QString names = xdgCurrentDesktop.isEmpty() ? desktopSession : xdgCurrentDesktop;
    for (const QString &name : names.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString n = name.trimmed().toLower();
        if (n == QLatin1String("gnome") || n == QLatin1String("unity") || n == QLatin1String("gnome-classic")
            || n == QLatin1String("gnome-flashback") || n == QLatin1String("ubuntu"))
            return Desktop::Gnome;
        if (n == QLatin1String("kde") || n == QLatin1String("plasma") || n == QLatin1String("plasmawayland"))
            return Desktop::Plasma;
        if (n == QLatin1String("xfce") || n == QLatin1String("xfce4"))
            return Desktop::Xfce;
    }
    return Desktop::Other;
}

Desktop runningDesktop()
{
    return desktopFrom(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), qEnvironmentVariable("DESKTOP_SESSION"));
}

QList<WallpaperCommand> gnomeWallpaperCommands(const QString &path, int style)
{
    const QString option = style == WallpaperTile ? QStringLiteral("wallpaper")
        : style == WallpaperStretch               ? QStringLiteral("stretched")
                                                  : QStringLiteral("centered");
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    const QString gsettings = QStringLiteral("gsettings");
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    const QString set = QStringLiteral("set");
    // The style first, so the new picture appears at once in its style; the dark
    // variant is the one shown under a dark desktop style.
    return {{gsettings, {set, schema, QStringLiteral("picture-options"), option}},
        {gsettings, {set, schema, QStringLiteral("picture-uri"), uri}},
        {gsettings, {set, schema, QStringLiteral("picture-uri-dark"), uri}}};
}

QList<WallpaperCommand> xfceWallpaperCommands(const QString &path, int style, const QStringList &properties)
{
    // xfdesktop's image-style: 1 centred, 2 tiled, 3 stretched.
    const int imageStyle = style == WallpaperTile ? 2 : style == WallpaperStretch ? 3 : 1;
    QStringList images;
    for (const QString &line : properties) {
        const QString p = line.trimmed();
        if (p.startsWith(QLatin1String("/backdrop/")) && p.endsWith(QLatin1String("/last-image")))
            images << p;
    }
    if (images.isEmpty())
        images << QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");

    const QString tool = QStringLiteral("xfconf-query");
    QList<WallpaperCommand> commands;
    for (const QString &image : images) {
        const QString styleProperty
            = image.left(image.size() - int(qstrlen("last-image"))) + QStringLiteral("image-style");
        commands << WallpaperCommand {tool,
            {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), styleProperty,
                QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("int"), QStringLiteral("-s"),
                QString::number(imageStyle)}};
        commands << WallpaperCommand {tool,
            {QStringLiteral("-c"), QStringLiteral("xfce4-desktop"), QStringLiteral("-p"), image,
                QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("string"), QStringLiteral("-s"),
                path}};
    }
    return commands;
}

WallpaperCommand plasmaWallpaperCommand(const QString &path, int style)
{
    const QString mode = style == WallpaperTile ? QStringLiteral("tile")
        : style == WallpaperStretch             ? QStringLiteral("stretch")
                                                : QStringLiteral("pad");
    return {QStringLiteral("plasma-apply-wallpaperimage"), {QStringLiteral("--fill-mode"), mode, path}};
}

WallpaperCommand fehWallpaperCommand(const QString &path, int style)
{
    const QString option = style == WallpaperTile ? QStringLiteral("--bg-tile")
        : style == WallpaperStretch               ? QStringLiteral("--bg-scale")
                                                  : QStringLiteral("--bg-center");
    return {QStringLiteral("feh"), {option, path}};
}

QList<WallpaperCommand> wallpaperCommands(
    Desktop desktop, const QString &path, int style, bool fehInstalled, const QStringList &xfceProperties)
{
    switch (desktop) {
    case Desktop::Gnome:
        return gnomeWallpaperCommands(path, style);
    case Desktop::Plasma:
        return {plasmaWallpaperCommand(path, style)};
    case Desktop::Xfce:
        return xfceWallpaperCommands(path, style, xfceProperties);
    case Desktop::Other:
        break;
    }
    if (fehInstalled)
        return {fehWallpaperCommand(path, style)};
    return {};
}

bool SetWallpaper(const QString &path, int style)
{
    const Desktop desktop = runningDesktop();
    const bool feh
        = desktop == Desktop::Other && !QStandardPaths::findExecutable(QStringLiteral("feh")).isEmpty();
    const QStringList properties = desktop == Desktop::Xfce ? xfceBackdropProperties() : QStringList();
    const QList<WallpaperCommand> commands = wallpaperCommands(desktop, path, style, feh, properties);
    for (const WallpaperCommand &c : commands)
        runForOutput(c);
    return !commands.isEmpty();
}
