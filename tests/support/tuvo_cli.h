#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What a finished tuvo-cli said and how it ended.
struct CliRun {
    int exitCode = -1; // -1: it did not end by itself within the time, or crashed
    QString out, err;
    // Standard output's lines read as JSON objects (--json), unreadable lines left out.
    QList<QJsonObject> jsonLines() const;
};

// How to start it beside its arguments.
struct CliCall {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QString workingDirectory = {}; // empty: the test's own
    QStringList launcher = {}; // a program tuvo-cli runs under, with its arguments ("prlimit", "--fsize=512")
    QByteArray input = {}; // its standard input, closed after these bytes
    QString stdoutFile = {}; // empty: standard output is kept in CliRun::out
    int timeoutMs = 120000;
};

QString tuvoCliPath();
CliRun runTuvoCli(const QStringList &args, const CliCall &call = {});
// The same run in the environment of the locale lang (LANG set, LANGUAGE, LC_ALL and LC_MESSAGES removed).
CliRun runTuvoCliIn(const QString &lang, const QStringList &args);
