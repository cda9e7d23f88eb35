#include "app/cli_host.h"

#include "app/json_lines.h"
#include "app/terminal_text.h"
#include "render/texts.h"
#include "run/batch_run.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <unistd.h>

std::atomic<int> CliHost::interrupts {0};
std::atomic<int> CliHost::stopSignal {0};

bool CliHost::countSignal(int sig)
{
    stopSignal.store(sig);
    if (interrupts.fetch_add(1) == 0)
        return true;
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    return false;
}

void say(const QString &text)
{
    std::fputs(stderrText(text).constData(), stderr);
}

int cannotStart(const QString &text)
{
    say(text);
    return kExitCannotStart;
}

// The progress line never wraps: what does not fit is cut from the path's start,
// so the file name stays in view.
QString CliHost::fitToWidth(const QString &caption, const QString &path, int columns)
{
    const int room = columns - 1 - displayColumns(caption);
    if (displayColumns(path) <= room)
        return caption + path;
    if (room <= 1)
        return caption.left(qMax(0, columns - 1));
    std::u32string kept;
    int used = 1; // the ellipsis
    const std::u32string chars = path.toStdU32String();
    for (auto it = chars.crbegin(); it != chars.crend() && used + displayColumns(*it) <= room; ++it) {
        used += displayColumns(*it);
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
    const QByteArray line
        = fitToWidth(caption_ + QLatin1Char(' '), path_, terminalWidth(STDERR_FILENO)).toLocal8Bit();
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

void CliHost::setTotal(int total)
{
    caption_ = texts::progress(0, total);
}

void CliHost::showError(const QString &text)
{
    finishLine();
    std::fputs(stderrText(text).constData(), stderr);
}

void CliHost::showMessage(const QString &text)
{
    showError(text);
}

void CliHost::pictureDone(const PictureReport &report)
{
    if (report.errorLines.isEmpty())
        ++(report.output.isEmpty() ? skipped_ : dryRun_ ? wouldWrite_ : written_);
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
        + ",\"quality\":" + (wrote && report.quality >= 0 ? QByteArray::number(report.quality) : "null")
        + ",\"ms\":" + QByteArray::number(report.ms) + ",\"error\":" + jsonStringOrNull(error) + "}\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

void CliHost::printJsonSummary(int pictures, qint64 ms, bool stopped) const
{
    QByteArray line = "{\"summary\":true,\"pictures\":" + QByteArray::number(pictures)
        + ",\"written\":" + QByteArray::number(written_) + ",\"failed\":" + QByteArray::number(failed_)
        + ",\"skipped\":" + QByteArray::number(skipped_) + ",\"stopped\":" + (stopped ? "true" : "false");
    if (dryRun_)
        line += ",\"dry_run\":true,\"would_write\":" + QByteArray::number(wouldWrite_);
    line += ",\"ms\":" + QByteArray::number(ms) + "}\n";
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
