#pragma once

#include <QString>
#include <QStringList>

// Columns a text takes on a terminal: East Asian wide characters take two.
int displayColumns(char32_t c);
int displayColumns(const QString &text);

// Width of the terminal on descriptor fd; 80 when it is no terminal.
int terminalWidth(int fd);

// text broken into lines of at most columns display columns: at spaces, after
// a "|" or between two wide characters, so that no word is cut; a word longer
// than a whole line stands alone on its line.
QStringList wrapToColumns(const QString &text, int columns);

// Text for standard error: CR LF line ends (kept for ErrorLog.txt) become LF,
// and a non-empty text ends with one.
QByteArray stderrText(const QString &text);
