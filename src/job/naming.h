#pragma once

#include "job/job_settings.h"

#include <QDateTime>
#include <QString>

// Which writer stores a picture and under which extension.
struct OutputTarget {
    bool bmpWriter = false; // the Windows bitmap writer (extension "bmp")
    QString extension; // without the dot, letter case as it will stand in the name
    bool avifForHeic = false; // "原格式" of a HEIC source without an HEVC encoder
};

// The extension rules of the format list, "原格式" keeping each picture's own;
// a HEIC source is written as AVIF where no HEVC encoder is at hand.
OutputTarget outputTargetFor(const JobSettings &job, const QString &picturePath);
OutputTarget outputTargetFor(const JobSettings &job, const QString &picturePath, bool hevcEncoder);

// Base name: the picture's own name up to its last dot, or prefix + position
// padded to iNumDigits when renaming, or sNameTemplate filled in when it is set.
QString outputBaseName(const JobSettings &job, const QString &picturePath, int position);

// sOutDir + "/" + base name + "." + extension.
QString outputPath(const JobSettings &job, const QString &picturePath, int position);

// The prefix menu: "#当前日期#", "#当前时间#", "#日期和时间#", "#不要前缀#".
QString prefixForPreset(const QString &preset, const QDateTime &now);
