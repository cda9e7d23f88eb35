#pragma once

#include "job/job_settings.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// size.ini: one preset a line, name;width;height (the third field keeps any further
// ";"). At most 501 presets; a missing or unreadable file gives none.
QVector<SizePreset> parseSizePresets(const QByteArray &content);
QVector<SizePreset> readSizePresets(const QString &path);
