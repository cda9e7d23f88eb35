#include "render/pipeline.h"

#include "imaging/colour_profiles.h"
#include "imaging/draw_image.h"
#include "imaging/picture_limits.h"
#include "imaging/picture_loader.h"
#include "job/output_profile.h"
#include "render/frame_layer.h"
#include "render/layout.h"
#include "render/pipeline_steps.h"
#include "render/texts.h"

#include <QCoreApplication>

#include <cmath>

RenderResult drawStep(const JobSettings &job, const QString &path, PictureSource *source)
{
    FilePictureSource files;
    if (!source)
        source = &files;
    RenderResult result;
    QString error;
    const QSize original = source->probe(path, &error);
    if (!original.isValid()) {
        result.errorLines << texts::drawError(path, error);
        return result;
    }
    const Layout layout = ComputeLayout(original.width(), original.height(), job.iTargetW, job.iTargetH, job,
        job.iuSize == kFitFrame ? frameSizeFor(job) : QSize());
    const QSize outSize = layout.outputSize();
    if (outSize.width() < 1 || outSize.height() < 1) {
        result.errorLines << texts::drawError(path, QCoreApplication::translate("tuvo", "输出图片的尺寸为0"));
        return result;
    }
    if (!pictureFitsLimit(outSize, &error)) {
        result.errorLines << texts::drawError(path, error);
        return result;
    }

    // Decode no larger than the destination needs: a JPEG may then decode at 1/2..1/8.
    const QRectF src = layout.source;
    const QRect dst = layout.roundedDestination();
    QSize needed;
    if (src.width() > 0 && src.height() > 0 && dst.width() > 0 && dst.height() > 0) {
        needed = QSize(int(std::ceil(original.width() * dst.width() / src.width())),
            int(std::ceil(original.height() * dst.height() / src.height())));
    }
    if (pictureMemoryCounted()) {
        const DecodeMemoryNeed need = decodeMemoryNeed(path, needed, job.iMetadata != kStripMetadata);
        // The surface, a turned or filtered copy of it and the encoder's converted copy.
        const qint64 surfaces = 3 * qint64(outSize.width()) * outSize.height() * 4;
        const QSize largest
            = need.decoding > surfaces && need.decodedSize.isValid() ? need.decodedSize : outSize;
        const QString refusal = need.metadata > need.decoding + surfaces ? metadataTooLarge(need.metadata)
                                                                         : pictureTooLarge(largest);
        if (!takePictureMemory(need.decoding + need.metadata + surfaces, refusal, &error)) {
            result.errorLines << texts::drawError(path, error);
            return result;
        }
    }
    const LoadedPicture picture = source->load(path, needed);
    if (!picture.ok()) {
        result.errorLines << texts::drawError(path, picture.error);
        return result;
    }

    QImage surface(outSize, QImage::Format_RGB32);
    if (surface.isNull()) {
        result.errorLines << texts::drawError(path, QCoreApplication::translate("tuvo", "内存不足"));
        return result;
    }
    surface.fill(Qt::white);
    const double scale = double(picture.image.width()) / double(picture.originalSize.width());
    drawImageRectRect(surface, picture.image, QRectF(layout.roundedSource()), dst, job.sngColorMatrix, scale);
    // Converting the output-sized surface is cheaper than the decoded source.
    result.iccProfile = outputProfileFor(job, path, picture.iccProfile);
    if (result.iccProfile.isEmpty() && !actsAsSrgb(picture.iccProfile))
        convertToSrgb(surface, picture.iccProfile);
    result.surface = std::move(surface);
    return result;
}

RenderResult funImgDone(const JobSettings &job, const QString &path, PictureSource *source)
{
    RenderResult result = drawStep(job, path, source);
    if (!result.ok())
        return result;
    // A failing step is recorded and the next one runs, so the preview still shows
    // the rest; an error line keeps the batch run from writing the picture.
    QString error;
    if (!rotationStep(job, result.surface, &error))
        result.errorLines << texts::drawError(path, error);
    if (!effectStep(job, result.surface, &error))
        result.errorLines << texts::drawError(path, error);
    decorationStep(job, path, result.surface, result);
    return result;
}
