#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text lines as the program's line files hold them: UTF-8, each line ended by CR LF.
QByteArray crlfLines(const QStringList &lines);

// Replaces path with content through a temporary file in the same folder.
bool replaceFileAtomically(const QString &path, const QByteArray &content);

// Appends to path, keeping what is there; the whole file is replaced at once.
bool appendFileAtomically(const QString &path, const QByteArray &content);
