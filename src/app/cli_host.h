#pragma once

#include "batch/batch_host.h"

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

    // --json: one object per picture on standard output, then a summary.
    void setJson(bool json) { json_ = json; }
    // Sources by list position as they were given, for the JSON lines.
    void setGivenSources(const QStringList &given) { given_ = given; }
    void printJsonSummary(int pictures, qint64 ms) const;
    int failed() const { return failed_; }

    // caption and the end of path in at most columns - 1 terminal columns.
    static QString fitToWidth(const QString &caption, const QString &path, int columns);

    // Set from the signal handler; the next processEvents turns it into a stop.
    static std::atomic<int> interrupts;

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
    QStringList given_;
    int written_ = 0;
    int failed_ = 0;
    int skipped_ = 0;
};
