#pragma once

#include "fs/file_names.h"
#include "job/job_settings.h"
#include "run/file_size_fit.h"
#include "run/output_plan.h"

#include <QImage>
#include <QString>

#include <set>

struct WriteOutcome {
    QString path; // the output path that was chosen
    bool written = false;
    qint64 bytes = 0; // size of the written file
    QString errorLine; // set when nothing was written
    QString warning; // a report line: skipped as iOnClash "skip" asks, metadata left out, under iMinBytes
    int quality = -1; // the quality written with; -1 for lossless formats
    QSize size; // the written picture's pixels, smaller than the surface when scaled to fit iMaxBytes
    bool scaled = false;
    bool overLimit = false; // over iMaxBytes (not written) or under iMinBytes (written with a warning)
};

// The size modes whose pixel size the job fixes (presets, custom size, fit frame):
// a picture too big for iMaxBytes is not scaled down there.
bool sizeIsFixed(const JobSettings &job);

// The bytes of one picture as the job writes it: its metadata carried and its
// size within iMaxBytes/iMinBytes when the job has them. *leftOut names
// metadata that could not be read.
FittedPicture encodeForJob(const JobSettings &job, const QString &picturePath, const QImage &surface,
    const QString &extension, QStringList *leftOut);
// The error line of a picture still over iMaxBytes, and the warning line of one under iMinBytes.
QString sizeLimitError(const JobSettings &job, const QString &picturePath, const FittedPicture &fitted);
QString sizeLimitWarning(const JobSettings &job, const QString &picturePath, const FittedPicture &fitted);

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
