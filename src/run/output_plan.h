#pragma once

#include "job/job_settings.h"
#include "job/naming.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Where the pictures of a run stand in the whole list, when the run is one part
// of it (a shard): numbers and names come from the whole list.
struct ListPlacement {
    QVector<int> positions; // list position of each picture; empty: its index
    int firstNumber = 0; // the rename number of list position 0
    QStringList subFolders; // per picture, the folder below sOutDir it goes to; empty: none

    int positionOf(int i) const { return i < positions.size() ? positions[i] : i; }
    QString subFolderOf(int i) const { return subFolders.value(i); }
};

// Where one picture of a run goes, decided before any picture is rendered.
struct PlannedOutput {
    QString path; // full output path
    QString subFolder; // folder below sOutDir that must exist first, or empty
    OutputTarget target; // writer and extension
    bool write = true; // false: the name is another picture's, or it exists and is kept
    QString errorLine; // set when not writing is a failure (iOnClash "fail")
    // iOnClash "number": path without number and extension, and path's number
    // (0: none), so that a name another run takes meanwhile moves on to the next.
    QString stem;
    int number = 0;

    QString numberedPath(int n) const;
};

// Every output of a run, by the run's own order, so that which picture keeps a
// shared name never depends on how many are rendered at once: with iOnClash
// "overwrite" the later list position wins, as in a one-at-a-time run.
struct OutputPlan {
    QVector<PlannedOutput> outputs;
    QStringList warnings; // one line per clash or kept file, naming the pictures
};

OutputPlan planOutputs(
    const JobSettings &job, const QStringList &pictures, const ListPlacement &placement = {});
