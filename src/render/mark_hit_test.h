#pragma once

#include "job/job_settings.h"
#include "render/render_result.h"

#include <QPointF>
#include <QRectF>
#include <QSize>

enum class MarkHit { None, Text, Picture };

// Hit test of the preview's mouse handling. point is in preview coordinates,
// shown is where the work surface of surfaceSize appears in the preview. A hit
// on the text watermark (its box widened to the left by a quarter of its width)
// switches iuTxtPos to "自定义"; otherwise a hit on the picture watermark
// switches iuImgPos. The caller runs the switched list's selection handler.
MarkHit PinRect(const QPointF &point, const QRectF &shown, QSize surfaceSize, const MarkPlacement &marks,
    JobSettings &job);
