#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// poppler-utils read back the PDFs the program writes.
namespace poppler {

// Standard output of a poppler tool, empty when it failed.
QString run(const QString &tool, const QStringList &arguments);

int pageCount(const QString &pdf);
QString pageSize(const QString &pdf); // "Page size:" of pdfinfo, e.g. "595.276 x 841.89 pts (A4)"
// pdftotext of one page, trimmed, code points as the text layer holds them.
QString pageText(const QString &pdf, int page);
// pdftoppm of one page at dpi; null when it failed.
QImage renderPage(const QString &pdf, int page, double dpi);
QStringList fontsNotEmbedded(const QString &pdf);
QStringList imagePages(const QString &pdf); // pdfimages -list: the page of each image

} // namespace poppler
