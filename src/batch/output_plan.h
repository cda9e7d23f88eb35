#pragma once

#include "batch/job_settings.h"
#include "batch/naming.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Where one picture of a run goes, decided before any picture is rendered.
struct PlannedOutput {
    QString path; // full output path
    OutputTarget target; // writer and extension
    bool write = true; // false: a later picture of the list takes the same name
};

// Every output of a run, by list position, so that which picture keeps a
// shared name never depends on how many are rendered at once: as in a
// one-picture-at-a-time run, the later list position wins.
struct OutputPlan {
    QVector<PlannedOutput> outputs;
    QStringList warnings; // one line per clash, naming both sources
};

OutputPlan planOutputs(const JobSettings &job, const QStringList &pictures);
