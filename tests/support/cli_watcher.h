#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <csignal>

// A watching tuvo-cli (--watch --json --quiet -W 120 -o out, then more options
// and in) with its JSON lines read as they come, the per-picture ones apart from
// the summary. Returns from the constructor once the watch has begun.
class CliWatcher {
public:
    CliWatcher(const QString &in, const QString &out, const QStringList &more = {},
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
    ~CliWatcher();

    // Lines for pictures, waiting (with a generous limit) until there are n.
    QList<QJsonObject> pictures(int n);
    // Signals the process and waits for its end; the summary line, if any.
    QJsonObject stop(int sig = SIGTERM);
    int exitCode() const;

private:
    bool watching() const;
    int read();

    QProcess process_;
    QList<QJsonObject> lines_;
    QJsonObject summary_;
};
