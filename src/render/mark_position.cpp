#include "render/mark_position.h"

namespace {

constexpr double kMargin = 5;

} // namespace

bool isPresetPosition(int position)
{
    return position >= kBottomRight && position <= kCentre;
}

QPointF presetCorner(int position, QSizeF surface, QSizeF mark)
{
    const double right = surface.width() - mark.width() - kMargin;
    const double bottom = surface.height() - mark.height() - kMargin;
    switch (position) {
    case kBottomRight:
        return {right, bottom};
    case kBottomLeft:
        return {kMargin, bottom};
    case kTopLeft:
        return {kMargin, kMargin};
    case kTopRight:
        return {right, kMargin};
    case kCentre:
        return {(surface.width() - mark.width()) / 2, (surface.height() - mark.height()) / 2};
    default:
        return {0, 0};
    }
}

void keepMarkPlacement(JobSettings &job, const MarkPlacement &marks)
{
    if (marks.textDrawn && isPresetPosition(job.iuTxtPos)) {
        job.iuTSyX = marks.iuTSyX;
        job.iuTSyY = marks.iuTSyY;
    }
    if (marks.pictureDrawn && isPresetPosition(job.iuImgPos)) {
        job.iuISyX = marks.iuISyX;
        job.iuISyY = marks.iuISyY;
    }
}
