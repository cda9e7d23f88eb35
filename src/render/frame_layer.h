#pragma once

#include "job/job_settings.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// The chosen frame picture's pixel size; invalid when no frame is chosen or
// its file cannot be read.
QSize frameSizeFor(const JobSettings &job);

// True when sFrameFile names a frame to draw.
bool hasFrame(const JobSettings &job);

// Lays the whole frame picture stretched over the whole surface, alpha kept.
// A frame that cannot be loaded is left out; returns whether it was drawn.
// surfaceProfile: the colour profile the surface is in (empty: sRGB).
bool drawFrame(QImage &surface, const QString &framePath, const QByteArray &surfaceProfile = {});
