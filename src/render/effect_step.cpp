#include "core/effect_presets.h"
#include "imaging/cdib_qimage.h"
#include "imaging/picture_limits.h"
#include "render/pipeline_steps.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr int kBrightnessLimit = 75; // the slider's range

} // namespace

bool effectStep(const JobSettings &job, QImage &surface, QString *error)
{
    if (!job.iEffect || surface.isNull())
        return true;
    const auto brightness = std::int16_t(std::clamp(job.iBrightness, -kBrightnessLimit, kBrightnessLimit));
    if (!effectPresetChangesPicture(*job.iEffect, brightness))
        return true;
    // The 24-bit work buffer is a second copy of the picture.
    QString why;
    CDIB work;
    if (pictureFitsLimit(surface.size(), &why))
        work.Create(surface.width(), surface.height());
    if (!work.hasSurface()) {
        if (error)
            *error = QCoreApplication::translate("tuvo", "添加特效时无法分配内存")
                + (why.isEmpty() ? QString() : QStringLiteral(":") + why);
        return false;
    }
    ApplyEffectPreset(*job.iEffect, brightness, mutableRgb32View(surface), work);
    return true;
}
