#include "app/cli_host.h"

#include "app/json_lines.h"
#include "batch/batch_run.h"
#include "batch/texts.h"

#include <QCoreApplication>

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

std::atomic<int> CliHost::interrupts {0};

namespace {

int terminalColumns()
{
    winsize size {};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

// Columns a character takes on a terminal: East Asian wide characters take two.
int columnsOf(char32_t c)
{
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

int columnsOf(const QString &text)
{
    int n = 0;
    for (char32_t c : text.toStdU32String())
        n += columnsOf(c);
    return n;
}

} // namespace

// The progress line never wraps: what does not fit is cut from the path's start,
// so the file name stays in view.
QString CliHost::fitToWidth(const QString &caption, const QString &path, int columns)
{
    const int room = columns - 1 - columnsOf(caption);
    if (columnsOf(path) <= room)
        return caption + path;
    if (room <= 1)
        return caption.left(qMax(0, columns - 1));
    std::u32string kept;
    int used = 1; // the ellipsis
    const std::u32string chars = path.toStdU32String();
    for (auto it = chars.crbegin(); it != chars.crend() && used + columnsOf(*it) <= room; ++it) {
        used += columnsOf(*it);
        kept.insert(kept.begin(), *it);
    }
    return caption + QStringLiteral("…") + QString::fromStdU32String(kept);
}

CliHost::CliHost(bool quiet)
    : quiet_(quiet)
    , terminal_(isatty(STDERR_FILENO) == 1)
{
}

void CliHost::showStatus(const QString &text)
{
    if (text.startsWith(texts::processing())) {
        path_ = text.mid(texts::processing().size());
        redraw();
    }
}

void CliHost::setStartCaption(const QString &caption)
{
    // Drawn with the next picture's name: one redraw per picture.
    if (caption.startsWith(texts::progress(0, 0).section(QLatin1Char('0'), 0, 0)))
        caption_ = caption;
}

void CliHost::redraw()
{
    if (quiet_ || !terminal_)
        return;
    const QByteArray line = fitToWidth(caption_ + QLatin1Char(' '), path_, terminalColumns()).toLocal8Bit();
    std::fprintf(stderr, "\r\033[K%s", line.constData());
    std::fflush(stderr);
    lineShown_ = true;
}

void CliHost::finishLine()
{
    if (lineShown_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
        lineShown_ = false;
    }
}

void CliHost::showError(const QString &text)
{
    finishLine();
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void CliHost::showMessage(const QString &text)
{
    showError(text);
}

void CliHost::pictureDone(const PictureReport &report)
{
    if (report.errorLines.isEmpty())
        ++(report.output.isEmpty() ? skipped_ : written_);
    else
        ++failed_;
    if (!json_)
        return;
    const QString error = report.errorLines.join(QString()).trimmed();
    // A dry run knows the output's name but not its pixels.
    const bool wrote = !report.output.isEmpty() && report.size.isValid();
    const QByteArray line = "{\"index\":" + QByteArray::number(report.position)
        + ",\"source\":" + jsonString(given_.value(report.position, report.source))
        + ",\"output\":" + jsonStringOrNull(report.output)
        + ",\"width\":" + (wrote ? QByteArray::number(report.size.width()) : "null")
        + ",\"height\":" + (wrote ? QByteArray::number(report.size.height()) : "null")
        + ",\"bytes\":" + (wrote ? QByteArray::number(report.bytes) : "null")
        + ",\"ms\":" + QByteArray::number(report.ms) + ",\"error\":" + jsonStringOrNull(error) + "}\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

void CliHost::printJsonSummary(int pictures, qint64 ms) const
{
    const QByteArray line = "{\"summary\":true,\"pictures\":" + QByteArray::number(pictures)
        + ",\"written\":" + QByteArray::number(written_) + ",\"failed\":" + QByteArray::number(failed_)
        + ",\"skipped\":" + QByteArray::number(skipped_) + ",\"ms\":" + QByteArray::number(ms) + "}\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

void CliHost::processEvents()
{
    if (interrupts.load() > 0 && !stopAsked_ && run_) {
        stopAsked_ = true;
        finishLine();
        std::fprintf(stderr, "%s\n",
            QCoreApplication::translate(
                "tuvo", "正在停止: 正在处理的图片完成后结束(再按一次 Ctrl-C 立即退出)。")
                .toLocal8Bit()
                .constData());
        run_->RequestStop();
    }
    QCoreApplication::processEvents();
}
