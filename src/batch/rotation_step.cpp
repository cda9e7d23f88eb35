#include "batch/imaging/cdib_qimage.h"
#include "batch/pipeline_steps.h"
#include "core/rotation.h"
#include "exif/exif_reader.h"

#include <QFile>

namespace {

constexpr int kOrientationTag = 274;

std::string orientationOf(const QString &path)
{
    ExifReader reader;
    reader.picFile = QFile::encodeName(path).toStdString();
    reader.Load();
    return reader.Tag(kOrientationTag);
}

Turn turnFor(const JobSettings &job, const QString &path)
{
    switch (job.iRotateMode) {
    case kRotateAuto:
        return turnForOrientation(orientationOf(path));
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

bool rotationTurnsPixels(const JobSettings &job, const QString &path)
{
    return job.iRotateMode >= kRotateAuto && turnFor(job, path) != Turn::None;
}

namespace {

QImage turnedPicture(const QImage &picture, Turn turn)
{
    const QImage source = toRgb32(picture);
    const QSize size = swapsSides(turn) ? source.size().transposed() : source.size();
    QImage turned(size, source.format());
    if (turned.isNull())
        return {};
    turned.setDotsPerMeterX(swapsSides(turn) ? source.dotsPerMeterY() : source.dotsPerMeterX());
    turned.setDotsPerMeterY(swapsSides(turn) ? source.dotsPerMeterX() : source.dotsPerMeterY());
    RotatePicture(turn, rgb32View(source), mutableRgb32View(turned));
    return turned;
}

} // namespace

void rotationStep(const JobSettings &job, const QString &path, QImage &surface)
{
    if (job.iRotateMode < kRotateAuto || surface.isNull())
        return;
    const Turn turn = turnFor(job, path);
    if (turn == Turn::None)
        return;
    if (QImage turned = turnedPicture(surface, turn); !turned.isNull())
        surface = turned;
}

QImage uprightPicture(const QString &path, const QImage &picture)
{
    const Turn turn = turnForOrientation(orientationOf(path));
    if (turn == Turn::None || picture.isNull())
        return picture;
    const QImage turned = turnedPicture(picture, turn);
    return turned.isNull() ? picture : turned;
}
