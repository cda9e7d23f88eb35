#pragma once

#include "batch/job_settings.h"

#include <QImage>
#include <QSet>
#include <QString>

struct WriteOutcome {
    QString path; // the output path that was chosen
    bool written = false;
    QString errorLine; // set when nothing was written
};

// Canonical paths of a run's source pictures; no output may replace one of them.
QSet<QString> protectedPathsFor(const QStringList &pictures);

// SaveImg / SaveBMP: writes the finished surface of list position `position` with
// the writer and name the job's format and naming rules choose.
WriteOutcome SaveImg(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const QSet<QString> &protectedPaths = {});
WriteOutcome SaveBMP(const JobSettings &job, const QString &picturePath, int position, const QImage &surface,
    const QSet<QString> &protectedPaths = {});

// Chooses SaveBMP or SaveImg as the format list says.
WriteOutcome writeOutput(const JobSettings &job, const QString &picturePath, int position,
    const QImage &surface, const QSet<QString> &protectedPaths = {});
