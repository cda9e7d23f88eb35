#pragma once

#include <QString>

#include <optional>

// Conversions of the texts settings files and job files hold; nullopt when the
// text does not convert or the number does not fit.
std::optional<double> numberFromText(const QString &text);
// Whole-number conversion rounds halves to even.
std::optional<qint64> wholeNumberFromText(const QString &text, qint64 min, qint64 max);
std::optional<bool> booleanFromText(const QString &text);
// Text form of a double: up to 15 significant digits.
QString doubleText(double value);
// The leading number of a typed text ("35%" gives 35, "abc" gives 0).
int leadingNumber(const QString &text);
