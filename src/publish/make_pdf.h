#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct JobSettings;

// The PDF's file name: the title with the characters a file name cannot hold
// replaced by "_", "Tuvo.pdf" when nothing is left.
QString pdfFileName(const QString &title);

// Full path of the collection in the output folder.
QString pdfFilePath(const JobSettings &job);

// Gathers the written pictures into one PDF: the title page, one page per written
// picture in list order with its caption below it, the closing page with the
// signature and the date. Positions of outputFiles that hold no path (pictures
// that failed) are passed over. A writer failure ends the step without leaving a
// file; its text goes into *message and false is returned. The caller empties
// its OutputFiles afterwards. betweenPages runs once per picture page.
bool MakePdf(const JobSettings &job, const QStringList &outputFiles, QString *message,
    const std::function<void()> &betweenPages = {});
