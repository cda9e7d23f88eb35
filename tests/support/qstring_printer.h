#pragma once

#include <QString>

#include <ostream>

// GoogleTest shows QString values as text instead of their bytes.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
