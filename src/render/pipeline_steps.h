#pragma once

#include "job/job_settings.h"
#include "render/render_result.h"

#include <QImage>
#include <QString>

// The steps of the pipeline after drawing, each working on the work surface
// (RGB32) in place. They read only the job and the picture's path. A step that
// cannot do its work returns false with *error and leaves the surface as it was,
// so the caller can record the failure instead of writing a wrong picture.

// Rotation and mirroring by iRotateMode, of the picture as it is shown.
bool rotationStep(const JobSettings &job, QImage &surface, QString *error = nullptr);

// True when the rotation step exchanges width and height.
bool rotationTurnsSides(const JobSettings &job);

// The chosen effect preset; nothing when iEffect is empty.
bool effectStep(const JobSettings &job, QImage &surface, QString *error = nullptr);

// Frame, then picture watermark, then text watermark. Records placements and
// error lines (a frame or watermark picture that cannot be drawn) into result.
void decorationStep(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result);
