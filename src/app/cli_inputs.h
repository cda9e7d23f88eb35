#pragma once

#include "fs/app_paths.h"
#include "job/job_settings.h"
#include "run/output_plan.h"

#include <QStringList>

struct CliInputs {
    QStringList pictures;
    QStringList subFolders; // per picture: its folder below the input folder it was found in, or ""
    QStringList given; // per picture: its path as the command line or list gave it
    QStringList messages; // said on standard error before the run
    QStringList madeFiles; // pictures taken out of documents, removed when the run ends
    bool hadProblem = false; // an input could not be used at all
};

// Turns the command line's inputs into the run's list: picture files as they
// are, folders as their pictures in name order, .docx files as their pictures.
// A folder's sub-folder that is outputDir is left out: it holds earlier results.
CliInputs collectInputs(
    const QStringList &inputs, bool recursive, const AppPaths &paths, const QString &outputDir = {});

// The pictures this run takes from the whole list and where they stand in it:
// shard K of N takes the list positions p with p mod N = K - 1 (all when N is
// 0); sub-folders are kept only when keepTree is set.
struct RunShare {
    QStringList pictures;
    ListPlacement placement;
};
RunShare shareOfList(const CliInputs &inputs, int shard, int shards, int firstNumber, bool keepTree);

// path made absolute (against the working folder) and clean, keeping every byte:
// QFileInfo::absoluteFilePath passes a relative name through the locale's
// encoding and loses the bytes that are not UTF-8.
QString absoluteFileName(const QString &path);

// The first frame picture of the bk folder, for the fit-frame size with no frame given.
QString firstFrameIn(const QString &bkDir);

// The list of --files-from: one path a line (a CR before the LF is dropped) or
// NUL-separated, each with its bytes; "-" reads standard input. Empty entries
// are skipped. Returns false with *error when the list cannot be read.
bool readFileList(const QString &from, bool nullSeparated, QStringList *paths, QString *error);

// Starts from the options the desktop program stored.
bool loadCliJobFromSettings(JobSettings &job, const AppPaths &paths, QString *error);
