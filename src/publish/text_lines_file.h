#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's line files (ErrorLog.txt, picUpload.dat, PicURL.htm) are UTF-8
// with each line ended by CR LF and carry no byte-order mark: the record and the
// log are read line by line by scripts, where a mark would stick to the first
// line. PicURL.htm is the one exception (see funCreateHtm).
QByteArray crlfLines(const QStringList &lines);

// Appends content to path while holding an exclusive lock beside it (path +
// ".lock"), so runs at the same time each keep their lines. The whole file is
// replaced through writeFileAtomically: a failure leaves the old lines whole.
bool appendFileLocked(const QString &path, const QByteArray &content, QString *error);
