#include "app/json_lines.h"

namespace {

void appendEscape(QByteArray &out, char16_t unit)
{
    static const char hexDigits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hexDigits[(unit >> shift) & 0xF];
}

} // namespace

QByteArray jsonString(const QString &s)
{
    QByteArray out;
    out.reserve(s.size() + 2);
    out += '"';
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out += QStringView(s).mid(i, 2).toUtf8();
            ++i;
        } else if (c.isSurrogate() || u < 0x20) {
            switch (u) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                appendEscape(out, u);
            }
        } else if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else {
            out += QStringView(&c, 1).toUtf8();
        }
    }
    out += '"';
    return out;
}

QByteArray jsonStringOrNull(const QString &s)
{
    return s.isEmpty() ? QByteArray("null") : jsonString(s);
}
