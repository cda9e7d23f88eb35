#pragma once

#include "batch/job_settings.h"
#include "settings/app_paths.h"

#include <QStringList>

struct CliInputs {
    QStringList pictures;
    QStringList messages; // said on standard error before the run
    bool hadProblem = false; // an input could not be used at all
};

// Turns the command line's inputs into the run's list: picture files as they
// are, folders as their pictures in name order, .docx files as their pictures.
CliInputs collectInputs(const QStringList &inputs, bool recursive, const AppPaths &paths);

// The first frame picture of the bk folder, for the fit-frame size with no frame given.
QString firstFrameIn(const QString &bkDir);

// Starts from the options the desktop program stored.
bool loadCliJobFromSettings(JobSettings &job, const AppPaths &paths, QString *error);
