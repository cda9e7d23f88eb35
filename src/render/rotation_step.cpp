#include "core/rotation.h"
#include "imaging/cdib_qimage.h"
#include "imaging/picture_limits.h"
#include "render/pipeline_steps.h"

#include <QCoreApplication>

namespace {

// Pictures arrive upright (the loader applies their stored orientation), so the
// automatic turn has nothing left to do; it stays a mode of its own for stored
// settings, saved jobs and scripts.
Turn turnFor(const JobSettings &job)
{
    switch (job.iRotateMode) {
    case kRotateClockwise:
        return Turn::Clockwise;
    case kRotateCounterClockwise:
        return Turn::CounterClockwise;
    case kRotate180:
        return Turn::HalfTurn;
    case kMirrorHorizontal:
        return Turn::FlipTopBottom;
    case kMirrorVertical:
        return Turn::FlipLeftRight;
    default:
        return Turn::None;
    }
}

} // namespace

bool rotationTurnsSides(const JobSettings &job)
{
    return swapsSides(turnFor(job));
}

bool rotationStep(const JobSettings &job, QImage &surface, QString *error)
{
    const Turn turn = turnFor(job);
    if (turn == Turn::None || surface.isNull())
        return true;
    QString why;
    const QSize size = swapsSides(turn) ? surface.size().transposed() : surface.size();
    const QImage turned = pictureFitsLimit(size, &why) ? turnedPicture(surface, turn) : QImage();
    if (turned.isNull()) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "旋转图片时无法分配内存")
                + (why.isEmpty() ? QString() : QStringLiteral(":") + why);
        return false;
    }
    surface = turned;
    return true;
}
