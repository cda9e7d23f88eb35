#include "app/terminal_text.h"

#include <sys/ioctl.h>
#include <unistd.h>

int displayColumns(char32_t c)
{
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

int displayColumns(const QString &text)
{
    int n = 0;
    for (char32_t c : text.toStdU32String())
        n += displayColumns(c);
    return n;
}

int terminalWidth(int fd)
{
    winsize size {};
    if (isatty(fd) == 1 && ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

QStringList wrapToColumns(const QString &text, int columns)
{
    // Pieces that may not be split: a run of narrow characters, or one wide
    // character with the punctuation that must stay behind it.
    struct Piece {
        std::u32string chars;
        bool spaceBefore = false;
    };
    std::vector<Piece> pieces;
    bool space = false;
    for (char32_t c : text.toStdU32String()) {
        if (c == U' ') {
            space = true;
            continue;
        }
        const bool wide = displayColumns(c) == 2;
        const bool closing
            = std::u32string_view(U"，。、；：！？）」』》,.;:!?)").find(c) != std::u32string_view::npos;
        // A list of choices "a|b|c" may break after a bar.
        const bool joins = !pieces.empty() && !space
            && (closing
                || (!wide && displayColumns(pieces.back().chars.back()) == 1
                    && pieces.back().chars.back() != U'|'));
        if (joins)
            pieces.back().chars += c;
        else
            pieces.push_back({std::u32string(1, c), space});
        space = false;
    }
    QStringList lines;
    QString line;
    int used = 0;
    for (const Piece &piece : pieces) {
        const QString chars = QString::fromStdU32String(piece.chars);
        const int width = displayColumns(chars);
        const int gap = piece.spaceBefore && used > 0 ? 1 : 0;
        if (used > 0 && used + gap + width > columns) {
            lines << line;
            line.clear();
            used = 0;
        } else if (gap) {
            line += QLatin1Char(' ');
            used += 1;
        }
        line += chars;
        used += width;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

QByteArray stderrText(const QString &text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!lines.isEmpty() && !lines.endsWith(QLatin1Char('\n')))
        lines += QLatin1Char('\n');
    return lines.toLocal8Bit();
}
