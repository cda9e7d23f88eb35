#pragma once

#include "app/cli_inputs.h"
#include "app/cli_options.h"
#include "job/job_settings.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class AppPaths;

// The job a tuvo-cli command line describes, with the pictures it runs over:
// the desktop settings or a fresh job, then the saved jobs named, then the
// options in their order, then where the pictures go and which of them this
// run takes.
struct CliJob {
    JobSettings job;
    CliInputs inputs;
    RunShare share; // the pictures of this run (a shard's part of the list)
    QString shownOutput; // where the pictures go, as the last line names it
    bool toStdout = false; // -o -: the one written picture goes to standard output
    bool saved = false; // --save-job wrote the job: there is nothing to run
    QStringList messages; // said on standard error before the run, in order
    QString error; // non-empty: the job cannot start, for this reason (the whole message)
    std::unique_ptr<QTemporaryDir> scratch; // standard streams pass through its files

    CliJob() = default;
    CliJob(CliJob &&) = default;
    CliJob &operator=(CliJob &&) = default;
    ~CliJob(); // removes the pictures taken out of documents: they are the run's scratch
};

// Reads no picture's pixels and starts nothing; a picture on standard input
// ("-") is copied into the scratch folder.
CliJob assembleCliJob(const CliOptions &options, const AppPaths &paths);

// "tuvo-cli: --option: text" for what an option itself got wrong.
QString optionMessage(const char *option, const QString &text);
