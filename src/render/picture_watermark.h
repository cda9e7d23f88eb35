#pragma once

#include "job/job_settings.h"
#include "render/render_result.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

// Where a watermark picture of its own size markSize goes on a surface of
// surfaceSize: the box at sngMarkScale times markSize, by iuImgPos (custom:
// the centre at iuISyX, iuISyY). Fills the picture part of marks; the box is
// not rounded yet.
QRectF placePictureMark(const JobSettings &job, QSize surfaceSize, QSize markSize, MarkPlacement &marks);

// Draws the watermark picture suISyF scaled and placed as above, through
// sngMarkMatrix (its alpha element times the picture's own alpha). When the
// picture cannot be loaded an error line for the picture at path goes into result.
void drawPictureMark(const JobSettings &job, const QString &path, QImage &surface, RenderResult &result);
