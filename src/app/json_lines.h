#pragma once

#include <QByteArray>
#include <QString>

// JSON text of s, quoted: quotes, backslashes and control characters escaped,
// lone surrogates (the bytes of a file name that are not UTF-8, held as
// U+DC80..U+DCFF) as \udcNN, which Python's json reads back as the same
// surrogate-escaped text; everything else as UTF-8.
QByteArray jsonString(const QString &s);

// jsonString(s), or null when s is empty.
QByteArray jsonStringOrNull(const QString &s);
