#include "job/stored_text.h"

#include <QLocale>

#include <cmath>

std::optional<double> numberFromText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<qint64> wholeNumberFromText(const QString &text, qint64 min, qint64 max)
{
    const std::optional<double> v = numberFromText(text);
    if (!v)
        return std::nullopt;
    // Whole-number conversion rounds halves to even.
    const double r = std::nearbyint(*v);
    if (r < double(min) || r > double(max))
        return std::nullopt;
    return qint64(r);
}

std::optional<bool> booleanFromText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const std::optional<double> v = numberFromText(t))
        return *v != 0;
    return std::nullopt;
}

QString doubleText(double value)
{
    return QString::number(value, 'g', 15);
}

int leadingNumber(const QString &text)
{
    const QString t = text.trimmed();
    int end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    const int digitsFrom = end;
    while (end < t.size() && t[end].isDigit() && t[end].unicode() < 128)
        ++end;
    if (end == digitsFrom)
        return 0;
    bool ok = false;
    const qint64 v = t.left(end).toLongLong(&ok);
    if (!ok)
        return 0;
    return int(qBound<qint64>(-2147483647LL, v, 2147483647LL));
}
