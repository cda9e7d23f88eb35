#pragma once

#include <QString>
#include <QStringList>

#include <utility>

// What the command line asked for. Job options are kept as ordered (field, value)
// pairs and applied with setJobField, so "--set" and the named options share one
// path and one set of range checks.
struct CliOptions {
    QStringList inputs;
    QString outputDir;
    bool recursive = false;
    int jobs = 0; // 0: one per core
    bool fromSettings = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    QString printExif;
    // Scripts and many machines.
    QString filesFrom; // one path a line, "-": standard input
    bool nullSeparated = false; // -0: the list is separated by NUL bytes
    int shard = 0; // --shard K/N: 1-based K; 0: the whole list
    int shards = 0;
    int firstNumber = 0; // rename number of list position 0
    bool keepTree = false;
    bool json = false;
    bool dryRun = false;
    int memoryLimitMB = 0; // 0: the built-in limit

    QString preset; // a saved job by name, then
    QString jobFile; // a saved job file, both applied before the other options
    QString saveJob; // write the job to this file instead of running it

    QString sizeMode; // limit-width, fit-frame, original, custom or a preset name
    QString width;
    QString height;
    QString frame;
    QList<std::pair<QString, QString>> fields;
    QList<int> setFields; // positions in fields given by --set: stored keys restore as from the settings file
};

// Parses args (without the program name). Returns false with *error on a bad
// option or value; touches no file.
bool parseCliOptions(const QStringList &args, CliOptions *out, QString *error);

QString cliHelpText();
