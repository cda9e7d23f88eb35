#pragma once

// Taking the inline pictures out of a Word document (.docx read directly, .doc
// through LibreOffice when installed). Widget-free: the desktop program and
// tuvo-cli both call it.
//
// How the main window uses it (menu item "从Word文档批量导入...", mWord):
//   1. a file-open dialog with title captureTexts::wordDialogTitle(), filter
//      captureTexts::wordDialogFilter() and the program folder as start folder;
//      cancel ends the command silently;
//   2. result = importWordPictures(path, paths().userDir());
//   3. each of result.errorLines goes to the status line (the last one stays);
//   4. result.message, when not empty, in a message box through the Prompter
//      (Information icon for the no-pictures text, Error otherwise);
//   5. appendPictures(result.pictures): the last one becomes current.
// src/ui/main_window_capture.cpp does exactly this.

#include "capture/docx_package.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

struct WordImportOptions {
    // The clock the names are stamped with (tests pin it).
    std::function<QDateTime()> clock = [] {
        return QDateTime::currentDateTime();
    };
    DocxPackage::Limits limits;
    int jpegQuality = 95;
    // soffice for .doc files; "" looks it up on PATH.
    QString soffice;
};

struct WordImportResult {
    QStringList pictures; // the written JPEG files, in document order
    QStringList errorLines; // one per picture that could not be taken
    QString message; // for a message box: no pictures, unreadable file, .doc without LibreOffice
    bool messageIsError = false;
};

// Writes every inline picture of the document at path into userDir as
// yyyyMMddHHmmss + n + ".jpg" (n counts the document's pictures from 1; a taken
// name gets "_2", "_3", ...). Each file is a real JPEG: JPEG pictures keep their
// bytes, others are decoded and encoded at jpegQuality. Pictures that cannot be
// decoded (EMF, WMF, ...) become error lines instead of files.
WordImportResult importWordPictures(
    const QString &path, const QString &userDir, const WordImportOptions &options = {});

// True when the bytes start like a JPEG file.
bool looksLikeJpegBytes(const QByteArray &bytes);
