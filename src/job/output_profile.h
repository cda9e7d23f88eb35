#pragma once

#include "job/job_settings.h"

#include <QByteArray>
#include <QString>

// The colour profile an output of picturePath is written in: the source's own RGB
// profile when the job keeps profiles and the output format can hold one; empty
// (sRGB) otherwise, and always for CMYK and grey sources.
QByteArray outputProfileFor(const JobSettings &job, const QString &picturePath, const QByteArray &sourceIcc);
