#pragma once

#include <QString>
#include <QStringList>

// The status line shows at most 240 characters: a longer text becomes its first
// 230 characters and "...".
QString statusLineText(const QString &text);

// A path of 23 characters or more shown as its first 3 characters, "..." and its
// last 17 (output folder label, picture watermark label).
QString shortPathText(const QString &path);

// "输出文件夹:" + the shortened folder.
QString outputFolderLabel(const QString &folder);

// The window title: "Tuvo图片批量处理" + version, and " - " + path when a picture is shown.
QString windowTitleText(const QString &path = QString());
QString programVersionText();

// Picture paths from the command line: each argument is one path (the shell has
// split them already); quotes are dropped, names that are not pictures skipped,
// relative paths made absolute against workingDir.
QStringList picturesFromArguments(const QStringList &arguments, const QString &workingDir);

// The first free name among "新建文件夹", "新建文件夹( 2)", "新建文件夹( 3)", ... inside parent.
QString newFolderPath(const QString &parent);

// "tempWL" + ddhhmmss + ".bmp" in folder, for a dropped bitmap.
QString droppedBitmapPath(const QString &folder, const class QDateTime &now);
