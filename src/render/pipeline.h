#pragma once

#include "job/job_settings.h"
#include "render/picture_source.h"
#include "render/render_result.h"

#include <QString>

// funImgDone: turns one picture into the finished work surface, in the fixed
// order draw, rotate, effect, decorate. A pure function of its arguments, so the
// preview, the batch run, tuvo-cli and the tests share it and may run it on
// several pictures at once. source gives the decoded picture (default: read the
// file); the preview passes its PreviewSourceCache.
RenderResult funImgDone(const JobSettings &job, const QString &path, PictureSource *source = nullptr);

// Only the draw step: load, lay out, scale through the colour matrix.
RenderResult drawStep(const JobSettings &job, const QString &path, PictureSource *source = nullptr);
