#pragma once

#include "batch/job_settings.h"

#include <QString>
#include <QStringList>

// Sets a job field by its settings key or field name from text, checking type and
// range ("iJPGQ" = "90", "sngColorMatrix" = 25 comma-separated numbers, ...).
// Returns false with *error when the key is unknown or the value does not fit.
bool setJobField(JobSettings &job, const QString &key, const QString &value, QString *error);

// Every key setJobField knows, for help texts.
QStringList jobFieldNames();
