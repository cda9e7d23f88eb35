#pragma once

#include "run/batch_host.h"

#include <atomic>

class BatchRun;

// tuvo-cli's side of a batch run: a progress line on a terminal, messages on
// standard error, no questions (the answer is always "no").
class CliHost : public BatchHost {
public:
    explicit CliHost(bool quiet);

    void attach(BatchRun *run) { run_ = run; }

    void showStatus(const QString &text) override;
    void setStartCaption(const QString &caption) override;
    void setRunning(bool) override { }
    void showError(const QString &text) override;
    bool askYesNo(const QString &) override { return false; }
    void showMessage(const QString &text) override;
    void processEvents() override;
    void pictureDone(const PictureReport &report) override;
    void finishLine();
    // The progress caption before the first picture is done: "进度:0/total".
    void setTotal(int total);

    // --json: one object per picture on standard output, then a summary.
    void setJson(bool json) { json_ = json; }
    // --dry-run: pictures that would be written are counted apart from written ones.
    void setDryRun(bool dryRun) { dryRun_ = dryRun; }
    // Sources by list position as they were given, for the JSON lines.
    void setGivenSources(const QStringList &given) { given_ = given; }
    void printJsonSummary(int pictures, qint64 ms, bool stopped = false) const;
    int failed() const { return failed_; }

    // caption and the end of path in at most columns - 1 terminal columns.
    static QString fitToWidth(const QString &caption, const QString &path, int columns);

    // Called from a SIGINT/SIGTERM handler: counts the signal; a second one ends
    // the program at once (outputs are renamed into place whole, so nothing
    // half-written is left under a real name). True for the first.
    static bool countSignal(int sig);
    // Set from the signal handler; the next processEvents turns it into a stop.
    static std::atomic<int> interrupts;
    // The signal that asked for the stop (SIGINT, SIGTERM), for the exit status.
    static std::atomic<int> stopSignal;

private:
    void redraw();

    bool quiet_;
    bool terminal_;
    BatchRun *run_ = nullptr;
    QString caption_;
    QString path_;
    bool lineShown_ = false;
    bool stopAsked_ = false;
    bool json_ = false;
    bool dryRun_ = false;
    int wouldWrite_ = 0;
    QStringList given_;
    int written_ = 0;
    int failed_ = 0;
    int skipped_ = 0;
};

// Exit status of a command line or job that cannot start.
constexpr int kExitCannotStart = 2;
// text on standard error, line ends as stderrText makes them.
void say(const QString &text);
// Says text and gives kExitCannotStart.
int cannotStart(const QString &text);
