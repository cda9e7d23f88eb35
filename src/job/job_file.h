#pragma once

#include "job/frame_list.h"
#include "job/job_settings.h"

#include <QString>
#include <QStringList>

class AppPaths;

// A saved job: the fields that define the outputs as "key=value" lines under the
// settings store's key names, headed by Version. The FTP password is never
// written, the output folder only when asked; frame and watermark pictures are
// paths, relative ones meaning beside the job file.
constexpr int kJobFileVersion = 1;

bool writeJobFile(const JobSettings &job, const QString &path, bool includeOutputFolder, QString *error);

struct JobFileLoad {
    bool loaded = false; // false: the job was left as it was
    QStringList messages; // what was ignored or replaced, and why
};

// Loads path into job: the stored keys run through the start-up restore with its
// side effects, the rest are set as tuvo-cli --set sets them. Keys this program
// does not know, values out of range and missing pictures are named in messages;
// what is known is loaded.
JobFileLoad readJobFile(
    const QString &path, const AppPaths &paths, const FrameList &frames, JobSettings &job);

// A preset's name is a plain file name: not empty, no "/", not starting with a dot.
bool isJobPresetName(const QString &name);
// The job file of a named preset: the user's preset folder first, then the
// installed one; a name that is no file name may be a preset's title in the
// interface language (case ignored). Empty when neither has it.
QString findJobPreset(const QString &name, const AppPaths &paths);
// The name a preset is shown under: the installed presets' names in the
// interface language, any other name as it is.
QString jobPresetTitle(const QString &name);
// Named presets of both folders, the user's first, each name once.
QStringList jobPresetNames(const AppPaths &paths);
// The user's preset folder (made on first save).
QString userPresetDir(const AppPaths &paths);

// Export: a folder named after the job inside targetDir holding the job file and
// copies of its frame and watermark pictures, named relative to the job so the
// folder travels to another machine. Returns the folder, empty with *error.
QString exportJobFolder(const QString &jobFile, const QString &targetDir, QString *error);
