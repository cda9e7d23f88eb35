#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>
#include <sys/types.h>

// A file name is a byte string; QFile::decodeName turns bytes that are not UTF-8
// into U+FFFD and Qt's folder listing skips such names altogether. These keep
// every byte: an invalid byte b is held as the lone surrogate U+DC00 + b, which
// no valid UTF-8 text can produce, and turns back into b.
QString decodeFileName(const QByteArray &bytes);
QByteArray encodeFileName(const QString &name);

// A name for every line a person reads (error report, standard error, status):
// control characters as \n, \r, \t or \xNN, bytes that are not UTF-8 as \xNN,
// so a name can neither split nor forge a line.
QString shownName(const QString &name);

// Opens path for reading only when it is a regular file (a FIFO in its place
// would wait for a writer, a device might never end). Returns the descriptor,
// or -1 with *error saying why in the report's words.
int openRegularFile(const QString &path, QString *error = nullptr);
// The same into a QFile (which then owns the descriptor).
bool openRegularFile(const QString &path, QFile &file, QString *error = nullptr);

// stat() on the path's own bytes.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileIdentity &) const = default;
};
std::optional<FileIdentity> fileIdentity(const QString &path);
bool isDirectoryPath(const QString &path);
bool pathExists(const QString &path);
qint64 fileSize(const QString &path); // -1 when there is no such file

// Creates the "/"-separated folder sub below base, one folder at a time. Refuses
// an empty, "." or ".." component and one that exists as anything but a real
// folder: a link there could lead outside base.
bool makeSubFolders(const QString &base, const QString &sub, QString *error);
