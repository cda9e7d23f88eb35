#include "publish/poppler.h"

#include <QProcess>
#include <QRegularExpression>

namespace poppler {

QString run(const QString &tool, const QStringList &arguments)
{
    QProcess p;
    p.start(tool, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

static QString infoField(const QString &pdf, const QString &field)
{
    const QStringList lines = run(QStringLiteral("pdfinfo"), {pdf}).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    }
    return QString();
}

int pageCount(const QString &pdf)
{
    return infoField(pdf, QStringLiteral("Pages")).toInt();
}

QString pageSize(const QString &pdf)
{
    return infoField(pdf, QStringLiteral("Page size"));
}

QString pageText(const QString &pdf, int page)
{
    const QString n = QString::number(page);
    return run(QStringLiteral("pdftotext"),
        {QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-enc"), QStringLiteral("UTF-8"),
            pdf, QStringLiteral("-")})
        .trimmed();
}

QImage renderPage(const QString &pdf, int page, double dpi)
{
    QProcess p;
    const QString n = QString::number(page);
    p.start(QStringLiteral("pdftoppm"),
        {QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-r"), QString::number(dpi),
            QStringLiteral("-png"), pdf});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage::fromData(p.readAllStandardOutput(), "PNG");
}

QStringList fontsNotEmbedded(const QString &pdf)
{
    QStringList names;
    const QStringList lines = run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    // Columns: name, type (one or more words), encoding, emb, sub, uni, object, generation.
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList cells
            = lines[i].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (cells.size() >= 7 && cells[cells.size() - 5] != QLatin1String("yes"))
            names << cells.first();
    }
    return names;
}

QStringList imagePages(const QString &pdf)
{
    QStringList pages;
    const QStringList lines
        = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    // Two header lines, then one row per image starting with its page number.
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList cells
            = lines[i].split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (!cells.isEmpty())
            pages << cells.first();
    }
    return pages;
}

} // namespace poppler
