#pragma once

#include <QString>

// Old binary .doc files are turned into .docx by LibreOffice, when it is installed.

// The soffice program on PATH, or "" when LibreOffice is not installed.
QString findSoffice();

// Converts docPath into outDir with `soffice --headless --convert-to docx`, using a
// private LibreOffice profile so that a running LibreOffice does not swallow the
// request; every call has its own profile in outDir, so conversions at the same
// time never meet. A LibreOffice still running after timeoutMs is ended with its
// children. Returns the .docx path, or "" and *error.
QString convertDocToDocx(const QString &soffice, const QString &docPath, const QString &outDir,
    QString *error, int timeoutMs = 180000);
