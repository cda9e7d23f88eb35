#pragma once

#include "batch/file_names.h"
#include "batch/job_settings.h"
#include "batch/output_plan.h"

#include <QImage>
#include <QString>

#include <set>

struct WriteOutcome {
    QString path; // the output path that was chosen
    bool written = false;
    qint64 bytes = 0; // size of the written file
    QString errorLine; // set when nothing was written
    QString warning; // a report line: skipped as iOnClash "skip" asks, or metadata left out
};

// The files a run's source pictures are, by device and inode: a second mount or
// a link reaches the same file under another path, and no output may replace one.
using ProtectedFiles = std::set<FileIdentity>;
ProtectedFiles protectedFilesFor(const QStringList &pictures);

// Writes the finished surface of one picture where the run's plan put it.
WriteOutcome writePlanned(const JobSettings &job, const QString &picturePath, const PlannedOutput &output,
    const QImage &surface, const ProtectedFiles &protectedFiles = {});

// SaveImg / SaveBMP: writes the finished surface of list position `position` with
// the writer and name the job's format and naming rules choose.
WriteOutcome SaveImg(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const ProtectedFiles &protectedFiles = {});
WriteOutcome SaveBMP(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const ProtectedFiles &protectedFiles = {});

// Chooses SaveBMP or SaveImg as the format list says.
WriteOutcome writeOutput(const JobSettings &job, const QString &picturePath, int position,
    const QImage &surface, const ProtectedFiles &protectedFiles = {});
