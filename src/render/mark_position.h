#pragma once

#include "job/job_settings.h"
#include "render/render_result.h"

#include <QPointF>
#include <QSizeF>

// Top-left corner of a w x h watermark at one of the presets "右下", "左下",
// "左上", "右上" and "居中" on a W x H surface, 5 pixels from the edges.
// Any other position is custom and has no corner of its own: (0, 0).
QPointF presetCorner(int position, QSizeF surface, QSizeF mark);

bool isPresetPosition(int position);

// Writes the fractions the decoration step recorded for preset positions back
// into the job, so that switching a list to "自定义" keeps the watermark in place.
void keepMarkPlacement(JobSettings &job, const MarkPlacement &marks);
