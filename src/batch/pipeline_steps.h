#pragma once

#include "batch/job_settings.h"
#include "batch/render_result.h"

#include <QImage>
#include <QString>

// The steps of the pipeline after drawing, each working on the work surface
// (RGB32) in place. They read only the job and the picture's path. A step that
// cannot do its work returns false with *error and leaves the surface as it was,
// so the caller can record the failure instead of writing a wrong picture.

// Rotation and mirroring by iRotateMode (2: by the EXIF orientation of path).
bool rotationStep(const JobSettings &job, const QString &path, QImage &surface, QString *error = nullptr);

// picture (decoded from path) turned as its EXIF orientation says, as the
// automatic rotation turns it: what a person looking at the photo expects.
QImage uprightPicture(const QString &path, const QImage &picture);

// True when the rotation step turns or mirrors the pixels of path.
bool rotationTurnsPixels(const JobSettings &job, const QString &path);

// The chosen effect preset; nothing when iEffect is empty.
bool effectStep(const JobSettings &job, QImage &surface, QString *error = nullptr);

// Frame, then picture watermark, then text watermark. Records placements and
// error lines (a frame or watermark picture that cannot be drawn) into result.
void decorationStep(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result);
