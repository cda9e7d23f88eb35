#pragma once

#include <QString>
#include <QStringList>

// Skins are Qt style sheets kept in ".she" files in the skin folder. One skin
// holds for the whole application, so every window, dialog and menu follows it.

// Reads the style sheet in path and applies it to the application; pictures the
// sheet names as url(skin:NAME) are taken from path's folder. A missing,
// empty, unreadable or malformed file clears any skin (the plain look) and gives
// false; nothing is reported to the user.
bool applySkin(const QString &path);

// The style sheet in path, or an empty text when the file cannot serve as a skin
// (missing, too large, not UTF-8 text, unbalanced braces or comments).
QString readSkinSheet(const QString &path);

// The ".she" files of skinDir, full paths, sorted by name with the default skin first.
QStringList skinFiles(const QString &skinDir);
// The entry's text in the skin menu: "浅蓝(默认)" for ".../skin/浅蓝(默认).she",
// the shipped skins' names in the user's language.
QString skinDisplayName(const QString &path);
// The skin a fresh start uses.
QString defaultSkinPath(const QString &skinDir);
