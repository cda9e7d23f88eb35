#include "batch/imaging/cdib_qimage.h"
#include "batch/pipeline_steps.h"
#include "core/effect_presets.h"

#include <algorithm>

namespace {

constexpr int kBrightnessLimit = 75; // the slider's range

} // namespace

void effectStep(const JobSettings &job, QImage &surface)
{
    if (!job.iEffect || surface.isNull())
        return;
    const auto brightness = std::int16_t(std::clamp(job.iBrightness, -kBrightnessLimit, kBrightnessLimit));
    if (!effectPresetChangesPicture(*job.iEffect, brightness))
        return;
    CDIB work;
    ApplyEffectPreset(*job.iEffect, brightness, mutableRgb32View(surface), work);
}
