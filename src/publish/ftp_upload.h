#pragma once

#include "batch/publish_steps.h"

#include <QDateTime>

// Sends one written picture to the upload account of the job under a time-stamped
// name: open, connect, binary put, close, nothing kept between pictures.
// Failures give the error lines with code 1 (no client), 2 (no connection or
// login) or 3 (the transfer itself failed); only a finished transfer yields a link.
UploadOutcome UploadPicture(const JobSettings &job, const QString &localPath, const QString &fileName,
    const QDateTime &now = QDateTime::currentDateTime());
