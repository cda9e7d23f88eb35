#include "batch/file_names.h"
#include "batch/imaging/cdib_qimage.h"
#include "batch/imaging/picture_limits.h"
#include "batch/pipeline_steps.h"
#include "core/rotation.h"
#include "exif/exif_reader.h"

#include <QCoreApplication>
#include <QFile>

namespace {

constexpr int kOrientationTag = 274;

std::string orientationOf(const QString &path)
{
    ExifReader reader;
    reader.picFile = encodeFileName(path).toStdString();
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

// The turned picture, or a null one with *why saying what stood in the way.
QImage turnedPicture(const QImage &picture, Turn turn, QString *why)
{
    const QImage source = toRgb32(picture);
    const QSize size = swapsSides(turn) ? source.size().transposed() : source.size();
    QImage turned;
    if (pictureFitsLimit(size, why))
        turned = QImage(size, source.format());
    if (turned.isNull() || source.isNull())
        return {};
    turned.setDotsPerMeterX(swapsSides(turn) ? source.dotsPerMeterY() : source.dotsPerMeterX());
    turned.setDotsPerMeterY(swapsSides(turn) ? source.dotsPerMeterX() : source.dotsPerMeterY());
    RotatePicture(turn, rgb32View(source), mutableRgb32View(turned));
    return turned;
}

} // namespace

bool rotationStep(const JobSettings &job, const QString &path, QImage &surface, QString *error)
{
    if (job.iRotateMode < kRotateAuto || surface.isNull())
        return true;
    const Turn turn = turnFor(job, path);
    if (turn == Turn::None)
        return true;
    QString why;
    const QImage turned = turnedPicture(surface, turn, &why);
    if (turned.isNull()) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "旋转图片时无法分配内存")
                + (why.isEmpty() ? QString() : QStringLiteral(":") + why);
        return false;
    }
    surface = turned;
    return true;
}

QImage uprightPicture(const QString &path, const QImage &picture)
{
    const Turn turn = turnForOrientation(orientationOf(path));
    if (turn == Turn::None || picture.isNull())
        return picture;
    QString ignored;
    const QImage turned = turnedPicture(picture, turn, &ignored);
    return turned.isNull() ? picture : turned;
}
