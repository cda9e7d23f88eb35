#pragma once

#include "job/job_settings.h"
#include "render/render_result.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

// The watermark font: sFont at iSize points on a 96 dpi surface, with the
// bold, italic and underline flags.
QFont markFont(const JobSettings &job);

// lColor (red + 256 x green + 65536 x blue) as a colour.
QColor markColour(qint32 lColor);

// The box of a measured text of textSize on a surface of surfaceSize, by
// iuTxtPos (custom: top-left corner at iuTSyX, iuTSyY). Fills the text part
// of marks.
QRectF placeTextMark(const JobSettings &job, QSize surfaceSize, QSize textSize, MarkPlacement &marks);

// Prints text in the watermark font and colour on a transparent background.
void drawTextMark(const JobSettings &job, const QString &text, QImage &surface, MarkPlacement &marks);
