#pragma once

#include "job/job_settings.h"

#include <QString>
#include <QStringList>

#include <functional>

// The run's publishing steps, provided by the publish layer and handed to BatchRun
// by whoever starts the run, so that the batch layer does not depend on them.
struct UploadOutcome {
    QString link; // web address of the uploaded picture; empty on failure
    QString errorLine; // empty on success
    QString warning {}; // shown once to the user, not an error (the password went in clear)
};

struct PublishSteps {
    // One written picture: local full path and its file name without folder.
    std::function<UploadOutcome(const JobSettings &job, const QString &localPath, const QString &fileName)>
        uploadPicture;
    // After the loop, when bMakePDF is 1. outputFiles is indexed by list position
    // (empty where nothing was written). Returns error lines (may be none); a
    // message the user must see goes into *message.
    std::function<QStringList(const JobSettings &job, const QStringList &outputFiles, QString *message)>
        makePdf;
    // After the loop, when bUpload is 1: PicURL.htm and picUpload.dat.
    std::function<QStringList(const JobSettings &job, const QStringList &uploadLinks)> createLinkPage;
    // PicURL.htm alone, for a watch: its page lists the links of every run so far.
    std::function<QStringList(const JobSettings &job, const QStringList &uploadLinks)> writeLinkPage;
};
