#include "render/frame_layer.h"

#include "imaging/colour_profiles.h"
#include "imaging/draw_image.h"
#include "imaging/picture_loader.h"

bool hasFrame(const JobSettings &job)
{
    return !job.sFrameFile.isEmpty() && job.sFrameFile != QStringLiteral("无边框");
}

QSize frameSizeFor(const JobSettings &job)
{
    if (!hasFrame(job))
        return QSize();
    return probePictureSize(job.sFrameFile);
}

bool drawFrame(QImage &surface, const QString &framePath, const QByteArray &surfaceProfile)
{
    if (surface.isNull())
        return false;
    LoadedPicture frame = loadPicture(framePath, surface.size());
    if (!frame.ok())
        return false;
    bringIntoProfile(frame.image, frame.iccProfile, surfaceProfile);
    const double scale = double(frame.image.width()) / double(frame.originalSize.width());
    drawImageRectRect(surface, frame.image, QRectF(QPointF(0, 0), QSizeF(frame.originalSize)), surface.rect(),
        identityMatrix(), scale);
    return true;
}
