#pragma once

#include "job/job_fields.h"

#include <QString>
#include <QStringList>

#include <span>

class AppPaths;
class FrameList;

// One job option as given: the field it sets and the value typed after it (a
// switch's own value for a switch). --set KEY=VALUE has no spelling.
struct JobOption {
    const JobField *field = nullptr;
    const CliSpelling *spelling = nullptr;
    QString value;
};

// What the command line asked for. Run options land in their members; job
// options are kept in the order given and applied to a job later, so that a
// saved job or the desktop settings can be loaded first.
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
    bool watch = false; // --watch: process the folders, then what arrives in them
    int memoryLimitMB = 0; // 0: the built-in limit

    QString preset; // a saved job by name, then
    QString jobFile; // a saved job file, both applied before the other options
    QString saveJob; // write the job to this file instead of running it

    QList<JobOption> jobOptions;
    QStringList givenRunOptions; // long names of the run options given, for warnings
};

// An option of the run itself (not of the job), described for the parser and help.
struct RunOption {
    CliSpelling spelling; // its help, section and value name; spelling.set is unused
    // Takes the value (empty for a switch); false with *why.
    bool (*take)(CliOptions &options, const QString &value, QString *why);
};
std::span<const RunOption> runOptions();

// Parses args (without the program name) as getopt would: "--name value",
// "--name=value", bundled short options ("-Rj2", "-q90"), "--" before inputs.
// Returns false with *error (the whole message) on an unknown option, a missing
// value or a run option's bad value; touches no file.
bool parseCliOptions(const QStringList &args, CliOptions *out, QString *error);

// Applies the job options to job in their order (the size mode first, -W/-H
// last); stored keys given by --set restore as the settings file would, with
// their warnings in *warnings. Returns false with *error naming the option.
bool applyJobOptions(const CliOptions &options, const AppPaths &paths, const FrameList &frames,
    JobSettings &job, QStringList *warnings, QString *error);

// "-q/--quality" for messages and help.
QString optionLabel(const CliSpelling &spelling);
// "tuvo-cli: " before a message of the command line.
QString cliMessage(const QString &text);

// --help broken to the given terminal width.
QString cliHelpText(int columns = 80);
QString cliUsageText();
// Completion script for "bash" or "zsh"; empty for another shell.
QString cliCompletion(const QString &shell);
// The man page: template with its "@OPTIONS@" line replaced by the options.
QString cliManPage(const QString &manTemplate);
