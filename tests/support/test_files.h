#pragma once

#include <QByteArray>
#include <QString>

// A file's bytes; empty when it cannot be read.
QByteArray readAll(const QString &path);
// Writes bytes to path; false when it could not be written whole.
bool writeFile(const QString &path, const QByteArray &bytes);
